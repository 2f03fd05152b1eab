// Writes the application's icon as PNG files, one per size, for the
// package's hicolor icon set: quorvane-app-icon FOLDER SIZE...
#include <QImage>
#include <QString>
#include <cstdlib>
#include <iostream>

#include "ui/MenuBarIcon.hpp"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: quorvane-app-icon FOLDER SIZE...\n";
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size < 16 || size > 1024) {
            std::cerr << "quorvane-app-icon: a size is 16 to 1024 pixels, not " << argv[i] << "\n";
            return 2;
        }
        const QString path = folder + QStringLiteral("/%1.png").arg(size);
        if (!quorvane::ui::applicationIcon(size).save(path, "PNG")) {
            std::cerr << "quorvane-app-icon: cannot write " << path.toStdString() << "\n";
            return 1;
        }
    }
    return 0;
}
