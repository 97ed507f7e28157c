#include "level_set.h"

#include "safe_write.h"

#include <algorithm>

namespace sokoban {

namespace fs = std::filesystem;

namespace {

struct CompanionKind {
    const char* ext;
    std::size_t recordSize;
};
constexpr CompanionKind kCompanionKinds[] = {
    {".sav", TSaveData::kSize}, {".bst", TBestData::kSize}, {".sol", TAnswerData::kSize}};

fs::path folderOf(const std::string& file) {
    const fs::path dir = fs::path(file).parent_path();
    return dir.empty() ? fs::path(".") : dir;
}

// The files an update of a set may replace together: the set, the index of
// an imported collection and the companion files.
std::vector<fs::path> setSwitchFiles(const std::string& gameFile, const std::string& base) {
    return {gameFile, companionBase(gameFile) + ".idx", base + ".sav", base + ".bst",
            base + ".sol"};
}

// Best counts no solve can leave become none; returns which of the first
// `levels` levels have a best count.
std::vector<bool> repairBestCounts(const RecordFile& bst, std::int64_t levels) {
    const FolderLock lock(folderOf(bst.path().string()));
    Bytes all = readPlainFile(bst.path());
    const std::int64_t n = std::min<std::int64_t>(levels, all.size() / TBestData::kSize);
    std::vector<bool> solved(static_cast<std::size_t>(n));
    bool changed = false;
    for (std::int64_t i = 0; i < n; ++i) {
        auto* at = all.data() + i * TBestData::kSize;
        const TBestData read = TBestData::decode(std::span(at, TBestData::kSize));
        const TBestData best = plausibleBest(read);
        solved[static_cast<std::size_t>(i)] = best.moves > 0;
        if (best == read) continue;
        const Bytes fixed = best.encode();
        std::copy(fixed.begin(), fixed.end(), at);
        changed = true;
    }
    if (changed) replaceFileContents(bst.path(), all);
    return solved;
}

} // namespace

std::string companionBase(const std::string& gameFile) {
    return gameFile.size() >= 4 ? gameFile.substr(0, gameFile.size() - 4) : std::string();
}

CompanionFiles CompanionFiles::forGame(const std::string& gameFile,
                                       const std::filesystem::path& appDir) {
    const std::string base = FilePlaces(appDir).companionBase(gameFile);
    constexpr Writes safe = Writes::WholeCopy;
    return {RecordFile(gameFile, TMazeData::kSize),
            RecordFile(base + ".sav", TSaveData::kSize, safe),
            RecordFile(base + ".bst", TBestData::kSize, safe),
            RecordFile(base + ".sol", TAnswerData::kSize, safe)};
}

TSaveData freshSaveRecord() {
    TSaveData s;
    s.level = 1;
    s.moves = 1;
    return s;
}

TAnswerData emptyAnswerRecord() {
    return TAnswerData{};
}

TBestData plausibleBest(const TBestData& best) {
    const bool none = best.moves == 0 && best.pushes == 0;
    // Every solve ends with a push, and every push is a move.
    const bool solved = best.pushes >= 1 && best.pushes <= best.moves;
    return none || solved ? best : TBestData{};
}

bool storeSolveAnswer(const CompanionFiles& files, std::int64_t index, const TAnswerData& answer,
                      const TBestData& counts) {
    bool stored = false;
    files.sol.update(index, [&](const Bytes& current) -> std::optional<Bytes> {
        const bool noAnswer = current.empty() || TAnswerData::decode(current).moves <= 0;
        if (!noAnswer) {
            // Replaced only together with the better count it comes with.
            TBestData best;
            if (files.bst.exists() && files.bst.count() > index)
                best = plausibleBest(files.bst.get<TBestData>(index));
            if (best.moves == 0 || (counts.moves >= best.moves && counts.pushes >= best.pushes))
                return std::nullopt;
        }
        stored = true;
        return answer.encode();
    });
    return stored;
}

TBestData improveBest(const RecordFile& bst, std::int64_t index, const TBestData& best) {
    TBestData result = plausibleBest(best);
    bst.update(index, [&](const Bytes& current) -> std::optional<Bytes> {
        const TBestData read = current.empty() ? TBestData{} : TBestData::decode(current);
        const TBestData onDisk = plausibleBest(read);
        if (onDisk.moves != 0 && result.moves != 0)
            result = {std::min(onDisk.moves, result.moves), std::min(onDisk.pushes, result.pushes)};
        else if (result.moves == 0)
            result = onDisk;
        if (result == read && !current.empty()) return std::nullopt;
        return result.encode();
    });
    return result;
}

std::int16_t raiseProgress(const RecordFile& sav, std::int16_t level) {
    std::int16_t result = level;
    sav.update(0, [&](const Bytes& current) -> std::optional<Bytes> {
        TSaveData progress = current.empty() ? freshSaveRecord() : TSaveData::decode(current);
        if (!current.empty() && progress.level >= level) {
            result = progress.level;
            return std::nullopt;
        }
        progress.level = level;
        return progress.encode();
    });
    return result;
}

void startCompanionsFrom(const FilePlaces::CompanionPlace& place) {
    if (place.startFrom.empty()) return;
    for (const auto& kind : kCompanionKinds) {
        const fs::path mine = place.base + kind.ext, theirs = place.startFrom + kind.ext;
        std::error_code ec;
        if (fs::exists(fs::symlink_status(mine, ec)) || !isPlainFile(theirs)) continue;
        // Only a file of whole records can hold the player's records.
        const auto size = fs::file_size(theirs, ec);
        if (ec || size == 0 || size % kind.recordSize != 0 ||
            size > static_cast<std::uintmax_t>(kMaxLevels + 6) * kind.recordSize)
            continue;
        Bytes records;
        try {
            records = readPlainFile(theirs);
        } catch (const FileError&) {
            continue; // one the player may not read starts afresh
        }
        replaceFileContents(mine, records);
    }
}

fs::path setSwitchJournal(const std::string& gameFile) {
    return companionBase(gameFile) + ".switch";
}

void finishSetSwitch(const std::string& gameFile, const fs::path& appDir) {
    const std::string base = FilePlaces(appDir).companionBase(gameFile);
    finishFileSwitch(setSwitchJournal(gameFile), setSwitchFiles(gameFile, base));
}

std::string dirPrefix(const std::filesystem::path& appDir) {
    std::string s = appDir.string();
    // An empty directory is the current one: names stay relative.
    if (!s.empty() && s.back() != '/') s += '/';
    return s;
}

bool isOpenSet(const std::string& gameFile, const std::filesystem::path& appDir) {
    const std::string dir = dirPrefix(appDir);
    return gameFile == dir + "easy.box" || gameFile == dir + "veryhard.box" ||
           gameFile == dir + "impossible.box";
}

OpenedSet openLevelSet(const std::string& gameFile, const std::filesystem::path& appDir) {
    OpenedSet out;
    // The set and its records are all old or all new before anything is read.
    finishSetSwitch(gameFile, appDir);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(gameFile, ec)) {
        out.status = OpenStatus::Missing;
        return out;
    }
    const CompanionFiles files = CompanionFiles::forGame(gameFile, appDir);
    const std::uint64_t size = files.levels.byteSize();
    if (size == 0 || size % TMazeData::kSize != 0 ||
        size / TMazeData::kSize > static_cast<std::uint64_t>(kMaxLevels)) {
        out.status = OpenStatus::BadFormat;
        return out;
    }
    out.gameName = companionBase(gameFile);
    out.levelCount = static_cast<std::int64_t>(size / TMazeData::kSize);

