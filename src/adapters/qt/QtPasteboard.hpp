#pragma once

#include <QMetaObject>

#include "platform/Pasteboard.hpp"

namespace quorvane::platform::qt {

// The MIME type a pasteboard type travels as on this host, and back: the
// Mac's names for the types every platform shares, any other verbatim.
std::string mimeTypeFor(const std::string& pasteboardType);
// Every "text/plain;charset=…" variant is the one string type.
std::string pasteboardTypeFor(const std::string& mimeType);

// The system clipboard through Qt. Needs a QGuiApplication; counts every
// change Qt announces for the clipboard, our own writes included, and
// passes each on to an observer.
class QtPasteboard final : public Pasteboard {
  public:
    QtPasteboard();
    ~QtPasteboard() override;
    QtPasteboard(const QtPasteboard&) = delete;
    QtPasteboard& operator=(const QtPasteboard&) = delete;

    long changeCount() const override { return changeCount_; }
    std::vector<std::string> types() const override;
    std::optional<std::string> data(const std::string& type) const override;
    void write(const PasteboardContents& contents) override;
    bool observeChanges(std::function<void()> changed) override;

  private:
    long changeCount_ = 0;
    std::function<void()> changed_;
    QMetaObject::Connection connection_;
};

}  // namespace quorvane::platform::qt
