#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::platform {

// Pasteboard types by their macOS names; a host's adapter maps them to its
// own (MIME types on X11). Any other type passes verbatim.
namespace pasteboardType {
inline constexpr const char* string = "public.utf8-plain-text";
inline constexpr const char* html = "public.html";
inline constexpr const char* rtf = "public.rtf";
inline constexpr const char* url = "public.url";
inline constexpr const char* tiff = "public.tiff";
inline constexpr const char* png = "public.png";
inline constexpr const char* pdf = "com.adobe.pdf";
// Asks clipboard history tools not to record the content.
inline constexpr const char* transient = "org.nspasteboard.TransientType";
}  // namespace pasteboardType

// One representation of the content: its type and its bytes.
struct PasteboardItem {
    std::string type;
    std::string data;

    bool operator==(const PasteboardItem&) const = default;
};
using PasteboardContents = std::vector<PasteboardItem>;

// The general pasteboard. Main thread only.
class Pasteboard {
  public:
    virtual ~Pasteboard() = default;

    // Rises with every change of the content, by anyone, our own writes
    // included.
    virtual long changeCount() const = 0;
    // The types on offer, most preferred first, as the owner listed them.
    virtual std::vector<std::string> types() const = 0;
    virtual std::optional<std::string> data(const std::string& type) const = 0;
    // Clears the content and writes every representation, as one change.
    virtual void write(const PasteboardContents& contents) = 0;

    // Where the host announces changes (an X11 session does), `changed` is
    // called on the main thread after each one and the answer is true; a
    // Mac's pasteboard announces nothing and must be polled: false. An empty
    // function stops the announcements.
    virtual bool observeChanges(std::function<void()> changed) {
        (void)changed;
        return false;
    }

    virtual std::optional<std::string> string() const { return data(pasteboardType::string); }
    // Replaces the content with `text`.
    virtual void setString(const std::string& text) { write({{pasteboardType::string, text}}); }
    virtual void clearContents() { write({}); }

    // Every representation now on offer, for putting back later.
    PasteboardContents snapshot() const {
        PasteboardContents contents;
        for (auto& type : types())
            if (auto bytes = data(type))
                contents.push_back({type, std::move(*bytes)});
        return contents;
    }
    void restore(const PasteboardContents& contents) { write(contents); }
};

}  // namespace quorvane::platform
