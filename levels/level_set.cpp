#include "level_set.h"

#include "safe_write.h"

namespace sokoban {

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

TAnswerData emptyAnswerRecord() { return TAnswerData{}; }

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

    const Bytes freshSave = freshSaveRecord().encode();
    const Bytes emptyBest = TBestData{}.encode();
    const Bytes emptyAnswer = emptyAnswerRecord().encode();

    // Missing files are created whole by the padding; a set open from the
    // start gets its progress record unlocking every level in the same write.
    if (!files.sav.exists() && isOpenSet(gameFile, appDir)) {
        TSaveData all = freshSaveRecord();
        all.level = static_cast<std::int16_t>(out.levelCount);
        Bytes six = all.encode();
        for (int i = 1; i < 6; ++i) six.insert(six.end(), freshSave.begin(), freshSave.end());
        files.sav.write(0, six);
    }
    files.sav.padTo(6, freshSave);
    files.bst.padTo(out.levelCount, emptyBest);
    // Surplus answers and a torn tail go: the file holds exactly one answer a level.
    if (files.sol.exists() &&
        files.sol.byteSize() > static_cast<std::uint64_t>(out.levelCount) * TAnswerData::kSize)
        files.sol.truncate(out.levelCount);
    files.sol.padTo(out.levelCount, emptyAnswer);

    TSaveData progress = files.sav.get<TSaveData>(0);
    out.maxLevel = progress.level;
    if (out.maxLevel < out.levelCount && isOpenSet(gameFile, appDir)) {
        out.maxLevel = static_cast<std::int16_t>(out.levelCount);
        progress.level = out.maxLevel;
        files.sav.put(0, progress);
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
