#include <gtest/gtest.h>
#include <xcb/randr.h>
#include <xcb/xcb.h>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

#include "display/TransferTables.hpp"
#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"
#include "adapters/posix/FileBlobStore.hpp"
#include "adapters/qt/QtOverlays.hpp"
#include "adapters/x11/Compositing.hpp"
#include "adapters/x11/RandrDisplays.hpp"
#include "adapters/qt/X11Hotkeys.hpp"
#include "adapters/x11/XcbKeyGrabs.hpp"
#include "support/ChildProcess.hpp"
#include "support/TemporaryDirectory.hpp"
#include "support/Typist.hpp"
#include "support/WaitFor.hpp"
#include "ui/input/KeyCapsView.hpp"

namespace quorvane::platform::x11 {
namespace {

using quorvane::testing::ChildProcess;
using quorvane::testing::waitFor;

// Another client of the X server: reads ramps and pixels, owns a window.
struct Client {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    ~Client() { xcb_disconnect(c); }

    xcb_randr_crtc_t crtc() {
        auto* resources = xcb_randr_get_screen_resources_current_reply(
            c, xcb_randr_get_screen_resources_current(c, screen->root), nullptr);
        const auto found = xcb_randr_get_screen_resources_current_crtcs(resources)[0];
        std::free(resources);
        return found;
    }
    std::vector<std::uint16_t> red() {
        auto* gamma = xcb_randr_get_crtc_gamma_reply(c, xcb_randr_get_crtc_gamma(c, crtc()), nullptr);
        const auto* values = xcb_randr_get_crtc_gamma_red(gamma);
        std::vector<std::uint16_t> ramp(values, values + gamma->size);
        std::free(gamma);
        return ramp;
    }
    // A plain ramp, so that what is restored is known.
    std::vector<std::uint16_t> setPlainRamp() {
        auto* size = xcb_randr_get_crtc_gamma_size_reply(c, xcb_randr_get_crtc_gamma_size(c, crtc()),
                                                         nullptr);
        std::vector<std::uint16_t> ramp(size->size);
        for (std::size_t i = 0; i < ramp.size(); ++i)
            ramp[i] = static_cast<std::uint16_t>(i * 65535 / (ramp.size() - 1));
        xcb_randr_set_crtc_gamma(c, crtc(), size->size, ramp.data(), ramp.data(), ramp.data());
        std::free(size);
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
        return ramp;
    }
    // An override-redirect window filling the screen, white (or `colour`).
    xcb_window_t whiteWindow(std::uint32_t events, std::optional<std::uint32_t> colour = std::nullopt) {
        const xcb_window_t window = xcb_generate_id(c);
        const std::uint32_t values[] = {colour.value_or(screen->white_pixel), 1, events};
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, screen->width_in_pixels,
                          screen->height_in_pixels, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          screen->root_visual,
                          XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
        xcb_map_window(c, window);
        xcb_flush(c);
        return window;
    }
    // The root window's pixel, as the screen shows it.
    std::uint32_t pixel(int x, int y) {
        auto* image = xcb_get_image_reply(
            c,
            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, static_cast<std::int16_t>(x),
                          static_cast<std::int16_t>(y), 1, 1, ~0u),
            nullptr);
        if (!image)
            return 0;
        std::uint32_t value = 0;
        std::memcpy(&value, xcb_get_image_data(image), 4);
        std::free(image);
        return value & 0xFFFFFF;
    }
    // Whether an event of the type reached us.
    bool received(std::uint8_t type) {
        bool found = false;
        while (auto* event = xcb_poll_for_event(c)) {
            found = found || (event->response_type & 0x7F) == type;
            std::free(event);
        }
        return found;
    }
    void click(int x, int y) {
        xcb_test_fake_input(c, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, screen->root,
                            static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), 0);
        xcb_test_fake_input(c, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(c, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    }
};

int channel(std::uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

struct DisplaysX11 : ::testing::Test {
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "x11-displays-test";
        static char* argv[] = {name, nullptr};
        application = new QGuiApplication(argc, argv);
    }
    static void TearDownTestSuite() { delete application; }
    static inline QGuiApplication* application = nullptr;

    memory::MemoryJournal journal;
    memory::MemoryLog log;
    Client client;
    quorvane::testing::TemporaryDirectory state;
};

// Xvfb: one CRTC and output "screen"; ramps are kept and read back but
// change no pixel.
TEST_F(DisplaysX11, randrListsTheScreenAndItsRampIsBoostedClampedAndRestoredEvenAfterAKill) {
    auto displays = RandrDisplays::connect(journal, log);
    ASSERT_TRUE(displays) << "needs an X display with RandR (run under xvfb-run)";
    const auto screens = displays->screens();
    ASSERT_EQ(screens.size(), 1u);
    EXPECT_EQ(screens[0].name, "screen");
    EXPECT_EQ(screens[0].frame, (Rect{{0, 0}, {1440, 900}}));
    const auto info = displays->displays();
    ASSERT_EQ(info.size(), 1u);
    EXPECT_EQ(info[0].id, screens[0].id);
    EXPECT_TRUE(info[0].isMain);
    EXPECT_EQ(info[0].edrPotential, 1.0);

    const auto plain = client.setPlainRamp();
    auto kept = posix::FileBlobStore::open(state.path()).value();
    {
        display::TransferTables tables(*displays, kept.get(), journal, log);
        ASSERT_TRUE(tables.scale("Test", info[0].id, 1.6));
        const auto boosted = client.red();
        EXPECT_EQ(boosted.back(), 65535);  // clamped
        EXPECT_NEAR(boosted[boosted.size() / 2], plain[plain.size() / 2] * 1.6, 40);
        tables.release("Test");
        EXPECT_EQ(client.red(), plain);
    }

    // Killed while boosted: the ramp stays until the next run restores it.
    ChildProcess probe(QUORVANE_GAMMA_PROBE, {state.path().string()}, {});
    ASSERT_EQ(probe.readLine(std::chrono::seconds(10)), std::optional<std::string>("boosted"));
    probe.sendSignal(SIGKILL);
    probe.wait();
    EXPECT_EQ(client.red().back(), 65535);
    display::TransferTables nextRun(*displays, kept.get(), journal, log);
    nextRun.restoreLeftovers();
    EXPECT_EQ(client.red(), plain);
    EXPECT_FALSE(kept->load(display::TransferTables::storeKey).value());
    // Put back, it no longer counts as ours: restoring at exit must not
    // bring the killed run's ramp back.
    displays->restoreColorSettings();
    EXPECT_EQ(client.red(), plain);
}

TEST_F(DisplaysX11, dimIsSeeThroughWithACompositorAndClicksPassThroughIt) {
    const auto under = client.whiteWindow(XCB_EVENT_MASK_BUTTON_PRESS);
    ASSERT_TRUE(waitFor([&] { return client.pixel(700, 400) == 0xFFFFFF; }));
    EXPECT_FALSE(compositingManagerRunning());
    ChildProcess compositor("/usr/bin/xcompmgr", {}, {});
    ASSERT_TRUE(waitFor([] { return compositingManagerRunning(); }));

    qt::QtOverlays overlays(journal, compositingManagerRunning);
    EXPECT_TRUE(overlays.translucencyWorks());
    overlays.show({.owner = "DimTask",
                   .frame = {{0, 0}, {1440, 900}},
                   .passesInput = true,
                   .background = {0, 0, 0, 0.5}});
    std::uint32_t seen = 0;
    EXPECT_TRUE(waitFor([&] {
        QCoreApplication::processEvents();
        seen = client.pixel(700, 400);
        return std::abs(channel(seen, 16) - 128) <= 2 && std::abs(channel(seen, 0) - 128) <= 2;
    })) << std::hex << seen;

    client.received(0);  // drop what came before
    client.click(700, 400);
    bool pressed = false;  // waitFor asks once more at the end: remember it
    EXPECT_TRUE(waitFor([&] {
        pressed = pressed || client.received(XCB_BUTTON_PRESS);
        return pressed;
    }));
    compositor.sendSignal(SIGTERM);
    compositor.wait();
    xcb_destroy_window(client.c, under);
    xcb_flush(client.c);
}

TEST_F(DisplaysX11, blackOutTakesEveryKeyUntilItsShortcut) {
    const auto under = client.whiteWindow(XCB_EVENT_MASK_KEY_PRESS);
    xcb_set_input_focus(client.c, XCB_INPUT_FOCUS_POINTER_ROOT, under, XCB_CURRENT_TIME);
    xcb_flush(client.c);
    memory::MemoryUserDefaults defaults;
    auto hotkeys = std::make_unique<qt::X11Hotkeys>(defaults, log, [](KeyGrabs::Pressed pressed) {
        return std::unique_ptr<KeyGrabs>(XcbKeyGrabs::connect(std::move(pressed)));
    });
    qt::QtOverlays overlays(journal, compositingManagerRunning);
    const auto black = overlays.show({.owner = "BlackOutTask",
                                      .frame = {{0, 0}, {1440, 900}},
                                      .passesInput = false,
                                      .takesFocus = true,
                                      .background = {0, 0, 0, 1}});
    hotkeys->onKeyDown("BlackOutTask", [&] { overlays.close(black); });
    ASSERT_TRUE(hotkeys->setCombination("BlackOutTask", {"Ctrl+Alt+B"}));
    ASSERT_TRUE(waitFor([&] {
        QCoreApplication::processEvents();
        return QGuiApplication::focusWindow() != nullptr && client.pixel(700, 400) == 0;
    }));
    client.received(0);
    quorvane::testing::Typist typist;
    typist.type({'a'});
    typist.type({quorvane::testing::escapeKey});
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    EXPECT_FALSE(client.received(XCB_KEY_PRESS));
    typist.type({quorvane::testing::controlKey, quorvane::testing::altKey, 'b'});
    EXPECT_TRUE(waitFor([&] {
        QCoreApplication::processEvents();
        return overlays.shown().empty();
    }));
    xcb_destroy_window(client.c, under);
    xcb_flush(client.c);
}

// The screen pickers grab the keyboard and the pointer, and Black out's
// window takes every key: a program whose main thread stops answering gives
// them back within the watchdog's 2 s, while it still sleeps, so that typing
// reaches the other windows again; its windows are told once it is back.
TEST_F(DisplaysX11, aStalledMainThreadGivesTheInputBackAndTakesItsWindowsDown) {
    auto* c = client.c;
    const auto under = client.whiteWindow(XCB_EVENT_MASK_KEY_PRESS);
    const auto othersCanGrab = [&] {
        auto* keyboard = xcb_grab_keyboard_reply(
            c, xcb_grab_keyboard(c, 0, client.screen->root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC,
                                 XCB_GRAB_MODE_ASYNC),
            nullptr);
        auto* pointer = xcb_grab_pointer_reply(
            c, xcb_grab_pointer(c, 0, client.screen->root, 0, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC,
                                XCB_NONE, XCB_NONE, XCB_CURRENT_TIME),
            nullptr);
        const bool both = keyboard && keyboard->status == XCB_GRAB_STATUS_SUCCESS && pointer &&
                          pointer->status == XCB_GRAB_STATUS_SUCCESS;
        std::free(keyboard);
        std::free(pointer);
        xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
        xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
        return both;
    };
    const auto viewable = [&](xcb_window_t window) {
        auto* attributes = xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr);
        const bool shown = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(attributes);
        return shown;
    };
    const auto focus = [&] {
        auto* reply = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
        const xcb_window_t focused = reply ? reply->focus : XCB_NONE;
        std::free(reply);
        return focused;
    };
    quorvane::testing::Typist typist;
    for (const std::string what : {"colour", "region", "cover", "popup"}) {
        SCOPED_TRACE(what);
        ChildProcess holder(QUORVANE_SCREEN_HOLD_PROBE, {what}, {{"QT_QPA_PLATFORM", "xcb"}});
        const auto held = holder.readLine(std::chrono::seconds(10));
        const auto asked = std::chrono::steady_clock::now();
        ASSERT_TRUE(held && held->starts_with("held ")) << held.value_or("nothing");
        std::vector<xcb_window_t> windows;
        std::istringstream ids(held->substr(5));
        for (xcb_window_t id = 0; ids >> id;)
            windows.push_back(id);
        ASSERT_FALSE(windows.empty());
        for (const auto window : windows)
            EXPECT_TRUE(viewable(window));
        if (what != "popup") {  // a popup has the keys through Qt's grab, not the focus
            EXPECT_NE(std::find(windows.begin(), windows.end(), focus()), windows.end());
        }
        EXPECT_EQ(othersCanGrab(), what == "cover");  // the pickers and the popup hold both

        EXPECT_TRUE(waitFor([&] {
            return othersCanGrab() && std::none_of(windows.begin(), windows.end(), viewable);
        }));
        EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::milliseconds(3300));
        client.received(0);
        typist.type({'a'});
        bool typed = false;  // waitFor asks once more at the end: remember it
        EXPECT_TRUE(waitFor([&] {
            typed = typed || client.received(XCB_KEY_PRESS);
            return typed;
        }));
        EXPECT_EQ(holder.readLine(std::chrono::seconds(5)),
                  what == "cover"   ? "let go: the main thread stopped answering for 2 seconds"
                  : what == "popup" ? "closed"
                                    : "cancelled");
        holder.sendSignal(SIGKILL);
        holder.wait();
    }
    xcb_destroy_window(c, under);
    xcb_flush(c);
}

