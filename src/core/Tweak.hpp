#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Category.hpp"
#include "core/ConfigureForm.hpp"
#include "core/ExtraPanel.hpp"
#include "core/RunOutcome.hpp"
#include "platform/ActsOn.hpp"

namespace quorvane::core {

// The one interface every tweak offers. The front end, workflows, shortcuts,
// automation and the command line know tweaks only through it (and the
// CanToggle family). run(), refresh() and reset() return at once; slow work
// goes to the tweak's own executor and reports back on the main queue.
class Tweak {
  public:
    virtual ~Tweak() = default;

    // Stable identity, the key of every stored reference to the tweak. For a
    // built-in tweak it is its type name ("SnapWindowsTask").
    virtual const std::string& id() const = 0;
    virtual const std::string& name() const = 0;
    virtual const std::string& description() const = 0;
    virtual const std::string& explanation() const { return empty(); }
    virtual const std::string& icon() const = 0;  // one emoji, drawn as text
    virtual const std::vector<Category>& categories() const = 0;
    virtual bool shouldMenuBar() const { return false; }
    virtual const std::string& docUrl() const { return empty(); }
    // Does the tweak's work (a toggle: applies its state) and says what came
    // of it. Slow work that has started counts as done; what goes wrong later
    // is told by the tweak's alert.
    [[nodiscard]] virtual RunOutcome run() { return RunOutcome::done(); }
    virtual void refresh() {}
    // refresh(), then `done` on the main queue once the state read back is
    // in the Store: for a caller that decides by the system's real state.
    // A tweak that reads the system in the background overrides it.
    virtual void refreshThen(std::function<void()> done) {
        refresh();
        done();
    }
    virtual bool hasMoreConfigure() const { return false; }
    virtual ConfigureForm configureView() const { return {}; }
    virtual bool hasExtra() const { return false; }
    // What the extra panel shows, for a tweak with one.
    virtual ExtraPanel extraView() const { return {}; }
    virtual bool canReset() const { return false; }
    virtual void reset() {}

    // A toggle that only writes a system preference, which switching back
    // restores: a link may switch it without asking.
    virtual bool isReversiblePreference() const { return false; }

    // Where the tweak acts: this desktop, the simulated Mac, or nowhere
    // (its reason), as the adapters it uses were chosen for this machine.
    virtual platform::ActsOn actsOn() const { return platform::ActsOn::thisDesktop(); }

    // Why the tweak cannot work here, if it cannot: a service this machine
    // lacks, else the tweak's own reason. Its cell and the feedback label
    // show it, its switch is disabled, running or switching it does nothing
    // and stores nothing.
    std::optional<std::string> unavailableReason() const;
    bool isAvailable() const { return !unavailableReason(); }
    // Where it acts, its own unavailability included: what a person is
    // told next to its name.
    platform::ActsOn whereItActs() const {
        if (auto reason = unavailableReason())
            return platform::ActsOn::unavailable(*reason);
        return actsOn();
    }
    // The outcome of a run where the tweak cannot work: its reason.
    RunOutcome unavailableHere() const;

  protected:
    // Why the tweak's own work cannot be done here, services aside.
    virtual std::optional<std::string> ownUnavailableReason() const { return std::nullopt; }

    static const std::string& empty() {
        static const std::string nothing;
        return nothing;
    }
};

// The reasons a tweak gives for not working here.
inline constexpr const char* notAvailableInThisBuild = "Not available in this build";
inline constexpr const char* notSupportedOnThisDesktop = "Not supported on this desktop";
// Why a tweak that works on a copied link did nothing.
inline constexpr const char* clipboardHoldsNoLink = "the clipboard holds no link";

// The fixed fields of a built-in tweak, set once when the catalogue is built.
struct TweakInfo {
    std::string id{};
    std::string name{};
    std::string description{};
    std::string icon{};
    std::vector<Category> categories{};
    std::string explanation{};
    std::string docUrl{};
    bool shouldMenuBar = false;
    bool hasMoreConfigure = false;
    bool hasExtra = false;
    bool canReset = false;
};

inline std::optional<std::string> Tweak::unavailableReason() const {
    if (auto acts = actsOn(); acts.isUnavailable())
        return acts.reason;
    return ownUnavailableReason();
}

inline RunOutcome Tweak::unavailableHere() const {
    return RunOutcome::unavailable(unavailableReason().value_or(notSupportedOnThisDesktop));
}

// A tweak whose fixed fields come from its catalogue row.
class BuiltinTweak : public Tweak {
  public:
    explicit BuiltinTweak(TweakInfo info) : info_(std::move(info)) {}

    const std::string& id() const override { return info_.id; }
    const std::string& name() const override { return info_.name; }
    const std::string& description() const override { return info_.description; }
    const std::string& explanation() const override { return info_.explanation; }
    const std::string& icon() const override { return info_.icon; }
    const std::vector<Category>& categories() const override { return info_.categories; }
    bool shouldMenuBar() const override { return info_.shouldMenuBar; }
    const std::string& docUrl() const override { return info_.docUrl; }
    bool hasMoreConfigure() const override { return info_.hasMoreConfigure; }
    bool hasExtra() const override { return info_.hasExtra; }
    bool canReset() const override { return info_.canReset; }

    const TweakInfo& info() const { return info_; }

    // Where it acts follows the adapters of `ports`, as `choices` has
    // them; set once, by the catalogue, from what its maker named.
    void actThrough(const platform::AdapterChoices& choices, std::vector<platform::Port> ports) {
        choices_ = &choices;
        ports_ = std::move(ports);
    }
    platform::ActsOn actsOn() const override {
        return choices_ ? choices_->of(ports_) : platform::ActsOn::thisDesktop();
    }

  private:
    TweakInfo info_;
    const platform::AdapterChoices* choices_ = nullptr;
    std::vector<platform::Port> ports_;
};

}  // namespace quorvane::core
