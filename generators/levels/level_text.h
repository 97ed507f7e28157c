// The text form of the built-in level sets: every level is a block of rows
// in the usual notation ("#" wall, " " floor, "." target, "$" box,
// "*" box on target, "@" worker, "+" worker on target), and every block is
// introduced by a line starting with ";" (normally "; <number>"). Empty
// lines are ignored. Shared by the level-set generator and the checking
// solver so both read exactly the same boards.
#pragma once

#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace sokoban::leveltext {

struct TextLevel {
    std::string title;             // text after the ";" of the heading line
    int line = 0;                  // line number of the heading, for messages
    std::vector<std::string> rows; // as written, trailing blanks removed
};

inline bool isBoardChar(char c) {
    return c == '#' || c == ' ' || c == '.' || c == '$' || c == '*' || c == '@' || c == '+';
}

// Reads all levels of a text; throws std::runtime_error naming the line of
// anything that is not a board row or a heading.
inline std::vector<TextLevel> readLevels(std::istream& in) {
    std::vector<TextLevel> levels;
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == ';') {
            TextLevel level;
            level.line = lineNo;
            auto start = line.find_first_not_of(" ;");
            level.title = start == std::string::npos ? "" : line.substr(start);
            levels.push_back(level);
            continue;
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        if (line.empty()) continue;
        for (char c : line)
            if (!isBoardChar(c))
                throw std::runtime_error("line " + std::to_string(lineNo) +
                                         ": unexpected character '" + std::string(1, c) + "'");
        if (levels.empty())
            throw std::runtime_error("line " + std::to_string(lineNo) +
                                     ": board row before the first ';' heading");
        levels.back().rows.push_back(line);
    }
    return levels;
}

} // namespace sokoban::leveltext
