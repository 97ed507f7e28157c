// Finishing touches of generated levels, on their XSB rows: cropping,
// boxes that never move turned to wall, dead ends filled, and a name that
// is the same for every turn and mirror image of a puzzle.
#pragma once

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace sokoban::hardlevels {

// The rows without the outside around the walls.
inline std::vector<std::string> crop(std::vector<std::string> rows) {
    for (auto& r : rows)
        while (!r.empty() && r.back() == ' ')
            r.pop_back();
    while (!rows.empty() && rows.back().empty())
        rows.pop_back();
    while (!rows.empty() && rows.front().empty())
        rows.erase(rows.begin());
    std::size_t lead = std::string::npos;
    for (const auto& r : rows)
        if (!r.empty()) lead = std::min(lead, r.find_first_not_of(' '));
    if (lead == std::string::npos) return rows;
    for (auto& r : rows)
        r = r.size() > lead ? r.substr(lead) : std::string();
    return rows;
}

// Pads every row with blanks to the longest; returns that width.
inline int padRows(std::vector<std::string>& rows) {
    int w = 0;
    for (const auto& r : rows)
        w = std::max(w, static_cast<int>(r.size()));
    for (auto& r : rows)
        r.resize(w, ' ');
    return w;
}

// The boxes the solution never moves (they stand on targets) become wall:
// they only narrow the room, and the solution still holds.
inline std::vector<std::string> wallInIdleBoxes(std::vector<std::string> rows,
                                                const std::string& lurd, int& walled) {
    const int h = static_cast<int>(rows.size());
    const int w = padRows(rows);
    std::vector<int> id(h * w, -1);
    std::vector<char> moved;
    int man = -1;
    for (int p = 0; p < h * w; ++p) {
        const char c = rows[p / w][p % w];
        if (c == '$' || c == '*') {
            id[p] = static_cast<int>(moved.size());
            moved.push_back(0);
        }
        if (c == '@' || c == '+') man = p;
    }
    for (char m : lurd) {
        const int step = (m == 'u' || m == 'U')   ? -w
                         : (m == 'd' || m == 'D') ? w
                         : (m == 'l' || m == 'L') ? -1
                                                  : 1;
        const int next = man + step;
        if (id[next] >= 0) {
            moved[id[next]] = 1;
            id[next + step] = id[next];
            id[next] = -1;
        }
        man = next;
    }
    walled = 0;
    for (int p = 0; p < h * w; ++p)
        if (id[p] >= 0 && !moved[id[p]]) {
            rows[p / w][p % w] = '#';
            ++walled;
        }
    return crop(rows);
}

// Dead ends of bare floor the solution never walks into become wall, and
// walls left with no floor beside them go: the puzzle stays the same and
// its solution still holds.
inline std::vector<std::string> fillDeadEnds(std::vector<std::string> rows,
                                             const std::string& lurd) {
    const int h = static_cast<int>(rows.size());
    const int w = padRows(rows);
    auto at = [&](int r, int c) -> char& { return rows[r][c]; };
    int man = -1;
    for (int p = 0; p < h * w; ++p)
        if (at(p / w, p % w) == '@' || at(p / w, p % w) == '+') man = p;
    if (man < 0) return rows;
    std::vector<char> walked(h * w, 0), inside(h * w, 0);
    walked[man] = 1;
    int pos = man;
    for (char m : lurd) {
        const char l = static_cast<char>(std::tolower(static_cast<unsigned char>(m)));
        pos += l == 'u' ? -w : l == 'd' ? w : l == 'l' ? -1 : 1;
        walked[pos] = 1;
    }
    std::vector<int> todo{man};
    inside[man] = 1;
    const int step[4] = {-w, w, -1, 1};
    while (!todo.empty()) {
        const int p = todo.back();
        todo.pop_back();
        for (int d : step) {
            const int q = p + d;
            if (q < 0 || q >= h * w || inside[q] || at(q / w, q % w) == '#') continue;
            inside[q] = 1;
            todo.push_back(q);
        }
    }
    for (bool changed = true; changed;) {
        changed = false;
        for (int p = 0; p < h * w; ++p) {
            if (!inside[p] || walked[p] || at(p / w, p % w) != ' ') continue;
            int walls = 0;
            for (int d : step)
                walls += at((p + d) / w, (p + d) % w) == '#';
            if (walls < 3) continue;
            at(p / w, p % w) = '#';
            inside[p] = 0;
            changed = true;
        }
    }
    for (int p = 0; p < h * w; ++p) {
        if (at(p / w, p % w) != '#') continue;
        bool needed = false;
        for (int dr = -1; dr <= 1; ++dr)
            for (int dc = -1; dc <= 1; ++dc) {
                const int r = p / w + dr, c = p % w + dc;
                if (r >= 0 && c >= 0 && r < h && c < w && inside[r * w + c]) needed = true;
            }
        if (!needed) at(p / w, p % w) = ' ';
    }
    // Holes shut in by walls would read as floor nobody reaches: wall them.
    std::vector<char> out(h * w, 0);
    for (int p = 0; p < h * w; ++p) {
        const int r = p / w, c = p % w;
        if ((r == 0 || c == 0 || r == h - 1 || c == w - 1) && at(r, c) == ' ' && !inside[p]) {
            out[p] = 1;
            todo.push_back(p);
        }
    }
    while (!todo.empty()) {
        const int p = todo.back();
        todo.pop_back();
        for (int d : step) {
            const int q = p + d;
            if (q < 0 || q >= h * w || (d == 1 && q % w == 0) || (d == -1 && p % w == 0)) continue;
            if (out[q] || inside[q] || at(q / w, q % w) == '#') continue;
            out[q] = 1;
            todo.push_back(q);
        }
    }
    for (int p = 0; p < h * w; ++p)
        if (!inside[p] && !out[p] && at(p / w, p % w) == ' ') at(p / w, p % w) = '#';
    return crop(rows);
}

// A name for the puzzle that is the same for all its turns and mirror
// images; the worker counts only by the area it stands in, so it is left out.
inline std::string canonical(const std::vector<std::string>& in) {
    std::vector<std::string> rows = crop(in);
    const int h = static_cast<int>(rows.size());
    int w = 0;
    for (const auto& r : rows)
        w = std::max(w, static_cast<int>(r.size()));
    for (auto& r : rows) {
        r.resize(w, ' ');
        for (char& c : r)
            c = c == '@' ? ' ' : c == '+' ? '.' : c;
    }
    std::string best;
    for (int t = 0; t < 8; ++t) {
        const bool swap = t & 1;
        const int H = swap ? w : h, W = swap ? h : w;
        std::string s = std::to_string(H) + "x" + std::to_string(W) + ":";
        for (int r = 0; r < H; ++r)
            for (int c = 0; c < W; ++c) {
                int rr = swap ? c : r, cc = swap ? r : c;
                if (t & 2) rr = h - 1 - rr;
                if (t & 4) cc = w - 1 - cc;
                s += rows[rr][cc];
            }
        if (best.empty() || s < best) best = s;
    }
    return best;
}

} // namespace sokoban::hardlevels
