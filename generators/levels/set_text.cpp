#include "set_text.h"

#include "core/level_text.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace sokoban::settext {

namespace {

bool isRowChar(char c) {
    return c == '#' || c == ' ' || c == '.' || c == '$' || c == '*' || c == '@' || c == '+';
}

std::runtime_error fault(int line, const std::string& what) {
    return std::runtime_error("line " + std::to_string(line) + ": " + what);
}

std::vector<std::string> linesOf(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string line(text.substr(start, end - start));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

} // namespace

std::vector<SetLevel> parseSet(std::string_view text) {
    const std::vector<std::string> lines = linesOf(text);
    std::vector<int> headings; // 1-based line numbers
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const int number = static_cast<int>(i) + 1;
        if (!line.empty() && line.front() == ';') {
            headings.push_back(number);
            continue;
        }
        const auto bad = std::find_if_not(line.begin(), line.end(), isRowChar);
        if (bad != line.end())
            throw fault(number, "unexpected character '" + std::string(1, *bad) + "'");
    }

    std::vector<SetLevel> levels;
    for (core::TextLevel& t : core::readLevelText(text, core::ReadMode::Collection)) {
        const int heading = t.firstLine - 1;
        const bool headed =
            heading >= 1 && std::binary_search(headings.begin(), headings.end(), heading);
        if (!headed) throw fault(t.firstLine, "board rows without a ';' heading right above them");
        if (!t.fits()) throw fault(t.firstLine, "a level larger than 64 x 64");
        SetLevel level;
        level.line = heading;
        const std::string& h = lines[static_cast<std::size_t>(heading - 1)];
        const std::size_t words = h.find_first_not_of(" ;");
        level.heading = words == std::string::npos ? std::string() : h.substr(words);
        for (std::string row : t.rows) {
            row.erase(row.find_last_not_of(' ') + 1);
            level.rows.push_back(std::move(row));
        }
        // Trailing blanks make no board wider: the same rows give the same board.
        level.board = t.board(t.trimmedWidth);
        level.workers = t.workers;
        levels.push_back(std::move(level));
    }
    if (levels.size() != headings.size()) {
        for (std::size_t i = 0; i < headings.size(); ++i)
            if (i >= levels.size() || levels[i].line != headings[i])
                throw fault(headings[i], "a heading with no level below it");
    }
    return levels;
}

std::vector<SetLevel> readSetFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(path.string() + ": cannot be read");
    std::stringstream text;
    text << in.rdbuf();
    try {
        return parseSet(text.str());
    } catch (const std::exception& e) {
        throw std::runtime_error(path.string() + ": " + e.what());
    }
}

core::Board boardOfRows(const std::vector<std::string>& rows) {
    std::string text;
    for (const auto& r : rows)
        text += r + "\n";
    std::vector<core::TextLevel> read = core::readLevelText(text, core::ReadMode::Collection);
    return read.empty() ? core::Board() : read.front().board();
}

std::vector<std::string> rowsOf(const core::Board& board) {
    std::vector<std::string> rows = core::toXsbRows(board);
    while (!rows.empty() && rows.back().empty())
        rows.pop_back();
    const auto firstDrawn =
        std::find_if(rows.begin(), rows.end(), [](const std::string& r) { return !r.empty(); });
    rows.erase(rows.begin(), firstDrawn);
    std::size_t lead = std::string::npos;
    for (const auto& r : rows)
        if (!r.empty()) lead = std::min(lead, r.find_first_not_of(' '));
    if (lead != std::string::npos)
        for (auto& r : rows)
            r.erase(0, std::min(lead, r.size()));
    return rows;
}

} // namespace sokoban::settext
