// Draws the program icon for the desktop's icon theme:
//
//   make_icons <output folder> SIZE...
//
// writes <output folder>/<SIZE>x<SIZE>/apps/sokoban.png for each size, the
// layout of share/icons/hicolor.
#include "generators.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: make_icons <output folder> SIZE...\n");
        return 2;
    }
    for (int i = 2; i < args.size(); ++i) {
        bool ok = false;
        const int size = args[i].toInt(&ok);
        if (!ok || size < 8 || size > 1024) {
            std::fprintf(stderr, "make_icons: bad size %s\n", qPrintable(args[i]));
            return 2;
        }
        const QString dir = QString("%1/%2x%2/apps").arg(args[1]).arg(size);
        const QString file = dir + "/sokoban.png";
        if (!QDir().mkpath(dir) || !pics::drawProgramIcon(size).save(file, "PNG")) {
            std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
