// Every kind of record the program keeps in its data folder, as the bytes
// of a file it finds there: what decodes must survive a save and a load.

#include "FuzzCheck.hpp"
#include "core/PState.hpp"
#include "core/Preference.hpp"
#include "core/RecordCoding.hpp"
#include "core/automation/Automation.hpp"
#include "input/shortcuts/ShortcutSheet.hpp"
#include "system/power/EnergySchedule.hpp"
#include "triggers/scripts/ScriptTask.hpp"

using namespace quorvane;

namespace {

template <class T>
void roundTrip(const std::string& bytes) {
    const auto decoded = core::decodeRecord<T>(bytes);
    if (!decoded)
        return;
    // What is saved is read back the same: a record the program accepted
    // once is never set aside as damaged on the next start.
    const auto saved = core::encodeRecord(*decoded);
    const auto reloaded = core::decodeRecord<T>(saved);
    FUZZ_CHECK(reloaded.has_value(), "saved as " + saved);
    FUZZ_CHECK(core::encodeRecord(*reloaded) == saved, "saved as " + saved);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bytes = fuzz::bytes(data, size);
    roundTrip<core::Preference>(bytes);
    roundTrip<core::PState>(bytes);
    roundTrip<core::Automation>(bytes);
    roundTrip<std::vector<triggers::ScriptTask>>(bytes);
    roundTrip<std::vector<system::ScheduleItem>>(bytes);
    // A schedule shows its times of day.
    if (const auto items = core::decodeRecord<std::vector<system::ScheduleItem>>(bytes))
        for (const auto& item : *items)
            FUZZ_CHECK(item.time.timeOfDay().size() == 8, item.time.timeOfDay());
    roundTrip<std::vector<input::ShortcutFavorite>>(bytes);
    return 0;
}
