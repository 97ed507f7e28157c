// The pictures compiled into the game: every name the game asks for is there with the
// right size and colours, the worker's masks and frames fit the AND/XOR drawing, and
// every face can be read on a full board.
#include "ui/pictures/pictures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

using sokoban::picture;

const QStringList kTileKinds = {"wall", "cell", "target", "box", "box1"};

// The frame names the game loads for each worker set, in manImages order.
QStringList figureFrames(int set) {
    const QStringList walking = {"up1",   "up2",   "down1",  "down2",
                                 "left1", "left2", "right1", "right2"};
    if (set == 1 || set == 2) return walking;
    if (set == 5) return {"up1", "up1", "down1", "down1", "left1", "left1", "right1", "right1"};
    return {"down1", "down2", "down1", "down2", "down1", "down2", "down1", "down2"};
}

QStringList allFrameNames() {
    QStringList names;
    for (int set = 1; set <= 6; ++set)
        for (const QString& f : figureFrames(set)) {
            const QString n = QString::number(set) + f;
            if (!names.contains(n)) names << n;
        }
    return names;
}

int colourCount(const QImage& img) {
    QSet<QRgb> seen;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            seen.insert(img.pixel(x, y) & 0xffffff);
    return int(seen.size());
}

double colourDistance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
           std::abs(qBlue(a) - qBlue(b));
}

// Mean colour distance between two pictures of the same size.
double difference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            sum += colourDistance(a.pixel(x, y), b.pixel(x, y));
    return sum / (a.width() * a.height());
}

// Colour change across the boundary between column x and column x + 1 (wrapping), and
// likewise for rows: a repeating picture's wrap-around seam should be about as soft as
// the edges inside it (a joint between two stones may fall on the seam, so allow a little).
double columnStep(const QImage& img, int x) {
    double sum = 0;
    for (int y = 0; y < img.height(); ++y)
        sum += colourDistance(img.pixel(x, y), img.pixel((x + 1) % img.width(), y));
    return sum / img.height();
}

double rowStep(const QImage& img, int y) {
    double sum = 0;
    for (int x = 0; x < img.width(); ++x)
        sum += colourDistance(img.pixel(x, y), img.pixel(x, (y + 1) % img.height()));
    return sum / img.width();
}

void expectSeamless(const QImage& img, const QString& name) {
    double maxInnerCol = 0, maxInnerRow = 0;
    for (int x = 0; x + 1 < img.width(); ++x)
        maxInnerCol = std::max(maxInnerCol, columnStep(img, x));
    for (int y = 0; y + 1 < img.height(); ++y)
        maxInnerRow = std::max(maxInnerRow, rowStep(img, y));
    EXPECT_LE(columnStep(img, img.width() - 1), 1.25 * maxInnerCol) << name.toStdString();
    EXPECT_LE(rowStep(img, img.height() - 1), 1.25 * maxInnerRow) << name.toStdString();
}

class Pictures : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (!QGuiApplication::instance()) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            static int argc = 1;
            static char name[] = "pictures_tests";
            static char* argv[] = {name, nullptr};
            app_ = std::make_unique<QGuiApplication>(argc, argv);
        }
        sokoban::initPictures();
        sokoban::initPictures(); // a second call does no harm
    }
    static void TearDownTestSuite() { app_.reset(); }
    static inline std::unique_ptr<QGuiApplication> app_;
};

TEST_F(Pictures, EveryPictureTheGameLoadsHasItsSizeAndAtMostSixteenColours) {
    struct Expect {
        QString name;
        int size;
    };
    std::vector<Expect> all;
    for (int face = 1; face <= 10; ++face)
        for (const QString& kind : kTileKinds)
            all.push_back({QString::number(face) + kind, 30});
    for (const QString& f : allFrameNames()) {
        all.push_back({f, 30});
        all.push_back({f + "mask", 30});
    }
    for (int b = 1; b <= 6; ++b)
        all.push_back({QString("back%1").arg(b), b <= 4 ? 32 : 64});

    for (const auto& [name, size] : all) {
        SCOPED_TRACE(name.toStdString());
        const QImage img = picture(name);
        ASSERT_FALSE(img.isNull());
        EXPECT_EQ(img.size(), QSize(size, size));
        EXPECT_LE(colourCount(img), 16);
    }
}

