#include "ui/skins/skin.h"

#include "storage/file_error.h"
#include "storage/file_places.h"
#include "storage/safe_write.h"
#include "ui/language.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QStringDecoder>

#include <algorithm>
#include <set>
#include <system_error>

namespace sokoban {

namespace {

constexpr const char* kContext = "sokoban::Skin";
// A description is a few lines; anything bigger is not one.
constexpr std::size_t kMaxDescription = 64 * 1024;

QString q(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

SkinLoad failure(SkinProblem problem, const std::filesystem::path& file, QString detail = {}) {
    SkinLoad r;
    r.problem = problem;
    r.file = q(file);
    r.detail = std::move(detail);
    return r;
}

// What a path is, following links; a loop of links and a dangling link told apart.
enum class PathKind { Missing, LinkLoop, File, Other };
PathKind pathKind(const std::filesystem::path& p) {
    std::error_code ec;
    const auto st = std::filesystem::status(p, ec);
    if (ec == std::errc::too_many_symbolic_link_levels) return PathKind::LinkLoop;
    if (ec || st.type() == std::filesystem::file_type::not_found) return PathKind::Missing;
    return st.type() == std::filesystem::file_type::regular ? PathKind::File : PathKind::Other;
}

struct Description {
    QString name;
    QString author;
    int tileSize = 0; // 0: not given
};

struct DescriptionRead {
    std::optional<Description> description; // also empty when there is no file
    SkinProblem problem = SkinProblem::None;
    QString detail;
};

DescriptionRead badDescription(SkinProblem problem, QString detail) {
    DescriptionRead r;
    r.problem = problem;
    r.detail = std::move(detail);
    return r;
}

std::filesystem::path descriptionFile(const std::filesystem::path& picture) {
    auto ini = picture;
    ini.replace_extension(".ini");
    return ini;
}

DescriptionRead readDescription(const std::filesystem::path& ini) {
    std::error_code ec;
    const auto linkSt = std::filesystem::symlink_status(ini, ec);
    if (ec || linkSt.type() == std::filesystem::file_type::not_found) return {};
    switch (pathKind(ini)) {
    case PathKind::File:
        break;
    case PathKind::LinkLoop:
        return badDescription(
            SkinProblem::DamagedDescription,
            translated(kContext, QT_TRANSLATE_NOOP("sokoban::Skin", "符号链接形成了循环")));
    default:
        return badDescription(
            SkinProblem::DamagedDescription,
            translated(kContext, QT_TRANSLATE_NOOP("sokoban::Skin", "不是普通文件")));
    }
    Bytes bytes;
    try {
        bytes = readPlainFile(ini, kMaxDescription + 1);
    } catch (const FileError& e) {
        return badDescription(SkinProblem::DamagedDescription, QString::fromStdString(e.what()));
    }
    if (bytes.size() > kMaxDescription)
        return badDescription(SkinProblem::DamagedDescription,
                              translated(kContext, QT_TRANSLATE_NOOP("sokoban::Skin", "文件太大")));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (utf8.hasError())
        return badDescription(
            SkinProblem::DamagedDescription,
            translated(kContext, QT_TRANSLATE_NOOP("sokoban::Skin", "不是 UTF-8 文本")));

    Description d;
    bool inSkin = false, sawSkin = false;
    QString format, tileSize;
    const QStringList lines = text.split('\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QString line = lines[n].trimmed();
        if (n == 0 && line.startsWith(QChar(0xfeff))) line = line.mid(1).trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#')) continue;
        if (line.startsWith('[') && line.endsWith(']')) {
            inSkin =
                line.mid(1, line.size() - 2).trimmed().compare("Skin", Qt::CaseInsensitive) == 0;
            sawSkin = sawSkin || inSkin;
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0)
            return badDescription(
                SkinProblem::DamagedDescription,
                translated(kContext,
                           QT_TRANSLATE_NOOP("sokoban::Skin", "第 %1 行既不是“键=值”也不是“[节]”"),
                           {QString::number(n + 1)}));
        if (!inSkin) continue;
        const QString key = line.left(eq).trimmed().toLower();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == "format")
            format = value;
        else if (key == "name")
            d.name = value;
        else if (key == "author")
            d.author = value;
        else if (key == "tilesize")
            tileSize = value;
    }
    if (!sawSkin)
        return badDescription(
            SkinProblem::UnknownDescription,
            translated(kContext, QT_TRANSLATE_NOOP("sokoban::Skin", "没有 [Skin] 节")));
    if (format.compare("common", Qt::CaseInsensitive) != 0)
        return badDescription(
            SkinProblem::UnknownDescription,
            translated(kContext, QT_TRANSLATE_NOOP("sokoban::Skin", "格式是“%1”，只认识 common"),
                       {format}));
    if (!tileSize.isEmpty()) {
        bool ok = false;
        d.tileSize = tileSize.toInt(&ok);
        if (!ok || d.tileSize <= 0)
            return badDescription(
                SkinProblem::DamagedDescription,
                translated(kContext,
                           QT_TRANSLATE_NOOP("sokoban::Skin", "TileSize 是“%1”，不是正整数"),
                           {tileSize}));
    }
    DescriptionRead r;
    r.description = d;
    return r;
}

QImage over(const QImage& top, const QImage& under) {
    QImage out = under.convertToFormat(QImage::Format_ARGB32);
    {
        QPainter p(&out);
        p.drawImage(0, 0, top);
    }
    return out.convertToFormat(QImage::Format_RGB32);
}

// The worker's frame and mask from his tile: the pixels that differ from the
// floor (and are not transparent) are his; the cell shows through the rest.
void workerFrame(const QImage& worker, const QImage& floor, QImage& frame, QImage& mask) {
    const QImage seen = over(worker, floor);
    frame = QImage(worker.size(), QImage::Format_RGB32);
    mask = QImage(worker.size(), QImage::Format_RGB32);
    for (int y = 0; y < worker.height(); ++y)
        for (int x = 0; x < worker.width(); ++x) {
            const QRgb w = worker.pixel(x, y);
            const QRgb s = seen.pixel(x, y);
            const bool his = qAlpha(w) >= 128 && (s & 0xffffff) != (floor.pixel(x, y) & 0xffffff);
            frame.setPixel(x, y, his ? s : qRgb(0, 0, 0));
            mask.setPixel(x, y, his ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
}

bool allWhite(const QImage& mask) {
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            if ((mask.pixel(x, y) & 0xffffff) != 0xffffff) return false;
    return true;
}

} // namespace

SkinLoad loadSkin(const std::filesystem::path& picture) {
    switch (pathKind(picture)) {
    case PathKind::Missing:
        return failure(SkinProblem::Missing, picture);
    case PathKind::LinkLoop:
        return failure(SkinProblem::LinkLoop, picture);
    case PathKind::Other:
        return failure(SkinProblem::NotAFile, picture);
    case PathKind::File:
        break;
    }
    std::error_code ec;
    if (std::filesystem::file_size(picture, ec) == 0 && !ec)
        return failure(SkinProblem::Empty, picture);

    QImageReader reader(q(picture));
    const QSize size = reader.size();
    if (!reader.canRead() || !size.isValid())
        return failure(SkinProblem::Unreadable, picture, reader.errorString());
    if (size.isEmpty()) return failure(SkinProblem::Empty, picture);
    const QString sizeText = QString("%1 x %2").arg(size.width()).arg(size.height());
    // Judged from the header, so that no huge picture is ever decoded.
    if (size.width() % kSkinColumns != 0) return failure(SkinProblem::NotAGrid, picture, sizeText);
    const int t = size.width() / kSkinColumns;
    if (t < kMinSkinTile) return failure(SkinProblem::TilesTooSmall, picture, QString::number(t));
    if (t > kMaxSkinTile) return failure(SkinProblem::TilesTooLarge, picture, QString::number(t));
    if (size.height() % t != 0 || size.height() / t < kMinSkinRows ||
        size.height() / t > kMaxSkinRows)
        return failure(SkinProblem::NotAGrid, picture, sizeText);

    const auto ini = descriptionFile(picture);
    const DescriptionRead desc = readDescription(ini);
    if (desc.problem != SkinProblem::None) return failure(desc.problem, ini, desc.detail);
    if (desc.description && desc.description->tileSize != 0 && desc.description->tileSize != t)
        return failure(
            SkinProblem::DamagedDescription, ini,
            translated(kContext,
                       QT_TRANSLATE_NOOP("sokoban::Skin", "TileSize 是 %1，图片的方格是 %2 像素"),
                       {QString::number(desc.description->tileSize), QString::number(t)}));

    const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) return failure(SkinProblem::Unreadable, picture, reader.errorString());
    const int rows = image.height() / t;
    auto tile = [&](int column, int row) { return image.copy(column * t, row * t, t, t); };

    Skin skin;
    skin.picture = picture;
    skin.tileSize = t;
    skin.name = desc.description && !desc.description->name.isEmpty()
                    ? desc.description->name
                    : QFileInfo(q(picture)).completeBaseName();
    if (desc.description) skin.author = desc.description->author;
    QImage black(t, t, QImage::Format_RGB32);
    black.fill(Qt::black);
    const QImage floor = over(tile(0, 0), black);
    const QImage target = over(tile(0, 1), floor);
    skin.tiles[1] = over(tile(0, 2), black);
    skin.wallPieces[kWallCross] = skin.tiles[1];
    skin.wallPieces[kWallAcross] = over(tile(1, 2), black);
    skin.wallPieces[kWallCap] = tile(2, 2); // laid over the walls: keeps its clear parts
    skin.wallPieces[kWallUpDown] = over(tile(0, 3), black);
    skin.wallPieces[kWallAlone] = over(tile(1, 3), black);
    skin.tiles[2] = floor;
    skin.tiles[3] = target;
    skin.tiles[4] = over(tile(2, 0), floor);
    skin.tiles[5] = over(tile(2, 1), target);

    QImage frame, mask;
    workerFrame(tile(1, 0), floor, frame, mask);
    skin.manImages.fill(frame);
    skin.manMasks.fill(mask);
    if (rows >= 5) {
        // Row 4 holds him facing up, left, down and right; frames go up, down, left, right.
        constexpr int column[4] = {0, 2, 1, 3};
        for (std::size_t d = 0; d < 4; ++d) {
            workerFrame(tile(column[d], 4), floor, frame, mask);
            if (allWhite(mask)) continue;
            skin.manImages[2 * d] = skin.manImages[2 * d + 1] = frame;
            skin.manMasks[2 * d] = skin.manMasks[2 * d + 1] = mask;
        }
    }
    SkinLoad r;
    r.skin = std::move(skin);
    r.file = q(picture);
    return r;
}

QString skinProblemText(const SkinLoad& load) {
    const QStringList args{load.file, load.detail};
    const char* source = nullptr;
    switch (load.problem) {
    case SkinProblem::None:
        return {};
    case SkinProblem::Missing:
        source = QT_TRANSLATE_NOOP("sokoban::Skin", "找不到皮肤文件：%1");
        break;
    case SkinProblem::NotAFile:
        source =
            QT_TRANSLATE_NOOP("sokoban::Skin", "皮肤不是一个图片文件，而是文件夹或其他东西：%1");
        break;
    case SkinProblem::LinkLoop:
        source = QT_TRANSLATE_NOOP("sokoban::Skin", "皮肤文件的符号链接绕成了一个圈：%1");
        break;
    case SkinProblem::Unreadable:
        source = QT_TRANSLATE_NOOP("sokoban::Skin", "无法读取皮肤图片：%1\n%2");
        break;
    case SkinProblem::Empty:
        source = QT_TRANSLATE_NOOP("sokoban::Skin", "皮肤图片是空的：%1");
        break;
    case SkinProblem::NotAGrid:
        source = QT_TRANSLATE_NOOP("sokoban::Skin",
                                   "皮肤图片的大小（%2）不是每行四格、格子为正方形的网格：%1");
        break;
    case SkinProblem::TilesTooSmall:
        source = QT_TRANSLATE_NOOP("sokoban::Skin", "皮肤的格子只有 %2 像素，至少要 8 像素：%1");
        break;
    case SkinProblem::TilesTooLarge:
        source = QT_TRANSLATE_NOOP("sokoban::Skin", "皮肤的格子有 %2 像素，最多只能 256 像素：%1");
        break;
    case SkinProblem::UnknownDescription:
        source = QT_TRANSLATE_NOOP("sokoban::Skin", "皮肤的说明文件不是认识的格式：%1\n%2");
        break;
    case SkinProblem::DamagedDescription:
        source = QT_TRANSLATE_NOOP("sokoban::Skin", "皮肤的说明文件已损坏：%1\n%2");
        break;
    }
    return translated(kContext, source, args) + "\n" +
           translated(kContext, QT_TRANSLATE_NOOP("sokoban::Skin", "界面保持不变。"));
}

std::vector<std::filesystem::path> skinFolders(const std::filesystem::path& appDir) {
    std::vector<std::filesystem::path> folders{userDataDir() / "skins"};
    const auto own = appDir / "skins";
    std::error_code ec;
    if (!std::filesystem::equivalent(folders.front(), own, ec)) folders.push_back(own);
    return folders;
}

std::vector<SkinFile> findSkins(const std::vector<std::filesystem::path>& folders) {
    std::vector<SkinFile> found;
    std::set<QString> seen;
    for (const auto& folder : folders) {
        std::error_code ec;
        std::filesystem::directory_iterator it(folder, ec), end;
        std::vector<SkinFile> here;
        for (; !ec && it != end; it.increment(ec)) {
            const auto& p = it->path();
            const QString ext = QString::fromStdString(p.extension().string()).toLower();
            if (ext != ".png" && ext != ".bmp") continue;
            const QString name = QString::fromStdString(p.filename().string());
            if (seen.count(name)) continue;
            here.push_back({name, p});
        }
        for (auto& s : here)
            seen.insert(s.fileName);
        found.insert(found.end(), here.begin(), here.end());
    }
    std::sort(found.begin(), found.end(),
              [](const SkinFile& a, const SkinFile& b) { return a.fileName < b.fileName; });
    return found;
}

QString skinMenuName(const SkinFile& file) {
    const DescriptionRead d = readDescription(descriptionFile(file.picture));
    if (d.description && !d.description->name.isEmpty()) return d.description->name;
    return QFileInfo(file.fileName).completeBaseName();
}

std::filesystem::path skinChoiceFile(const std::filesystem::path& appDir) {
    // Beside language.var and assist.var, in whichever folder the game keeps its own files.
    return FilePlaces(appDir).playOptionsFile().parent_path() / "skin.var";
}

SkinChoice loadSkinChoice(const std::filesystem::path& appDir) {
    try {
        const auto file = skinChoiceFile(appDir);
        if (!isPlainFile(file)) return {};
        const Bytes b = readPlainFile(file, 4096);
        const QStringList lines = QString::fromUtf8(reinterpret_cast<const char*>(b.data()),
                                                    static_cast<qsizetype>(b.size()))
                                      .split('\n');
        if (lines.size() < 2) return {};
        SkinChoice c;
        c.fileName = lines[0];
        bool ok = false;
        c.figure = lines[1].toInt(&ok);
        // A name with a folder in it was never written by the game.
        if (!ok || c.figure < 0 || c.figure > 6 || c.fileName.contains('/')) return {};
        return c;
    } catch (const FileError&) {
        // A damaged file costs the choice, never the game.
    }
    return {};
}

void saveSkinChoice(const std::filesystem::path& appDir, const SkinChoice& choice) {
    const QByteArray text =
        (choice.fileName + "\n" + QString::number(choice.figure) + "\n").toUtf8();
    replaceFileContents(skinChoiceFile(appDir), Bytes(text.begin(), text.end()));
}

} // namespace sokoban
