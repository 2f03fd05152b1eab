#pragma once

#include <QSocketNotifier>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "platform/Displays.hpp"
#include "platform/Geometry.hpp"
#include "platform/Journal.hpp"
#include "platform/Log.hpp"
#include "adapters/x11/RandrPlan.hpp"

namespace quorvane::platform::x11 {

// An X11 session's displays through RandR, on a connection of its own.
// A display is an output that shows something: its id is the output's XID,
// its name the monitor's (from EDID) else the output's. The main display is
// the primary output, else the one at 0,0; frames are relative to its
// top-left. Arrangements are applied under a server grab and last for the
// session (X11 keeps no layout across logins). Gamma ramps changed here are
// put back by restoreColorSettings() and when this object goes. X11 has no
// HDR headroom: every value is 1. Main thread only.
class RandrDisplays final : public Screens, public Displays {
  public:
    // `workArea` gives an output's usable area (root coordinates), if the
    // desktop knows it.
    static std::unique_ptr<RandrDisplays> connect(
        Journal& journal, Log& log,
        std::function<std::optional<Rect>(const std::string& output)> workArea = {});
    ~RandrDisplays() override;

    std::vector<Screen> screens() const override;
    std::vector<DisplayInfo> displays() const override;
    Result<std::unique_ptr<DisplayConfiguration>> begin() override;
    Result<TransferTable> transferTable(const std::string& display) override;
    Status setTransferTable(const std::string& display, const TransferTable& table) override;
    void restoreColorSettings() override;
    Status restoreTransferTable(const std::string& display, const TransferTable& table) override;
    Token observeChanges(std::function<void()> observer) override;
    void removeObserver(Token token) override;

    // What RandR says, read again after every change it announces.
    const RandrSnapshot& snapshot() const;
    // Applies a plan (used by a configuration's complete()).
    Status apply(const std::vector<RandrChange>& changes, bool permanently);

  private:
    struct Impl;
    RandrDisplays(Journal& journal, Log& log,
                  std::function<std::optional<Rect>(const std::string&)> workArea,
                  std::unique_ptr<Impl> impl);
    void readEvents();
    RandrSnapshot read() const;
    std::optional<std::uint32_t> crtcOf(const std::string& display) const;
    Result<std::vector<std::uint16_t>> readRamp(std::uint32_t crtc, int channel) const;
    Status writeRamps(const std::string& display, std::uint32_t crtc, const TransferTable& table);

    Journal& journal_;
    Log& log_;
    std::function<std::optional<Rect>(const std::string&)> workArea_;
    std::unique_ptr<Impl> impl_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::map<Token, std::function<void()>> observers_;
    Token nextObserver_ = 1;
    // Ramps as they were before we first changed them, by CRTC.
    std::map<std::uint32_t, std::array<std::vector<std::uint16_t>, 3>> originalRamps_;
    std::optional<RandrSaved> beforeMirroring_;
    mutable std::optional<RandrSnapshot> cached_;
};

}  // namespace quorvane::platform::x11
