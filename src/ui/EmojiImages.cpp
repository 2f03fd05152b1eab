#include "ui/EmojiImages.hpp"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmapCache>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <cstdint>
#include <cstring>
#include <memory>

namespace quorvane::ui {

namespace {

// The name says exactly what is drawn: code points and pixel size.
QString key(const QString& emoji, int pixels) {
    QStringList points;
    for (char32_t point : emoji.toUcs4())
        points << QString::number(point, 16);
    // "c": drawn with the colour emoji font (older images used text fonts).
    return QStringLiteral("c-") + points.join('-') + QStringLiteral("@%1").arg(pixels);
}

// A lone symbol that text fonts also have (⚓, ↔, ⌨) asks for its emoji
// presentation, or a text font's monochrome glyph would be chosen.
QString withEmojiPresentation(const QString& emoji) {
    const auto points = emoji.toUcs4();
    if (points.size() == 1 && points.front() < 0x1F000)
        return emoji + QChar(0xFE0F);
    return emoji;
}

QPixmap draw(const QString& emoji, int pixels) {
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // The colour emoji font first, the application's for anything it lacks.
    QFont font = QGuiApplication::font();
    font.setFamilies({QStringLiteral("Noto Color Emoji"), QGuiApplication::font().family()});
    font.setPixelSize(pixels * 3 / 4);
    painter.setFont(font);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, withEmojiPresentation(emoji));
    return pixmap;
}

// The images kept from earlier runs, in one file of records appended as
// drawings are made: the drawing's name (its length in 32 bits, then
// UTF-8), its width and height (32 bits each) and its premultiplied ARGB
// pixels, all in this machine's byte order. The file is mapped once to find
// its records, then let go, and each image is read straight into its own:
// a sidebar and a list full of emoji cost one open and a read each (a file
// an image cost six system calls each), and the pack, which grows to a few
// hundred kilobytes, takes no memory beyond the images shown.
class Pack {
  public:
    explicit Pack(const QString& path) : file_(path) {}

    // The kept image of this name and size, read from the file; null when
    // there is none.
    QImage find(const QString& name, int pixels) {
        load();
        const auto at = offsets_.constFind(name);
        if (at == offsets_.cend())
            return {};
        if (at->side != std::uint32_t(pixels))
            return {};
        QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
        const qint64 bytes = image.sizeInBytes();
        if (image.isNull() || image.bytesPerLine() != qsizetype(pixels) * 4 ||
            !file_.seek(at->pixelsAt) ||
            file_.read(reinterpret_cast<char*>(image.bits()), bytes) != bytes)
            return {};
        return image;
    }

    void keep(const QString& name, const QImage& image) {
        load();
        if (offsets_.contains(name) || appended_.contains(name))
            return;
        const QByteArray utf8 = name.toUtf8();
        const std::uint32_t nameBytes = std::uint32_t(utf8.size());
        const std::uint32_t side[2] = {std::uint32_t(image.width()), std::uint32_t(image.height())};
        if (nameBytes == 0 || nameBytes > longestName || side[0] > largestSide ||
            side[1] > largestSide)
            return;
        QByteArray record;
        record.reserve(qsizetype(sizeof nameBytes + sizeof side) + utf8.size() +
                       image.sizeInBytes());
        record.append(reinterpret_cast<const char*>(&nameBytes), sizeof nameBytes);
        record.append(utf8);
        record.append(reinterpret_cast<const char*>(side), sizeof side);
        for (int row = 0; row < image.height(); ++row)
            record.append(reinterpret_cast<const char*>(image.constScanLine(row)),
                          qsizetype(image.width()) * 4);
        // One write at the end of the file: a crash leaves at most a record
        // cut short, which the next run cuts off.
        QFile out(file_.fileName());
        if (!QDir().mkpath(QFileInfo(out).absolutePath()) ||
            !out.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
            return;
        if (out.write(record) == record.size())
            appended_.insert(name);
    }

  private:
    static constexpr std::uint32_t longestName = 256;
    static constexpr std::uint32_t largestSide = 1024;

    void load() {
        if (loaded_)
            return;
        loaded_ = true;
        if (!file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            return;
        const qint64 size = file_.size();
        uchar* bytes = size > 0 ? file_.map(0, size) : nullptr;
        qint64 at = 0;
        while (bytes) {
            std::uint32_t nameBytes = 0;
            std::uint32_t side[2] = {};
            if (size - at < qint64(sizeof nameBytes))
                break;
            std::memcpy(&nameBytes, bytes + at, sizeof nameBytes);
            const qint64 sideAt = at + qint64(sizeof nameBytes) + nameBytes;
            if (nameBytes == 0 || nameBytes > longestName || size - sideAt < qint64(sizeof side))
                break;
            std::memcpy(side, bytes + sideAt, sizeof side);
            if (side[0] == 0 || side[1] == 0 || side[0] > largestSide || side[1] > largestSide)
                break;
            const qint64 pixelsAt = sideAt + qint64(sizeof side);
            const qint64 end = pixelsAt + qint64(side[0]) * side[1] * 4;
            if (end > size)
                break;
            const auto name = QString::fromUtf8(
                reinterpret_cast<const char*>(bytes + at + qint64(sizeof nameBytes)),
                qsizetype(nameBytes));
            // Images are square; a record that is not is never asked for.
            if (side[0] == side[1] && !offsets_.contains(name))
                offsets_.insert(name, {pixelsAt, side[0]});
            at = end;
        }
        if (bytes)
            file_.unmap(bytes);
        // What follows the last whole record (a write cut short, another
        // format) is cut off, so that the records appended from now on are
        // found again. Nothing past `at` is ever read.
        if (at < size)
            QFile::resize(file_.fileName(), at);
    }

    struct Kept {
        qint64 pixelsAt;  // where the image's pixels start
        std::uint32_t side;
    };

    QFile file_;
    bool loaded_ = false;
    QHash<QString, Kept> offsets_;
    QSet<QString> appended_;
};

std::unique_ptr<Pack>& pack() {
    static std::unique_ptr<Pack> kept;
    return kept;
}

}  // namespace

void EmojiImages::setCacheFolder(const QString& folder) {
    pack() = folder.isEmpty() ? nullptr
                              : std::make_unique<Pack>(folder + QStringLiteral("/emoji.pack"));
}

QPixmap EmojiImages::image(const QString& emoji, int size) {
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    const int pixels = qRound(size * ratio);
    return drawing(key(emoji, pixels), pixels, [&] { return draw(emoji, pixels); });
}

QPixmap EmojiImages::drawing(const QString& name, int pixels, const std::function<QPixmap()>& make) {
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap;
    if (QPixmapCache::find(name, &pixmap))
        return pixmap;
    QImage kept = pack() ? pack()->find(name, pixels) : QImage();
    if (!kept.isNull()) {
        pixmap = QPixmap::fromImage(std::move(kept));
    } else {
        pixmap = make();
        if (pack())
            pack()->keep(name,
                         pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
    pixmap.setDevicePixelRatio(ratio);
    QPixmapCache::insert(name, pixmap);
    return pixmap;
}

}  // namespace quorvane::ui
