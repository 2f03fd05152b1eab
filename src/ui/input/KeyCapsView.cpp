#include "ui/input/KeyCapsView.hpp"

#include <QFont>
#include <QGuiApplication>
#include <QPainterPath>
#include <QPalette>
#include <cmath>

namespace quorvane::ui::keyCaps {

namespace {

constexpr double unit = 72;  // a normal cap's width
constexpr double height = 64;
constexpr double gap = 10;
constexpr double radius = 10;
constexpr double inset = 7;
// How far a held key's legend sinks: pressed in without changing the
// cap's outline, so the strip's shape stays as it is.
constexpr double pressedDrop = 2;
// Around each cap, what antialiasing may touch.
constexpr double bleed = 2;

bool darkPalette() {
    const QColor window = QGuiApplication::palette().color(QPalette::Window);
    return window.lightnessF() < 0.5;
}

Qt::Alignment alignmentOf(platform::OverlayKeyCap::Alignment alignment) {
    switch (alignment) {
        case platform::OverlayKeyCap::Alignment::leading:
            return Qt::AlignLeft;
        case platform::OverlayKeyCap::Alignment::trailing:
            return Qt::AlignRight;
        case platform::OverlayKeyCap::Alignment::center:
            break;
    }
    return Qt::AlignHCenter;
}

}  // namespace

std::vector<QRectF> layout(const platform::OverlayDescription& description, QSize size) {
    std::vector<QRectF> rects;
    double width = 0;
    for (const auto& cap : description.keyCaps)
        width += unit * cap.widthScale + gap * (cap.widthScale - 1);
    width +=
        gap * static_cast<double>(description.keyCaps.empty() ? 0 : description.keyCaps.size() - 1);
    double x = (size.width() - width) / 2;
    const double y = (size.height() - height) / 2;
    for (const auto& cap : description.keyCaps) {
        const double capWidth = unit * cap.widthScale + gap * (cap.widthScale - 1);
        rects.emplace_back(x, y, capWidth, height);
        x += capWidth + gap;
    }
    return rects;
}

void paint(QPainter& painter, const platform::OverlayDescription& description, QSize size) {
    const bool dark = darkPalette();
    const bool pressed = description.pressed;
    const QColor face = dark ? (pressed ? QColor(0x0E, 0x0F, 0x12) : QColor(0x18, 0x1A, 0x1F))
                             : (pressed ? QColor(0xD2, 0xD2, 0xD4) : QColor(0xE7, 0xE7, 0xE7));
    const QColor ink = dark ? QColor(0xF2, 0xF2, 0xF2) : QColor(0x1C, 0x1C, 0x1E);
    const QColor edge = dark ? QColor(255, 255, 255, 40) : QColor(0, 0, 0, 50);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const auto rects = layout(description, size);
    QFont titleFont = painter.font();
    titleFont.setPixelSize(26);
    QFont subtitleFont = painter.font();
    subtitleFont.setPixelSize(11);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const auto& cap = description.keyCaps[i];
        const QRectF& rect = rects[i];
        // Its face and edge; no shadow, which a desktop without
        // translucency would draw as a black band.
        painter.setBrush(face);
        painter.setPen(QPen(edge, 1));
        painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);

        const QRectF text = rect.adjusted(inset, inset - 2, -inset, -inset + 2)
                                .translated(0, pressed ? pressedDrop : 0);
        const auto alignment = alignmentOf(cap.alignment);
        painter.setPen(ink);
        if (cap.subtitle.empty()) {
            painter.setFont(titleFont);
            painter.drawText(text, Qt::AlignCenter, QString::fromStdString(cap.title));
            continue;
        }
        painter.setFont(titleFont);
        painter.drawText(text, static_cast<int>((alignment | Qt::AlignTop).toInt()), QString::fromStdString(cap.title));
        painter.setFont(subtitleFont);
        painter.drawText(text, static_cast<int>((alignment | Qt::AlignBottom).toInt()), QString::fromStdString(cap.subtitle));
    }
}

QRegion shape(const platform::OverlayDescription& description, QSize size) {
    QPainterPath outline;
    for (const auto& rect : layout(description, size))
        outline.addRoundedRect(rect, radius, radius);
    // An empty mask would mean "no mask": a strip with no caps keeps one
    // pixel.
    if (outline.isEmpty())
        return QRegion(0, 0, 1, 1);
    return QRegion(outline.toFillPolygon().toPolygon());
}

QRegion changed(const platform::OverlayDescription& before,
               const platform::OverlayDescription& after, QSize size) {
    // Every cap of either is drawn again; the rest of the strip is clear
    // in both and left alone.
    QRegion region;
    for (const auto* description : {&before, &after})
        for (const auto& rect : layout(*description, size))
            region += rect.adjusted(-bleed, -bleed, bleed, bleed).toAlignedRect();
    return region;
}

platform::qt::ContentPainter painter() {
    return {.paint = &paint, .shape = &shape, .changed = &changed};
}

}  // namespace quorvane::ui::keyCaps
