#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Displays.hpp"
#include "platform/Geometry.hpp"
#include "platform/Journal.hpp"
#include "platform/Result.hpp"

namespace quorvane::platform::sim {

// The simulated Mac's displays: the screens the simulated desktop shows,
// with their arrangement, mirroring, headroom and transfer tables. It
// starts with the built-in 1440 × 900 display (headroom up to 16, 1 now)
// and keeps its state in a file of the simulated Mac's folder, so that a
// later process finds the arrangement it left. A table changed by a
// process that has ended is put back when the next one loads, as a Mac does
// when a process ends. Every transaction, table and restore is journaled.
// Main thread only.
class SimDisplays final : public Screens, public Displays {
  public:
    static constexpr std::size_t maxDisplays = 16;
    static constexpr double menuBarHeight = 25;
    static constexpr double dockHeight = 70;
    // A Dock that hides itself leaves the primary screen's visible frame
    // all but a 4-point strip where it comes back.
    static constexpr double hiddenDockStrip = 4;
    void setDockHidden(bool hidden);
    bool dockHidden() const { return dockHidden_; }
    static constexpr const char* cause = "SimulatedMac";

    // `file` empty: nothing is kept past this object. `ownPid` is the
    // process whose changes to tables are ours.
    SimDisplays(Journal& journal, std::filesystem::path file = {}, int ownPid = 0);

    // The screens, main first, in Cocoa space.
    const std::vector<Screen>& screenList() const { return screens_; }
    std::vector<Screen> screens() const override { return screens_; }

    // What `quorvane sim display` does. Origins are in accessibility space.
    Result<std::string> add(const std::string& name, Size size, double edrPotential);
    Result<std::string> remove(const std::string& id);
    Result<std::string> move(const std::string& id, Point origin);
    // `what` is "edr", "edrReference" or "edrPotential" (a panel with less
    // headroom, or none at 1).
    Result<std::string> set(const std::string& id, const std::string& what, double value);
    std::string describe() const;

    // Displays
    std::vector<DisplayInfo> displays() const override;
    Result<std::unique_ptr<DisplayConfiguration>> begin() override;
    Result<TransferTable> transferTable(const std::string& display) override;
    Status setTransferTable(const std::string& display, const TransferTable& table) override;
    void restoreColorSettings() override;
    Status restoreTransferTable(const std::string& display, const TransferTable& table) override;
    Token observeChanges(std::function<void()> observer) override;
    void removeObserver(Token token) override;

    // The table a display shows now.
    std::optional<TransferTable> currentTable(const std::string& display) const;

    // Failures tests ask for: the next begin() or complete(), reading a
    // display's table.
    bool failBegin = false;
    bool failComplete = false;
    std::set<std::string> failTableRead{};

  private:
    friend class SimDisplayConfiguration;
    struct Entry {
        DisplayInfo info{};
        std::string name{};
        Rect frame{};  // Cocoa space
        TransferTable table = TransferTable::identity();
        int changedBy = 0;  // the process that changed the table; 0: unchanged
    };
    struct Change {
        std::string display{};
        std::optional<Point> origin{};
        bool mirrorChanged = false;
        std::optional<std::string> master{};
    };

    Entry* find(const std::string& id);
    Status apply(const std::vector<Change>& changes, bool permanently);
    void rebuildScreens();
    bool dockHidden_ = false;
    void changed();
    void load();
    void save();
    void journal(std::string_view kind, const std::string& detail);

    Journal& journal_;
    std::filesystem::path file_;
    int ownPid_;
    std::vector<Entry> entries_;  // main first
    int nextId_ = 2;
    std::vector<Screen> screens_;
    std::map<Token, std::function<void()>> observers_;
    Token nextObserver_ = 1;
};

}  // namespace quorvane::platform::sim
