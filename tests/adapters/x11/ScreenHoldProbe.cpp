// Holds the screen the way it is told, then stops its main thread for
// 3.5 s: the colour sampler ("colour") and the region capture ("region")
// grab the keyboard and the pointer for their frozen screens; a window that
// takes every key ("cover") is Black out's; a popup ("popup") is one Qt
// grabs the input for itself, as it does for the popover. Once its windows have the keys
// it prints "held" and their ids, and once the main thread is back, what
// their owner heard. The watched holds must give the input back and take
// the windows down while it sleeps.
#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <QTimer>
#include <QWindow>

#include <chrono>
#include <iostream>
#include <string>
#include <thread>

#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/qt/QtColorSampler.hpp"
#include "adapters/qt/QtMainQueue.hpp"
#include "adapters/qt/PopupHolds.hpp"
#include "adapters/qt/QtOverlays.hpp"
#include "adapters/qt/QtRegionCapture.hpp"
#include "adapters/x11/InputHolds.hpp"

using namespace quorvane::platform;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const std::string what = argc > 1 ? argv[1] : "";
    memory::MemoryJournal journal;
    qt::QtMainQueue queue;
    auto holds = x11::connectWindowHolds(queue);
    if (!holds) {
        std::cout << "not on X11" << std::endl;
        return 1;
    }
    const x11::WindowHoldsSource source = [&holds] { return holds.get(); };
    const auto say = [](const std::string& heard) {
        std::cout << heard << std::endl;
        QGuiApplication::quit();
    };

    qt::QtColorSampler sampler(source);
    qt::QtRegionCapture capture(source);
    qt::QtOverlays overlays(journal, [] { return false; }, source);
    qt::PopupHolds popups(source);
    std::unique_ptr<QWidget> popup;
    if (what == "colour") {
        sampler.sample([&](std::optional<SampledColor> colour) { say(colour ? "picked" : "cancelled"); });
    } else if (what == "region") {
        capture.captureRegion([&](std::optional<std::string> png) { say(png ? "chosen" : "cancelled"); });
    } else if (what == "cover") {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const auto black = overlays.show(
            {.owner = "BlackOutTask",
             .frame = {{0, 0}, {double(screen.width()), double(screen.height())}},
             .passesInput = false,
             .takesFocus = true,
             .background = {0, 0, 0, 1}});
        overlays.onLetGo(black, [&](const std::string& why) { say("let go: " + why); });
    } else if (what == "popup") {
        popup = std::make_unique<QWidget>(nullptr, Qt::Popup);
        popup->setGeometry(100, 100, 200, 120);
        popup->show();
    } else {
        std::cout << "say colour, region, cover or popup" << std::endl;
        return 2;
    }

    QTimer poll;
    QTimer closed;  // the popup, once its holder has closed it
    QObject::connect(&closed, &QTimer::timeout, [&] {
        if (!popup->isVisible())
            say("closed");
    });
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (popup ? !popup->windowHandle() || !popup->windowHandle()->isExposed()
                  : !QGuiApplication::focusWindow())
            return;
        poll.stop();
        std::string ids;
        for (QWindow* window : QGuiApplication::topLevelWindows())
            if (window->isVisible())
                ids += " " + std::to_string(window->winId());
        std::cout << "held" << ids << std::endl;
        std::this_thread::sleep_for(std::chrono::milliseconds(3500));
        if (popup)
            closed.start(20);
    });
    poll.start(20);
    return QGuiApplication::exec();
}
