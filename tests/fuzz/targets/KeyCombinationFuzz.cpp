// The key-combination parser: shortcuts typed by the user, stored in their
// records and named in "sim key" commands.

#include "FuzzCheck.hpp"
#include "platform/KeyCombinationParts.hpp"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto text = fuzz::bytes(data, size);
    const auto parts = platform::parseCombination(text);
    if (!parts)
        return 0;
    FUZZ_CHECK(!parts->key.empty(), text);
    FUZZ_CHECK(parts->key.size() <= text.size(), text);
    // The key is a piece of what was typed, so a combination that parses
    // once parses the same when its key is typed with the same modifiers.
    FUZZ_CHECK(text.find(parts->key) != std::string::npos, text);
    return 0;
}