// The housing hangs from the top centre, black, shaped (what lies beside
// its flares shows), with the lens in the middle and the light beside it.
TEST_F(DisplaysX11, theSimulatedNotchIsShapedAtTheTopCentreWithItsCameraLight) {
    const auto under = client.whiteWindow(XCB_EVENT_MASK_NO_EVENT);
    ASSERT_TRUE(waitFor([&] { return client.pixel(720, 10) == 0xFFFFFF; }));
    qt::QtOverlays overlays(journal, compositingManagerRunning);
    overlays.show({.owner = "NotchTask",
                   .frame = {{615, 868}, {210, 32}},
                   .passesInput = true,
                   .content = OverlayDescription::Content::notch,
                   .cameraActive = true});
    // Top-left of the root: 615 across, 0 down.
    ASSERT_TRUE(waitFor([&] {
        QCoreApplication::processEvents();
        return client.pixel(625, 20) == 0;
    }));
    EXPECT_EQ(client.pixel(617, 30), 0xFFFFFFu);  // outside the bottom-left corner
    EXPECT_EQ(client.pixel(614, 5), 0xFFFFFFu);   // beside the notch
    const auto light = client.pixel(740, 16);     // 20 points right of the lens
    EXPECT_GT(channel(light, 8), 150) << std::hex << light;
    EXPECT_LT(channel(light, 16), 100) << std::hex << light;
    const auto lens = client.pixel(720, 16);
    EXPECT_GT(channel(lens, 0), channel(lens, 16)) << std::hex << lens;  // blue while in use
    auto* image = xcb_get_image_reply(
        client.c, xcb_get_image(client.c, XCB_IMAGE_FORMAT_Z_PIXMAP, client.screen->root, 560, 0, 320, 60, ~0u),
        nullptr);
    ASSERT_TRUE(image);
    QImage shot(xcb_get_image_data(image), 320, 60, QImage::Format_RGB32);
    QDir().mkpath(QUORVANE_SCREENSHOTS);
    EXPECT_TRUE(shot.scaled(640, 120).save(QStringLiteral(QUORVANE_SCREENSHOTS "/notch.png")));
    std::free(image);
    xcb_destroy_window(client.c, under);
    xcb_flush(client.c);
}

