// The file manager's messages: an action and the paths it was given, which
// are any bytes a file name may hold.

#include <algorithm>
#include <nlohmann/json.hpp>

#include "FuzzCheck.hpp"
#include "triggers/finder/FinderActions.hpp"

using namespace quorvane;
using triggers::FinderActionMessage;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto input = fuzz::bytes(data, size);
    // The message as it arrives.
    if (const auto message = FinderActionMessage::decode(input)) {
        FUZZ_CHECK(input.size() <= FinderActionMessage::maxBytes, input);
        FUZZ_CHECK(message.value().paths.size() <= FinderActionMessage::maxPaths, input);
        for (const auto& path : message.value().paths) {
            FUZZ_CHECK(path.starts_with('/'), path);
            FUZZ_CHECK(path.find('\0') == std::string::npos, path);
        }
    }
    // The input as a path: what the command line sends arrives unchanged.
    std::string path = "/" + input.substr(0, 4096);
    path.erase(std::remove(path.begin(), path.end(), '\0'), path.end());
    const nlohmann::json message{{"actionId", "copyPath"},
                                 {"paths", {FinderActionMessage::encodePath(path)}}};
    const auto decoded = FinderActionMessage::decode(message.dump());
    FUZZ_CHECK(static_cast<bool>(decoded), message.dump() + ": " + decoded.error().message);
    FUZZ_CHECK(decoded.value().paths.size() == 1 && decoded.value().paths[0] == path, message.dump());
    return 0;
}
