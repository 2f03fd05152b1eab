#include "platform/GeometryText.hpp"
#include "simmac/SimDisplays.hpp"

#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <nlohmann/json.hpp>

#include "adapters/posix/FileOps.hpp"
#include "adapters/posix/JsonFile.hpp"

namespace quorvane::platform::sim {

using nlohmann::json;

namespace {

constexpr std::size_t maxFileBytes = 1 << 20;

bool processIsGone(int pid) {
    return pid <= 0 || (::kill(pid, 0) != 0 && errno == ESRCH);
}

json channel(const std::array<float, TransferTable::size>& values) {
    return json(std::vector<float>(values.begin(), values.end()));
}

bool readChannel(const json& from, std::array<float, TransferTable::size>& into) {
    if (!from.is_array() || from.size() != TransferTable::size)
        return false;
    for (std::size_t i = 0; i < TransferTable::size; ++i) {
        if (!from[i].is_number())
            return false;
        into[i] = from[i].get<float>();
    }
    return true;
}

// The peak of a table, for the journal: what white comes out as.
std::string peakOf(const TransferTable& table) {
    return numberText(std::round(table.red.back() * 1000) / 1000) + ", " +
           numberText(std::round(table.green.back() * 1000) / 1000) + ", " +
           numberText(std::round(table.blue.back() * 1000) / 1000);
}

}  // namespace

// Changes gathered until complete(); the displays change only then.
class SimDisplayConfiguration final : public DisplayConfiguration {
  public:
    explicit SimDisplayConfiguration(SimDisplays& displays) : displays_(displays) {}
    ~SimDisplayConfiguration() override {
        if (open_)
            cancel();
    }

    void setOrigin(const std::string& display, int x, int y) override {
        changes_.push_back({.display = display, .origin = Point{double(x), double(y)}});
    }
    void setMirror(const std::string& display, const std::optional<std::string>& master) override {
        changes_.push_back({.display = display, .mirrorChanged = true, .master = master});
    }
    Status complete(bool permanently) override {
        if (!open_)
            return Error{"the configuration was already completed or cancelled"};
        if (displays_.failComplete) {
            displays_.failComplete = false;
            displays_.journal("display configuration", "completing failed");
            return Error{"the display configuration could not be completed"};
        }
        auto applied = displays_.apply(changes_, permanently);
        if (applied)
            open_ = false;
        return applied;
    }
    void cancel() override {
        if (!open_)
            return;
        open_ = false;
        displays_.journal("display configuration", "cancelled");
    }

