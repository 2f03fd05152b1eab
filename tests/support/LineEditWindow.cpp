// A window with one line edit that prints its text on every change: another
// application to type into when trying the emoji tweaks on an X11 desktop by
// hand ("quorvane_line_edit").
#include <QApplication>
#include <QLineEdit>
#include <iostream>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QLineEdit edit;
    edit.setWindowTitle(QStringLiteral("Line Edit"));
    edit.resize(420, 40);
    QObject::connect(&edit, &QLineEdit::textChanged, [](const QString& text) {
        std::cout << text.toStdString() << std::endl;
    });
    edit.show();
    return QApplication::exec();
}
