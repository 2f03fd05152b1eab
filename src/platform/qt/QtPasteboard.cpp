#include "platform/qt/QtPasteboard.hpp"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace quorvane::platform::qt {

std::optional<std::string> QtPasteboard::string() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText())
        return std::nullopt;
    return data->text().toStdString();
}

void QtPasteboard::setString(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void QtPasteboard::clearContents() {
    QGuiApplication::clipboard()->clear();
}

}  // namespace quorvane::platform::qt
