// Level text as it circulates: files and clipboard texts holding one level or
// a whole collection in XSB notation, with titles, comments and the tolerant
// forms other programs write (byte-order mark, tabs, "-" and "_" for floor,
// run-length rows). Also the way back: a set as one collection text, and
// solutions as letters.
#pragma once

#include "storage/records.h"
#include "storage/xsb.h"

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sokoban {

// One level of a text as read.
struct TextLevel {
    int number = 0;                         // 1-based position in the text
    XsbRows rows;                           // the first 22 rows, each cut to 34 characters
    std::array<int, kRows> trimmedLength{}; // of the kept rows, without trailing blanks
    int rowCount = 0;                       // all rows of the level
    int width = 0;                          // the longest row
    int trimmedWidth = 0;                   // the longest row without its trailing blanks
    bool hasWorker = false;
    std::string title;
    std::string author;

    // More than 22 rows, or a row that is wider than 34 even without its
    // trailing blanks.
    bool tooLarge() const;
    // The level centred as a single XSB file is; outside cells are the floor
    // that the edge reaches. Only for a level that is not too large.
    TMazeData maze() const;
};

// Splits text handed over in pieces of any size into levels. A line is a
// board row when, with tabs, "-" and "_" read as floor and run lengths
// ("4#", "3-") written out, it holds nothing but the seven XSB characters;
// "|" splits a line into several rows. Every other line ends a level: blank
// lines, "Title:", "Author:", "Comment:" ... "Comment-End:" and other
// "Key: value" lines, lines starting with ";", and any other text. A title or
// author right below a level that has none belongs to it; otherwise it
// belongs to the next level. Memory stays bounded whatever the text holds.
class LevelTextReader {
  public:
    using Sink = std::function<void(TextLevel&)>;
    explicit LevelTextReader(Sink sink);
    ~LevelTextReader();
    LevelTextReader(const LevelTextReader&) = delete;
    LevelTextReader& operator=(const LevelTextReader&) = delete;

    void feed(std::string_view bytes);
    // Ends the last line and hands over the last level.
    void finish();
    int levelCount() const;

  private:
    struct State;
    std::unique_ptr<State> s_;
};

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

// A title for the export: the level's own, or "第 N 关".
std::string collectionTitle(const std::string& title, int level);

// One level of a collection: its rows (as writeXsb), a "Title:" line, an
// "Author:" line when there is an author, and a blank line; CR LF throughout.
std::string collectionEntry(const TMazeData& level, int number, const std::string& title,
                            const std::string& author);

// --- solutions as letters -----------------------------------------------------

// The moves of an answer: "u", "d", "l", "r" for steps, capitals for pushes.
// Moves that cannot be made on the level are written as steps.
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
AnswerReplay replayAnswer(const TMazeData& level, const TAnswerData& answer);

// Reads letters as solutionText writes them (either case, run lengths like
// "3r", blanks and line ends anywhere) and plays them on the level.
SolutionParse parseSolution(const TMazeData& level, std::string_view text);

} // namespace sokoban
