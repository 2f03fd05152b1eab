#include "adapters/x11/RandrPlan.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace quorvane::platform::x11 {

const RandrCrtc* RandrSnapshot::crtc(std::uint32_t id) const {
    for (const auto& each : crtcs)
        if (each.id == id)
            return &each;
    return nullptr;
}

const RandrOutput* RandrSnapshot::output(std::uint32_t id) const {
    for (const auto& each : outputs)
        if (each.id == id)
            return &each;
    return nullptr;
}

const RandrMode* RandrSnapshot::mode(std::uint32_t id) const {
    for (const auto& each : modes)
        if (each.id == id)
            return &each;
    return nullptr;
}

std::vector<const RandrOutput*> RandrSnapshot::shown() const {
    std::vector<const RandrOutput*> list;
    for (const auto& each : outputs) {
        const auto* shownOn = crtc(each.crtc);
        if (each.connected && shownOn && shownOn->mode != 0)
            list.push_back(&each);
    }
    auto isMain = [&](const RandrOutput* candidate) { return candidate->id == primary; };
    auto main = std::find_if(list.begin(), list.end(), isMain);
    if (main == list.end())
        main = std::find_if(list.begin(), list.end(), [&](const RandrOutput* candidate) {
            const auto* at = crtc(candidate->crtc);
            return at->x == 0 && at->y == 0;
        });
    if (main != list.end())
        std::rotate(list.begin(), main, main + 1);
    return list;
}

std::optional<std::uint32_t> mirroredBy(const RandrSnapshot& snapshot, std::uint32_t output) {
    const auto shown = snapshot.shown();
    if (shown.empty() || shown.front()->id != output)
        return std::nullopt;
    const auto* mine = snapshot.crtc(shown.front()->crtc);
    for (const auto* other : shown) {
        const auto* theirs = snapshot.crtc(other->crtc);
        if (other != shown.front() && theirs != mine && theirs->x == mine->x &&
            theirs->y == mine->y && theirs->width == mine->width && theirs->height == mine->height)
            return other->id;
    }
    return std::nullopt;
}

namespace {

struct Placed {
    RandrCrtcRequest request;
    std::int64_t width = 0;
    std::int64_t height = 0;
};

}  // namespace

Result<RandrPlanResult> planRandr(const RandrSnapshot& snapshot,
                                  const std::vector<RandrChange>& changes,
                                  const std::optional<RandrSaved>& saved) {
    const auto shown = snapshot.shown();
    if (shown.empty())
        return Error{"no output shows anything"};
    const auto* main = snapshot.crtc(shown.front()->crtc);
    // Every active CRTC, positioned relative to the main one.
    std::map<std::uint32_t, Placed> placed;
    for (const auto& crtc : snapshot.crtcs)
        if (crtc.mode != 0)
            placed[crtc.id] = {{crtc.id, crtc.x - main->x, crtc.y - main->y, crtc.mode, crtc.rotation,
                                crtc.outputs},
                               crtc.width,
                               crtc.height};
    for (const auto& change : changes) {
        const auto* output = snapshot.output(change.output);
        if (!output || !snapshot.crtc(output->crtc) || !placed.contains(output->crtc))
            return Error{"output " + std::to_string(change.output) + " shows nothing"};
        auto& mine = placed[output->crtc];
        if (change.origin) {
            const auto x = static_cast<std::int32_t>(std::lround(change.origin->x));
            const auto y = static_cast<std::int32_t>(std::lround(change.origin->y));
            if (output->crtc == main->id) {
                // The main display stays the origin: the others move.
                for (auto& [id, other] : placed)
                    if (id != main->id) {
                        other.request.x -= x;
                        other.request.y -= y;
                    }
            } else {
                mine.request.x = x;
                mine.request.y = y;
            }
        }
        if (!change.mirrorChanged)
            continue;
        if (change.master) {
            const auto* master = snapshot.output(*change.master);
            if (!master || !placed.contains(master->crtc) || master->crtc == output->crtc)
                return Error{"output " + std::to_string(*change.master) + " cannot be mirrored"};
            const auto& target = placed[master->crtc];
            std::optional<RandrMode> same;
            for (auto modeId : output->modes)
                if (const auto* mode = snapshot.mode(modeId);
                    mode && mode->width == target.width && mode->height == target.height) {
                    same = *mode;
                    break;
                }
            if (!same)
                return Error{output->name + " has no mode of " + master->name + "'s size (" +
                             std::to_string(target.width) + " × " + std::to_string(target.height) +
                             "): it cannot mirror it"};
            mine.request.x = target.request.x;
            mine.request.y = target.request.y;
            mine.request.mode = same->id;
            mine.width = same->width;
            mine.height = same->height;
        } else if (saved && saved->crtc == output->crtc && snapshot.mode(saved->mode)) {
            const auto* mode = snapshot.mode(saved->mode);
            mine.request.x = saved->x - main->x;
            mine.request.y = saved->y - main->y;
            mine.request.mode = mode->id;
            mine.width = mode->width;
            mine.height = mode->height;
        } else if (!output->modes.empty() && snapshot.mode(output->modes.front())) {
            const auto* mode = snapshot.mode(output->modes.front());
            std::int64_t left = std::numeric_limits<std::int32_t>::max();
            std::int64_t top = std::numeric_limits<std::int32_t>::max();
            for (const auto& [id, other] : placed)
                if (id != output->crtc) {
                    left = std::min<std::int64_t>(left, other.request.x);
                    top = std::min<std::int64_t>(top, other.request.y);
                }
            mine.request.x = static_cast<std::int32_t>(left - mode->width);
            mine.request.y = static_cast<std::int32_t>(top);
            mine.request.mode = mode->id;
            mine.width = mode->width;
            mine.height = mode->height;
        }
    }
    std::int64_t minX = std::numeric_limits<std::int64_t>::max();
    std::int64_t minY = minX;
    std::int64_t maxX = std::numeric_limits<std::int64_t>::min();
    std::int64_t maxY = maxX;
    for (const auto& [id, each] : placed) {
        minX = std::min<std::int64_t>(minX, each.request.x);
        minY = std::min<std::int64_t>(minY, each.request.y);
        maxX = std::max<std::int64_t>(maxX, each.request.x + each.width);
        maxY = std::max<std::int64_t>(maxY, each.request.y + each.height);
    }
    if (maxX - minX > 32767 || maxY - minY > 32767)
        return Error{"the arrangement would be larger than an X screen can be"};
    RandrPlanResult result;
    result.screenWidth = static_cast<std::uint16_t>(maxX - minX);
    result.screenHeight = static_cast<std::uint16_t>(maxY - minY);
    for (auto& [id, each] : placed) {
        each.request.x = static_cast<std::int32_t>(each.request.x - minX);
        each.request.y = static_cast<std::int32_t>(each.request.y - minY);
        result.crtcs.push_back(each.request);
    }
    return result;
}

