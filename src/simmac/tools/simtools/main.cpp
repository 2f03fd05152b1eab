// The simulated Mac's power tools: one program, linked into the simulated
// Mac's bin/ as pmset, caffeinate, shutdown, killall and pgrep, and run under
// that name. They keep their state under <sim>/power (see SimPower) and never
// touch the host: no host power setting changes, and killall signals only
// processes that run these very stand-ins.

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "simmac/SimPower.hpp"

namespace {

using quorvane::platform::sim::PendingShutdown;
using quorvane::platform::sim::PowerAssertion;
using quorvane::platform::sim::SimPower;
namespace fs = std::filesystem;

std::int64_t nowSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The simulated Mac's folder: the parent of the bin/ this program was run
// from, whether named by a path or found on PATH.
std::optional<fs::path> simulatedMac(const std::string& invokedAs) {
    if (invokedAs.find('/') != std::string::npos)
        return fs::absolute(invokedAs).parent_path().parent_path();
    std::error_code failed;
    const auto self = fs::canonical("/proc/self/exe", failed);
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const fs::path folder(rest.substr(0, colon));
        rest = colon == std::string_view::npos ? "" : rest.substr(colon + 1);
        if (folder.empty())
            continue;
        if (fs::canonical(folder / invokedAs, failed) == self && !failed)
            return fs::absolute(folder).parent_path();
    }
    return std::nullopt;
}

// Parses a whole positive number of at most `limit`.
std::optional<std::int64_t> count(const std::string& text, std::int64_t limit) {
    if (text.empty() || text.size() > 12 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const auto value = std::stoll(text);
    return value <= limit ? std::optional(value) : std::nullopt;
}

sigset_t endingSignals() {
    sigset_t ending;
    sigemptyset(&ending);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&ending, signal);
    return ending;
}

// Before any thread starts (D-Bus has one): the ending signals then reach
// only the wait below, never a thread that would die of them at once.
void blockEndingSignals() {
    const sigset_t ending = endingSignals();
    pthread_sigmask(SIG_BLOCK, &ending, nullptr);
}

// Waits until `until` (0: for ever) or one of the ending signals; answers
// the signal, or 0 when the time came.
int waitUntil(std::int64_t until) {
    const sigset_t ending = endingSignals();
    blockEndingSignals();
    for (;;) {
        int caught = 0;
        if (until == 0) {
            if (sigwait(&ending, &caught) == 0)
                return caught;
            continue;
        }
        const auto left = until - nowSeconds();
        if (left <= 0)
            return 0;
        const timespec timeout{static_cast<time_t>(left), 0};
        caught = sigtimedwait(&ending, nullptr, &timeout);
        if (caught > 0)
            return caught;
    }
}

// Ends as the signal would have ended it, so a waiting parent sees that.
[[noreturn]] void endBy(int signal) {
    ::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    std::_Exit(128 + signal);
}