// Every screen effect draws over the window beneath and lets its clicks
// through; its frames move on by themselves.
// Keys typed faster than frames are drawn together: the strip shows the
// last of them once the frame ends, not the first.
TEST_F(DisplaysX11, keysFasterThanFramesEndWithTheLastDrawn) {
    const auto under = client.whiteWindow(0, 0x000000);
    ASSERT_TRUE(waitFor([&] { return client.pixel(700, 700) == 0; }));
    qt::QtOverlays overlays(journal, compositingManagerRunning);
    overlays.setPainter(OverlayDescription::Content::keyCaps, ui::keyCaps::painter());
    OverlayDescription strip{.owner = "VisualizeKeystrokeTask",
                             .frame = {{0, 120}, {1440, 200}},
                             .level = overlayLevel::display,
                             .passesInput = true,
                             .content = OverlayDescription::Content::keyCaps};
    strip.keyCaps.push_back({.title = "a"});
    const auto id = overlays.show(strip);
    for (const char* title : {"b", "c", "d", "e", "f", "g"}) {
        strip.keyCaps.push_back({.title = title});
        overlays.update(id, strip);
    }
    // The last cap's face, just inside its left edge; the strip's top is
    // 120 + 200 points above the screen's bottom.
    const auto caps = ui::keyCaps::layout(strip, QSize(1440, 200));
    ASSERT_EQ(caps.size(), 7u);
    const int x = static_cast<int>(caps.back().left()) + 4;
    const int y = 900 - 320 + static_cast<int>(caps.back().center().y());
    EXPECT_TRUE(waitFor([&] {
        QCoreApplication::processEvents();
        return client.pixel(x, y) != 0;
    }));
    overlays.close(id);
    xcb_destroy_window(client.c, under);
    xcb_flush(client.c);
}