TEST_F(Pictures, LookupIgnoresCaseAndMissingNamesGiveNothing) {
    const struct {
        QString asked, stored;
    } cases[] = {{"3WALL", "3wall"}, {"10Box1", "10box1"},     {"1UP1MASK", "1up1mask"},
                 {"BACK6", "back6"}, {" 5right1 ", "5right1"}, {"6Down2", "6down2"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asked.toStdString());
        const QImage a = picture(c.asked), b = picture(c.stored);
        ASSERT_FALSE(a.isNull());
        EXPECT_EQ(a, b);
    }
    for (const char* missing : {"11wall", "0cell", "3up1", "5up2", "back7", "", "floor"})
        EXPECT_TRUE(picture(missing).isNull()) << missing;
}

TEST_F(Pictures, MasksArePureBlackAndWhiteAndFramesAreBlackAroundTheFigure) {
    for (const QString& name : allFrameNames()) {
        SCOPED_TRACE(name.toStdString());
        const QImage frame = picture(name), mask = picture(name + "mask");
        int under = 0, around = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x) {
                const QRgb m = mask.pixel(x, y) & 0xffffff;
                ASSERT_TRUE(m == 0xffffff || m == 0x000000) << x << "," << y;
                if (m == 0xffffff) {
                    ++around;
                    ASSERT_EQ(frame.pixel(x, y) & 0xffffff, 0u) << x << "," << y;
                } else {
                    ++under;
                }
            }
        // a figure of some size that leaves the cell visible round it
        EXPECT_GT(under, 120);
        EXPECT_GT(around, 300);
    }
}

TEST_F(Pictures, AnimatedFiguresHaveTwoDifferentFramesPerFacing) {
    for (int set : {1, 2, 3, 4, 6}) {
        const QStringList f = figureFrames(set);
        for (int k = 0; k < 8; k += 2) {
            const QString a = QString::number(set) + f[k], b = QString::number(set) + f[k + 1];
            EXPECT_NE(picture(a), picture(b)) << a.toStdString();
        }
    }
    // figures that turn show a different picture for each facing
    for (int set : {1, 2, 5}) {
        const QString s = QString::number(set);
        const QImage up = picture(s + "up1"), down = picture(s + "down1");
        const QImage left = picture(s + "left1"), right = picture(s + "right1");
        EXPECT_NE(up, down) << set;
        EXPECT_NE(left, right) << set;
        EXPECT_NE(left, down) << set;
    }
}

TEST_F(Pictures, FacesDifferAndEachFaceTellsItsTilesApart) {
    for (const QString& kind : kTileKinds)
        for (int a = 1; a <= 10; ++a)
            for (int b = a + 1; b <= 10; ++b)
                EXPECT_GT(difference(picture(QString::number(a) + kind),
                                     picture(QString::number(b) + kind)),
                          20.0)
                    << kind.toStdString() << " of faces " << a << " and " << b;
    for (int face = 1; face <= 10; ++face) {
        const QString n = QString::number(face);
        SCOPED_TRACE(face);
        EXPECT_GT(difference(picture(n + "cell"), picture(n + "target")), 15.0);
        EXPECT_GT(difference(picture(n + "box"), picture(n + "box1")), 40.0);
        EXPECT_GT(difference(picture(n + "cell"), picture(n + "wall")), 40.0);
        EXPECT_GT(difference(picture(n + "cell"), picture(n + "box")), 40.0);
    }
}

// A wall or floor tile reads as one cell: the line where two tiles meet (the
// tile's last column against its first, likewise for rows) is the strongest in
// the tile, well above any line inside it, so the board shows no finer grid
// than its cells.
void expectOneCell(const QImage& img, const QString& name) {
    double maxInnerCol = 0, maxInnerRow = 0;
    for (int x = 0; x + 1 < img.width(); ++x)
        maxInnerCol = std::max(maxInnerCol, columnStep(img, x));
    for (int y = 0; y + 1 < img.height(); ++y)
        maxInnerRow = std::max(maxInnerRow, rowStep(img, y));
    EXPECT_GE(columnStep(img, img.width() - 1), 1.25 * maxInnerCol) << name.toStdString();
    EXPECT_GE(rowStep(img, img.height() - 1), 1.25 * maxInnerRow) << name.toStdString();
}

