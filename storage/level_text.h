// Level text as the game meets it: files and clipboard texts holding one
// level or a whole collection, read by the core reader and laid on the
// game's grid. Also the way back: a set as one collection text, and
// solutions as letters.
#pragma once

#include "core/level_text.h"
#include "core/rules.h"
#include "storage/records.h"
#include "storage/xsb.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace sokoban {

// Levels of a text are the core reader's; this is what the game's grid
// makes of them.
using core::LevelTextReader;
using core::TextLevel;

// More than 22 rows, or a row that is wider than 34 even without its
// trailing blanks.
bool tooLarge(const TextLevel& level);
// The level centred as a single XSB file is; outside cells are the floor
// that the edge reaches. Only for a level that is not too large.
TMazeData levelMaze(const TextLevel& level);

// The levels of a collection text (core::ReadMode::Collection).
std::vector<TextLevel> parseLevelText(std::string_view text);

// Streams a file into the reader; only plain files are read. Ok, Missing or
// ReadError.
XsbStatus readLevelTextFile(const std::filesystem::path& path, LevelTextReader& reader);

// What one text holds for a caller that shows or plays its first level.
struct LevelTextSummary {
    // Missing or ReadError for a file that cannot be read; TooBig when the
    // first level is too large; otherwise Ok.
    XsbStatus status = XsbStatus::Ok;
    int levelCount = 0;
    // The first level as a single XSB file gives it; a text without levels
    // gives the empty centred level.
    TMazeData first;
    std::string title;
    std::string author;
};
LevelTextSummary summariseLevelText(std::string_view text);
LevelTextSummary summariseLevelFile(const std::filesystem::path& path);
// The first level of a file as the single-file reader reports it: Missing,
// ReadError, TooBig, NoLevel (an empty file, or text without a level), or Ok
// with the level.
XsbResult readFirstLevel(const std::filesystem::path& path);

// The same level moved so that its bounding rectangle is centred in the grid
// as a single file's text would be: what a collection's level becomes.
TMazeData centredLevel(const TMazeData& level);

// --- writing ------------------------------------------------------------------

// What an untitled level is called in an export, by its number; the
// window words it in the player's language.
using UntitledName = std::function<std::string(int number)>;

// A title for the export: the level's own, or what `untitled` calls it.
std::string collectionTitle(const std::string& title, int level, const UntitledName& untitled);

// One level of a collection: its rows (as writeXsb), a "Title:" line, an
// "Author:" line when there is an author, a "Solution:" line and the moves
// (70 to a line) when there is a solution, and a blank line; CR LF
// throughout.
std::string collectionEntry(const core::Board& level, int number, const std::string& title,
                            const std::string& author, const UntitledName& untitled,
                            const std::string& solution = {});
std::string collectionEntry(const TMazeData& level, int number, const std::string& title,
                            const std::string& author, const UntitledName& untitled,
                            const std::string& solution = {});

// --- solutions as letters -----------------------------------------------------

// The moves of an answer: "u", "d", "l", "r" for steps, capitals for pushes.
// Moves that cannot be made on the level are written as steps.
std::string solutionText(const core::Board& level, const TAnswerData& answer);
std::string solutionText(const TMazeData& level, const TAnswerData& answer);

enum class SolutionError {
    None,
    Empty,        // no move letters at all
    BadCharacter, // something other than letters, run lengths and blanks
    TooLong,      // more than the 4096 moves an answer holds
    Blocked,      // a move into a wall or a box that cannot move
    NotSolved,    // all moves made, a box is still off a target
};
struct SolutionParse {
    SolutionError error = SolutionError::None;
    int move = 0;       // the move (1-based) that failed, for Blocked
    TAnswerData answer; // level left 0 for the caller; moves and packed set
};
// How a stored or imported answer replays on a level from its start: every
// move a step or a push, the level solved by the last one. A move after the
// level is solved is never made (the game stops there), so an answer that
// solves it earlier counts only its moves up to the solve.
struct AnswerReplay {
    SolutionError error = SolutionError::None; // None, Empty, TooLong, Blocked, NotSolved
    int move = 0;                              // the move (1-based) that failed, for Blocked
    int moves = 0;                             // moves up to the solve
    int pushes = 0;                            // pushes up to the solve
    bool ok() const { return error == SolutionError::None; }
    // Fewer moves or fewer pushes, as a finished level's answer replaces the
    // stored one.
    bool betterThan(const AnswerReplay& stored) const {
        return !stored.ok() || moves < stored.moves || pushes < stored.pushes;
    }
};
AnswerReplay replayAnswer(const core::Board& level, const TAnswerData& answer);
AnswerReplay replayAnswer(const TMazeData& level, const TAnswerData& answer);
// Moves, pushes, box lines and box changes of an answer on its level.
core::MoveFigures answerFigures(const core::Board& level, const TAnswerData& answer);
core::MoveFigures answerFigures(const TMazeData& level, const TAnswerData& answer);

// Reads letters as solutionText writes them (either case, run lengths like
// "3r", blanks and line ends anywhere) and plays them on the level.
SolutionParse parseSolution(const core::Board& level, std::string_view text);
// The same with no answer record to fill: up to maxMoves moves, the moves
// and pushes up to the solve.
struct MovesParse {
    SolutionError error = SolutionError::None;
    int move = 0; // the move (1-based) that failed, for Blocked
    core::Moves moves;
    int pushes = 0;
};
MovesParse parseSolutionMoves(const core::Board& level, std::string_view text,
                              std::size_t maxMoves);
SolutionParse parseSolution(const TMazeData& level, std::string_view text);

} // namespace sokoban
