#include "level_text_play.h"

#include "core/lurd.h"

#include "storage/board.h"
#include "storage/xsb.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace sokoban {

namespace fs = std::filesystem;

namespace {

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
    if (m.xsbMode()) {
        const std::string key = "xsb\t" + m.xsbFile() + "\t" + stampOf(m.xsbFile());
        if (cache.key != key) {
            const LevelTextSummary s = summariseLevelFile(m.xsbFile());
            cache = {key, {{s.title, s.author}}};
        }
        return cache.infos.empty() ? LevelInfo{} : cache.infos.front();
    }
    const std::string key = "set\t" + m.gameFile() + "\t" + stampOf(levelIndexFile(m.gameFile())) +
                            "\t" + stampOf(m.gameFile());
    if (cache.key != key) cache = {key, readLevelIndex(m.gameFile())};
    const auto n = static_cast<std::size_t>(m.curLevel());
    return n >= 1 && n <= cache.infos.size() ? cache.infos[n - 1] : LevelInfo{};
}

} // namespace

bool isLevelTextFile(const std::string& path) {
    if (path.size() < 4) return false;
    const std::string ext = upper(path.substr(path.size() - 4));
    return ext == ".XSB" || ext == ".SOK" || ext == ".TXT";
}

LevelTextCommands::LevelTextCommands(GameModel& model, Dialogs& dialogs, fs::path levelsDir)
    : model_(model), dialogs_(dialogs), levelsDir_(std::move(levelsDir)) {}

void LevelTextCommands::openFile(const std::string& path) {
    const OpenedLevelText opened = openLevelTextFile(path, levelsDir_, model_.appDir());
    if (!opened.collection) {
        // One level or none: the single-file rules, messages included.
        model_.PlayXSB(path);
        return;
    }
    openCollection(opened.set);
}

Message importMessage(const CollectionImport& import) {
    Message m(MessageId::ImportSummary);
    const auto numbers = [](const std::vector<int>& levels) {
        Message list(MessageId::LevelNumbers);
        for (const int n : levels)
            list.args.push_back(messageArg(n));
        return list;
    };
    const auto leftOut = [&](MessageId id, const std::vector<int>& levels) {
        Message part(id, levels.size());
        part.parts.push_back(numbers(levels));
        m.parts.push_back(part);
    };
    m.parts.push_back(import.imported > 0 ? Message(MessageId::LevelsImported, import.imported)
                                          : Message(MessageId::NoLevelsImported));
    if (!import.tooLarge.empty()) leftOut(MessageId::TooLargeLeftOut, import.tooLarge);
    if (!import.unreadable.empty()) leftOut(MessageId::NoWorkerLeftOut, import.unreadable);
    if (import.beyondLimit > 0)
        m.parts.push_back({MessageId::BeyondLimitLeftOut, import.beyondLimit, kMaxLevels});
    if (m.parts.size() == 1) return {};
    return m;
}

void LevelTextCommands::openCollection(const CollectionImport& set) {
    const Message message = importMessage(set);
    if (set.boxFile.empty()) {
        dialogs_.error(message);
        return;
    }
    if (set.built && message.id != MessageId::None) dialogs_.information(message);
    model_.openOtherSet(set.boxFile);
}

std::string LevelTextCommands::copyLevel() const {
    return writeXsb(model_.position().board());
}

void LevelTextCommands::pasteLevel(const std::string& text, const std::string& name) {
    const OpenedLevelText opened = openLevelTextString(text, name, levelsDir_, model_.appDir());
    if (opened.collection) {
        openCollection(opened.set);
        return;
    }
    if (opened.single.levelCount == 0) {
        dialogs_.warning(MessageId::NoLevelOnClipboard);
        return;
    }
    if (opened.status == XsbStatus::TooBig) {
        dialogs_.error(MessageId::LevelTooBig);
        return;
    }
    // Played from a file of its own, so that retry reads it again.
    std::error_code ec;
    fs::create_directories(levelsDir_, ec);
    const fs::path file = levelsDir_ / (name + ".xsb");
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) throw FileError(file, errno);
    out << text;
    out.close();
    if (!out) throw FileError(file, errno);
    model_.PlayXSB(file.string());
}

void LevelTextCommands::exportCollection() {
    if (model_.levelCount() == 0 || model_.gameFile().empty()) return; // no level set open
    const auto chosen = dialogs_.saveFile(MessageId::CollectionFilter, model_.gameName() + ".xsb");
    if (!chosen) return;
    saveCollection(
        *chosen, model_.gameFile(),
        [this](int n) { return dialogs_.words(Message(MessageId::LevelNumbers, n)); },
        model_.appDir());
    dialogs_.information(MessageId::Saved);
}

