#include "platform/RtfReader.hpp"

#include <array>
#include <charconv>
#include <cstdint>
#include <vector>

#include "platform/Utf8.hpp"

namespace quorvane::platform {

namespace {

// Where Windows-1252 differs from Latin-1 (0x80-0x9F); 0 where it has no
// character.
constexpr std::array<char16_t, 32> cp1252High{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Destinations whose text is not the document's.
bool isSkippedDestination(std::string_view word) {
    for (std::string_view skipped :
         {"fonttbl", "colortbl", "stylesheet", "info", "pict", "listtable", "listoverridetable",
          "revtbl", "rsidtbl", "filetbl", "header", "footer", "headerl", "headerr", "footerl",
          "footerr", "footnote", "object", "themedata", "colorschememapping", "latentstyles",
          "datastore", "xmlnstbl", "generator"})
        if (word == skipped)
            return true;
    return false;
}

// Control words that stand for one character.
std::optional<char32_t> characterWord(std::string_view word) {
    struct Named {
        std::string_view word;
        char32_t character;
    };
    static constexpr Named named[] = {
        {"par", U'\n'},      {"line", U'\n'},        {"sect", U'\n'},     {"page", U'\n'},
        {"row", U'\n'},      {"tab", U'\t'},         {"cell", U'\t'},     {"emdash", 0x2014},
        {"endash", 0x2013},  {"bullet", 0x2022},     {"lquote", 0x2018},  {"rquote", 0x2019},
        {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003}, {"enspace", 0x2002},
        {"qmspace", 0x2005},
    };
    for (const auto& entry : named)
        if (entry.word == word)
            return entry.character;
    return std::nullopt;
}

struct Group {
    bool skip = false;
    int unicodeSkip = 1;  // \ucN: how many fallback characters follow \uN
};

class Reader {
  public:
    Reader(std::string_view rtf, const CodePageDecoder& decode) : in_(rtf), decode_(decode) {}

    std::string read() {
        groups_.push_back({});
        while (at_ < in_.size()) {
            const char c = in_[at_];
            if (c == '{') {
                flushBytes();
                ++at_;
                groups_.push_back(groups_.back());
                destinationStart_ = true;
                continue;
            }
            if (c == '}') {
                flushBytes();
                ++at_;
                if (groups_.size() > 1)
                    groups_.pop_back();
                destinationStart_ = false;
                continue;
            }
            if (c == '\\') {
                control();
                continue;
            }
            destinationStart_ = false;
            ++at_;
            // Line ends in RTF source are not the text's.
            if (c == '\r' || c == '\n')
                continue;
            if (pendingSkip_ > 0) {
                --pendingSkip_;
                continue;
            }
            if (groups_.back().skip)
                continue;
            // An eight-bit byte written as it is belongs to the document's
            // code page, as \'hh does; copied as it stands it would not be
            // UTF-8.
            if (static_cast<unsigned char>(c) >= 0x80) {
                bytes_ += c;
                continue;
            }
            flushBytes();
            out_ += c;
        }
        flushBytes();
        // No text holds a NUL (\u0, \'00 or one written as it is): the
        // pasteboard and every C string would end there.
        std::erase(out_, '\0');
        return std::move(out_);
    }

  private:
    Group& group() { return groups_.back(); }

    void control() {
        ++at_;  // the backslash
        if (at_ >= in_.size())
            return;
        const char c = in_[at_];
        if (isLetter(c)) {
            controlWord();
            return;
        }
        ++at_;
        const bool first = destinationStart_;
        destinationStart_ = false;
        switch (c) {
            case '\'': {
                const auto byte = hexByte();
                if (pendingSkip_ > 0) {
                    --pendingSkip_;
                    return;
                }
                if (byte && !group().skip)
                    bytes_ += static_cast<char>(*byte);
                return;
            }
            case '*':
                // "{\*\dest ...}": a destination a reader may ignore.
                if (first)
                    group().skip = true;
                return;
            case '\r':
            case '\n':
                character(U'\n');
                return;
            case '~':
                character(0x00A0);
                return;
            case '_':
                character(0x2011);
                return;
            case '-':  // an optional hyphen shows nothing
                return;
            default:
                character(static_cast<unsigned char>(c));
                return;
        }
    }

    void controlWord() {
        const std::size_t start = at_;
        while (at_ < in_.size() && isLetter(in_[at_]))
            ++at_;
        const std::string_view word = in_.substr(start, at_ - start);
        std::optional<long> parameter;
        const std::size_t digits = at_;
        if (at_ < in_.size() && (in_[at_] == '-' || isDigit(in_[at_]))) {
            ++at_;
            while (at_ < in_.size() && isDigit(in_[at_]))
                ++at_;
            long value = 0;
            const auto parsed = std::from_chars(in_.data() + digits, in_.data() + at_, value);
            if (parsed.ec == std::errc())
                parameter = value;
        }
        if (at_ < in_.size() && in_[at_] == ' ')
            ++at_;
        const bool first = destinationStart_;
        destinationStart_ = false;

        if (word == "bin") {
            // Raw bytes follow; their count is the parameter.
            const auto count = static_cast<std::size_t>(std::max(0L, parameter.value_or(0)));
            at_ = count > in_.size() - at_ ? in_.size() : at_ + count;
            return;
        }
        if (word == "ansicpg" && parameter) {
            codePage_ = static_cast<int>(*parameter);
            return;
        }
        if (word == "uc" && parameter) {
            group().unicodeSkip = static_cast<int>(std::max(0L, *parameter));
            return;
        }
        if (word == "u" && parameter) {
            pendingSkip_ = 0;
            long value = *parameter;
            // A 16-bit number, signed or not; anything else is no character.
            if (value < -32768 || value > 65535)
                return;
            if (value < 0)
                value += 65536;
            unicode(static_cast<char32_t>(value & 0xFFFF));
            pendingSkip_ = group().unicodeSkip;
            return;
        }
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        if (first && isSkippedDestination(word)) {
            group().skip = true;
            return;
        }
        if (auto c = characterWord(word))
            character(*c);
    }

    void unicode(char32_t unit) {
        if (group().skip)
            return;
        flushBytes();
        if (unit >= 0xD800 && unit < 0xDC00) {
            highSurrogate_ = unit;
            return;
        }
        if (unit >= 0xDC00 && unit < 0xE000) {
            if (highSurrogate_)
                appendUtf8(out_, 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00));
            highSurrogate_ = 0;
            return;
        }
        highSurrogate_ = 0;
        appendUtf8(out_, unit);
    }

    void character(char32_t c) {
        if (group().skip)
            return;
        flushBytes();
        appendUtf8(out_, c);
    }

    // A run of code-page bytes decodes at once: a double-byte code page
    // writes each character as two \'hh.
    void flushBytes() {
        if (bytes_.empty())
            return;
        auto decoded = decode_ ? decode_(codePage_, bytes_) : std::nullopt;
        if (!decoded)
            decoded = decodeWesternCodePage(28591, bytes_);
        out_ += *decoded;
        bytes_.clear();
    }

    std::optional<unsigned> hexByte() {
        unsigned value = 0;
        for (int i = 0; i < 2; ++i) {
            if (at_ >= in_.size())
                return std::nullopt;
            const char h = in_[at_];
            unsigned digit = 0;
            if (h >= '0' && h <= '9')
                digit = static_cast<unsigned>(h - '0');
            else if (h >= 'a' && h <= 'f')
                digit = static_cast<unsigned>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
                digit = static_cast<unsigned>(h - 'A' + 10);
            else
                return std::nullopt;
            value = value * 16 + digit;
            ++at_;
        }
        return value;
    }

    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    std::string_view in_;
    const CodePageDecoder& decode_;
    std::size_t at_ = 0;
    std::vector<Group> groups_;
    std::string out_;
    std::string bytes_;
    int codePage_ = 1252;
    int pendingSkip_ = 0;
    char32_t highSurrogate_ = 0;
    bool destinationStart_ = false;
};

}  // namespace

std::optional<std::string> decodeWesternCodePage(int codePage, std::string_view bytes) {
    if (codePage != 1252 && codePage != 28591)
        return std::nullopt;
    std::string out;
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        char32_t c = b;
        if (codePage == 1252 && b >= 0x80 && b < 0xA0)
            c = cp1252High[b - 0x80] != 0 ? cp1252High[b - 0x80] : 0xFFFD;
        appendUtf8(out, c);
    }
    return out;
}

std::optional<std::string> rtfToPlainText(std::string_view rtf, const CodePageDecoder& decode) {
    if (!rtf.starts_with("{\\rtf"))
        return std::nullopt;
    return Reader(rtf, decode).read();
}

}  // namespace quorvane::platform
