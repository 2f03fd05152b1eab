#include <gtest/gtest.h>

#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "adapters/memory/MemoryLog.hpp"
#include "adapters/posix/CameraHelper.hpp"
#include "adapters/posix/SoundHelper.hpp"

namespace quorvane::platform::posix {
namespace {

using namespace std::chrono_literals;

// Polls `condition` for up to 20 s.
template <class Condition>
bool eventually(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

// Frames and failures as a session's handlers hear them, from any thread.
struct Heard {
    std::mutex mutex;
    std::vector<VideoFrame> kept;  // while `keep` is set
    std::vector<std::string> failures;
    std::atomic<int> frames{0};
    std::atomic<bool> keep{false};

    std::unique_ptr<CameraSession> session(Cameras& cameras) {
        return cameras.makeSession(
            [this](VideoFrame frame) {
                ++frames;
                std::lock_guard lock(mutex);
                if (keep)
                    kept.push_back(std::move(frame));
            },
            [this](std::string reason) {
                std::lock_guard lock(mutex);
                failures.push_back(std::move(reason));
            });
    }
    std::size_t failed() {
        std::lock_guard lock(mutex);
        return failures.size();
    }
};

class CameraHelperTest : public testing::Test {
  protected:
    void SetUp() override { ::setenv("QUORVANE_HELPER_IDLE_MS", "300", 1); }
    void TearDown() override { ::unsetenv("QUORVANE_HELPER_IDLE_MS"); }
    memory::MemoryLog log;
};

TEST_F(CameraHelperTest, framesComeThroughSharedSlotsThatTheProgramGivesBack) {
    CameraHelper cameras(log, QUORVANE_SIM_CAMERA_HELPER);
    const auto devices = cameras.devices();
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].localizedName, "Built-in Camera");
    ASSERT_TRUE(cameras.defaultDevice());
    EXPECT_EQ(cameras.defaultDevice()->id, devices[0].id);
    EXPECT_EQ(cameras.authorization(), CameraAuthorization::authorized);

    Heard heard;
    auto session = heard.session(cameras);
    ASSERT_TRUE(session);
    EXPECT_FALSE(session->setDevice("no-such-camera"));
    ASSERT_TRUE(session->setDevice(devices[0].id));
    EXPECT_EQ(session->device(), devices[0].id);
    ASSERT_TRUE(session->setPreset(CameraPreset::low));
    EXPECT_EQ(session->format(), (CameraFormat{320, 240}));

    // Frames held by the program keep their slots: three, then none more.
    heard.keep = true;
    session->start();
    EXPECT_TRUE(session->isRunning());
    EXPECT_TRUE(session->supportsMirroring());  // as the helper's camera says
    EXPECT_TRUE(session->supportsOrientation());
    ASSERT_TRUE(eventually([&] { return heard.frames >= 3; }));
    std::this_thread::sleep_for(300ms);  // four more frames' time: none may come
    EXPECT_EQ(heard.frames, 3);
    {
        std::lock_guard lock(heard.mutex);
        ASSERT_EQ(heard.kept.size(), 3u);
        const auto& frame = heard.kept.back();
        EXPECT_EQ(frame.width, 320);
        EXPECT_EQ(frame.height, 240);
        // The pattern's seven bars, whole from the first row to the last,
        // whatever slot the frame came in.
        const std::uint32_t bars[] = {0xc0c0c0, 0xc0c000, 0x00c0c0, 0x00c000, 0xc000c0, 0xc00000, 0x0000c0};
        for (const auto& kept : heard.kept)
            for (int bar = 0; bar < 7; ++bar)
                for (int y : {0, 239}) {
                    SCOPED_TRACE(bar);
                    EXPECT_EQ(kept.at(320 * (2 * bar + 1) / 14, y), 0xff000000u | bars[bar]);
                }
        EXPECT_NE(heard.kept[0].pixels, heard.kept[1].pixels);
        heard.keep = false;
        heard.kept.clear();
    }
    ASSERT_TRUE(eventually([&] { return heard.frames >= 10; }));

