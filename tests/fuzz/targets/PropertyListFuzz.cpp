// The simulated Mac's preference domains: binary and XML property lists
// handed to "defaults import" or found in ~/Library/Preferences.

#include <nlohmann/json.hpp>

#include "FuzzCheck.hpp"
#include "simmac/PreferenceDomains.hpp"

using namespace quorvane;
namespace domains = platform::sim::domains;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bytes = fuzz::bytes(data, size);
    const auto values = domains::parse(bytes);
    if (!values)
        return 0;
    FUZZ_CHECK(values->is_object(), bytes);
    // What "defaults export" writes, "defaults import" reads back as it was.
    const auto xml = domains::toXml(*values);
    const auto again = domains::parse(xml);
    FUZZ_CHECK(again.has_value(), xml);
    FUZZ_CHECK(domains::toXml(*again) == xml, xml);
    return 0;
}