TEST_F(DisplaysX11, screenEffectsDrawOverAWindowThatStillTakesTheClicks) {
    // Grey, so that white flakes and added light both show on it.
    constexpr std::uint32_t grey = 0x808080;
    const auto under = client.whiteWindow(XCB_EVENT_MASK_BUTTON_PRESS, grey);
    ASSERT_TRUE(waitFor([&] { return client.pixel(700, 400) == grey; }));
    ChildProcess compositor("/usr/bin/xcompmgr", {}, {});
    ASSERT_TRUE(waitFor([] { return compositingManagerRunning(); }));
    qt::QtOverlays overlays(journal, compositingManagerRunning);

    for (const char* effect : {"confetti", "fireworks", "rain", "snow"}) {
        std::ifstream file(std::string(QUORVANE_EFFECTS) + "/" + effect + ".json");
        std::ostringstream text;
        text << file.rdbuf();
        auto preset = particles::parsePreset(text.str()).preset;
        ASSERT_TRUE(preset) << effect;
        // Born all over the screen, so that a few frames show them anywhere.
        auto scene = std::make_shared<particles::Scene>(effect);
        scene->layers().emplace_back();
        auto& system = scene->layers()[0].systems.emplace_back(*preset, 5);
        const bool unit = preset->space == particles::Space::unit;
        system.emitter().position = unit ? particles::Vector{0.5, 0.5} : particles::Vector{720, 450};
        system.emitter().positionRange = unit ? particles::Vector{1, 1} : particles::Vector{1440, 900};
        system.emitter().burstCount = preset->maxParticles;
        const auto id = overlays.show({.owner = effect,
                                       .frame = {{0, 0}, {1440, 900}},
                                       .level = overlayLevel::effects,
                                       .passesInput = true,
                                       .content = OverlayDescription::Content::particles,
                                       .scene = scene});
        scene->burst();
        int drawn = 0;
        bool seen = false;  // particles move and fade: the frame that showed them counts
        EXPECT_TRUE(waitFor([&] {
            if (seen)
                return true;
            QCoreApplication::processEvents();
            auto* image = xcb_get_image_reply(
                client.c, xcb_get_image(client.c, XCB_IMAGE_FORMAT_Z_PIXMAP, client.screen->root, 0, 0, 1440, 900, ~0u),
                nullptr);
            if (!image)
                return false;
            const auto* pixels = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(image));
            drawn = 0;
            for (int i = 0; i < 1440 * 900; i += 7)
                drawn += (pixels[i] & 0xFFFFFF) != grey;
            std::free(image);
            // Particles here and there: not an empty window, nor an
            // opaque one.
            seen = drawn > 100 && drawn < 1440 * 900 / 7 / 2;
            return seen;
        })) << effect << ": " << drawn << " of " << 1440 * 900 / 7 << " pixels drawn";
        // The window's own timer moved them on.
        const auto before = scene->layers()[0].systems[0].particles()[0].y;
        EXPECT_TRUE(waitFor([&] {
            QCoreApplication::processEvents();
            const auto now = scene->layers()[0].systems[0].particles();
            return !now.empty() && now[0].y != before;
        })) << effect;

        client.received(0);
        client.click(700, 400);
        bool pressed = false;
        EXPECT_TRUE(waitFor([&] {
            pressed = pressed || client.received(XCB_BUTTON_PRESS);
            return pressed;
        })) << effect;
        overlays.close(id);
    }
    compositor.sendSignal(SIGTERM);
    compositor.wait();
    xcb_destroy_window(client.c, under);
    xcb_flush(client.c);
}

}  // namespace
}  // namespace quorvane::platform::x11
