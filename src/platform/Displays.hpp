#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Geometry.hpp"
#include "platform/Result.hpp"

namespace quorvane::platform {

// What the display hardware says of one screen, beside its `Screen` record
// (the same id). Extended dynamic range values are the brightest component
// value a panel can show relative to white: 1 for a panel without headroom.
struct DisplayInfo {
    std::string id{};
    bool isMain = false;
    std::optional<std::string> mirrorOf{};  // the display this one shows
    double edrPotential = 1;                // the most the panel could give
    double edr = 1;                         // what it gives right now
    double edrReference = 1;                // reference white, when the panel has one
    bool operator==(const DisplayInfo&) const = default;
};

// A display's transfer (gamma) table: what each of the 256 input levels of
// a channel comes out as, 0…1.
struct TransferTable {
    static constexpr std::size_t size = 256;
    std::array<float, size> red{};
    std::array<float, size> green{};
    std::array<float, size> blue{};
    bool operator==(const TransferTable&) const = default;

    static TransferTable identity() {
        TransferTable table;
        for (std::size_t i = 0; i < size; ++i)
            table.red[i] = table.green[i] = table.blue[i] = static_cast<float>(i) / (size - 1);
        return table;
    }
};

// One change to the display arrangement, applied whole by complete() or
// not at all. Positions are in accessibility space (y down from the main
// display's top-left). A configuration dropped without complete() is
// cancelled.
class DisplayConfiguration {
  public:
    virtual ~DisplayConfiguration() = default;
    virtual void setOrigin(const std::string& display, int x, int y) = 0;
    // `master` none: the display stops mirroring.
    virtual void setMirror(const std::string& display,
                           const std::optional<std::string>& master) = 0;
    // `permanently`: the arrangement outlives this login session where the
    // host can keep it.
    virtual Status complete(bool permanently) = 0;
    virtual void cancel() = 0;
};

// The displays behind the screens: arrangement, mirroring, headroom and
// transfer tables. Lists the same displays as the program's `Screens`, in
// the same order. Main thread only.
class Displays {
  public:
    using Token = std::uint64_t;

    virtual ~Displays() = default;
    virtual std::vector<DisplayInfo> displays() const = 0;
    virtual Result<std::unique_ptr<DisplayConfiguration>> begin() = 0;
    virtual Result<TransferTable> transferTable(const std::string& display) = 0;
    virtual Status setTransferTable(const std::string& display, const TransferTable& table) = 0;
    // Every table this program changed goes back to the system's own.
    virtual void restoreColorSettings() = 0;
    // Puts back a table an earlier run changed and did not restore: set as
    // given, and from then on not counted as changed by us (a later
    // restoreColorSettings() must not bring the earlier run's table back).
    virtual Status restoreTransferTable(const std::string& display, const TransferTable& table) = 0;
    // Called after displays come or go, move, or change their headroom.
    virtual Token observeChanges(std::function<void()> observer) = 0;
    virtual void removeObserver(Token token) = 0;
};

}  // namespace quorvane::platform
