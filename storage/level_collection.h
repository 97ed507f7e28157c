// Collections of levels in text as level sets: a text with more than one
// level is imported once as a .box in the per-user levels folder, with an
// index file beside it that keeps where it came from and the title and
// author of every level. Opening the same text again opens the same set;
// when its levels have changed, the set is rebuilt and the progress, best
// counts, answers and save slots of the levels that stayed are kept.
#pragma once

#include "storage/level_text.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sokoban {

// $XDG_DATA_HOME/sokoban/levels, or ~/.local/share/sokoban/levels.
std::filesystem::path userLevelsDir();

struct LevelInfo {
    std::string title;
    std::string author;
    bool operator==(const LevelInfo&) const = default;
};

// The index beside a level set: its path less the extension, plus ".idx".
std::filesystem::path levelIndexFile(const std::string& boxFile);
// Titles and authors by level (element 0 is level 1); empty when the set has
// no index or the index cannot be read.
std::vector<LevelInfo> readLevelIndex(const std::string& boxFile);

// What the index of an imported collection tells of the whole: its name,
// how many levels its text holds, and each level's number in the text.
struct CollectionIndex {
    std::string name;             // the collection's own name, else its file's
    int textLevels = 0;           // levels in the text, those left out too
    std::vector<int> textNumbers; // element 0 for level 1 of the set
    // Levels too large for a record (past 22 x 34, up to 64 x 64), by the
    // set's number: their records hold nothing, the index holds the board.
    std::map<int, core::Board> largeBoards;
    const core::Board* largeBoard(int level) const {
        const auto it = largeBoards.find(level);
        return it == largeBoards.end() ? nullptr : &it->second;
    }
    // The level's number in the text; the set's number where the index has none.
    int textNumber(int level) const {
        return level >= 1 && static_cast<std::size_t>(level) <= textNumbers.size() &&
                       textNumbers[static_cast<std::size_t>(level - 1)] > 0
                   ? textNumbers[static_cast<std::size_t>(level - 1)]
                   : level;
    }
};
// nullopt for a set that is no imported collection (no index, or one that
// cannot be read).
std::optional<CollectionIndex> readCollectionIndex(const std::string& boxFile);

struct CollectionImport {
    std::string boxFile; // the level set; empty when no level could be taken
    int levels = 0;      // levels in the text
    int imported = 0;
    std::vector<int> tooLarge;   // numbers in the text of the levels left out
    std::vector<int> unreadable; // no worker: nothing to play
    int beyondLimit = 0;         // levels past what one set can number
    bool built = false;          // written now, not found as it was
    int answers = 0;             // solutions of the text kept as answers
};

struct OpenedLevelText {
    // Missing or ReadError when the file cannot be read; for a text of one
    // level or none, TooBig when that level is too large.
    XsbStatus status = XsbStatus::Ok;
    bool collection = false;
    LevelTextSummary single; // a text of one level or none
    CollectionImport set;    // a text of more than one level
};

// Reads a file of level text: a single level (or none) as a single XSB file,
// more levels as a level set in levelsDir. A set rebuilt after its text
// changed takes its levels, index and records to the new state as one (a
// kill or a full disk leaves them all old or all new); appDir is the
// program directory, which tells where the records of the set are kept
// (FilePlaces). File errors while writing the set throw FileError.
OpenedLevelText openLevelTextFile(const std::filesystem::path& file,
                                  const std::filesystem::path& levelsDir,
                                  const std::filesystem::path& appDir = {});
// The same for a text with no file (the clipboard); a collection is named
// `name` and found again by its levels.
OpenedLevelText openLevelTextString(std::string_view text, const std::string& name,
                                    const std::filesystem::path& levelsDir,
                                    const std::filesystem::path& appDir = {});

// The whole level set as one collection text, the titles of its index
// (or what `untitled` calls a level) and the stored answers that solve
// their levels with every level; appDir tells where the set's records are
// kept. Throws FileError.
void saveCollection(const std::filesystem::path& file, const std::string& boxFile,
                    const UntitledName& untitled, const std::filesystem::path& appDir = {});

} // namespace sokoban
