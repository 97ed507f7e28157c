// Level-set files (.box) and their companion files (.sav, .bst, .sol), the
// program-wide files game.var, game.lst and the undo history. Where each of
// them lies is FilePlaces' answer.
#pragma once

#include "file_places.h"
#include "record_file.h"
#include "records.h"

#include <filesystem>
#include <string>
#include <vector>

namespace sokoban {

// A level set of more levels than this cannot be numbered in the 16-bit
// companion records.
constexpr std::int64_t kMaxLevels = 32767;

// "game" for ".../game.box": the path without its last four characters (the
// set's gameName).
std::string companionBase(const std::string& gameFile);

struct CompanionFiles {
    RecordFile levels; // .box, 750-byte records
    RecordFile sav;    // progress and five slots, 756-byte records
    RecordFile bst;    // best counts, 4-byte records
    RecordFile sol;    // answers, 1029-byte records
    // The companion files are replaced whole at every change.
    static CompanionFiles forGame(const std::string& gameFile, const std::filesystem::path& appDir);
};

// Fresh records as the repair rules write them.
TSaveData freshSaveRecord();     // level 1, moves 1
TAnswerData emptyAnswerRecord(); // moves 0

enum class OpenStatus { Ok, Missing, BadFormat };

struct OpenedSet {
    OpenStatus status = OpenStatus::Ok;
    std::string gameName;
    std::int64_t levelCount = 0;
    std::int16_t maxLevel = 0;
};

// Opens a level set: checks it, empties the undo file, creates or repairs the
// companion files and finds the level to start on. Nothing is touched unless
// the status is Ok. File errors throw FileError.
OpenedSet openLevelSet(const std::string& gameFile, const std::filesystem::path& appDir);

// The built-in sets in which every level is open from the start.
bool isOpenSet(const std::string& gameFile, const std::filesystem::path& appDir);

// appDir with a trailing separator, as the program forms its file names.
std::string dirPrefix(const std::filesystem::path& appDir);

// --- game.var -----------------------------------------------------------
TGameVar defaultSettings(int screenWidth, int screenHeight);
void repairSettings(TGameVar& v, int screenWidth, int screenHeight);
// Creates game.var with the defaults when missing; reads what is there (a
// short file gives zeros for the rest) and repairs zero fields.
TGameVar loadSettings(const std::filesystem::path& varFile, int screenWidth, int screenHeight);
void saveSettings(const std::filesystem::path& varFile, const TGameVar& v);

// --- game.lst -----------------------------------------------------------
std::vector<std::string> readGameList(const std::filesystem::path& lstFile);
void writeGameList(const std::filesystem::path& lstFile, const std::vector<std::string>& lines);

// The level-set path remembered by a settings choice above 5 (line
// choice - 5 of game.lst), or an empty string when the list has no such
// line. Creates an empty game.lst when it is missing.
std::string gameListEntry(const std::filesystem::path& lstFile, int choice);

// --- the undo history of this running copy ----------------------------------
inline RecordFile undoFile(const std::filesystem::path& appDir) {
    return RecordFile(FilePlaces(appDir).undoFile(), TSaveData::kSize);
}

} // namespace sokoban
