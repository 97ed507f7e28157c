#include "ui/pictures/pictures.h"

#include <QFile>
#include <QHash>
#include <QImageReader>
#include <QTextStream>

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

QCursor gameCursor(const QString& name) {
    const QPixmap pm = cursorPixmap(name);
    if (pm.isNull()) return QCursor(Qt::ArrowCursor);
    const QPoint hot = cursorHotSpot(name);
    return QCursor(pm, hot.x(), hot.y());
}

QIcon toolbarIcon(int index) {
    initPictures();
    if (index < 0 || index > 15) return QIcon();
    return pngIcon(QString(":/pics/tb%1.png").arg(index));
}

// An installed game's icon in the icon theme, named after the application id
// like its menu entry, in all its sizes; the built-in picture elsewhere.
QIcon programIcon() {
    initPictures();
    return QIcon::fromTheme(SOKOBAN_APP_ID, pngIcon(":/pics/icon.png"));
}

} // namespace sokoban
