#include "windows/highlight/HighlightActiveWindowTask.hpp"

#include <array>
#include <chrono>

namespace quorvane::windows {

using namespace platform;
using namespace std::chrono_literals;

namespace {

using Mode = HighlightActiveWindowTask::EffectMode;
constexpr std::array<core::EnumOption<Mode>, 2> modes{{
    {Mode::dim, "dim", "Dim inactive windows with a dark overlay"},
    {Mode::blur, "blur", "Blur inactive windows for a modern, elegant look"},
}};
constexpr std::string_view finder = "com.apple.finder";

}  // namespace

const core::DoubleSetting HighlightActiveWindowTask::dimAlpha{
    "HighlightActiveWindowTask.Manager.dimAlpha", 0.5, 0.1, 0.9};
const core::EnumSetting<Mode> HighlightActiveWindowTask::effectMode{
    "HighlightActiveWindowTask.Manager.effectMode", Mode::dim, modes};
const core::DoubleSetting HighlightActiveWindowTask::blurLevel{
    "HighlightActiveWindowTask.Manager.blurLevel", 0.5, 0.1, 0.9};

HighlightActiveWindowTask::HighlightActiveWindowTask(core::TweakInfo info, core::PKeyPath field,
                                                     WindowTweakServices& services)
    : BuiltinTweak(std::move(info)),
      CanPToggle(services.windows.store, field),
      services_(services),
      monitor_(services.monitors, services.windows.journal, services.windows.log, id(),
               eventMask::leftMouseUp,
               [this](const InputEvent&) { activated(services_.windows.applications.frontmost()); }),
      observer_(services.windows.applications.observeActivation(
          [this](const RunningApplication& application) { activated(application); })) {}

HighlightActiveWindowTask::~HighlightActiveWindowTask() {
    services_.windows.applications.removeObserver(observer_);
    pending_.cancel();
    closeAll();
}

core::RunOutcome HighlightActiveWindowTask::run() {
    if (!isOn()) {
        monitor_.stop();
        pending_.cancel();
        closeAll();
        return core::RunOutcome::done();
    }
    // Without a compositor a see-through window is an opaque one: the whole
    // desktop but one window would go black.
    if (!services_.overlays.translucencyWorks()) {
        setOn(false);
        services_.alerts.show({.style = Alert::Style::warning, .message = name(),
                      .informativeText = needsCompositing});
        return core::RunOutcome::refused(needsCompositing, /*alertShown=*/true);
    }
    monitor_.start();
    refresh();
    return core::RunOutcome::done();
}

// One pending refresh at most, and none once off or with Finder in front:
// a late one would bring the overlays back.
void HighlightActiveWindowTask::activated(const std::optional<RunningApplication>& application) {
    if (!isOn())
        return;
    pending_.cancel();
    if (!application || application->bundleIdentifier == finder) {
        closeAll();
        return;
    }
    // The new application's windows are ordered in front first.
    pending_ = services_.windows.mainQueue.after(100ms, [this] { refresh(); });
}

OverlayDescription HighlightActiveWindowTask::descriptionFor(const Screen& screen) const {
    const auto& defaults = services_.defaults;
    // Blurring what lies below needs the Mac's compositor; elsewhere the
    // blur mode is its tint alone.
    const double alpha = effectMode.read(defaults) == Mode::dim
                             ? dimAlpha.clamped(dimAlpha.read(defaults))
                             : blurLevel.clamped(blurLevel.read(defaults));
    return {.owner = id(),
            .frame = screen.frame,
            .level = overlayLevel::normal,
            .passesInput = true,
            .background = {0, 0, 0, alpha}};
}

void HighlightActiveWindowTask::refresh() {
    if (!isOn())
        return;
    auto& windows = services_.windows;
    const int own = windows.applications.ownPid();
    int below = 0;
    for (const auto& record : windows.windowList.list(windowListOption::onScreenOnly |
                                                      windowListOption::excludeDesktopElements))
        if (record.layer == 0 && record.ownerPID != own) {
            below = record.number;
            break;
        }
    std::vector<OverlayDescription> wanted;
    for (const auto& screen : windows.screens.screens())
        wanted.push_back(descriptionFor(screen));
    bool same = wanted.size() == windows_.size();
    for (std::size_t i = 0; same && i < wanted.size(); ++i)
        same = wanted[i] == windows_[i].first;
    if (same) {
        for (const auto& [description, overlay] : windows_)
            windows.windowList.orderBelow(services_.overlays.nativeWindow(overlay), below);
        return;
    }
    closeAll();
    // Stacked before they first show: never a frame above the active window.
    for (auto& description : wanted) {
        auto hidden = description;
        hidden.hidden = true;
        const auto overlay = services_.overlays.show(hidden);
        windows.windowList.orderBelow(services_.overlays.nativeWindow(overlay), below);
        services_.overlays.update(overlay, description);
        windows_.emplace_back(description, overlay);
    }
}

void HighlightActiveWindowTask::closeAll() {
    auto shown = std::move(windows_);
    windows_.clear();
    for (const auto& [description, overlay] : shown)
        services_.overlays.close(overlay);
}

core::ConfigureForm HighlightActiveWindowTask::configureView() const {
    return {{{.controls = {core::FormControl::picker("Effect Mode", effectMode)}},
             {.title = "Intensity",
              .controls = {core::FormControl::slider("Dim Level", dimAlpha)
                               .shownFor(effectMode.key, "dim"),
                           core::FormControl::slider("Blur Level", blurLevel)
                               .shownFor(effectMode.key, "blur")},
              .footer = "Off a Mac, blurring shows as a tint of the blur level."}}};
}

}  // namespace quorvane::windows