TEST_F(Pictures, EveryWallAndFloorTileReadsAsOneCell) {
    for (int face = 1; face <= 10; ++face)
        for (const char* kind : {"wall", "cell"}) {
            const QString name = QString::number(face) + kind;
            expectOneCell(picture(name), name);
        }
}

TEST_F(Pictures, BackgroundsRepeatWithoutSeams) {
    for (int b = 1; b <= 6; ++b) {
        const QString name = QString("back%1").arg(b);
        expectSeamless(picture(name), name);
    }
}

TEST_F(Pictures, CursorsHaveTransparencyAndAHotSpotInside) {
    for (const char* name : {"go", "dead", "ques", "up", "down", "left", "right", "black", "wall",
                             "cell", "target", "box", "box1", "boy"}) {
        SCOPED_TRACE(name);
        const QPixmap pm = sokoban::cursorPixmap(name);
        ASSERT_FALSE(pm.isNull());
        EXPECT_EQ(pm.size(), QSize(32, 32));
        const QImage img = pm.toImage();
        EXPECT_TRUE(img.hasAlphaChannel());
        EXPECT_EQ(qAlpha(img.pixel(31, 0)), 0); // the top right corner is see-through
        const QPoint hot = sokoban::cursorHotSpot(QString(name).toUpper());
        EXPECT_TRUE(QRect(0, 0, 32, 32).contains(hot));
        EXPECT_EQ(sokoban::gameCursor(name).hotSpot(), hot);
        EXPECT_EQ(sokoban::gameCursor(name).shape(), Qt::BitmapCursor);
    }
    EXPECT_TRUE(sokoban::cursorPixmap("nosuch").isNull());
    EXPECT_EQ(sokoban::gameCursor("nosuch").shape(), Qt::ArrowCursor);
    // the direction arrows point at the middle of the box cell they stand for
    for (const char* name : {"up", "down", "left", "right", "dead"})
        EXPECT_EQ(sokoban::cursorHotSpot(name), QPoint(16, 16)) << name;
}

TEST_F(Pictures, CursorsAreDrawnForScaledScreens) {
    for (const char* name : {"go", "dead", "ques", "up", "down", "left", "right", "black", "wall",
                             "cell", "target", "box", "box1", "boy"}) {
        SCOPED_TRACE(name);
        const QImage one =
            sokoban::cursorPixmap(name).toImage().convertToFormat(QImage::Format_ARGB32);
        for (int scale : {2, 3}) {
            const QPixmap pm = sokoban::cursorPixmap(name, scale);
            ASSERT_EQ(pm.size(), QSize(32 * scale, 32 * scale));
            // The size of the usual cursor on a screen of that scale, and the same drawing.
            EXPECT_EQ(pm.deviceIndependentSize(), QSizeF(32, 32));
            const QImage small =
                pm.toImage()
                    .convertToFormat(QImage::Format_ARGB32)
                    .scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            EXPECT_LT(difference(small, one), 25.0) << scale;
        }
    }
    EXPECT_TRUE(sokoban::cursorPixmap("nosuch", 2).isNull());
    EXPECT_TRUE(sokoban::cursorPixmap("go", 4).isNull());
}

TEST_F(Pictures, ToolBarImagesAndProgramIcon) {
    for (int i = 0; i < 16; ++i) {
        const QIcon icon = sokoban::toolbarIcon(i);
        ASSERT_FALSE(icon.isNull()) << i;
        EXPECT_EQ(icon.pixmap(24, 24).size(), QSize(24, 24)) << i;
    }
    for (int a = 0; a < 16; ++a)
        for (int b = a + 1; b < 16; ++b)
            EXPECT_NE(sokoban::toolbarIcon(a).pixmap(24, 24).toImage(),
                      sokoban::toolbarIcon(b).pixmap(24, 24).toImage())
                << a << " and " << b;
    EXPECT_TRUE(sokoban::toolbarIcon(16).isNull());
    EXPECT_TRUE(sokoban::toolbarIcon(-1).isNull());
    EXPECT_FALSE(sokoban::programIcon().isNull());
    EXPECT_EQ(sokoban::programIcon().pixmap(64, 64).size(), QSize(64, 64));
}

