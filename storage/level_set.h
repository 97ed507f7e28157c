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

// A best-count record as a solve can leave it: none (0, 0), or at least one
// push and no more pushes than moves. Anything else reads as none.
TBestData plausibleBest(const TBestData& best);

// The records of a solve. Each is merged with what its file holds at the
// moment it is written, so that a second copy of the game on the same set
// never takes back what the first achieved. A solve writes them in this
// order: the answer, the best counts, the progress; a set whose writes a
// kill cut short opens consistently (openLevelSet raises the progress past
// a passed highest unlocked level).
//
// Stores the answer of a solve with these counts, when the level has no
// answer yet or the counts beat its best counts on disk. True when stored.
bool storeSolveAnswer(const CompanionFiles& files, std::int64_t index, const TAnswerData& answer,
                      const TBestData& counts);
// Each best count becomes the smaller of the file's and this one (0 being
// none); returns the record now on disk.
TBestData improveBest(const RecordFile& bst, std::int64_t index, const TBestData& best);
// The highest unlocked level becomes at least `level`; returns it as on disk.
std::int16_t raiseProgress(const RecordFile& sav, std::int16_t level);

// Copies the companion files of a set that are kept away from it from those
// beside it, where those are whole records and the copies do not exist yet.
void startCompanionsFrom(const FilePlaces::CompanionPlace& place);

// An update of a set's files made as one FileSwitch (an imported collection
// rebuilt): its journal beside the set, and what a kill left of it finished.
std::filesystem::path setSwitchJournal(const std::string& gameFile);
void finishSetSwitch(const std::string& gameFile, const std::filesystem::path& appDir);

enum class OpenStatus { Ok, Missing, BadFormat };

struct OpenedSet {
    OpenStatus status = OpenStatus::Ok;
    std::string gameName;
    std::int64_t levelCount = 0;
    std::int16_t maxLevel = 0;
};

// Opens a level set: finishes an update a kill interrupted, checks it,
// empties the undo file, creates or repairs the companion files and finds
// the level to start on. Best counts no solve can leave become none; a
// highest unlocked level that has a best count (passed) opens the next one,
// and so on. Nothing else is touched unless the status is Ok. File errors
// throw FileError.
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
