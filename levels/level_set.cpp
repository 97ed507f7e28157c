#include "level_set.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace sokoban {

std::string companionBase(const std::string& gameFile) {
    return gameFile.size() >= 4 ? gameFile.substr(0, gameFile.size() - 4) : std::string();
}

CompanionFiles CompanionFiles::forGame(const std::string& gameFile) {
    const std::string base = companionBase(gameFile);
    return {RecordFile(gameFile, TMazeData::kSize), RecordFile(base + ".sav", TSaveData::kSize),
            RecordFile(base + ".bst", TBestData::kSize),
            RecordFile(base + ".sol", TAnswerData::kSize)};
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
    const CompanionFiles files = CompanionFiles::forGame(gameFile);
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

    if (!files.sav.exists()) files.sav.create();
    if (!files.sol.exists()) files.sol.create();
    if (!files.bst.exists()) files.bst.create();
    files.sav.padTo(6, freshSave);
    files.bst.padTo(out.levelCount, emptyBest);
    // Surplus answers and a torn tail go: the file holds exactly one answer a level.
    if (files.sol.byteSize() > static_cast<std::uint64_t>(out.levelCount) * TAnswerData::kSize)
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
    RecordFile file(varFile, TGameVar::kSize);
    if (!file.exists()) file.put(0, defaultSettings(screenWidth, screenHeight));
    // Only the first 36 bytes count; a shorter file gives what it holds.
    std::ifstream in(varFile, std::ios::binary);
    if (!in) throw FileError(varFile, std::strerror(errno));
    std::uint8_t buf[TGameVar::kSize] = {};
    in.read(reinterpret_cast<char*>(buf), sizeof buf);
    const auto got = static_cast<std::size_t>(in.gcount());
    TGameVar v = TGameVar::decode(std::span<const std::uint8_t>(buf, got));
    repairSettings(v, screenWidth, screenHeight);
    return v;
}

void saveSettings(const std::filesystem::path& varFile, const TGameVar& v) {
    RecordFile(varFile, TGameVar::kSize).put(0, v);
}

std::vector<std::string> readGameList(const std::filesystem::path& lstFile) {
    std::vector<std::string> lines;
    std::ifstream in(lstFile, std::ios::binary);
    if (!in) return lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

void writeGameList(const std::filesystem::path& lstFile, const std::vector<std::string>& lines) {
    std::ofstream out(lstFile, std::ios::binary | std::ios::trunc);
    if (!out) throw FileError(lstFile, std::strerror(errno));
    for (const auto& l : lines) out << l << "\r\n";
    out.close(); // a full disk shows only when the buffer is flushed
    if (!out) throw FileError(lstFile, std::strerror(errno));
}

std::string gameListEntry(const std::filesystem::path& lstFile, int choice) {
    std::error_code ec;
    if (!std::filesystem::exists(lstFile, ec)) {
        std::ofstream(lstFile, std::ios::binary);
        return {};
    }
    const auto lines = readGameList(lstFile);
    const auto k = static_cast<std::size_t>(choice - 5);
    if (choice <= 5 || k > lines.size()) return {};
    return lines[k - 1];
}

} // namespace sokoban
