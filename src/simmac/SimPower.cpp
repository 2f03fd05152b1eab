#include "simmac/SimPower.hpp"

#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <set>
#include <sstream>

#include "adapters/posix/FileOps.hpp"
#include "adapters/posix/JsonFile.hpp"
#include "adapters/posix/StderrLog.hpp"

namespace quorvane::platform::sim {

namespace {

const std::set<std::string, std::less<>> wakingTypes{"wake", "poweron", "wakeorpoweron"};
const std::set<std::string, std::less<>> sleepingTypes{"sleep", "shutdown", "restart"};

bool isDayCodes(const std::string& days) {
    if (days.empty() || days.size() > 7)
        return false;
    std::set<char> seen;
    for (char c : days)
        if (std::string_view("MTWRFSU").find(c) == std::string_view::npos || !seen.insert(c).second)
            return false;
    return true;
}

bool isTimeOfDay(const std::string& time) {
    if (time.size() != 8 || time[2] != ':' || time[5] != ':')
        return false;
    for (std::size_t i : {0u, 1u, 3u, 4u, 6u, 7u})
        if (time[i] < '0' || time[i] > '9')
            return false;
    const int hours = (time[0] - '0') * 10 + (time[1] - '0');
    const int minutes = (time[3] - '0') * 10 + (time[4] - '0');
    const int seconds = (time[6] - '0') * 10 + (time[7] - '0');
    return hours < 24 && minutes < 60 && seconds < 60;
}

nlohmann::json readJson(const std::filesystem::path& path) {
    return posix::readJsonObject(path).value_or(nlohmann::json::object());
}

Status writeJson(const std::filesystem::path& path, const nlohmann::json& json) {
    return posix::writeJsonFile(path, json);
}

// The lines of a small file; none when it is missing or cannot be read.
std::vector<std::string> linesOf(const std::filesystem::path& path, std::size_t maxBytes) {
    std::vector<std::string> lines;
    auto bytes = posix::readFile(path, maxBytes);
    if (!bytes || !bytes.value())
        return lines;
    std::istringstream text(*bytes.value());
    for (std::string line; std::getline(text, line);)
        lines.push_back(line);
    return lines;
}

// What the history keeps: a line per shutdown done, a few kilobytes a year.
constexpr std::size_t largestHistory = 1u << 20;

std::string localTime(std::int64_t seconds) {
    const auto time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    ::localtime_r(&time, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    return text;
}

}  // namespace

Result<std::vector<RepeatEvent>> parseRepeatEvents(std::span<const std::string> arguments) {
    if (arguments.empty())
        return Error{"pmset: Error: no repeating events given"};
    if (arguments.size() == 1 && arguments[0] == "cancel")
        return std::vector<RepeatEvent>{};
    if (arguments.size() % 3 != 0)
        return Error{"pmset: Error: each repeating event takes a type, days and a time"};
    std::vector<RepeatEvent> events;
    bool waking = false;
    bool sleeping = false;
    for (std::size_t i = 0; i < arguments.size(); i += 3) {
        RepeatEvent event{arguments[i], arguments[i + 1], arguments[i + 2]};
        bool& slot = wakingTypes.contains(event.type) ? waking : sleeping;
        if (!wakingTypes.contains(event.type) && !sleepingTypes.contains(event.type))
            return Error{"pmset: Error: bad type argument \"" + event.type + "\""};
        if (slot)
            return Error{"pmset: Error: only one power on and one power off event may repeat"};
        slot = true;
        if (!isDayCodes(event.days))
            return Error{"pmset: Error: bad weekday argument \"" + event.days + "\""};
        if (!isTimeOfDay(event.time))
            return Error{"pmset: Error: bad time argument \"" + event.time + "\" (HH:mm:ss)"};
        events.push_back(std::move(event));
    }
    return events;
}

std::vector<RepeatEvent> SimPower::repeatEvents() const {
    std::vector<RepeatEvent> events;
    const auto stored = readJson(folder() / "schedule.json");
    if (auto found = stored.find("repeat"); found != stored.end() && found->is_array())
        for (const auto& item : *found)
            if (item.is_object())
                events.push_back({posix::textOr(item, "type", ""), posix::textOr(item, "days", ""),
                                  posix::textOr(item, "time", "")});
    return events;
}

Status SimPower::setRepeatEvents(const std::vector<RepeatEvent>& events) const {
    auto list = nlohmann::json::array();
    for (const auto& event : events)
        list.push_back({{"type", event.type}, {"days", event.days}, {"time", event.time}});
    return writeJson(folder() / "schedule.json", {{"repeat", list}});
}

int SimPower::powerMode() const {
    const auto stored = readJson(folder() / "settings.json");
    auto found = stored.find("powermode");
    return found != stored.end() && found->is_number_integer() ? found->get<int>() : 0;
}

Status SimPower::setPowerMode(int mode) const {
    auto settings = readJson(folder() / "settings.json");
    settings["powermode"] = mode;
    return writeJson(folder() / "settings.json", settings);
}

Status SimPower::addAssertion(const PowerAssertion& assertion) const {
    return writeJson(folder() / "processes" / (std::to_string(assertion.pid) + ".json"),
                     {{"tool", "caffeinate"},
                      {"pid", assertion.pid},
                      {"flags", assertion.flags},
                      {"until", assertion.until}});
}

Status SimPower::addShutdown(const PendingShutdown& pending) const {
    return writeJson(folder() / "processes" / (std::to_string(pending.pid) + ".json"),
                     {{"tool", "shutdown"},
                      {"pid", pending.pid},
                      {"action", pending.action},
                      {"at", pending.at}});
}

void SimPower::removeRecord(int pid) const {
    std::error_code ignored;
    std::filesystem::remove(folder() / "processes" / (std::to_string(pid) + ".json"), ignored);
}

bool SimPower::runsStandIn(int pid, const std::string& tool) const {
    if (pid <= 0)
        return false;
    const auto process = std::filesystem::path("/proc") / std::to_string(pid);
    const auto name = linesOf(process / "comm", 4096);
    if (name.empty() || name.front() != tool)
        return false;
    std::error_code failed;
    const auto running = std::filesystem::canonical(process / "exe", failed);
    if (failed)
        return false;
    const auto standIn = std::filesystem::canonical(root_ / "bin" / tool, failed);
    return !failed && running == standIn;
}

std::vector<int> SimPower::runningStandIns(const std::string& tool) const {
    // Every simulated Mac links the same program: a process is this one's
    // when it was started by the path of this one's bin folder.
    std::error_code unknown;
    const auto bin = std::filesystem::weakly_canonical(root_ / "bin", unknown);
    std::vector<int> pids;
    std::error_code failed;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", failed)) {
        const auto name = entry.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const int pid = std::stoi(name);
        if (!runsStandIn(pid, tool))
            continue;
        const auto arguments = posix::readFile(entry.path() / "cmdline", 1u << 16);
        if (!arguments || !arguments.value())
            continue;
        const std::filesystem::path invokedAs = arguments.value()->substr(0, arguments.value()->find('\0'));
        if (invokedAs.filename() == tool &&
            std::filesystem::weakly_canonical(invokedAs.parent_path(), unknown) == bin)
            pids.push_back(pid);
    }
    std::sort(pids.begin(), pids.end());
    return pids;
}

namespace {

// The live records of `tool`, oldest pid first.
std::vector<nlohmann::json> liveRecords(const SimPower& power, const std::string& tool) {
    std::vector<nlohmann::json> records;
    std::error_code failed;
    for (const auto& entry :
         std::filesystem::directory_iterator(power.folder() / "processes", failed)) {
        if (entry.path().filename().string().starts_with("."))
            continue;  // a record still being written, under its temporary name
        auto record = readJson(entry.path());
        if (posix::textOr(record, "tool", "") != tool || !record["pid"].is_number_integer())
            continue;
        const int pid = record["pid"].get<int>();
        if (power.runsStandIn(pid, tool))
            records.push_back(std::move(record));
        else
            power.removeRecord(pid);  // it ended without saying so
    }
    std::sort(records.begin(), records.end(),
              [](const auto& a, const auto& b) { return a["pid"].template get<int>() < b["pid"].template get<int>(); });
    return records;
}

}  // namespace

std::vector<PowerAssertion> SimPower::assertions() const {
    std::vector<PowerAssertion> found;
    for (const auto& record : liveRecords(*this, "caffeinate"))
        found.push_back({record["pid"].get<int>(), posix::textOr(record, "flags", ""),
                         posix::wholeOr(record, "until", 0)});
    return found;
}

std::vector<PendingShutdown> SimPower::shutdowns() const {
    std::vector<PendingShutdown> found;
    for (const auto& record : liveRecords(*this, "shutdown"))
        found.push_back({record["pid"].get<int>(), posix::textOr(record, "action", ""),
                         posix::wholeOr(record, "at", 0)});
    return found;
}

void SimPower::recordDone(const std::string& line) const {
    if (!posix::makePrivateDirectory(folder()))
        return;
    posix::StderrLog log;
    auto history = posix::openOwnFile(folder() / "history.log", posix::FileAccess::append,
                                      largestHistory, log, "SimulatedMac");
    if (!history)
        return;
    const std::string text = line + "\n";
    (void)::write(history.value()->descriptor.get(), text.data(), text.size());
}

std::vector<std::string> SimPower::history() const {
    return linesOf(folder() / "history.log", largestHistory);
}

nlohmann::json SimPower::toJson() const {
    auto repeat = nlohmann::json::array();
    for (const auto& event : repeatEvents())
        repeat.push_back({{"type", event.type}, {"days", event.days}, {"time", event.time}});
    auto awake = nlohmann::json::array();
    for (const auto& assertion : assertions())
        awake.push_back({{"pid", assertion.pid},
                         {"flags", assertion.flags},
                         {"until", assertion.until}});
    auto pending = nlohmann::json::array();
    for (const auto& shutdown : shutdowns())
        pending.push_back(
            {{"pid", shutdown.pid}, {"action", shutdown.action}, {"at", shutdown.at}});
    return {{"repeat", repeat},
            {"powermode", powerMode()},
            {"assertions", awake},
            {"shutdowns", pending},
            {"history", history()}};
}

std::string SimPower::describe() const {
    std::string text = "Repeating power events:";
    const auto events = repeatEvents();
    if (events.empty())
        text += " none";
    for (const auto& event : events)
        text += "\n  " + event.type + " " + event.days + " at " + event.time;
    text += "\nLow power mode: " + std::string(powerMode() == 1 ? "on" : "off");
    const auto awake = assertions();
    text += "\nKeep-awake assertions: " + std::to_string(awake.size());
    for (const auto& assertion : awake)
        text += "\n  pid " + std::to_string(assertion.pid) + " (caffeinate -" + assertion.flags +
                ")" + (assertion.until ? " until " + localTime(assertion.until) : "");
    const auto pending = shutdowns();
    text += "\nPending shutdowns: " + std::to_string(pending.size());
    for (const auto& shutdown : pending)
        text += "\n  " + shutdown.action + " at " + localTime(shutdown.at) + " (pid " +
                std::to_string(shutdown.pid) + ")";
    for (const auto& line : history())
        text += "\nDone: " + line;
    return text;
}

}  // namespace quorvane::platform::sim