int pmset(const SimPower& power, const std::vector<std::string>& arguments) {
    const auto usage = [] {
        std::cerr << "Usage: pmset <options>\n"
                     "  pmset repeat cancel | repeat TYPE DAYS HH:mm:ss [TYPE DAYS HH:mm:ss]\n"
                     "  pmset -g [sched|assertions]\n"
                     "  pmset -a powermode 0|1\n";
        return 1;
    };
    if (arguments.empty())
        return usage();
    if (arguments[0] == "repeat") {
        auto events = quorvane::platform::sim::parseRepeatEvents(
            std::span(arguments).subspan(1));
        if (!events) {
            std::cerr << events.error().message.substr(0, 200) << "\n";
            return 1;
        }
        if (auto saved = power.setRepeatEvents(events.value()); !saved) {
            std::cerr << "pmset: " << saved.error().message << "\n";
            return 1;
        }
        return 0;
    }
    if (arguments[0] == "-a" && arguments.size() == 3 && arguments[1] == "powermode") {
        if (arguments[2] != "0" && arguments[2] != "1") {
            std::cerr << "pmset: bad powermode value \"" << arguments[2] << "\"\n";
            return 1;
        }
        if (auto saved = power.setPowerMode(arguments[2] == "1"); !saved) {
            std::cerr << "pmset: " << saved.error().message << "\n";
            return 1;
        }
        return 0;
    }
    if (arguments[0] == "-g" && arguments.size() == 1) {
        std::cout << "System-wide power settings:\nCurrently in use:\n"
                     " standby              1\n"
                     " displaysleep         10\n"
                     " sleep                1\n"
                     " powermode            "
                  << power.powerMode() << "\n";
        return 0;
    }
    if (arguments[0] == "-g" && arguments.size() == 2 && arguments[1] == "sched") {
        const auto events = power.repeatEvents();
        if (!events.empty())
            std::cout << "Repeating power events:\n";
        for (const auto& event : events)
            std::cout << "  " << event.type << " at " << event.time << " " << event.days << "\n";
        return 0;
    }
    if (arguments[0] == "-g" && arguments.size() == 2 && arguments[1] == "assertions") {
        const auto assertions = power.assertions();
        std::cout << "Listed by owning process:\n";
        for (const auto& assertion : assertions) {
            for (char flag : assertion.flags) {
                const char* kind = flag == 'd'   ? "PreventUserIdleDisplaySleep"
                                   : flag == 'i' ? "PreventUserIdleSystemSleep"
                                   : flag == 's' ? "PreventSystemSleep"
                                   : flag == 'm' ? "PreventDiskIdle"
                                                 : "UserIsActive";
                std::cout << "   pid " << assertion.pid << "(caffeinate): " << kind
                          << " named: \"caffeinate command-line tool\"\n";
            }
        }
        return 0;
    }
    return usage();
}

int caffeinate(const SimPower& power, const std::vector<std::string>& arguments) {
    std::string flags;
    std::int64_t seconds = 0;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const auto& argument = arguments[i];
        if (argument == "-t" && i + 1 < arguments.size()) {
            auto parsed = count(arguments[++i], 1'000'000'000);
            if (!parsed) {
                std::cerr << "caffeinate: invalid timeout \"" << arguments[i] << "\"\n";
                return 1;
            }
            seconds = *parsed;
        } else if (argument.size() >= 2 && argument[0] == '-' &&
                   argument.find_first_not_of("dimsu", 1) == std::string::npos) {
            for (char flag : argument.substr(1))
                if (flags.find(flag) == std::string::npos)
                    flags += flag;
        } else {
            std::cerr << "usage: caffeinate [-disu] [-t timeout]\n";
            return 1;
        }
    }
    if (flags.empty())
        flags = "i";  // the tool's default assertion
    blockEndingSignals();
    const int pid = static_cast<int>(::getpid());
    const std::int64_t until = seconds > 0 ? nowSeconds() + seconds : 0;
    if (auto saved = power.addAssertion({pid, flags, until}); !saved) {
        std::cerr << "caffeinate: " << saved.error().message << "\n";
        return 1;
    }
    const int signal = waitUntil(until);
    power.removeRecord(pid);
    if (signal != 0)
        endBy(signal);
    return 0;
}

