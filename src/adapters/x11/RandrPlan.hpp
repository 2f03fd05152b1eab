#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Displays.hpp"
#include "platform/Geometry.hpp"
#include "platform/Result.hpp"

namespace quorvane::platform::x11 {

// What RandR says of the screen: CRTCs (the scan-out engines, each showing
// a region of the root window in a mode), outputs (connectors, each on at
// most one CRTC) and modes. Plain data, so plans can be tested on recorded
// snapshots.
struct RandrMode {
    std::uint32_t id = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
};

struct RandrCrtc {
    std::uint32_t id = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint32_t mode = 0;  // 0: off
    std::uint16_t rotation = 1;
    std::vector<std::uint32_t> outputs{};
};

struct RandrOutput {
    std::uint32_t id = 0;
    std::string name{};
    std::string monitorName{};  // from EDID, when it has one
    std::uint32_t crtc = 0;     // 0: not shown
    bool connected = false;
    std::vector<std::uint32_t> modes{};  // preferred first
};

struct RandrSnapshot {
    std::vector<RandrCrtc> crtcs{};
    std::vector<RandrOutput> outputs{};
    std::vector<RandrMode> modes{};
    std::uint32_t primary = 0;  // 0: none set
    std::uint16_t screenWidth = 0;
    std::uint16_t screenHeight = 0;

    const RandrCrtc* crtc(std::uint32_t id) const;
    const RandrOutput* output(std::uint32_t id) const;
    const RandrMode* mode(std::uint32_t id) const;
    // The outputs that show something, the main one first: the primary
    // output, else the one whose CRTC is at 0,0, else the first.
    std::vector<const RandrOutput*> shown() const;
};

// A CRTC's new configuration.
struct RandrCrtcRequest {
    std::uint32_t crtc = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint32_t mode = 0;
    std::uint16_t rotation = 1;
    std::vector<std::uint32_t> outputs{};
    bool operator==(const RandrCrtcRequest&) const = default;
};

struct RandrPlanResult {
    std::vector<RandrCrtcRequest> crtcs{};
    std::uint16_t screenWidth = 0;
    std::uint16_t screenHeight = 0;
};

// One change asked of a transaction. Origins are relative to the main
// output's top-left; `master` none ends mirroring.
struct RandrChange {
    std::uint32_t output = 0;
    std::optional<Point> origin{};
    bool mirrorChanged = false;
    std::optional<std::uint32_t> master{};
};

// Where the main CRTC was before it went to mirror another.
struct RandrSaved {
    std::uint32_t crtc = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint32_t mode = 0;
};

// Turns changes into CRTC requests. Origins are shifted so that the
// smallest is 0 (RandR refuses negative ones) and the screen becomes the
// bounding box. Mirroring moves the mirroring output's CRTC onto its
// master's, in a mode of the same size (an error when it has none); ending
// it puts the CRTC back where `saved` says, else in its preferred mode
// left of the others.
Result<RandrPlanResult> planRandr(const RandrSnapshot& snapshot,
                                  const std::vector<RandrChange>& changes,
                                  const std::optional<RandrSaved>& saved);

// Which output an output mirrors: the main output's CRTC covering exactly
// another's region.
std::optional<std::uint32_t> mirroredBy(const RandrSnapshot& snapshot, std::uint32_t output);

// A transfer table resampled to a CRTC's ramp of `size` entries, 0…65535.
std::vector<std::uint16_t> rampOf(const std::array<float, TransferTable::size>& table,
                                  std::size_t size);
// A ramp read back as 256 levels, 0…1.
std::array<float, TransferTable::size> tableOf(const std::vector<std::uint16_t>& ramp);

// The monitor name in an EDID block (descriptor 0xFC), if any.
std::string edidMonitorName(const std::vector<std::uint8_t>& edid);

}  // namespace quorvane::platform::x11
