#include "level_text_play.h"

#include "storage/board.h"
#include "storage/xsb.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace sokoban {

namespace fs = std::filesystem;

const char* const kOpenSetFilter =
    "游戏数据文件(*.box)|*.box|XSB/SOK 关卡合集(*.xsb;*.sok;*.txt)|*.xsb;*.sok;*.txt";

namespace {

const char* const kCollectionFilter =
    "XSB/SOK 关卡合集(*.xsb;*.sok;*.txt)|*.xsb;*.sok;*.txt|所有文件(*.*)|*.*";
// The name of levels and collections that came from the clipboard.
const char* const kPastedName = "剪贴板";

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// Size and time of a file: the cached titles of a file that shows both
// still hold.
std::string stampOf(const fs::path& file) {
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (ec) return {};
    const auto time = fs::last_write_time(file, ec);
    return std::to_string(size) + " " + std::to_string(time.time_since_epoch().count());
}

// The title and author of the level in play; the files are read again only
// when they have changed.
LevelInfo currentInfo(const GameModel& m) {
    struct Cache {
        std::string key;
        std::vector<LevelInfo> infos;
    };
    static Cache cache;
    if (m.xsbMode) {
        const std::string key = "xsb\t" + m.xsbFile + "\t" + stampOf(m.xsbFile);
        if (cache.key != key) {
            const LevelTextSummary s = summariseLevelFile(m.xsbFile);
            cache = {key, {{s.title, s.author}}};
        }
        return cache.infos.empty() ? LevelInfo{} : cache.infos.front();
    }
    const std::string key = "set\t" + m.gameFile + "\t" + stampOf(levelIndexFile(m.gameFile)) +
                            "\t" + stampOf(m.gameFile);
    if (cache.key != key) cache = {key, readLevelIndex(m.gameFile)};
    const auto n = static_cast<std::size_t>(m.curLevel);
    return n >= 1 && n <= cache.infos.size() ? cache.infos[n - 1] : LevelInfo{};
}

} // namespace

bool isLevelTextFile(const std::string& path) {
    if (path.size() < 4) return false;
    const std::string ext = upper(path.substr(path.size() - 4));
    return ext == ".XSB" || ext == ".SOK" || ext == ".TXT";
}

LevelTextCommands::LevelTextCommands(GameModel& model, GameView& view, Dialogs& dialogs,
                                     fs::path levelsDir)
    : model_(model), view_(view), dialogs_(dialogs), levelsDir_(std::move(levelsDir)) {}

void LevelTextCommands::openFile(const std::string& path) {
    const OpenedLevelText opened = openLevelTextFile(path, levelsDir_, model_.appDir);
    if (!opened.collection) {
        // One level or none: the single-file rules, messages included.
        model_.PlayXSB(path);
        return;
    }
    openCollection(opened.set);
}

void LevelTextCommands::openCollection(const CollectionImport& set) {
    const std::string message = importMessage(set);
    if (set.boxFile.empty()) {
        dialogs_.error(message);
        return;
    }
    if (set.built && !message.empty()) dialogs_.information(message);
    model_.openOtherSet(set.boxFile);
}

std::string LevelTextCommands::copyLevel() const {
    TMazeData position;
    position.cells = model_.maze.cells;
    position.man = static_cast<std::int16_t>(model_.manPos);
    return writeXsb(position);
}

void LevelTextCommands::pasteLevel(const std::string& text) {
    const OpenedLevelText opened =
        openLevelTextString(text, kPastedName, levelsDir_, model_.appDir);
    if (opened.collection) {
        openCollection(opened.set);
        return;
    }
    if (opened.single.levelCount == 0) {
        dialogs_.warning("剪贴板中没有关卡！");
        return;
    }
    if (opened.status == XsbStatus::TooBig) {
        dialogs_.error("仓库数据太大或者数据不正确！");
        return;
    }
    // Played from a file of its own, so that retry reads it again.
    std::error_code ec;
    fs::create_directories(levelsDir_, ec);
    const fs::path file = levelsDir_ / (std::string(kPastedName) + ".xsb");
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) throw FileError(file, systemReason(errno));
    out << text;
    out.close();
    if (!out) throw FileError(file, systemReason(errno));
    model_.PlayXSB(file.string());
}

void LevelTextCommands::exportCollection() {
    if (model_.levelCount == 0 || model_.gameFile.empty()) return; // no level set open
    const auto chosen = dialogs_.saveFile(kCollectionFilter, model_.gameName + ".xsb");
    if (!chosen) return;
    saveCollection(*chosen, model_.gameFile);
    dialogs_.information("保存完毕！");
}

std::optional<std::string> LevelTextCommands::copyAnswer() {
    if (model_.xsbMode) {
        dialogs_.error("XSB文件无法导出答案！");
        return std::nullopt;
    }
    if (model_.levelCount == 0 || model_.curLevel < 1) return std::nullopt;
    const CompanionFiles f = model_.files();
    f.sol.padTo(model_.levelCount, emptyAnswerRecord().encode());
    const auto answer = f.sol.get<TAnswerData>(model_.curLevel - 1);
    if (answer.moves == 0) {
        dialogs_.error("本关还没有答案啊！");
        return std::nullopt;
    }
    return solutionText(f.levels.get<TMazeData>(model_.curLevel - 1), answer);
}

void LevelTextCommands::pasteAnswer(const std::string& text) {
    if (model_.xsbMode) {
        dialogs_.error("XSB文件无法导入答案！");
        return;
    }
    if (model_.levelCount == 0 || model_.curLevel < 1) return;
    const CompanionFiles f = model_.files();
    const TMazeData level = f.levels.get<TMazeData>(model_.curLevel - 1);
    SolutionParse parsed = parseSolution(level, text);
    switch (parsed.error) {
    case SolutionError::None:
        break;
    case SolutionError::Empty:
    case SolutionError::BadCharacter:
        dialogs_.warning("剪贴板中没有答案！答案由 u、d、l、r（移动）和 U、D、L、R（推动）组成。");
        return;
    case SolutionError::TooLong:
        dialogs_.warning("答案太长，一个答案最多 4096 步！");
        return;
    case SolutionError::Blocked:
        dialogs_.warning("答案的第 " + std::to_string(parsed.move) + " 步在本关走不通！");
        return;
    case SolutionError::NotSolved:
        dialogs_.warning("这个答案没有解开本关！");
        return;
    }
    TAnswerData& answer = parsed.answer;
    answer.level = static_cast<std::int16_t>(model_.curLevel);
    model_.offerImportedAnswer(answer);
}

std::string LevelTextCommands::titlePanel(const GameModel& model) {
    const LevelInfo info = currentInfo(model);
    if (info.title.empty() && info.author.empty()) return "  推箱子 · 把每一个箱子推到目标上";
    std::string s = "  " + (info.title.empty() ? std::string("无题") : info.title);
    if (!info.author.empty()) s += "  作者：" + info.author;
    return s;
}

std::vector<std::string> LevelTextCommands::titleLines(const GameModel& model) {
    const LevelInfo info = currentInfo(model);
    std::vector<std::string> lines;
    if (!info.title.empty()) lines.push_back("关卡名称：     " + info.title + "；");
    if (!info.author.empty()) lines.push_back("关卡作者：     " + info.author + "；");
    return lines;
}

} // namespace sokoban
