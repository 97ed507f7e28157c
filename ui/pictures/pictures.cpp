#include "ui/pictures/pictures.h"

#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QImageReader>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <mutex>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initPictureResources() {
    Q_INIT_RESOURCE(pictures);
}

namespace sokoban {

namespace {

// Every picture of the game is a PNG: Qt's own reader takes it, and no image
// format plugin is loaded for it (asked without a format, Qt loads every
// plugin to find out which one reads the file).
QImage readPng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QIcon pngIcon(const QString& path) {
    return QIcon(QPixmap::fromImage(readPng(path)));
}

QString resourcePath(const QString& name) {
    QString n = name.trimmed().toLower();
    if (!n.endsWith(".png")) n += ".png";
    return ":/pics/" + n;
}

// Hot spots from cursors.txt, one "name x y" per line.
const QHash<QString, QPoint>& hotSpots() {
    static const QHash<QString, QPoint> spots = [] {
        QHash<QString, QPoint> h;
        QFile f(":/pics/cursors.txt");
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return h;
        QTextStream in(&f);
        while (!in.atEnd()) {
            const QStringList parts = in.readLine().split(' ', Qt::SkipEmptyParts);
            if (parts.size() != 3) continue;
            h.insert(parts[0].toLower(), QPoint(parts[1].toInt(), parts[2].toInt()));
        }
        return h;
    }();
    return spots;
}

} // namespace

void initPictures() {
    static std::once_flag once;
    std::call_once(once, initPictureResources);
}

QImage picture(const QString& name) {
    initPictures();
    const QString path = resourcePath(name);
    if (!QFile::exists(path)) return QImage();
    return readPng(path);
}

QPixmap cursorPixmap(const QString& name) {
    initPictures();
    if (!hotSpots().contains(name.trimmed().toLower())) return QPixmap();
    return QPixmap::fromImage(readPng(resourcePath(name)));
}

QPoint cursorHotSpot(const QString& name) {
    initPictures();
    return hotSpots().value(name.trimmed().toLower(), QPoint(0, 0));
}

QPixmap cursorPixmap(const QString& name, int scale) {
    if (scale <= 1) return cursorPixmap(name);
    initPictures();
    if (!hotSpots().contains(name.trimmed().toLower()) || scale > 3) return QPixmap();
    QPixmap pm = QPixmap::fromImage(
        readPng(resourcePath(name.trimmed().toLower() + QString("@%1x").arg(scale))));
    pm.setDevicePixelRatio(scale);
    return pm;
}

QCursor gameCursor(const QString& name) {
    // The picture drawn for the screen's scale, so that a scaled screen shows a sharp
    // cursor of the usual size; the hot spot stays in the 1x picture's pixels.
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    const int scale = std::clamp(static_cast<int>(std::ceil(ratio - 0.01)), 1, 3);
    const QPixmap pm = cursorPixmap(name, scale);
    if (pm.isNull()) return QCursor(Qt::ArrowCursor);
    const QPoint hot = cursorHotSpot(name);
    return QCursor(pm, hot.x(), hot.y());
}

QIcon toolbarIcon(int index) {
    initPictures();
    if (index < 0 || index > 15) return QIcon();
    // Drawn at 1x, 2x and 3x: the icon takes the one that fits the screen's scale
    // instead of enlarging the small one.
    QIcon icon;
    for (const char* scale : {"", "@2x", "@3x"})
        icon.addPixmap(
            QPixmap::fromImage(readPng(QString(":/pics/tb%1%2.png").arg(index).arg(scale))));
    return icon;
}

// An installed game's icon in the icon theme, named after the application id
// like its menu entry, in all its sizes; the built-in picture elsewhere.
QIcon programIcon() {
    initPictures();
    return QIcon::fromTheme(SOKOBAN_APP_ID, pngIcon(":/pics/icon.png"));
}

} // namespace sokoban
