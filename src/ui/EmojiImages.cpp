#include "ui/EmojiImages.hpp"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmapCache>
#include <QFile>
#include <QSaveFile>
#include <cstdint>
#include <cstring>

namespace quorvane::ui {

namespace {

QString& cacheFolder() {
    static QString folder;
    return folder;
}

// The file name says exactly what is drawn: code points and pixel size, and
// nothing from the text can reach the path but hex digits.
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

}  // namespace

void EmojiImages::setCacheFolder(const QString& folder) {
    cacheFolder() = folder;
}

namespace {

// A kept image is its width and height (32 bits each, this machine's
// order) and its premultiplied ARGB pixels: read back with one copy, where
// a PNG would be inflated and decoded first.
QImage readKept(const QString& file, int pixels) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = in.readAll();
    const auto expected = static_cast<qsizetype>(8 + std::size_t(pixels) * std::size_t(pixels) * 4);
    std::uint32_t size[2] = {};
    if (bytes.size() != expected)
        return {};
    std::memcpy(size, bytes.constData(), sizeof size);
    if (size[0] != std::uint32_t(pixels) || size[1] != std::uint32_t(pixels))
        return {};
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    std::memcpy(image.bits(), bytes.constData() + 8, std::size_t(expected - 8));
    return image;
}

void keep(const QString& file, const QPixmap& pixmap) {
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const std::uint32_t size[2] = {std::uint32_t(image.width()), std::uint32_t(image.height())};
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return;
    out.write(reinterpret_cast<const char*>(size), sizeof size);
    for (int row = 0; row < image.height(); ++row)
        out.write(reinterpret_cast<const char*>(image.constScanLine(row)),
                  static_cast<qsizetype>(image.width()) * 4);
    out.commit();
}

}  // namespace

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
    const QString file =
        cacheFolder().isEmpty() ? QString() : cacheFolder() + '/' + name + QStringLiteral(".argb");
    QImage kept = file.isEmpty() ? QImage() : readKept(file, pixels);
    if (!kept.isNull()) {
        pixmap = QPixmap::fromImage(std::move(kept));
    } else {
        pixmap = make();
        if (!file.isEmpty() && QDir().mkpath(cacheFolder()))
            keep(file, pixmap);
    }
    pixmap.setDevicePixelRatio(ratio);
    QPixmapCache::insert(name, pixmap);
    return pixmap;
}

}  // namespace quorvane::ui
