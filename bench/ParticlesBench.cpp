// One frame of each screen effect at its pool's size (confetti 300,
// fireworks 1,000, rain 2,000, snow 600) on a 1440 × 900 screen: stepping
// alone, and stepping plus drawing into a cleared frame as the effect
// window does. Allocations are counted after the warm-up (there should be
// none).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <fstream>
#include <sstream>

#include "CountingAllocator.hpp"
#include "particles/Scene.hpp"
#include "adapters/qt/ParticleRenderer.hpp"

namespace {

using namespace quorvane::particles;

constexpr double width = 1440;
constexpr double height = 900;

// Fills the pool up with a burst of what it has room for: a burst beyond
// it would take the places of the oldest, which a frame does not do.
void topUp(Scene& scene) {
    for (auto& layer : scene.layers())
        for (auto& system : layer.systems)
            system.emitter().burstCount =
                system.preset().maxParticles - static_cast<int>(system.particles().size());
    scene.burst();
}

// A scene of the preset with its pool full, spread over the screen, and
// kept full: every frame tops it up with a burst.
Scene fullScene(const std::string& name) {
    std::ifstream file(std::string(QUORVANE_EFFECTS) + "/" + name + ".json");
    std::ostringstream text;
    text << file.rdbuf();
    auto preset = parsePreset(text.str()).preset.value();
    Scene scene(name);
    scene.layers().emplace_back();
    auto& system = scene.layers()[0].systems.emplace_back(preset, 11);
    scene.resize(width, height);
    auto& emitter = system.emitter();
    const bool unit = preset.space == Space::unit;
    emitter.position = unit ? Vector{0.5, 0.5} : Vector{width / 2, height / 2};
    emitter.positionRange = unit ? Vector{1, 1} : Vector{width, height};
    for (int i = 0; i < 20; ++i) {
        topUp(scene);
        scene.step(1.0 / 60);
    }
    return scene;
}

void stepOnly(benchmark::State& state, const char* name) {
    auto scene = fullScene(name);
    const long before = quorvane::bench::allocations();
    for (auto _ : state) {
        topUp(scene);
        scene.step(1.0 / 60);
    }
    // Read before the counters are written: their map allocates.
    const long made = quorvane::bench::allocations() - before;
    state.counters["particles"] = static_cast<double>(scene.particleCount());
    state.counters["allocations"] = static_cast<double>(made);
}

void stepAndDraw(benchmark::State& state, const char* name) {
    int argc = 1;
    char program[] = "bench";
    char* argv[] = {program, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    benchmark::DoNotOptimize(app);
    auto scene = fullScene(name);
    QImage frame(static_cast<int>(width), static_cast<int>(height), QImage::Format_ARGB32_Premultiplied);
    quorvane::platform::qt::ParticleRenderer renderer;
    // One painter for the run: making a QPainter allocates, in the window
    // as here, and that is Qt's, not the effect's.
    QPainter painter(&frame);
    auto once = [&] {
        topUp(scene);
        scene.step(1.0 / 60);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(frame.rect(), Qt::transparent);
        renderer.paint(painter, scene, 1.0);
    };
    for (int i = 0; i < 300; ++i)
        once();  // five seconds in: every sprite has been drawn once
    const long before = quorvane::bench::allocations();
    for (auto _ : state)
        once();
    const long made = quorvane::bench::allocations() - before;
    state.counters["particles"] = static_cast<double>(scene.particleCount());
    state.counters["allocations"] = static_cast<double>(made);
}

#define EFFECT(name)                                                                                  \
    BENCHMARK_CAPTURE(stepOnly, name, #name)->Repetitions(5)->ReportAggregatesOnly()->Unit(benchmark::kMillisecond); \
    BENCHMARK_CAPTURE(stepAndDraw, name, #name)->Repetitions(5)->ReportAggregatesOnly()->Unit(benchmark::kMillisecond)

EFFECT(confetti);
EFFECT(fireworks);
EFFECT(rain);
EFFECT(snow);

}  // namespace
