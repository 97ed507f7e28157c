// Draws the game's own skin in the shared skin layout.
//
//   make_skin <output picture> <tile size>
#include "generators.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool ok = false;
    const int tile = args.size() == 3 ? args[2].toInt(&ok) : 0;
    if (!ok || tile < 8) {
        std::fprintf(stderr, "usage: make_skin <output picture> <tile size of 8 or more>\n");
        return 2;
    }
    if (!pics::drawSkin(tile).save(args[1], "PNG")) {
        std::fprintf(stderr, "make_skin: cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