std::vector<std::uint16_t> rampOf(const std::array<float, TransferTable::size>& table,
                                  std::size_t size) {
    std::vector<std::uint16_t> ramp(size);
    for (std::size_t i = 0; i < size; ++i) {
        const double at = size == 1 ? 0.0 : double(i) * (TransferTable::size - 1) / double(size - 1);
        const auto below = static_cast<std::size_t>(std::floor(at));
        const auto above = std::min(below + 1, TransferTable::size - 1);
        const double part = at - double(below);
        const double value = table[below] * (1 - part) + table[above] * part;
        const double scaled = std::isfinite(value) ? std::round(value * 65535.0) : 0.0;
        ramp[i] = static_cast<std::uint16_t>(std::clamp(scaled, 0.0, 65535.0));
    }
    return ramp;
}

std::array<float, TransferTable::size> tableOf(const std::vector<std::uint16_t>& ramp) {
    std::array<float, TransferTable::size> table{};
    if (ramp.empty())
        return table;
    for (std::size_t i = 0; i < TransferTable::size; ++i) {
        const double at = double(i) * double(ramp.size() - 1) / (TransferTable::size - 1);
        const auto below = static_cast<std::size_t>(std::floor(at));
        const auto above = std::min(below + 1, ramp.size() - 1);
        const double part = at - double(below);
        table[i] = static_cast<float>((ramp[below] * (1 - part) + ramp[above] * part) / 65535.0);
    }
    return table;
}

std::string edidMonitorName(const std::vector<std::uint8_t>& edid) {
    if (edid.size() < 128)
        return {};
    for (std::size_t at = 54; at + 18 <= 126; at += 18) {
        if (edid[at] != 0 || edid[at + 1] != 0 || edid[at + 2] != 0 || edid[at + 3] != 0xFC)
            continue;
        std::string name;
        for (std::size_t i = at + 5; i < at + 18 && edid[i] != '\n' && edid[i] != 0; ++i)
            if (edid[i] >= 0x20 && edid[i] < 0x7F)
                name.push_back(static_cast<char>(edid[i]));
        while (!name.empty() && name.back() == ' ')
            name.pop_back();
        return name;
    }
    return {};
}

}  // namespace quorvane::platform::x11
