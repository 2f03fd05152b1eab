// Laying out and painting the whole list of 98 cells once, as scrolling
// through it does, with the program's own catalogue; and the two switch
// controls on their own, 98 of each, painted: the drawn switch against the
// check box it replaced. Runs offscreen in a home folder of its own.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include "wiring/AppServices.hpp"
#include "core/TweaksHolder.hpp"
#include "ui/Switch.hpp"
#include "ui/TweakListView.hpp"

namespace {

using namespace quorvane;

QApplication& application() {
    static int argc = 1;
    static char name[] = "list-paint-bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication made(argc, argv);
    return made;
}

void paintWholeList(benchmark::State& state) {
    application();
    QTemporaryDir home;
    const std::filesystem::path root = home.path().toStdString();
    platform::posix::XdgDirectories folders{root,           root / "data", root / "config",
                                            root / "state", root / "cache", root / "run"};
    app::AppServices services(folders);
    const ui::ListServices lists{services.catalogue(),     services.store(),
                                 services.mainQueue(),     services.notifications(),
                                 services.tweakActions(),  services.tweaksHandler(),
                                 &services.workflows()};
    core::TweaksHolder holder(core::TweaksPlace::main, services.catalogue(), services.store(),
                              services.mainQueue(), services.notifications());
    ui::TweakListView list(holder, lists);
    holder.reload();  // "All": every tweak
    list.resize(700, 640);
    list.finishBuilding();
    QWidget* content = list.widget();
    for (auto _ : state) {
        // Layout from scratch, then every cell painted, as a full scroll does.
        content->updateGeometry();
        content->adjustSize();
        QPixmap picture(content->size());
        content->render(&picture);
        benchmark::DoNotOptimize(picture);
    }
    state.counters["cells"] = static_cast<double>(list.cells().size());
}
BENCHMARK(paintWholeList)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(3);

template <class Control>
void paintControls(benchmark::State& state) {
    application();
    QWidget column;
    auto* layout = new QVBoxLayout(&column);
    for (int i = 0; i < 98; ++i) {
        auto* control = new Control;
        control->setChecked(i % 3 == 0);
        layout->addWidget(control);
    }
    column.adjustSize();
    for (auto _ : state) {
        QPixmap picture(column.size());
        column.render(&picture);
        benchmark::DoNotOptimize(picture);
    }
}
BENCHMARK(paintControls<ui::Switch>)->Name("paint98Switches")->Unit(benchmark::kMicrosecond);
BENCHMARK(paintControls<QCheckBox>)->Name("paint98CheckBoxes")->Unit(benchmark::kMicrosecond);

}  // namespace