    startCompanionsFrom(FilePlaces(appDir).companionPlace(gameFile));
    const Bytes freshSave = freshSaveRecord().encode();
    const Bytes emptyBest = TBestData{}.encode();
    const Bytes emptyAnswer = emptyAnswerRecord().encode();

    // Missing files are created whole by the padding; a set open from the
    // start gets its progress record unlocking every level in the same write.
    if (!files.sav.exists() && isOpenSet(gameFile, appDir)) {
        TSaveData all = freshSaveRecord();
        all.level = static_cast<std::int16_t>(out.levelCount);
        Bytes six = all.encode();
        for (int i = 1; i < 6; ++i)
            six.insert(six.end(), freshSave.begin(), freshSave.end());
        files.sav.write(0, six);
    }
    files.sav.padTo(6, freshSave);
    files.bst.padTo(out.levelCount, emptyBest);
    // Surplus answers and a torn tail go: the file holds exactly one answer a level.
    if (files.sol.exists() &&
        files.sol.byteSize() > static_cast<std::uint64_t>(out.levelCount) * TAnswerData::kSize)
        files.sol.truncate(out.levelCount);
    files.sol.padTo(out.levelCount, emptyAnswer);

    // A solve writes its progress last: a kill before it leaves the highest
    // unlocked level passed, with its best count, and the next one locked.
    // Passed levels right after the progress open the next, one by one.
    const std::vector<bool> solved = repairBestCounts(files.bst, out.levelCount);
    out.maxLevel = files.sav.get<TSaveData>(0).level;
    std::int64_t unlocked = std::max<std::int64_t>(out.maxLevel, 1);
    while (unlocked < out.levelCount && solved[static_cast<std::size_t>(unlocked - 1)])
        ++unlocked;
    if (isOpenSet(gameFile, appDir)) {
        if (out.maxLevel < out.levelCount)
            out.maxLevel = raiseProgress(files.sav, static_cast<std::int16_t>(out.levelCount));
    } else if (unlocked > std::max<std::int64_t>(out.maxLevel, 1)) {
        out.maxLevel = raiseProgress(files.sav, static_cast<std::int16_t>(unlocked));
    }
    // Last, so that a set whose companion files fail leaves the undo history
    // of the set still in play.
    undoFile(appDir).create();
    return out;
}