// Sum of squared colour steps between neighbours along the rows, per row: a
// blurred edge spreads its step over several pixels and counts for less.
double sharpness(const QImage& img) {
    double sum = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x + 1 < img.width(); ++x) {
            const double d = colourDistance(img.pixel(x, y), img.pixel(x + 1, y));
            sum += d * d;
        }
    return sum / img.height();
}

TEST_F(Pictures, ToolBarIconsAreDrawnForScaledScreensNotEnlarged) {
    for (int i = 0; i < 16; ++i) {
        SCOPED_TRACE(i);
        const QIcon icon = sokoban::toolbarIcon(i);
        const QList<QSize> sizes = icon.availableSizes();
        for (int size : {24, 48, 72})
            EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
        const QImage one = picture(QString("tb%1").arg(i)).convertToFormat(QImage::Format_ARGB32);
        for (int scale : {2, 3}) {
            const QImage big = picture(QString("tb%1@%2x").arg(i).arg(scale))
                                   .convertToFormat(QImage::Format_ARGB32);
            ASSERT_EQ(big.size(), QSize(24 * scale, 24 * scale));
            // The same drawing ...
            EXPECT_LT(difference(
                          big.scaled(24, 24, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), one),
                      25.0);
            // ... with edges as sharp as the small one's, which enlarging would blur.
            const QImage enlarged =
                one.scaled(24 * scale, 24 * scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            EXPECT_GT(sharpness(big), 1.1 * sharpness(enlarged)) << scale;
        }
        // A tool bar of 18-pixel icons on a screen scaled 2x gets 36 pixels from the big picture.
        EXPECT_EQ(icon.pixmap(QSize(18, 18), 2.0).size(), QSize(36, 36));
    }
}

// An installed game's windows show the icon the desktop knows by the
// application id, the same as its menu entry's.
TEST_F(Pictures, ProgramIconIsTheInstalledThemeIconOfTheApplicationId) {
    QTemporaryDir icons;
    ASSERT_TRUE(icons.isValid());
    const QString apps = icons.path() + "/hicolor/48x48/apps";
    ASSERT_TRUE(QDir().mkpath(apps));
    QFile index(icons.path() + "/hicolor/index.theme");
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=Hicolor\nDirectories=48x48/apps\n\n"
                "[48x48/apps]\nSize=48\nType=Fixed\n");
    index.close();
    QImage installed(48, 48, QImage::Format_ARGB32);
    installed.fill(QColor(200, 30, 40));
    ASSERT_TRUE(installed.save(apps + "/cn.tuixiangzi.sokoban.png"));

    const QStringList paths = QIcon::themeSearchPaths();
    const QString theme = QIcon::themeName();
    QIcon::setThemeName("hicolor");
    QIcon::setThemeSearchPaths({icons.path() + "/none"});
    const QImage builtIn = sokoban::programIcon().pixmap(48, 48).toImage();
    QIcon::setThemeSearchPaths({icons.path()});
    const QImage shown = sokoban::programIcon().pixmap(48, 48).toImage();
    QIcon::setThemeSearchPaths(paths);
    QIcon::setThemeName(theme);

    EXPECT_EQ(shown.pixel(24, 24), installed.pixel(24, 24));
    EXPECT_NE(builtIn.pixel(24, 24), installed.pixel(24, 24));
    EXPECT_FALSE(builtIn.isNull());
}

} // namespace

