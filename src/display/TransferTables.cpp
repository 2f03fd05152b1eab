#include "display/TransferTables.hpp"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace quorvane::display {

using nlohmann::json;
using platform::TransferTable;

TransferTable TransferTables::scaled(const TransferTable& table, double factor) {
    const auto by = static_cast<float>(factor);
    TransferTable result;
    for (std::size_t i = 0; i < TransferTable::size; ++i) {
        result.red[i] = table.red[i] * by;
        result.green[i] = table.green[i] * by;
        result.blue[i] = table.blue[i] * by;
    }
    return result;
}

std::string TransferTables::encode(const std::map<std::string, TransferTable>& tables) {
    json displays = json::object();
    for (const auto& [id, table] : tables)
        displays[id] = {{"red", table.red}, {"green", table.green}, {"blue", table.blue}};
    return json{{"displays", displays}}.dump();
}

std::map<std::string, TransferTable> TransferTables::decode(const std::string& bytes) {
    std::map<std::string, TransferTable> tables;
    const json stored = json::parse(bytes, nullptr, false);
    if (!stored.is_object() || !stored.contains("displays") || !stored["displays"].is_object())
        return tables;
    for (const auto& [id, item] : stored["displays"].items()) {
        TransferTable table;
        bool whole = item.is_object();
        for (auto [name, channel] : {std::pair{"red", &table.red}, std::pair{"green", &table.green},
                                     std::pair{"blue", &table.blue}}) {
            if (!whole || !item.contains(name) || !item[name].is_array() ||
                item[name].size() != TransferTable::size) {
                whole = false;
                break;
            }
            for (std::size_t i = 0; i < TransferTable::size; ++i) {
                const auto& value = item[name][i];
                if (!value.is_number()) {
                    whole = false;
                    break;
                }
                (*channel)[i] = value.get<float>();
            }
        }
        if (whole)
            tables[id] = table;
    }
    return tables;
}

platform::Status TransferTables::keepCaptures() {
    if (!keep_)
        return platform::success();
    return keep_->save(storeKey, encode(captured_));
}

platform::Status TransferTables::apply(const std::string& display) {
    double factor = 1;
    for (const auto& [owner, each] : factors_[display])
        factor *= each;
    return displays_.setTransferTable(display, scaled(captured_.at(display), factor));
}

platform::Status TransferTables::scale(const std::string& owner, const std::string& display,
                                       double factor) {
    if (!captured_.contains(display)) {
        auto table = displays_.transferTable(display);
        if (!table)
            return table.error();
        captured_[display] = table.value();
        // Kept before the first change, or not changed at all.
        if (auto kept = keepCaptures(); !kept) {
            captured_.erase(display);
            return platform::Error{"the display's colour settings could not be kept for a restore: " +
                                   kept.error().message};
        }
    }
    factors_[display][owner] = factor;
    return apply(display);
}

bool TransferTables::owns(const std::string& owner) const {
    for (const auto& [display, owners] : factors_)
        if (owners.contains(owner))
            return true;
    return false;
}

void TransferTables::release(const std::string& owner) {
    std::vector<std::string> touched;
    bool anyLeft = false;
    for (auto& [display, owners] : factors_) {
        if (owners.erase(owner))
            touched.push_back(display);
        anyLeft = anyLeft || !owners.empty();
    }
    if (!anyLeft) {
        displays_.restoreColorSettings();
        forgetAll();
        return;
    }
    for (const auto& display : touched)
        if (auto applied = apply(display); !applied)
            log_.warning(cause, applied.error().message);
}

void TransferTables::forgetDetached(const std::vector<std::string>& attached) {
    for (auto it = captured_.begin(); it != captured_.end();) {
        if (std::find(attached.begin(), attached.end(), it->first) == attached.end()) {
            factors_.erase(it->first);
            it = captured_.erase(it);
        } else {
            ++it;
        }
    }
    if (auto kept = keepCaptures(); !kept)
        log_.warning(cause, kept.error().message);
}

void TransferTables::restoreAll() {
    if (captured_.empty())
        return;
    displays_.restoreColorSettings();
    forgetAll();
}

void TransferTables::forgetAll() {
    captured_.clear();
    factors_.clear();
    if (keep_)
        if (auto removed = keep_->remove(storeKey); !removed)
            log_.warning(cause, removed.error().message);
}

void TransferTables::restoreLeftovers() {
    if (!keep_)
        return;
    auto stored = keep_->load(storeKey);
    if (!stored || !stored.value())
        return;
    const auto tables = decode(*stored.value());
    std::string restored;
    for (const auto& [display, table] : tables) {
        if (auto set = displays_.restoreTransferTable(display, table); set)
            restored += (restored.empty() ? "" : ", ") + display;
        else
            log_.warning(cause, "display " + display + ": " + set.error().message);
    }
    journal_.record(cause, "colour settings",
                    restored.empty() ? "found colour settings a previous run left changed; no "
                                       "display of them is attached"
                                     : "restored the colour settings a previous run left changed "
                                       "on display " + restored);
    if (auto removed = keep_->remove(storeKey); !removed)
        log_.warning(cause, removed.error().message);
}

}  // namespace quorvane::display