TGameVar defaultSettings(int screenWidth, int screenHeight) {
    TGameVar v;
    v.levelSet = 1;
    v.faceStyle = 10;
    v.backStyle = 2;
    v.moveSpeed = 2;
    v.demoSpeed = 1;
    v.soundFlag = 1;
    v.musicFlag = 1;
    v.musicNo = 1;
    v.backNo = 6;
    v.figureNo = 1;
    v.reserved10 = 2;
    v.customWall = 2;
    v.customFloor = 7;
    v.customBox = 1;
    v.windowWidth = static_cast<std::int16_t>(screenWidth);
    v.windowHeight = static_cast<std::int16_t>(screenHeight);
    return v;
}

void repairSettings(TGameVar& v, int screenWidth, int screenHeight) {
    auto fix = [](std::uint8_t& f, std::uint8_t value) {
        if (f == 0) f = value;
    };
    // A face the game does not have would leave the board without pictures.
    auto fixFace = [](std::uint8_t& f, std::uint8_t last, std::uint8_t value) {
        if (f == 0 || f > last) f = value;
    };
    fix(v.levelSet, 1);
    fixFace(v.faceStyle, 11, 1);
    fix(v.backStyle, 2);
    fix(v.moveSpeed, 2);
    fix(v.demoSpeed, 1);
    fix(v.musicNo, 1);
    fix(v.backNo, 6);
    fix(v.figureNo, 1);
    fix(v.reserved10, 2);
    fixFace(v.customWall, 10, 2);
    fixFace(v.customFloor, 10, 7);
    fixFace(v.customBox, 10, 1);
    if (v.windowWidth == 0) v.windowWidth = static_cast<std::int16_t>(screenWidth);
    if (v.windowHeight == 0) v.windowHeight = static_cast<std::int16_t>(screenHeight);
}

TGameVar loadSettings(const std::filesystem::path& varFile, int screenWidth, int screenHeight) {
    RecordFile file(varFile, TGameVar::kSize, Writes::WholeCopy);
    std::error_code ec;
    if (!std::filesystem::exists(varFile, ec))
        file.put(0, defaultSettings(screenWidth, screenHeight));
    // Only the first 36 bytes count; a shorter file gives what it holds.
    const Bytes head = readPlainFile(varFile, TGameVar::kSize);
    TGameVar v = TGameVar::decode(head);
    repairSettings(v, screenWidth, screenHeight);
    return v;
}

void saveSettings(const std::filesystem::path& varFile, const TGameVar& v) {
    RecordFile(varFile, TGameVar::kSize, Writes::WholeCopy).put(0, v);
}

std::vector<std::string> readGameList(const std::filesystem::path& lstFile) {
    std::vector<std::string> lines;
    Bytes text;
    try {
        text = readPlainFile(lstFile);
    } catch (const FileError&) {
        return lines; // a list that cannot be read lists nothing
    }
    std::string line;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n') {
            const bool any = i < text.size() || !line.empty();
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (any) lines.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(text[i]);
        }
    }
    return lines;
}

void writeGameList(const std::filesystem::path& lstFile, const std::vector<std::string>& lines) {
    Bytes text;
    for (const auto& l : lines) {
        text.insert(text.end(), l.begin(), l.end());
        text.insert(text.end(), {'\r', '\n'});
    }
    replaceFileContents(lstFile, text);
}

std::string gameListEntry(const std::filesystem::path& lstFile, int choice) {
    std::error_code ec;
    if (!std::filesystem::exists(lstFile, ec)) {
        // Start-up goes on with the first set when even an empty list cannot be made.
        try {
            replaceFileContents(lstFile, {});
        } catch (const FileError&) {
        }
        return {};
    }
    const auto lines = readGameList(lstFile);
    const auto k = static_cast<std::size_t>(choice - 5);
    if (choice <= 5 || k > lines.size()) return {};
    return lines[k - 1];
}

} // namespace sokoban
