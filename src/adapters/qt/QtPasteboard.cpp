#include "adapters/qt/QtPasteboard.hpp"

#include <algorithm>
#include <array>
#include <utility>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace quorvane::platform::qt {

namespace {

// Pasteboard type and MIME type, in both directions; reading also takes
// the second name some programs use for RTF.
constexpr std::array<std::pair<const char*, const char*>, 8> mapping{{
    {pasteboardType::string, "text/plain"},
    {pasteboardType::html, "text/html"},
    {pasteboardType::rtf, "text/rtf"},
    {pasteboardType::rtf, "application/rtf"},
    {pasteboardType::url, "text/uri-list"},
    {pasteboardType::tiff, "image/tiff"},
    {pasteboardType::png, "image/png"},
    {pasteboardType::pdf, "application/pdf"},
}};

const QMimeData* clipboardData() {
    return QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
}

}  // namespace

std::string mimeTypeFor(const std::string& type) {
    for (const auto& [pasteboard, mime] : mapping)
        if (type == pasteboard)
            return mime;
    return type;
}

std::string pasteboardTypeFor(const std::string& mimeType) {
    if (mimeType.starts_with("text/plain;"))
        return pasteboardType::string;
    for (const auto& [pasteboard, mime] : mapping)
        if (mimeType == mime)
            return pasteboard;
    return mimeType;
}

QtPasteboard::QtPasteboard() {
    connection_ = QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed,
                                   [this](QClipboard::Mode mode) {
                                       if (mode != QClipboard::Clipboard)
                                           return;
                                       ++changeCount_;
                                       if (changed_)
                                           changed_();
                                   });
}

QtPasteboard::~QtPasteboard() {
    QObject::disconnect(connection_);
}

bool QtPasteboard::observeChanges(std::function<void()> changed) {
    changed_ = std::move(changed);
    return true;
}

std::vector<std::string> QtPasteboard::types() const {
    std::vector<std::string> types;
    const QMimeData* data = clipboardData();
    if (data == nullptr)
        return types;
    for (const QString& format : data->formats()) {
        // The X selection's own targets (TARGETS, MULTIPLE) are no content.
        if (!format.contains('/') && !format.contains('.'))
            continue;
        auto type = pasteboardTypeFor(format.toStdString());
        if (std::find(types.begin(), types.end(), type) == types.end())
            types.push_back(std::move(type));
    }
    return types;
}

std::optional<std::string> QtPasteboard::data(const std::string& type) const {
    const QMimeData* data = clipboardData();
    if (data == nullptr)
        return std::nullopt;
    if (type == pasteboardType::string) {
        // Qt's own text conversion takes every text/plain variant.
        if (!data->hasText())
            return std::nullopt;
        return data->text().toStdString();
    }
    for (const QString& format : data->formats()) {
        if (pasteboardTypeFor(format.toStdString()) != type)
            continue;
        const QByteArray bytes = data->data(format);
        std::string value(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        // A URI list holds one address per line, each ended by CR LF.
        if (type == pasteboardType::url) {
            value = value.substr(0, value.find_first_of("\r\n"));
        }
        return value;
    }
    return std::nullopt;
}

void QtPasteboard::write(const PasteboardContents& contents) {
    auto* data = new QMimeData;
    for (const auto& item : contents) {
        std::string bytes = item.data;
        if (item.type == pasteboardType::url)
            bytes += "\r\n";
        data->setData(QString::fromStdString(mimeTypeFor(item.type)),
                      QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    // One call, so one change: the clipboard owns `data` from here.
    QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
}

}  // namespace quorvane::platform::qt