    session->stop();
    EXPECT_FALSE(session->isRunning());
    EXPECT_EQ(heard.failed(), 0u);
}

TEST_F(CameraHelperTest, aHelperThatLeavesIsStartedAgainAndItsSessionsMadeAgain) {
    CameraHelper cameras(log, QUORVANE_SIM_CAMERA_HELPER);
    Heard heard;
    auto session = heard.session(cameras);
    ASSERT_TRUE(session);
    const auto id = cameras.devices().at(0).id;
    ASSERT_TRUE(session->setDevice(id));
    ASSERT_TRUE(session->setPreset(CameraPreset::medium));
    session->start();
    ASSERT_TRUE(eventually([&] { return heard.frames >= 1; }));

    // Killed while running: the session hears of it and holds no device.
    const auto first = cameras.helper();
    ASSERT_TRUE(first);
    ::kill(*first, SIGKILL);
    ASSERT_TRUE(eventually([&] { return heard.failed() == 1; }));
    EXPECT_EQ(heard.failures[0], "the camera helper stopped");
    EXPECT_FALSE(session->isRunning());
    EXPECT_FALSE(session->device());

    // Set up again, it runs in a new helper, with the preset it was given.
    ASSERT_TRUE(session->setDevice(id));
    EXPECT_EQ(session->preset(), CameraPreset::medium);
    EXPECT_EQ(session->format(), (CameraFormat{640, 480}));
    session->start();
    const int before = heard.frames;
    ASSERT_TRUE(eventually([&] { return heard.frames > before; }));
    ASSERT_TRUE(cameras.helper());
    EXPECT_NE(*cameras.helper(), *first);

    // Stopped, the helper leaves on its own, and its memory with it.
    session->stop();
    ASSERT_TRUE(eventually([&] { return !cameras.helper(); }));
    EXPECT_FALSE(session->device());
    EXPECT_EQ(heard.failed(), 1u);
    EXPECT_EQ(cameras.devices().size(), 1u);

    // One that cannot be started gives no cameras and no session.
    CameraHelper missing(log, "/nonexistent/quorvane-camera");
    EXPECT_TRUE(missing.devices().empty());
    EXPECT_FALSE(missing.makeSession({}, {}));
    EXPECT_TRUE(log.contains("cannot start the camera helper"));
}

TEST_F(CameraHelperTest, aLyingHelperGetsNoMemoryMappedAndNoFrameShown) {
    CameraHelper cameras(log, QUORVANE_LYING_CAMERA_HELPER);
    Heard heard;
    heard.keep = true;
    auto session = heard.session(cameras);
    ASSERT_TRUE(session);
    ASSERT_TRUE(session->setDevice("liar"));
    session->start();
    // Only its last frame is honest: sealed memory, a slot that exists.
    ASSERT_TRUE(eventually([&] { return heard.frames >= 1; }));
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(heard.frames, 1);
    EXPECT_FALSE(session->supportsMirroring());  // as this helper says
    std::lock_guard lock(heard.mutex);
    EXPECT_EQ(heard.kept.at(0).width, 320);
}

// Test machines have no camera: the real helper finds none, and a session
// cannot start without one.
TEST_F(CameraHelperTest, theRealHelperWithoutACameraRunsNothing) {
    // Qt Multimedia opens the audio server too, which is not under test.
    ::setenv("PULSE_SERVER", "unix:/nonexistent/quorvane-test", 1);
    CameraHelper cameras(log, QUORVANE_CAMERA_HELPER);
    if (!cameras.devices().empty())
        GTEST_SKIP() << "this machine has a camera";
    EXPECT_TRUE(cameras.helper());
    EXPECT_FALSE(cameras.defaultDevice());
    Heard heard;
    auto session = heard.session(cameras);
    ASSERT_TRUE(session);
    EXPECT_FALSE(session->setDevice("/dev/video0"));
    session->start();
    EXPECT_FALSE(session->isRunning());
    EXPECT_FALSE(log.contains("did not answer"));
}

TEST(SoundHelperTest, soundsAndClicksPlayInAHelperThatLeavesWhenNoClicksAreWanted) {
    ::setenv("QUORVANE_HELPER_IDLE_MS", "300", 1);
    ::setenv("QUORVANE_AUDIO", "silent", 1);
    ::setenv("PULSE_SERVER", "unix:/nonexistent/quorvane-test", 1);
    memory::MemoryLog log;
    SoundHelper sound(log, QUORVANE_SOUND_HELPER);
    EXPECT_FALSE(sound.play("keyDown", {}));  // not prepared
    EXPECT_TRUE(sound.play("toggleOn"));
    // A name the helper does not know is refused once it said so.
    EXPECT_TRUE(eventually([&] { return !sound.play("keyUp"); }));
    EXPECT_TRUE(log.contains("no sound named keyUp"));
    ASSERT_TRUE(sound.prepareClicks("keyDown"));
    EXPECT_FALSE(sound.prepareClicks("toggleOn"));  // one clicked sound
    EXPECT_TRUE(sound.play("keyDown", {.rate = 1.05f, .volume = 0.97f}));
    EXPECT_FALSE(sound.play("toggleOn", {}));

    // Clicks wanted: it stays. Killed, the clicks stop until a sound
    // starts it again, which readies them there too.
    std::this_thread::sleep_for(600ms);
    const auto first = sound.helper();
    ASSERT_TRUE(first);
    ::kill(*first, SIGKILL);
    ASSERT_TRUE(eventually([&] { return !sound.play("keyDown", {}); }));
    EXPECT_TRUE(sound.play("toggleOff"));
    EXPECT_TRUE(eventually([&] { return sound.play("keyDown", {}); }));
    EXPECT_NE(sound.helper(), first);

    // Let go, it leaves; the next sound starts it again.
    sound.releaseClicks();
    EXPECT_FALSE(sound.play("keyDown", {}));
    ASSERT_TRUE(eventually([&] { return !sound.helper(); }));
    EXPECT_TRUE(sound.play("toggleOn"));
    EXPECT_TRUE(eventually([&] { return sound.helper().has_value(); }));
    EXPECT_FALSE(log.contains("did not answer"));

    SoundHelper missing(log, "/nonexistent/quorvane-sound");
    EXPECT_TRUE(missing.play("toggleOn"));  // handed on; the helper cannot start
    EXPECT_TRUE(eventually([&] { return log.contains("cannot start the sound helper"); }));
}

}  // namespace
}  // namespace quorvane::platform::posix
