#include "ui/EmojiImages.hpp"

#include <unistd.h>

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmapCache>
#include <QFile>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>

#include "adapters/posix/FileOps.hpp"
#include "adapters/posix/StderrLog.hpp"

namespace quorvane::ui {

namespace {

// The name says exactly what is drawn: code points and pixel size.
QString key(const QString& emoji, int pixels) {
    QStringList points;
    for (char32_t point : emoji.toUcs4())
        points << QString::number(point, 16);
    // "e": drawn with the colour emoji font, pale ones edged (older images
    // used text fonts, then had no edge).
    return QStringLiteral("e-") + points.join('-') + QStringLiteral("@%1").arg(pixels);
}

// A lone symbol that text fonts also have (⚓, ↔, ⌨) asks for its emoji
// presentation, or a text font's monochrome glyph would be chosen.
QString withEmojiPresentation(const QString& emoji) {
    const auto points = emoji.toUcs4();
    if (points.size() == 1 && points.front() < 0x1F000)
        return emoji + QChar(0xFE0F);
    return emoji;
}

// Whether a glyph is mostly near-white grey: the colour font draws some
// (⌨️, 🖱️, 📄) as white objects with faint shading, which at a list's
// sizes all but vanish on a light window.
bool isPale(const QImage& glyph) {
    int opaque = 0;
    int pale = 0;
    for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x) {
            const QColor pixel = glyph.pixelColor(x, y);
            if (pixel.alpha() < 128)
                continue;
            ++opaque;
            const int spread = std::max({pixel.red(), pixel.green(), pixel.blue()}) -
                               std::min({pixel.red(), pixel.green(), pixel.blue()});
            pale += pixel.lightness() >= 190 && spread < 48;
        }
    return opaque > 0 && pale * 100 >= opaque * 65;
}

// The glyph on a thin mid-grey edge, which shows on a light window and a
// dark one alike (the images are drawn once, for either palette).
QImage edged(const QImage& glyph, int pixels) {
    QImage out(glyph.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    const int width = std::max(1, pixels / 32);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (dx != 0 || dy != 0)
                painter.drawImage(QPoint(dx * width, dy * width), glyph);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(out.rect(), QColor(110, 110, 110, 200));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(0, 0, glyph);
    return out;
}

QPixmap draw(const QString& emoji, int pixels) {
    QImage glyph(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    glyph.fill(Qt::transparent);
    {
        QPainter painter(&glyph);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        // The colour emoji font first, the application's for anything it lacks.
        QFont font = QGuiApplication::font();
        font.setFamilies({QStringLiteral("Noto Color Emoji"), QGuiApplication::font().family()});
        font.setPixelSize(pixels * 3 / 4);
        painter.setFont(font);
        painter.drawText(glyph.rect(), Qt::AlignCenter, withEmojiPresentation(emoji));
    }
    return QPixmap::fromImage(isPale(glyph) ? edged(glyph, pixels) : glyph);
}

// The images kept from earlier runs, in one file: a tag naming the format,
// then records appended as drawings are made. A record holds the drawing's
// name (its length in 32 bits, then UTF-8), its width, height and a
// checksum of its pixels (32 bits each), then its premultiplied ARGB
// pixels, all in this machine's byte order. The file is mapped once to find its records,
// then let go, and each image is read straight into its own: a sidebar and
// a list full of emoji cost one open and a read each (a file an image cost
// six system calls each), and the pack, which grows to a few hundred
// kilobytes, takes no memory beyond the images shown.
//
// Damage never shows: a record cut short ends the file (it is cut there),
// and one whose pixels no longer match their checksum is drawn again and
// appended anew; of two records of one name the later one is read.
//
// Opening never waits and never takes what is not a file: a FIFO, a folder
// or a runaway file in its place is set aside (with a log line) and a new
// pack started, as a damaged record is.
class Pack {
  public:
    Pack(const QString& path, platform::Log& log)
        : path_(QFile::encodeName(path).toStdString()), log_(log) {}

    // The kept image of this name and size, read from the file; null when
    // there is none, or when its pixels are damaged.
    QImage find(const QString& name, int pixels) {
        load();
        const auto at = offsets_.constFind(name);
        if (at == offsets_.cend() || at->side != std::uint32_t(pixels))
            return {};
        QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
        const qint64 bytes = image.sizeInBytes();
        if (image.isNull() || image.bytesPerLine() != qsizetype(pixels) * 4 ||
            !file_.seek(at->pixelsAt) ||
            file_.read(reinterpret_cast<char*>(image.bits()), bytes) != bytes)
            return {};
        if (checksum(image) != at->checksum) {
            offsets_.erase(at);  // drawn again, and kept again
            return {};
        }
        return image;
    }

    void keep(const QString& name, const QImage& image) {
        load();
        if (offsets_.contains(name) || appended_.contains(name))
            return;
        const QByteArray utf8 = name.toUtf8();
        const std::uint32_t nameBytes = std::uint32_t(utf8.size());
        const std::uint32_t fields[3] = {std::uint32_t(image.width()),
                                         std::uint32_t(image.height()), checksum(image)};
        if (nameBytes == 0 || nameBytes > longestName || fields[0] > largestSide ||
            fields[1] > largestSide)
            return;
        QByteArray record;
        record.reserve(qsizetype(sizeof tag + sizeof nameBytes + sizeof fields) + utf8.size() +
                       image.sizeInBytes());
        if (end_ == 0)  // a new file starts with its tag
            record.append(tag, sizeof tag);
        record.append(reinterpret_cast<const char*>(&nameBytes), sizeof nameBytes);
        record.append(utf8);
        record.append(reinterpret_cast<const char*>(fields), sizeof fields);
        for (int row = 0; row < image.height(); ++row)
            record.append(reinterpret_cast<const char*>(image.constScanLine(row)),
                          qsizetype(image.width()) * 4);
        // One write at the end of the file: a crash leaves at most a record
        // cut short, which the next run cuts off.
        if (!QDir().mkpath(QFile::decodeName(path_.parent_path().c_str())))
            return;
        auto out = platform::posix::openOwnFile(path_, platform::posix::FileAccess::append,
                                                largestPack, log_, "Emoji");
        if (!out || !out.value())
            return;
        const int fd = out.value()->descriptor.get();
        if (::write(fd, record.constData(), std::size_t(record.size())) == ssize_t(record.size())) {
            appended_.insert(name);
            end_ += record.size();
        }
    }

  private:
    static constexpr std::uint32_t longestName = 256;
    static constexpr std::uint32_t largestSide = 1024;
    // Every image ever drawn, at a few kilobytes each: far below this.
    static constexpr std::size_t largestPack = 64u << 20;
    static constexpr char tag[8] = {'Q', 'V', 'E', 'M', 'O', 'J', 'I', '2'};

    // FNV-1a over the 32-bit pixels: each step is one-to-one, so a change
    // within any one pixel always shows, and any other almost always. (A
    // library's CRC would page in code start-up has no other use for.)
    static std::uint32_t checksum(const QImage& image) {
        std::uint32_t sum = 2166136261u;
        for (int row = 0; row < image.height(); ++row) {
            const auto* pixel = reinterpret_cast<const std::uint32_t*>(image.constScanLine(row));
            for (int column = 0; column < image.width(); ++column)
                sum = (sum ^ pixel[column]) * 16777619u;
        }
        return sum;
    }

    void load() {
        if (loaded_)
            return;
        loaded_ = true;
        auto opened = platform::posix::openOwnFile(path_, platform::posix::FileAccess::readWrite,
                                                   largestPack, log_, "Emoji");
        if (!opened) {
            log_.warning("Emoji", "the kept images are not read: " + opened.error().message);
            return;
        }
        if (!opened.value() ||
            !file_.open(opened.value()->descriptor.release(),
                        QIODevice::ReadWrite | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
            return;
        const qint64 size = file_.size();
        uchar* bytes = size > 0 ? file_.map(0, size) : nullptr;
        // A file without the tag (of an earlier format, or not of records at
        // all) holds nothing to read.
        const bool tagged = bytes && size >= qint64(sizeof tag) &&
                            std::memcmp(bytes, tag, sizeof tag) == 0;
        qint64 at = tagged ? qint64(sizeof tag) : 0;
        while (tagged) {
            std::uint32_t nameBytes = 0;
            std::uint32_t fields[3] = {};  // width, height, checksum
            if (size - at < qint64(sizeof nameBytes))
                break;
            std::memcpy(&nameBytes, bytes + at, sizeof nameBytes);
            const qint64 fieldsAt = at + qint64(sizeof nameBytes) + nameBytes;
            if (nameBytes == 0 || nameBytes > longestName || size - fieldsAt < qint64(sizeof fields))
                break;
            std::memcpy(fields, bytes + fieldsAt, sizeof fields);
            if (fields[0] == 0 || fields[1] == 0 || fields[0] > largestSide ||
                fields[1] > largestSide)
                break;
            const qint64 pixelsAt = fieldsAt + qint64(sizeof fields);
            const qint64 end = pixelsAt + qint64(fields[0]) * fields[1] * 4;
            if (end > size)
                break;
            const auto name = QString::fromUtf8(
                reinterpret_cast<const char*>(bytes + at + qint64(sizeof nameBytes)),
                qsizetype(nameBytes));
            // Images are square; a record that is not is never asked for.
            if (fields[0] == fields[1])
                offsets_.insert(name, {pixelsAt, fields[0], fields[2]});
            at = end;
        }
        if (bytes)
            file_.unmap(bytes);
        // What follows the last whole record (a write cut short, another
        // format) is cut off, so that the records appended from now on are
        // found again. Nothing past `at` is ever read.
        if (at < size && file_.resize(at))
            end_ = at;
        else
            end_ = size;
    }

    struct Kept {
        qint64 pixelsAt;  // where the image's pixels start
        std::uint32_t side;
        std::uint32_t checksum;
    };

    std::filesystem::path path_;
    platform::Log& log_;
    QFile file_;  // opened from the descriptor checked above, so it has no name
    bool loaded_ = false;
    qint64 end_ = 0;  // the file's length, where the next record goes
    QHash<QString, Kept> offsets_;
    QSet<QString> appended_;
};

std::unique_ptr<Pack>& pack() {
    static std::unique_ptr<Pack> kept;
    return kept;
}

}  // namespace

void EmojiImages::setCacheFolder(const QString& folder, platform::Log* log) {
    // Without the program's log, its lines go where the program's would.
    static platform::posix::StderrLog standardError;
    pack() = folder.isEmpty() ? nullptr
                              : std::make_unique<Pack>(folder + QStringLiteral("/emoji.pack"),
                                                       log ? *log : standardError);
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
