#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>

#include "platform/PcmClip.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "adapters/qt/ClickMixer.hpp"

namespace quorvane::platform {
namespace {

using namespace std::chrono_literals;

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A WAVE header around `data`, with the format fields given.
std::string wave(std::uint16_t format, std::uint16_t channels, std::uint32_t rate,
                 std::uint16_t bits, std::string data) {
    auto le = [](std::uint64_t value, int size) {
        std::string out;
        for (int i = 0; i < size; ++i)
            out += static_cast<char>((value >> (8 * i)) & 0xFF);
        return out;
    };
    const std::string fmt = "fmt " + le(16, 4) + le(format, 2) + le(channels, 2) + le(rate, 4) +
                            le(rate * channels * bits / 8, 4) + le(std::uint64_t(channels) * bits / 8, 2) + le(bits, 2);
    const std::string body = "WAVE" + fmt + "data" + le(data.size(), 4) + data;
    return "RIFF" + le(body.size(), 4) + body;
}

TEST(PcmClip, takesSixteenBitPcmAndSaysWhatElseItFound) {
    auto shipped = parsePcm16Wav(fileBytes(QUORVANE_SOUNDS "/keyDown.wav"));
    ASSERT_TRUE(shipped) << shipped.error().message;
    EXPECT_EQ(shipped.value().sampleRate, 44100);
    EXPECT_EQ(shipped.value().channels, 1);
    EXPECT_GT(shipped.value().frames(), 1000u);

    const std::string four(4, '\x01');
    EXPECT_TRUE(parsePcm16Wav(wave(1, 2, 48000, 16, four)));
    EXPECT_EQ(parsePcm16Wav(wave(3, 1, 44100, 32, four)).error().message, "format 3 is not PCM");
    EXPECT_EQ(parsePcm16Wav(wave(1, 1, 44100, 8, four)).error().message,
              "8-bit samples, not 16-bit");
    EXPECT_FALSE(parsePcm16Wav(wave(1, 6, 44100, 16, four)));
    auto cut = wave(1, 1, 44100, 16, four);
    cut.resize(cut.size() - 2);  // the data chunk says more than there is
    EXPECT_FALSE(parsePcm16Wav(cut));
    EXPECT_FALSE(parsePcm16Wav("RIFF"));
}

PcmClip ramp(std::size_t frames) {
    PcmClip clip{.sampleRate = 1000, .channels = 1};
    for (std::size_t i = 0; i < frames; ++i)
        clip.samples.push_back(static_cast<std::int16_t>(100 * (i + 1)));
    return clip;
}

TEST(ClickVoices, overlappingClicksAreSummedResampledAndTheOldestGivesWay) {
    const PcmClip clip = ramp(10);
    ClickVoices voices(clip);
    std::vector<std::int16_t> out(4, 0);
    voices.start({1, 1});
    voices.mixInto(std::span(out).first(2));  // 100 200
    voices.start({1, 0.5f});                   // from 0, at half volume
    voices.mixInto(std::span(out).subspan(2));
    EXPECT_EQ(out, (std::vector<std::int16_t>{100, 200, 300 + 50, 400 + 100}));

    // Twice the rate: every other sample, done in half the frames.
    ClickVoices fast(clip);
    std::vector<std::int16_t> twice(6, 0);
    fast.start({2, 1});
    fast.mixInto(twice);
    EXPECT_EQ(twice, (std::vector<std::int16_t>{100, 300, 500, 700, 900, 0}));
    EXPECT_EQ(fast.sounding(), 0u);
    // Half the rate: halfway samples between.
    ClickVoices slow(clip);
    std::vector<std::int16_t> half(3, 0);
    slow.start({0.5f, 1});
    slow.mixInto(half);
    EXPECT_EQ(half, (std::vector<std::int16_t>{100, 150, 200}));

    for (int i = 0; i < 9; ++i)
        voices.start({1, 1});
    EXPECT_EQ(voices.sounding(), ClickVoices::maxVoices);
    EXPECT_GE(voices.cutShort(), 1u);
    // Full scale is the limit, not a wrap.
    std::vector<std::int16_t> loud(1, 32000);
    voices.mixInto(loud);
    EXPECT_EQ(loud[0], 32767);
}

class ClickMixerTest : public ::testing::Test {
  protected:
    int argc = 1;
    char name[12] = "click-mixer";
    char* argv[1] = {name};
    QCoreApplication application{argc, argv};
    memory::MemoryLog log;

    template <class Condition>
    bool eventually(Condition condition) {
        for (int i = 0; i < 400; ++i) {
            if (condition())
                return true;
            std::this_thread::sleep_for(5ms);
        }
        return condition();
    }
};

TEST_F(ClickMixerTest, aBlockedMixerNeverHoldsTheHandlerAndAnIdleOneSleepsUntilTheNextClick) {
    qt::ClickMixer mixer(ramp(200), log, {.silent = true, .idleAfter = 100ms});
    ASSERT_TRUE(eventually([&] { return mixer.isSilent(); }));
    EXPECT_TRUE(mixer.push({1, 1}));
    ASSERT_TRUE(eventually([&] { return mixer.started() == 1; }));

    // The mixer's thread held up: a thousand clicks return at once, 64 wait.
    std::promise<void> release;
    std::promise<void> holding;
    QTimer::singleShot(0, mixer.threadContext(), [&] {
        holding.set_value();
        release.get_future().wait();
    });
    holding.get_future().wait();
    const auto started = std::chrono::steady_clock::now();
    int accepted = 0;
    for (int i = 0; i < 1000; ++i)
        accepted += mixer.push({1, 1}) ? 1 : 0;
    EXPECT_LT(std::chrono::steady_clock::now() - started, 50ms);
    EXPECT_EQ(accepted, 64);
    EXPECT_EQ(mixer.dropped(), 936u);
    release.set_value();
    EXPECT_TRUE(eventually([&] { return mixer.started() == 65; }));

    // Quiet for a while, it sleeps; a click wakes it and is mixed.
    ASSERT_TRUE(eventually([&] { return mixer.isSuspended(); }));
    EXPECT_TRUE(mixer.push({1.1f, 0.95f}));
    EXPECT_TRUE(eventually([&] { return mixer.started() == 66; }));
    EXPECT_FALSE(mixer.isSuspended());
}

}  // namespace
}  // namespace quorvane::platform
