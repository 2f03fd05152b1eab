#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Persistor.hpp"
#include "core/Published.hpp"
#include "core/RunOutcome.hpp"
#include "core/SerialExecutor.hpp"
#include "input/keystrokes/KeyboardTweakServices.hpp"
#include "input/shortcuts/MenuReader.hpp"
#include "input/shortcuts/ShortcutSheetView.hpp"
#include "platform/Result.hpp"

namespace quorvane::input {

// The cheat sheet of the frontmost application's menu shortcuts. Menus are
// read on the helper's thread and kept per running application (bundle and
// pid: a relaunched application's elements are new); a read that found
// nothing is not kept. Only results for the application shown are shown.
// Main thread, except the reads.
class ViewShortcutManager final : public ShortcutSheetController {
  public:
    static constexpr const char* favoritesKey = "ViewShortcutTask.Manager.favorites";
    using Loaded = std::function<void(platform::Result<std::shared_ptr<const ShortcutInfo>>)>;

    explicit ViewShortcutManager(KeyboardTweakServices& services, MenuReadLimits limits = {});
    ~ViewShortcutManager() override;
    ViewShortcutManager(const ViewShortcutManager&) = delete;
    ViewShortcutManager& operator=(const ViewShortcutManager&) = delete;

    // Whether this desktop lets us read other programs' menus.
    bool isSupported() const { return services_.menuAccessibility != nullptr; }
    // Shows the sheet for the frontmost application. Trust is checked first;
    // refused without it, or without an application in front.
    core::RunOutcome show();
    // The frontmost application's keys, from the cache or a read: what
    // `menu-shortcuts` prints. An error says why there are none.
    void loadFrontmost(Loaded loaded);

    const ShortcutSheetState& state() const { return state_; }
    bool isShown() const { return view_ && view_->isShown(); }
    core::Published<std::vector<ShortcutFavorite>> favorites;

    // ShortcutSheetController
    void setSearchText(std::string text) override;
    void select(std::size_t row) override;
    void toggleFavorite(std::size_t row) override;
    void performRow(std::size_t row) override;
    void dismiss() override;
    // The sheet's keys while it shows; answers whether it took the key.
    bool handleKey(const platform::InputEvent& event);

  private:
    struct AppKey {
        std::string bundle;
        int pid = 0;
        auto operator<=>(const AppKey&) const = default;
    };
    // The cached read of `app`, or one started; `loaded` runs on the main
    // thread with the result.
    void load(const AppKey& app, const std::string& name,
              std::function<void(std::shared_ptr<const ShortcutInfo>)> loaded);
    void finished(const AppKey& app, std::shared_ptr<const ShortcutInfo> info);
    void publish();
    void perform(const ShortcutKey& key);

    KeyboardTweakServices& services_;
    MenuReadLimits limits_;
    core::Persistor::Registration favoritesRecord_;
    core::Subscription favoritesChanged_;
    std::map<AppKey, std::shared_ptr<const ShortcutInfo>> infos_;
    std::map<AppKey, std::vector<std::function<void(std::shared_ptr<const ShortcutInfo>)>>> reading_;
    std::optional<AppKey> shownApp_;
    ShortcutSheetState state_;
    std::unique_ptr<ShortcutSheetView> view_;
    std::optional<platform::LocalEventMonitors::Token> monitor_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::atomic<bool> cancelled_{false};
    // Last: destroyed first, while what its jobs reach is still there.
    core::SerialExecutor helper_{"menu reader"};
};

}  // namespace quorvane::input
