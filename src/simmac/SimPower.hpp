#pragma once

#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <vector>

#include "platform/Result.hpp"

namespace quorvane::platform::sim {

// One event of the weekly power schedule ("pmset repeat"): its type as the
// tool writes it, its day codes (MTWRFSU) and its time "HH:mm:ss".
struct RepeatEvent {
    std::string type;
    std::string days;
    std::string time;
    bool operator==(const RepeatEvent&) const = default;
};

// A running `caffeinate`: what it prevents ("di" for -d -i) and until when
// (seconds since 1970; 0: until it is ended).
struct PowerAssertion {
    int pid = 0;
    std::string flags;
    std::int64_t until = 0;
};

// A running `shutdown`: what it will do ("shutdown", "restart", "sleep")
// and when (seconds since 1970).
struct PendingShutdown {
    int pid = 0;
    std::string action;
    std::int64_t at = 0;
};

// Reads "pmset repeat ARGS" as the tool does: "cancel", or at most one
// waking (wake, poweron, wakeorpoweron) and one sleeping (sleep, shutdown,
// restart) event, each "TYPE DAYS HH:mm:ss". The error says what is wrong.
Result<std::vector<RepeatEvent>> parseRepeatEvents(std::span<const std::string> arguments);

// The simulated Mac's power state, under <sim>/power: written by the
// stand-in power tools, read by `quorvane sim power`. A process record is
// one file per process, and counts only while that process is still the
// stand-in that wrote it, so a killed or crashed tool leaves nothing pending
// and a pid reused by a host process is never taken for it.
class SimPower {
  public:
    explicit SimPower(std::filesystem::path simRoot) : root_(std::move(simRoot)) {}

    std::filesystem::path folder() const { return root_ / "power"; }

    std::vector<RepeatEvent> repeatEvents() const;
    Status setRepeatEvents(const std::vector<RepeatEvent>& events) const;
    int powerMode() const;
    Status setPowerMode(int mode) const;

    Status addAssertion(const PowerAssertion& assertion) const;
    Status addShutdown(const PendingShutdown& pending) const;
    void removeRecord(int pid) const;
    std::vector<PowerAssertion> assertions() const;
    std::vector<PendingShutdown> shutdowns() const;
    // Whether `pid` runs this simulated Mac's stand-in `tool`.
    bool runsStandIn(int pid, const std::string& tool) const;
    // The processes running this simulated Mac's stand-in `tool`, found in
    // the process table as the real `killall` and `pgrep` find theirs: one
    // that has started but not yet written its record is among them.
    std::vector<int> runningStandIns(const std::string& tool) const;

    // What the simulated Mac did at a pending time ("restart at ...").
    void recordDone(const std::string& line) const;
    std::vector<std::string> history() const;

    nlohmann::json toJson() const;
    std::string describe() const;

  private:
    std::filesystem::path root_;
};

}  // namespace quorvane::platform::sim
