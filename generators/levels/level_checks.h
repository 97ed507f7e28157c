// Figures and quality checks of the built-in level sets, read from their
// texts and stored solutions. Shared by the figures table tool and the
// level-set tests so both judge the levels the same way. No solver here:
// everything is plain counting and replaying.
#pragma once

#include "level_text.h"

#include <filesystem>
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
Shape shapeOf(const std::vector<std::string>& rows);

// A stored solution played on the level by the plain rules.
struct Replay {
    bool solved = false;
    std::string error; // the first move the rules refuse, or what is left undone
    int moves = 0;
    int pushes = 0;
    // Times a push moves another box than the push before it.
    int boxChanges = 0;
    // Boxes that no push of the solution moves.
    int idleBoxes = 0;
};
Replay replay(const std::vector<std::string>& rows, const std::string& lurd);

// The same string for two levels exactly when they are the same puzzle up to
// position, rotation and reflection: the board cut down to the squares the
// worker can reach (boxes ignored), and the worker's square replaced by the
// area he can walk to without pushing.
std::string canonicalForm(const std::vector<std::string>& rows);

// One set as text levels with their stored solutions, line by line.
struct SetText {
    std::string name;
    std::vector<leveltext::TextLevel> levels;
    std::vector<std::string> solutions;
};
// Reads <textDir>/<name>.txt and <solutionDir>/<name>.txt; throws
// std::runtime_error when a file cannot be read or a level text is malformed.
SetText readSet(const std::filesystem::path& textDir, const std::filesystem::path& solutionDir,
                const std::string& name);

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

// Every level of every set: its stored solution solves it, it needs at least
// the pushes the rules ask, every box moves, every floor square can be
// reached, and no two levels anywhere are the same puzzle.
std::vector<Problem> check(const std::vector<SetText>& sets, const Rules& rules = {});

} // namespace sokoban::levelcheck