int shutdown(const SimPower& power, const std::vector<std::string>& arguments) {
    const auto usage = [] {
        std::cerr << "usage: shutdown [-] [-h | -r | -s] time [warning-message ...]\n";
        return 1;
    };
    if (arguments.size() < 2)
        return usage();
    const std::string& flag = arguments[0];
    const char* action = flag == "-h"   ? "shutdown"
                         : flag == "-r" ? "restart"
                         : flag == "-s" ? "sleep"
                                        : nullptr;
    if (action == nullptr)
        return usage();
    std::int64_t minutes = 0;
    if (arguments[1] != "now") {
        auto parsed = arguments[1].starts_with("+") ? count(arguments[1].substr(1), 1'000'000)
                                                    : std::nullopt;
        if (!parsed) {
            std::cerr << "shutdown: bad time \"" << arguments[1] << "\"\n";
            return 1;
        }
        minutes = *parsed;
    }
    const int pid = static_cast<int>(::getpid());
    const std::int64_t at = nowSeconds() + minutes * 60;
    if (auto saved = power.addShutdown({pid, action, at}); !saved) {
        std::cerr << "shutdown: " << saved.error().message << "\n";
        return 1;
    }
    std::cout << "Shutdown at " << at << ".\nshutdown: [pid " << pid << "]" << std::endl;
    const int signal = minutes == 0 ? 0 : waitUntil(at);
    power.removeRecord(pid);
    if (signal != 0)
        endBy(signal);
    power.recordDone(std::string(action) + " at " + std::to_string(at) + " (shutdown pid " +
                     std::to_string(pid) + ")");
    return 0;
}

// The pids of the running stand-ins named `name`; nothing for a name no
// stand-in of the power tools goes by.
std::optional<std::vector<int>> standInPids(const SimPower& power, const std::string& name) {
    if (name != "caffeinate" && name != "shutdown")
        return std::nullopt;
    // The process table, not only the records: one just started may not
    // have written its own yet.
    return power.runningStandIns(name);
}

int killall(const SimPower& power, const std::vector<std::string>& arguments) {
    std::vector<std::string> names;
    for (const auto& argument : arguments)
        if (argument != "-s" && !argument.starts_with("-"))
            names.push_back(argument);
    if (names.empty()) {
        std::cerr << "usage: killall [-s] process_name ...\n";
        return 2;
    }
    bool missing = false;
    for (const auto& name : names) {
        const auto found = standInPids(power, name);
        if (!found)
            continue;  // processes the system relaunches by itself: quitting them always works
        const auto& pids = *found;
        if (pids.empty())
            missing = true;
        for (int pid : pids)
            if (power.runsStandIn(pid, name))
                ::kill(pid, SIGTERM);
    }
    if (missing) {
        std::cerr << "No matching processes belonging to you were found\n";
        return 1;
    }
    return 0;
}

// pgrep [-x] NAME: the pids of the running stand-ins of that name, one a
// line; 1 when there is none. The simulated Mac's processes are its
// stand-ins: any other name has none.
int pgrep(const SimPower& power, const std::vector<std::string>& arguments) {
    std::string name;
    for (const auto& argument : arguments) {
        if (argument == "-x")
            continue;  // names are matched whole anyway
        if (argument.starts_with("-") || !name.empty()) {
            std::cerr << "usage: pgrep [-x] pattern\n";
            return 2;
        }
        name = argument;
    }
    if (name.empty()) {
        std::cerr << "usage: pgrep [-x] pattern\n";
        return 2;
    }
    const auto pids = standInPids(power, name).value_or(std::vector<int>{});
    for (int pid : pids)
        std::cout << pid << "\n";
    return pids.empty() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string invokedAs = argc > 0 ? argv[0] : "";
    std::string tool = fs::path(invokedAs).filename();
    if (tool == "simtools" && !arguments.empty()) {
        tool = arguments.front();
        arguments.erase(arguments.begin());
    }
    const auto root = simulatedMac(invokedAs);
    if (!root) {
        std::cerr << tool << ": run me from the simulated Mac's bin folder\n";
        return 1;
    }
    const SimPower power(*root);
    if (tool == "pmset")
        return pmset(power, arguments);
    if (tool == "caffeinate")
        return caffeinate(power, arguments);
    if (tool == "shutdown")
        return shutdown(power, arguments);
    if (tool == "killall")
        return killall(power, arguments);
    if (tool == "pgrep")
        return pgrep(power, arguments);
    std::cerr << "simtools: unknown tool \"" << tool << "\"\n";
    return 1;
}
