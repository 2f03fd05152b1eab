#include "text/PlainTextService.hpp"

#include <algorithm>

#include "platform/PasteboardJournal.hpp"

namespace quorvane::text {

namespace pb = platform::pasteboardType;

std::optional<platform::RichTextFormat> richFormatToConvert(const std::vector<std::string>& types) {
    // Images and PDF are never touched, whatever text comes with them.
    if (!types.empty() && (types.front() == pb::tiff || types.front() == pb::png ||
                           types.front() == pb::pdf))
        return std::nullopt;
    const auto offers = [&](const char* type) {
        return std::find(types.begin(), types.end(), type) != types.end();
    };
    if (offers(pb::html))
        return platform::RichTextFormat::html;
    if (offers(pb::rtf))
        return platform::RichTextFormat::rtf;
    return std::nullopt;
}

std::optional<std::string> plainTextToWrite(std::string text) {
    // U+FFFC is EF BF BC in UTF-8.
    static constexpr std::string_view objectReplacement = "\xEF\xBF\xBC";
    for (auto at = text.find(objectReplacement); at != std::string::npos;
         at = text.find(objectReplacement, at))
        text.erase(at, objectReplacement.size());
    const bool blank = std::all_of(text.begin(), text.end(), [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
    });
    if (blank)
        return std::nullopt;
    return text;
}

PlainTextService::PlainTextService(platform::Pasteboard& pasteboard,
                                   platform::RichTextReader& reader,
                                   core::SerialExecutor& executor, platform::MainQueue& mainQueue,
                                   platform::Journal& journal)
    : pasteboard_(pasteboard),
      reader_(reader),
      executor_(executor),
      mainQueue_(mainQueue),
      journal_(journal) {}

void PlainTextService::convert(std::string cause) {
    if (converting_) {
        queued_ = std::move(cause);
        return;
    }
    const long countRead = pasteboard_.changeCount();
    const auto format = richFormatToConvert(pasteboard_.types());
    if (!format)
        return;
    auto data = pasteboard_.data(*format == platform::RichTextFormat::html ? pb::html : pb::rtf);
    if (!data || data->size() > maxRichBytes)
        return;
    converting_ = true;
    executor_.submit([this, countRead, cause = std::move(cause), format = *format,
                      data = std::move(*data)] {
        auto text = reader_.plainText(format, data);
        mainQueue_.post([this, countRead, cause, text = std::move(text)]() mutable {
            finish(countRead, cause, std::move(text));
        });
    });
}

void PlainTextService::finish(long countRead, const std::string& cause,
                              std::optional<std::string> text) {
    converting_ = false;
    // Someone copied something else while we parsed: theirs stands.
    if (text && pasteboard_.changeCount() == countRead)
        if (auto plain = plainTextToWrite(std::move(*text))) {
            const platform::PasteboardContents contents{{pb::string, std::move(*plain)},
                                                        {pb::transient, "1"}};
            pasteboard_.write(contents);
            platform::journalPasteboardWrite(journal_, cause, contents);
        }
    if (queued_) {
        auto next = std::move(*queued_);
        queued_.reset();
        convert(std::move(next));
    }
}

}  // namespace quorvane::text
