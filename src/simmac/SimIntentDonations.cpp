#include "simmac/SimIntentDonations.hpp"

#include "platform/RecentHistory.hpp"

namespace quorvane::platform::sim {

// What a long run keeps of the donations.
constexpr std::size_t keptDonations = 256;

void SimIntentDonations::donateRunTweak(const std::string& tweakName) {
    {
        std::lock_guard lock(mutex_);
        keepRecent(donations_, tweakName, keptDonations);
    }
    log_.info("IntentDonations", "donated \"Run Tweak\" for \"" + tweakName + "\"");
}

std::vector<std::string> SimIntentDonations::donations() const {
    std::lock_guard lock(mutex_);
    return donations_;
}

}  // namespace quorvane::platform::sim
