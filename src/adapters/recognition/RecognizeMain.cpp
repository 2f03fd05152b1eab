// quorvane-recognize: the text and barcode reader, in a process of its own
// so that the engine's libraries and models (some 30 MB) leave with it
// instead of staying in the program for good. It answers requests on its
// standard input until that closes:
//
//   request: one byte, 'T' (text) or 'B' (barcode), the picture's length
//            as four bytes little-endian, then the picture (PNG, JPEG...)
//   answer:  one byte, '1' (found) or '0' (nothing), the text's length as
//            four bytes little-endian, then the text (UTF-8)
//
// A request it cannot read ends it; so does a picture of more than 256 MB.
#include <unistd.h>

#include <array>
#include <cstdint>
#include <iostream>
#include <optional>
#include <string>

#include "platform/Log.hpp"
#include "adapters/recognition/TesseractRecognizer.hpp"
#include "adapters/recognition/ZxingBarcodeReader.hpp"

namespace {

constexpr std::uint32_t largestPicture = 256u << 20;

// Warnings (no language data) go to standard error, which the program's.
class StandardErrorLog final : public quorvane::platform::Log {
  public:
    void write(quorvane::platform::LogLevel level, std::string_view source,
               std::string_view message) override {
        if (level != quorvane::platform::LogLevel::info)
            std::cerr << "quorvane-recognize: " << source << ": " << message << "\n";
    }
};

bool readAll(int fd, char* into, std::size_t size) {
    while (size > 0) {
        const auto got = ::read(fd, into, size);
        if (got <= 0)
            return false;
        into += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

bool writeAll(int fd, const char* from, std::size_t size) {
    while (size > 0) {
        const auto put = ::write(fd, from, size);
        if (put <= 0)
            return false;
        from += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

bool answer(int channel, const std::optional<std::string>& found) {
    const std::string text = found.value_or(std::string());
    const auto length = static_cast<std::uint32_t>(text.size());
    const std::array<char, 5> head{found ? '1' : '0', static_cast<char>(length & 0xFF),
                                   static_cast<char>((length >> 8) & 0xFF),
                                   static_cast<char>((length >> 16) & 0xFF),
                                   static_cast<char>((length >> 24) & 0xFF)};
    return writeAll(channel, head.data(), head.size()) && writeAll(channel, text.data(), text.size());
}

}  // namespace

int main() {
    // The answers go on a descriptor of their own: whatever the engine's
    // libraries print goes to standard error, never into an answer.
    const int channel = ::dup(STDOUT_FILENO);
    if (channel < 0 || ::dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
        return 1;
    StandardErrorLog log;
    quorvane::platform::recognition::TesseractRecognizer text(log);
    quorvane::platform::recognition::ZxingBarcodeReader barcodes;
    std::array<char, 5> head{};
    while (readAll(STDIN_FILENO, head.data(), head.size())) {
        const std::uint32_t length = static_cast<std::uint8_t>(head[1]) |
                                     static_cast<std::uint32_t>(static_cast<std::uint8_t>(head[2])) << 8 |
                                     static_cast<std::uint32_t>(static_cast<std::uint8_t>(head[3])) << 16 |
                                     static_cast<std::uint32_t>(static_cast<std::uint8_t>(head[4])) << 24;
        if ((head[0] != 'T' && head[0] != 'B') || length > largestPicture)
            return 1;
        std::string picture(length, '\0');
        if (!readAll(STDIN_FILENO, picture.data(), picture.size()))
            return 1;
        const auto found = head[0] == 'T' ? text.recognizeText(picture) : barcodes.readBarcode(picture);
        if (!answer(channel, found))
            return 1;
    }
    return 0;
}
