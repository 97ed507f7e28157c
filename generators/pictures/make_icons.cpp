// Draws the program icon for the desktop's icon theme:
//
//   make_icons <output folder> <icon name> SIZE...
//
// writes <output folder>/<SIZE>x<SIZE>/apps/<icon name>.png for each size, the
// layout of share/icons/hicolor.
#include "generators.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: make_icons <output folder> <icon name> SIZE...\n");
        return 2;
    }
    for (int i = 3; i < args.size(); ++i) {
        bool ok = false;
        const int size = args[i].toInt(&ok);
        if (!ok || size < 8 || size > 1024) {
            std::fprintf(stderr, "make_icons: bad size %s\n", qPrintable(args[i]));
            return 2;
        }
        const QString dir = QString("%1/%2x%2/apps").arg(args[1]).arg(size);
        const QString file = dir + "/" + args[2] + ".png";
        if (!QDir().mkpath(dir) || !pics::drawProgramIcon(size).save(file, "PNG")) {
            std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
