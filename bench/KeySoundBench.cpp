// Mechanical Keyboard on the key path and behind it: the monitor's handler
// (variation, hand-over to the mixer) in time and heap allocations, then,
// on the silent sink, how long a key waits for its first mixed sample
// (median and 99th percentile), and the same for the first key after the
// output went to sleep.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <thread>

#include "CountingAllocator.hpp"
#include "KeyboardFolder.hpp"
#include "input/keysound/MechanicalKeyboardManager.hpp"
#include "adapters/qt/QtSound.hpp"

namespace {

using namespace quorvane;
using namespace std::chrono_literals;

const platform::InputEvent keyDown{.type = platform::EventType::keyDown, .keyCode = 4};

void handlerHandsAClickToTheMixer(benchmark::State& state) {
    bench::KeyboardFolder folder;
    platform::qt::QtSound sound(folder.log);
    if (!sound.prepareClicks("keyDown")) {
        state.SkipWithError("the click sound cannot be prepared");
        return;
    }
    folder.services.sound = &sound;
    input::MechanicalKeyboardManager manager(folder.services, "MechanicalKeyboardTask");
    manager.handle(keyDown);  // the journal's one-second count is armed
    // The mixer's thread allocates as Qt's timers run: only the handler's
    // own thread counts.
    const long before = bench::allocationsOnThisThread();
    for (auto _ : state)
        manager.handle(keyDown);
    state.counters["allocations"] = static_cast<double>(bench::allocationsOnThisThread() - before);
    state.counters["dropped"] = static_cast<double>(sound.clickMixer()->dropped());
}
BENCHMARK(handlerHandsAClickToTheMixer)->Repetitions(9)->ReportAggregatesOnly();

std::int64_t percentile(std::vector<std::int64_t> values, double fraction) {
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(fraction * double(values.size())))];
}

void keyToFirstMixedSample(benchmark::State& state) {
    platform::memory::MemoryLog log;
    QFile file(QStringLiteral(":/sounds/keyDown.wav"));
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    auto clip = platform::parsePcm16Wav(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    platform::qt::ClickMixer mixer(std::move(clip.value()), log, {.silent = true, .idleAfter = 150ms});
    for (auto _ : state) {
        // Keys 20 ms apart, as fast typing is.
        for (int i = 0; i < 200; ++i) {
            mixer.push({1, 1});
            std::this_thread::sleep_for(20ms);
        }
        const auto awake = mixer.latencies();
        // The first key after the output slept, twenty times.
        std::vector<std::int64_t> afterSleep;
        for (int i = 0; i < 20; ++i) {
            while (!mixer.isSuspended())
                std::this_thread::sleep_for(10ms);
            mixer.push({1, 1});
            std::this_thread::sleep_for(30ms);
            afterSleep.push_back(mixer.latencies().back());
        }
        state.counters["median_us"] = double(percentile(awake, 0.5));
        state.counters["p99_us"] = double(percentile(awake, 0.99));
        state.counters["after_sleep_median_us"] = double(percentile(afterSleep, 0.5));
        state.counters["after_sleep_max_us"] = double(percentile(afterSleep, 1.0));
    }
}
BENCHMARK(keyToFirstMixedSample)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    // Millions of clicks are measured, never heard.
    qputenv("QUORVANE_AUDIO", "silent");
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