namespace {

// --- legibility of the faces -------------------------------------------------------------
//
// What a player sees of a tile on a full board is mostly its lightness, and lightness is
// what every player sees alike, whatever colours they can tell apart. So the checks work
// on CIE lightness L* (0 black .. 100 white) only.

double lightness(QRgb c) {
    auto lin = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    const double y = 0.2126 * lin(qRed(c)) + 0.7152 * lin(qGreen(c)) + 0.0722 * lin(qBlue(c));
    return y > 0.008856 ? 116 * std::cbrt(y) - 16 : 903.3 * y;
}

double meanLightness(const QImage& img, const std::function<bool(int, int)>& take = {}) {
    double sum = 0;
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (!take || take(x, y)) {
                sum += lightness(img.pixel(x, y));
                ++n;
            }
    return n ? sum / n : 0;
}

// Pixels where a drawing on top of the floor changed it.
std::function<bool(int, int)> drawnOver(const QImage& tile, const QImage& floor) {
    return [tile, floor](int x, int y) { return tile.pixel(x, y) != floor.pixel(x, y); };
}

int countWhere(const std::function<bool(int, int)>& f) {
    int n = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            n += f(x, y);
    return n;
}

// The light and dark parts of a box's face, each pixel against the face's own mean: a
// box recoloured for its target keeps this pattern, a box with a sign of its own does not.
std::vector<bool> lightParts(const QImage& img) {
    const auto inner = [](int x, int y) { return x >= 6 && x <= 23 && y >= 6 && y <= 23; };
    const double mean = meanLightness(img, inner);
    std::vector<bool> light;
    for (int y = 6; y <= 23; ++y)
        for (int x = 6; x <= 23; ++x)
            light.push_back(lightness(img.pixel(x, y)) > mean);
    return light;
}

struct Legibility {
    double wallFloor;     // lightness step between wall and floor
    double boxFloor;      // between the box and the floor round it
    double box1Floor;     // between the box on its target and the floor
    double markContrast;  // mean lightness step of the target mark against the floor
    int markSize;         // pixels of the mark
    int shapeChange;      // pixels of the box's face that turn from light to dark or back
    double boxBox1;       // mean lightness step per pixel between box and box on target
    int markAroundWorker; // fewest mark pixels left visible round any worker figure
};

Legibility measure(int face) {
    const QString n = QString::number(face);
    const QImage wall = picture(n + "wall"), floor = picture(n + "cell");
    const QImage target = picture(n + "target"), box = picture(n + "box");
    const QImage box1 = picture(n + "box1");
    Legibility m{};
    m.wallFloor = std::abs(meanLightness(wall) - meanLightness(floor));
    // the box itself, without its shadow or glow on the floor
    const auto body = [](const QImage& tile, const QImage& under) {
        return [tile, under](int x, int y) {
            return x >= 3 && x <= 26 && y >= 3 && y <= 26 && tile.pixel(x, y) != under.pixel(x, y);
        };
    };
    m.boxFloor = std::abs(meanLightness(box, body(box, floor)) - meanLightness(floor));
    m.box1Floor = std::abs(meanLightness(box1, body(box1, target)) - meanLightness(floor));
    const auto mark = drawnOver(target, floor);
    m.markSize = countWhere(mark);
    double step = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            if (mark(x, y))
                step += std::abs(lightness(target.pixel(x, y)) - lightness(floor.pixel(x, y)));
    m.markContrast = m.markSize ? step / m.markSize : 0;
    const auto a = lightParts(box), b = lightParts(box1);
    for (std::size_t i = 0; i < a.size(); ++i)
        m.shapeChange += a[i] != b[i];
    double d = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            d += std::abs(lightness(box.pixel(x, y)) - lightness(box1.pixel(x, y)));
    m.boxBox1 = d / 900;
    m.markAroundWorker = 900;
    for (const QString& f : allFrameNames()) {
        const QImage mask = picture(f + "mask");
        m.markAroundWorker =
            std::min(m.markAroundWorker, countWhere([&](int x, int y) {
                         return mark(x, y) && (mask.pixel(x, y) & 0xffffff) == 0xffffff;
                     }));
    }
    return m;
}

TEST_F(Pictures, EveryFaceCanBeReadAtAGlanceInLightnessAlone) {
    for (int face = 1; face <= 10; ++face) {
        SCOPED_TRACE(face);
        const Legibility m = measure(face);
        std::printf("face %2d: wall/floor %5.1f  box/floor %5.1f  box1/floor %5.1f  mark %5.1f "
                    "(%3d px, %3d px round the worker)  box/box1 %4.1f, %3d px of other shape\n",
                    face, m.wallFloor, m.boxFloor, m.box1Floor, m.markContrast, m.markSize,
                    m.markAroundWorker, m.boxBox1, m.shapeChange);
        EXPECT_GE(m.wallFloor, 25);
        EXPECT_GE(m.boxFloor, 20);
        EXPECT_GE(m.box1Floor, 20);
        EXPECT_GE(m.markContrast, 25);
        EXPECT_GE(m.markSize, 200);
        EXPECT_GE(m.markAroundWorker, 100);
        EXPECT_GE(m.shapeChange, 40);
        EXPECT_GE(m.boxBox1, 6);
    }
}

} // namespace
