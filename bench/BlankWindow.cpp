// The first yardstick for start-up: a blank Qt Widgets window, shown, and
// nothing else. It says "ready" at the first turn of the event loop after
// show(), as Quorvane says it is running.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <iostream>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.resize(920, 640);
    window.show();
    QTimer::singleShot(0, [] { std::cout << "ready" << std::endl; });
    return QApplication::exec();
}
