#include <gtest/gtest.h>

#include "adapters/x11/RandrPlan.hpp"

namespace quorvane::platform::x11 {
namespace {

// Recorded from a laptop with a monitor on HDMI: eDP 1920×1080 primary at
// 0,0, HDMI 2560×1440 to its right; HDMI has no 1920×1080 mode.
RandrSnapshot laptopWithMonitor() {
    RandrSnapshot snapshot;
    snapshot.modes = {{0x50, 1920, 1080}, {0x51, 1280, 720}, {0x60, 2560, 1440}, {0x61, 1280, 720}};
    snapshot.crtcs = {{0x40, 0, 0, 1920, 1080, 0x50, 1, {0x45}},
                      {0x41, 1920, 0, 2560, 1440, 0x60, 1, {0x46}},
                      {0x42, 0, 0, 0, 0, 0, 1, {}}};
    snapshot.outputs = {{0x45, "eDP-1", "", 0x40, true, {0x50, 0x51}},
                        {0x46, "HDMI-1", "DELL U2720Q", 0x41, true, {0x60, 0x61}},
                        {0x47, "DP-1", "", 0, false, {}}};
    snapshot.primary = 0x45;
    snapshot.screenWidth = 4480;
    snapshot.screenHeight = 1440;
    return snapshot;
}

TEST(RandrPlan, arrangementIsShiftedToNonNegativeOriginsInTheBoundingBox) {
    const auto snapshot = laptopWithMonitor();
    ASSERT_EQ(snapshot.shown().size(), 2u);
    EXPECT_EQ(snapshot.shown().front()->name, "eDP-1");
    // HDMI centred above: -320, -1440 relative to eDP.
    auto plan = planRandr(snapshot, {{.output = 0x46, .origin = Point{-320, -1440}}}, std::nullopt);
    ASSERT_TRUE(plan) << plan.error().message;
    EXPECT_EQ(plan.value().screenWidth, 2560);
    EXPECT_EQ(plan.value().screenHeight, 2520);
    EXPECT_EQ(plan.value().crtcs,
              (std::vector<RandrCrtcRequest>{{0x40, 320, 1440, 0x50, 1, {0x45}},
                                             {0x41, 0, 0, 0x60, 1, {0x46}}}));
}

TEST(RandrPlan, mirroringNeedsAModeOfTheSameSizeAndEndingItPutsTheCrtcBack) {
    auto snapshot = laptopWithMonitor();
    auto refused = planRandr(snapshot, {{.output = 0x45, .mirrorChanged = true, .master = 0x46}},
                             std::nullopt);
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().message.find("no mode"), std::string::npos);

    snapshot.modes.push_back({0x52, 2560, 1440});
    snapshot.outputs[0].modes.push_back(0x52);
    auto mirrored = planRandr(snapshot, {{.output = 0x45, .mirrorChanged = true, .master = 0x46}},
                              std::nullopt);
    ASSERT_TRUE(mirrored);
    // Onto HDMI's region, then shifted: both at 0,0 in a 2560 × 1440 screen.
    EXPECT_EQ(mirrored.value().crtcs[0], (RandrCrtcRequest{0x40, 0, 0, 0x52, 1, {0x45}}));
    EXPECT_EQ(mirrored.value().crtcs[1].x, 0);
    EXPECT_EQ(mirrored.value().screenWidth, 2560);

    // Applied: both CRTCs cover the same region, so eDP mirrors HDMI.
    snapshot.crtcs[0] = {0x40, 0, 0, 2560, 1440, 0x52, 1, {0x45}};
    snapshot.crtcs[1].x = 0;
    EXPECT_EQ(mirroredBy(snapshot, 0x45), std::optional<std::uint32_t>(0x46));
    auto back = planRandr(snapshot, {{.output = 0x45, .mirrorChanged = true}},
                          RandrSaved{0x40, 0, 0, 0x50});
    ASSERT_TRUE(back);
    EXPECT_EQ(back.value().crtcs[0].mode, 0x50u);
    EXPECT_EQ(back.value().screenWidth, 2560);
}

TEST(RandrPlan, rampsAreResampledAndClampedAndEdidNamesRead) {
    std::array<float, TransferTable::size> boosted{};
    for (std::size_t i = 0; i < boosted.size(); ++i)
        boosted[i] = static_cast<float>(i) / 255 * 1.6f;
    const auto ramp = rampOf(boosted, 1024);
    ASSERT_EQ(ramp.size(), 1024u);
    EXPECT_EQ(ramp.front(), 0);
    EXPECT_EQ(ramp.back(), 65535);  // clamped, not wrapped
    EXPECT_EQ(ramp[320], static_cast<std::uint16_t>(std::lround(320.0 / 1023 * 1.6 * 65535)));
    const auto identity = tableOf(rampOf(TransferTable::identity().red, 256));
    EXPECT_NEAR(identity[100], 100.0 / 255, 1e-4);

    std::vector<std::uint8_t> edid(128, 0);
    const std::uint8_t descriptor[] = {0, 0, 0, 0xFC, 0, 'D', 'E', 'L', 'L', ' ', 'U', '2', '7',
                                       '2', '0', 'Q', '\n', ' '};
    std::copy(std::begin(descriptor), std::end(descriptor), edid.begin() + 72);
    EXPECT_EQ(edidMonitorName(edid), "DELL U2720Q");
    EXPECT_EQ(edidMonitorName(std::vector<std::uint8_t>(20, 0)), "");
}

}  // namespace
}  // namespace quorvane::platform::x11
