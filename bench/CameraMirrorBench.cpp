// One camera frame drawn into the mirror as its window does: a 1920 × 1080
// frame into the largest mirror (480 points), cut to a circle, mirrored,
// filling it; and the same fitted and turned a quarter, for comparison.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "simmac/SimCameras.hpp"
#include "ui/display/CameraMirrorView.hpp"

namespace {

using namespace quorvane;

void drawMirror(benchmark::State& state, bool fills, int quarterTurns) {
    int argc = 1;
    char name[] = "bench";
    char* argv[] = {name};
    QGuiApplication application(argc, argv);
    platform::OverlayDescription description;
    description.content = platform::OverlayDescription::Content::cameraMirror;
    description.mirror.shape = platform::MirrorPicture::Shape::circle;
    description.mirror.mirrored = true;
    description.mirror.fills = fills;
    description.mirror.quarterTurns = quarterTurns;
    description.mirror.frame =
        platform::sim::SimCameras::testPattern("Built-in Camera", {1920, 1080}, 1);
    QImage window(480, 480, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&window);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        ui::cameraMirror::paint(painter, description, window.size());
        painter.end();
        benchmark::DoNotOptimize(window.constBits());
    }
}

void mirroredFill(benchmark::State& state) {
    drawMirror(state, true, 0);
}
void turnedFit(benchmark::State& state) {
    drawMirror(state, false, 1);
}

}  // namespace

BENCHMARK(mirroredFill)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(turnedFit)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
