#include "ui/workflows/WorkflowLook.hpp"

#include "ui/EmojiImages.hpp"

#include <QFont>
#include <QPainter>
#include <QPixmap>

#include "core/workflows/WorkflowIcons.hpp"

namespace quorvane::ui {

QColor workflowColor(const std::string& rawValue) {
    using enum core::Workflow::EnumColor;
    const auto color = core::workflowColorFromRawValue(rawValue);
    if (!color)
        return QColor(0x8e, 0x8e, 0x93);
    switch (*color) {
        case blue:
            return QColor(0x00, 0x7a, 0xff);
        case brown:
            return QColor(0xa2, 0x84, 0x5e);
        case green:
            return QColor(0x34, 0xc7, 0x59);
        case indigo:
            return QColor(0x58, 0x56, 0xd6);
        case orange:
            return QColor(0xff, 0x95, 0x00);
        case pink:
            return QColor(0xff, 0x2d, 0x55);
        case purple:
            return QColor(0xaf, 0x52, 0xde);
        case red:
            return QColor(0xff, 0x3b, 0x30);
        case teal:
            return QColor(0x30, 0xb0, 0xc7);
        case yellow:
            return QColor(0xff, 0xcc, 0x00);
    }
    return {};
}

QIcon glyphIcon(const std::string& glyphName, const QColor& color, int size) {
    const char32_t codePoint = core::workflowGlyphCodePoint(glyphName);
    // Kept like the emoji: loading the icon font costs more than the file.
    const QString name = QStringLiteral("g-%1-%2@%3")
                             .arg(static_cast<unsigned>(codePoint), 0, 16)
                             .arg(color.rgba(), 8, 16, QLatin1Char('0'))
                             .arg(size);
    return QIcon(EmojiImages::drawing(name, size, [&] {
        // The solid face of the icon font the system provides (Debian's
        // fonts-font-awesome).
        QFont font(QStringLiteral("FontAwesome"));
        font.setPixelSize(size - 2);
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setFont(font);
        painter.setPen(color);
        painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter,
                         QString::fromUcs4(&codePoint, 1));
        painter.end();
        return pixmap;
    }));
}

QIcon workflowIcon(const core::Workflow& workflow, int size) {
    return glyphIcon(workflow.icon, workflowColor(workflow.colorHex), size);
}

}  // namespace quorvane::ui
