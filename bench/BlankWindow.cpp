// The yardstick for start-up: a blank Qt Widgets window, shown, and nothing
// else. It says "ready" once the window is shown, as Quorvane says it is
// running once its main window is.
#include <QApplication>
#include <QWidget>
#include <iostream>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.resize(920, 640);
    window.show();
    std::cout << "ready" << std::endl;
    return QApplication::exec();
}