std::optional<std::string> LevelTextCommands::copyAnswer() {
    if (model_.xsbMode()) {
        dialogs_.error(MessageId::XsbCannotExportAnswer);
        return std::nullopt;
    }
    if (model_.levelCount() == 0 || model_.curLevel() < 1) return std::nullopt;
    const CompanionFiles f = model_.files();
    f.sol.padTo(model_.levelCount(), emptyAnswerRecord().encode());
    const auto answer = f.sol.get<TAnswerData>(model_.curLevel() - 1);
    if (answer.moves == 0) {
        const core::Moves longer = model_.longAnswer(model_.curLevel());
        if (!longer.empty()) return core::lurdOf(model_.levelBoard(model_.curLevel()), longer);
        dialogs_.error(MessageId::NoAnswerForLevel);
        return std::nullopt;
    }
    return solutionText(model_.levelBoard(model_.curLevel()), answer);
}

void LevelTextCommands::pasteAnswer(const std::string& text) {
    if (model_.xsbMode()) {
        dialogs_.error(MessageId::XsbCannotImportAnswer);
        return;
    }
    if (model_.levelCount() == 0 || model_.curLevel() < 1) return;
    const core::Board board = model_.levelBoard(model_.curLevel());
    SolutionParse parsed = parseSolution(board, text);
    // A collection keeps answers of any length.
    if (parsed.error == SolutionError::TooLong && model_.collection()) {
        const MovesParse longer = parseSolutionMoves(board, text, History::kLongestLine);
        if (longer.error == SolutionError::None) {
            model_.offerLongAnswer(longer.moves);
            return;
        }
        parsed.error = longer.error;
        parsed.move = longer.move;
    }
    switch (parsed.error) {
    case SolutionError::None:
        break;
    case SolutionError::Empty:
    case SolutionError::BadCharacter:
        dialogs_.warning(MessageId::NoAnswerOnClipboard);
        return;
    case SolutionError::TooLong:
        dialogs_.warning(MessageId::AnswerTooLong);
        return;
    case SolutionError::Blocked:
        dialogs_.warning({MessageId::AnswerBlocked, parsed.move});
        return;
    case SolutionError::NotSolved:
        dialogs_.warning(MessageId::AnswerNotSolving);
        return;
    }
    TAnswerData& answer = parsed.answer;
    answer.level = static_cast<std::int16_t>(model_.curLevel());
    model_.offerImportedAnswer(answer);
}

Message LevelTextCommands::titlePanel(const GameModel& model) {
    const LevelInfo info = currentInfo(model);
    if (info.author.empty())
        return info.title.empty() ? Message(MessageId::TitlePanelNone)
                                  : Message(MessageId::TitlePanel, info.title);
    if (info.title.empty()) return {MessageId::UntitledAuthorPanel, info.author};
    return {MessageId::TitleAuthorPanel, info.title, info.author};
}

std::vector<Message> LevelTextCommands::titleLines(const GameModel& model) {
    const LevelInfo info = currentInfo(model);
    std::vector<Message> lines;
    if (!info.title.empty()) lines.push_back({MessageId::TitleLine, info.title});
    if (!info.author.empty()) lines.push_back({MessageId::AuthorLine, info.author});
    if (model.xsbMode() || !model.collection()) return lines;

    // A collection's level: where it stands in the collection, how it went,
    // and what its best answer is like; then the whole collection.
    const int level = model.curLevel();
    lines.push_back(
        {MessageId::CollectionLine, model.collection()->name, model.shownNumber(level)});
    const std::vector<LevelStats> stats = readLevelStats(model.statsFile());
    const LevelStats here = level >= 1 && static_cast<std::size_t>(level) <= stats.size()
                                ? stats[static_cast<std::size_t>(level - 1)]
                                : LevelStats{};
    lines.push_back(
        {MessageId::LevelStatsLine, here.attempts, here.seconds / 60, here.seconds % 60});
    try {
        const CompanionFiles f = model.files();
        if (level >= 1 && f.sol.count() >= level) {
            const auto answer = f.sol.get<TAnswerData>(level - 1);
            const core::Board maze = model.levelBoard(level);
            const core::Moves longer = answer.moves == 0 ? model.longAnswer(level) : core::Moves();
            if (!longer.empty()) {
                const core::MoveFigures a = core::figuresOf(maze, longer);
                lines.push_back(
                    {MessageId::AnswerFiguresLine, a.moves, a.pushes, a.boxLines, a.boxChanges});
            } else if (replayAnswer(maze, answer).ok()) {
                const core::MoveFigures a = answerFigures(maze, answer);
                lines.push_back(
                    {MessageId::AnswerFiguresLine, a.moves, a.pushes, a.boxLines, a.boxChanges});
            }
        }
    } catch (const FileError&) { // no answer to tell of
    }
    const std::vector<bool> open = model.unsolvedLevels();
    const auto solved = std::count(open.begin(), open.end(), false);
    long long attempts = 0, seconds = 0;
    for (const LevelStats& s : stats) {
        attempts += s.attempts;
        seconds += s.seconds;
    }
    lines.push_back({MessageId::CollectionStatsLine, static_cast<long long>(solved),
                     model.levelCount(), attempts, seconds / 60});
    return lines;
}

} // namespace sokoban