  private:
    SimDisplays& displays_;
    std::vector<SimDisplays::Change> changes_;
    bool open_ = true;
};

SimDisplays::SimDisplays(Journal& journal, std::filesystem::path file, int ownPid)
    : journal_(journal), file_(std::move(file)), ownPid_(ownPid) {
    Entry builtIn{.info = {.id = "1", .isMain = true, .edrPotential = 16, .edr = 1},
                  .name = "Built-in Display",
                  .frame = {{0, 0}, {1440, 900}}};
    entries_.push_back(builtIn);
    load();
    rebuildScreens();
}

SimDisplays::Entry* SimDisplays::find(const std::string& id) {
    auto found = std::find_if(entries_.begin(), entries_.end(),
                              [&](const Entry& entry) { return entry.info.id == id; });
    return found == entries_.end() ? nullptr : &*found;
}

void SimDisplays::rebuildScreens() {
    screens_.clear();
    for (const auto& entry : entries_) {
        Rect visible = entry.frame;
        visible.size.height -= menuBarHeight;
        if (&entry == &entries_.front()) {
            const double dock = dockHidden_ ? hiddenDockStrip : dockHeight;
            visible.origin.y += dock;
            visible.size.height -= dock;
        }
        screens_.push_back({entry.info.id, entry.name, entry.frame, visible});
    }
}

void SimDisplays::setDockHidden(bool hidden) {
    if (hidden == dockHidden_)
        return;
    dockHidden_ = hidden;
    changed();
}

void SimDisplays::changed() {
    rebuildScreens();
    save();
    // Copied: an observer may remove itself.
    const auto observers = observers_;
    for (const auto& [token, observer] : observers)
        if (observers_.contains(token))
            observer();
}

void SimDisplays::journal(std::string_view kind, const std::string& detail) {
    journal_.record(cause, kind, detail);
}

// --- commands --------------------------------------------------------------

Result<std::string> SimDisplays::add(const std::string& name, Size size, double edrPotential) {
    if (entries_.size() >= maxDisplays)
        return Error{"the simulated Mac has at most " + std::to_string(maxDisplays) + " displays"};
    if (!(edrPotential >= 1 && edrPotential <= 64))
        return Error{"a display's headroom is between 1 and 64"};
    double right = 0;
    for (const auto& entry : entries_)
        right = std::max(right, entry.frame.maxX());
    const double top = entries_.front().frame.maxY();
    Entry entry{.info = {.id = std::to_string(nextId_++), .edrPotential = edrPotential},
                .name = name,
                .frame = {{right, top - size.height}, size}};
    entries_.push_back(entry);
    journal("display", "added display " + entry.info.id + " \"" + name + "\" " +
                           numberText(size.width) + " × " + numberText(size.height));
    changed();
    return "Added display " + entry.info.id + ".\n";
}

Result<std::string> SimDisplays::remove(const std::string& id) {
    auto* entry = find(id);
    if (!entry)
        return Error{"no display " + id};
    if (entry == &entries_.front())
        return Error{"the main display cannot be removed"};
    entries_.erase(entries_.begin() + (entry - entries_.data()));
    for (auto& other : entries_)
        if (other.info.mirrorOf == id)
            other.info.mirrorOf.reset();
    journal("display", "removed display " + id);
    changed();
    return "Removed display " + id + ".\n";
}

Result<std::string> SimDisplays::move(const std::string& id, Point origin) {
    if (!isFinite(origin) || std::abs(origin.x) > 100000 || std::abs(origin.y) > 100000)
        return Error{"a display's position is within 100000 points of the main display"};
    if (!find(id))
        return Error{"no display " + id};
    if (auto moved = apply({{.display = id, .origin = origin}}, true); !moved)
        return moved.error();
    return "Moved display " + id + ".\n";
}

Result<std::string> SimDisplays::set(const std::string& id, const std::string& what, double value) {
    auto* entry = find(id);
    if (!entry)
        return Error{"no display " + id};
    if (!std::isfinite(value) || value < 1 || value > 64)
        return Error{"headroom values are between 1 and 64"};
    if (what == "edrPotential") {
        entry->info.edrPotential = value;
        entry->info.edr = std::min(entry->info.edr, value);
    } else if (what == "edr") {
        if (value > entry->info.edrPotential)
            return Error{"display " + id + " has at most " + numberText(entry->info.edrPotential) +
                         " of headroom"};
        entry->info.edr = value;
    } else if (what == "edrReference") {
        entry->info.edrReference = value;
    } else {
        return Error{"a display's values are edr, edrReference and edrPotential"};
    }
    journal("display", "display " + id + " " + what + " " + numberText(value));
    changed();
    return "Display " + id + " " + what + " is " + numberText(value) + ".\n";
}

std::string SimDisplays::describe() const {
    std::string out;
    for (const auto& entry : entries_) {
        out += entry.info.id + "  " + entry.name + "  " +
               rectText(flipped(entry.frame, std::span(screens_))) +
               (entry.info.isMain ? "  (main)" : "");
        if (entry.info.edrPotential > 1)
            out += "  headroom " + numberText(entry.info.edr) + " of " +
                   numberText(entry.info.edrPotential);
        if (entry.info.mirrorOf)
            out += "  mirrors " + *entry.info.mirrorOf;
        if (entry.changedBy)
            out += "  table changed (white " + peakOf(entry.table) + ")";
        out += "\n";
    }
    return out;
}

// --- Displays --------------------------------------------------------------

std::vector<DisplayInfo> SimDisplays::displays() const {
    std::vector<DisplayInfo> infos;
    for (const auto& entry : entries_)
        infos.push_back(entry.info);
    return infos;
}

Result<std::unique_ptr<DisplayConfiguration>> SimDisplays::begin() {
    if (failBegin) {
        failBegin = false;
        journal("display configuration", "beginning failed");
        return Error{"a display configuration could not be begun"};
    }
    return std::unique_ptr<DisplayConfiguration>(std::make_unique<SimDisplayConfiguration>(*this));
}

Status SimDisplays::apply(const std::vector<Change>& changes, bool permanently) {
    for (const auto& change : changes) {
        if (!find(change.display))
            return Error{"no display " + change.display};
        if (change.master && (!find(*change.master) || *change.master == change.display))
            return Error{"display " + change.display + " cannot mirror " + *change.master};
    }
    const double mainHeight = entries_.front().frame.size.height;
    std::string detail;
    for (const auto& change : changes) {
        Entry& entry = *find(change.display);
        if (change.origin) {
            if (&entry == &entries_.front()) {
                // The main display stays at the origin: the others move instead.
                for (auto& other : entries_)
                    if (&other != &entry) {
                        other.frame.origin.x -= change.origin->x;
                        other.frame.origin.y += change.origin->y;
                    }
            } else {
                entry.frame.origin = {change.origin->x,
                                      mainHeight - change.origin->y - entry.frame.size.height};
            }
            detail += "; display " + change.display + " at " + numberText(change.origin->x) + " " +
                      numberText(change.origin->y);
        }
        if (change.mirrorChanged) {
            entry.info.mirrorOf = change.master;
            detail += "; display " + change.display +
                      (change.master ? " mirrors " + *change.master : " mirrors nothing");
        }
    }
    journal("display configuration",
            (detail.empty() ? std::string("no change") : detail.substr(2)) +
                (permanently ? " (permanently)" : " (for this session)"));
    changed();
    return success();
}

Result<TransferTable> SimDisplays::transferTable(const std::string& display) {
    auto* entry = find(display);
    if (!entry)
        return Error{"no display " + display};
    if (failTableRead.contains(display)) {
        journal("transfer table", "reading display " + display + "'s table failed");
        return Error{"display " + display + "'s transfer table could not be read"};
    }
    return entry->table;
}

Status SimDisplays::setTransferTable(const std::string& display, const TransferTable& table) {
    auto* entry = find(display);
    if (!entry)
        return Error{"no display " + display};
    entry->table = table;
    entry->changedBy = table == TransferTable::identity() ? 0 : (ownPid_ ? ownPid_ : -1);
    journal("transfer table", "display " + display + ": white comes out as " + peakOf(table));
    save();
    return success();
}

void SimDisplays::restoreColorSettings() {
    bool any = false;
    for (auto& entry : entries_)
        if (entry.changedBy != 0) {
            entry.table = TransferTable::identity();
            entry.changedBy = 0;
            any = true;
        }
    journal("colour settings", any ? "restored every display's transfer table"
                                   : "restored (no table was changed)");
    save();
}

Status SimDisplays::restoreTransferTable(const std::string& display, const TransferTable& table) {
    auto* entry = find(display);
    if (!entry)
        return Error{"no display " + display};
    entry->table = table;
    entry->changedBy = 0;
    journal("colour settings", "display " + display + "'s table put back: white comes out as " +
                                   peakOf(table));
    save();
    return success();
}

std::optional<TransferTable> SimDisplays::currentTable(const std::string& display) const {
    for (const auto& entry : entries_)
        if (entry.info.id == display)
            return entry.table;
    return std::nullopt;
}

Displays::Token SimDisplays::observeChanges(std::function<void()> observer) {
    const Token token = nextObserver_++;
    observers_.emplace(token, std::move(observer));
    return token;
}

void SimDisplays::removeObserver(Token token) {
    observers_.erase(token);
}

// --- the file ----------------------------------------------------------------

void SimDisplays::load() {
    if (file_.empty())
        return;
    auto bytes = posix::readFile(file_, maxFileBytes);
    if (!bytes || !bytes.value())
        return;
    const json stored = json::parse(*bytes.value(), nullptr, false);
    if (!stored.is_object() || !stored.contains("displays") || !stored["displays"].is_array())
        return;
    std::vector<Entry> loaded;
    try {
        for (const auto& item : stored["displays"]) {
            Entry entry;
            entry.info.id = item.at("id").get<std::string>();
            entry.name = item.at("name").get<std::string>();
            const auto& frame = item.at("frame");
            entry.frame = {{frame.at(0).get<double>(), frame.at(1).get<double>()},
                           {frame.at(2).get<double>(), frame.at(3).get<double>()}};
            if (!(entry.frame.size.width > 0 && entry.frame.size.height > 0))
                return;
            entry.info.edrPotential = item.value("edrPotential", 1.0);
            entry.info.edr = item.value("edr", 1.0);
            entry.info.edrReference = item.value("edrReference", 1.0);
            if (item.contains("mirrorOf"))
                entry.info.mirrorOf = item["mirrorOf"].get<std::string>();
            if (item.contains("table")) {
                const auto& table = item["table"];
                if (!readChannel(table.at("red"), entry.table.red) ||
                    !readChannel(table.at("green"), entry.table.green) ||
                    !readChannel(table.at("blue"), entry.table.blue))
                    entry.table = TransferTable::identity();
                entry.changedBy = static_cast<int>(
                    std::clamp<std::int64_t>(posix::wholeOr(item, "changedBy", -1), -1, INT_MAX));
            }
            loaded.push_back(std::move(entry));
        }
    } catch (const json::exception&) {
        return;  // a file we cannot read leaves the built-in display
    }
    if (loaded.empty() || loaded.size() > maxDisplays)
        return;
    loaded.front().info.isMain = true;
    loaded.front().frame.origin = {0, 0};
    entries_ = std::move(loaded);
    nextId_ = static_cast<int>(std::clamp<std::int64_t>(posix::wholeOr(stored, "nextId", 2), 2,
                                                         INT_MAX / 2));
    bool restored = false;
    for (auto& entry : entries_)
        if (entry.changedBy != 0 && entry.changedBy != ownPid_ && processIsGone(entry.changedBy)) {
            entry.table = TransferTable::identity();
            entry.changedBy = 0;
            restored = true;
        }
    if (restored) {
        journal("colour settings", "restored the transfer tables a process that ended left changed");
        save();
    }
}

void SimDisplays::save() {
    if (file_.empty())
        return;
    json list = json::array();
    for (const auto& entry : entries_) {
        json item{{"id", entry.info.id},
                  {"name", entry.name},
                  {"frame", {entry.frame.origin.x, entry.frame.origin.y, entry.frame.size.width,
                             entry.frame.size.height}},
                  {"edrPotential", entry.info.edrPotential},
                  {"edr", entry.info.edr},
                  {"edrReference", entry.info.edrReference}};
        if (entry.info.mirrorOf)
            item["mirrorOf"] = *entry.info.mirrorOf;
        if (entry.changedBy != 0) {
            item["table"] = {{"red", channel(entry.table.red)},
                             {"green", channel(entry.table.green)},
                             {"blue", channel(entry.table.blue)}};
            item["changedBy"] = entry.changedBy;
        }
        list.push_back(std::move(item));
    }
    (void)posix::makePrivateDirectory(file_.parent_path());
    (void)posix::writeFileAtomically(file_, json{{"nextId", nextId_}, {"displays", list}}.dump());
}

}  // namespace quorvane::platform::sim
