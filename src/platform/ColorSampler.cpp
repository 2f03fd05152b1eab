#include "platform/ColorSampler.hpp"

namespace quorvane::platform {

std::string hexText(SampledColor color) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text = "#";
    for (std::uint8_t channel : {color.red, color.green, color.blue}) {
        text += digits[channel >> 4];
        text += digits[channel & 0xf];
    }
    return text;
}

std::optional<SampledColor> parseHexColor(std::string_view text) {
    if (text.size() != 7 || text[0] != '#')
        return std::nullopt;
    std::uint8_t channels[3] = {};
    for (std::size_t i = 0; i < 6; ++i) {
        const char c = text[1 + i];
        int digit = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
        if (digit < 0)
            return std::nullopt;
        channels[i / 2] = static_cast<std::uint8_t>(channels[i / 2] * 16 + digit);
    }
    return SampledColor{channels[0], channels[1], channels[2]};
}

}  // namespace quorvane::platform
