#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/SerialExecutor.hpp"
#include "platform/Journal.hpp"
#include "platform/MainQueue.hpp"
#include "platform/Pasteboard.hpp"
#include "platform/RichTextReader.hpp"

namespace quorvane::text {

// What one conversion would read: the rich type to take the text from, or
// nothing to do (an image or a PDF first, plain text only, no rich type).
std::optional<platform::RichTextFormat> richFormatToConvert(const std::vector<std::string>& types);

// The plain text to write for what the reader gave, or nothing when it has
// no visible text (an image's HTML holds only U+FFFC, Qt's stand-in for it).
std::optional<std::string> plainTextToWrite(std::string text);

// Replaces rich text on the pasteboard with its plain text, marked
// transient so that clipboard histories skip it. The pasteboard is read and
// written on the main thread; parsing runs on `executor`, one conversion at
// a time (a request while one runs becomes one more afterwards). A change
// by anyone else during the parse wins: the conversion is dropped.
class PlainTextService {
  public:
    // Rich data beyond this is left alone.
    static constexpr std::size_t maxRichBytes = 8u << 20;

    PlainTextService(platform::Pasteboard& pasteboard, platform::RichTextReader& reader,
                     core::SerialExecutor& executor, platform::MainQueue& mainQueue,
                     platform::Journal& journal);

    // Main thread. `cause` is the tweak the journal names.
    void convert(std::string cause);
    bool isConverting() const { return converting_; }

  private:
    void finish(long countRead, const std::string& cause, std::optional<std::string> text);

    platform::Pasteboard& pasteboard_;
    platform::RichTextReader& reader_;
    core::SerialExecutor& executor_;
    platform::MainQueue& mainQueue_;
    platform::Journal& journal_;
    bool converting_ = false;
    std::optional<std::string> queued_;  // the cause of a request made meanwhile
};

}  // namespace quorvane::text
