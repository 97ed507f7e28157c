// Figures and quality checks of the built-in level sets, read from their
// texts and stored solutions. Shared by the figures table tool, the level
// tools and the level-set tests so all judge the levels the same way. No
// solver here: everything is plain counting and replaying by the core's
// rules.
#pragma once

#include "core/board.h"
#include "set_text.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sokoban::levelcheck {

// The five built-in sets in menu order of difficulty.
extern const char* const kSetNames[5];

// What the board itself shows, boxes and solution aside.
struct Shape {
    int boxes = 0;
    int width = 0; // of the drawn rows
    int height = 0;
    int floorArea = 0; // squares the worker could walk on if there were no boxes
    // Squares that are neither wall nor outside yet the worker can never
    // reach: a pocket closed off by walls.
    int unreachable = 0;
};
Shape shapeOf(const core::Board& board);

// A stored solution played on the level by the game's rules.
struct Replay {
    bool solved = false;
    std::string error; // the first move the rules refuse, or what is left undone
    int moves = 0;
    int pushes = 0;
    // Times a push moves another box than the push before it.
    int boxChanges = 0;
    // Boxes that no push of the solution moves, and where they stand.
    int idleBoxes = 0;
    std::vector<int> idleBoxCells;
    // The cells the worker stands on at some time, by cell.
    std::vector<bool> visited;
    // The cells the worker or a box stands on at some time, by cell.
    std::vector<bool> used;
};
Replay replay(const core::Board& board, const std::string& lurd);

// Squares of the worker's floor (boxes aside) that neither he nor a box
// enters while the solution is played: room the level did not need.
int unusedFloor(const core::Board& board, const Replay& played);

// Levels met so far, each under a name, known by the core's canonical form:
// the same puzzle up to position, turns and mirrors, the worker counting by
// the area he can walk to. Every tool that keeps repeats out asks here.
class SameLevels {
  public:
    // The name of an earlier level that is the same puzzle; otherwise
    // nothing, and the level is remembered under `name`.
    std::optional<std::string> add(const core::Board& board, const std::string& name = {});
    bool contains(const core::Board& board) const;

  private:
    static std::string key(const core::Board& board);
    std::map<std::string, std::string> names_;
};

// One set as text levels with their stored solutions, line by line.
struct SetText {
    std::string name;
    std::vector<settext::SetLevel> levels;
    std::vector<std::string> solutions;
};
// Reads <textDir>/<name>.txt and <solutionDir>/<name>.txt; throws
// std::runtime_error when a file cannot be read or a level text is malformed.
SetText readSet(const std::filesystem::path& textDir, const std::filesystem::path& solutionDir,
                const std::string& name);

// The stored solutions of a set, one line a level; throws when the file
// cannot be read.
std::vector<std::string> readSolutions(const std::filesystem::path& path);

struct Problem {
    std::string set;
    int number = 0; // 1-based
    std::string what;
};

struct Rules {
    int minPushes = 5;
    // The first lessons of this set may be shorter.
    std::string lessonSet = "easy";
    int shortLessons = 8;
};

// Every level of every set: one worker, its stored solution solves it, it
// needs at least the pushes the rules ask, every box moves, every floor
// square can be reached, and no two levels anywhere are the same puzzle or
// near twins (NearLevels).
std::vector<Problem> check(const std::vector<SetText>& sets, const Rules& rules = {});

} // namespace sokoban::levelcheck
