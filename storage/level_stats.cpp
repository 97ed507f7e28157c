#include "level_stats.h"

#include "file_places.h"
#include "safe_write.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>

namespace sokoban {

namespace fs = std::filesystem;

namespace {

constexpr const char* kHeader = "sokoban level statistics 1";
// Far beyond any set a level number can come from.
constexpr long long kMaxLevel = 1 << 20;

// A whole number in 0 .. max, or -1.
long long wholeNumber(const std::string& s, long long max) {
    if (s.empty() || s.size() > 18 ||
        !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    const long long n = std::strtoll(s.c_str(), nullptr, 10);
    return n <= max ? n : -1;
}

} // namespace

fs::path levelStatsFile(const std::string& boxFile, const fs::path& appDir) {
    return FilePlaces(appDir).companionBase(boxFile) + ".stats";
}

std::vector<LevelStats> readLevelStats(const fs::path& file) {
    std::vector<LevelStats> stats;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line) || line != kHeader) return stats;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string level, attempts, seconds;
        if (!std::getline(fields, level, '\t') || !std::getline(fields, attempts, '\t') ||
            !std::getline(fields, seconds))
            continue;
        const long long n = wholeNumber(level, kMaxLevel);
        const long long a = wholeNumber(attempts, std::numeric_limits<int>::max());
        const long long s = wholeNumber(seconds, std::numeric_limits<std::int64_t>::max() / 2);
        if (n < 1 || a < 0 || s < 0) continue;
        if (static_cast<std::size_t>(n) > stats.size()) stats.resize(static_cast<std::size_t>(n));
        stats[static_cast<std::size_t>(n - 1)] = {static_cast<int>(a), s};
    }
    return stats;
}

void addLevelStats(const fs::path& file, int level, const LevelStats& more) {
    if (level < 1 || level > kMaxLevel) return;
    // Two copies of the game take turns: each adds to what the other wrote.
    const FolderLock lock(file.parent_path());
    std::vector<LevelStats> stats = readLevelStats(file);
    if (static_cast<std::size_t>(level) > stats.size())
        stats.resize(static_cast<std::size_t>(level));
    LevelStats& s = stats[static_cast<std::size_t>(level - 1)];
    s.attempts = static_cast<int>(std::min<long long>(
        std::numeric_limits<int>::max(), static_cast<long long>(s.attempts) + more.attempts));
    s.seconds = std::min<std::int64_t>(std::numeric_limits<std::int64_t>::max() / 2,
                                       s.seconds + more.seconds);
    std::string text = std::string(kHeader) + "\n";
    for (std::size_t k = 0; k < stats.size(); ++k)
        if (stats[k].attempts != 0 || stats[k].seconds != 0)
            text += std::to_string(k + 1) + "\t" + std::to_string(stats[k].attempts) + "\t" +
                    std::to_string(stats[k].seconds) + "\n";
    replaceFileContents(file, Bytes(text.begin(), text.end()));
}

} // namespace sokoban
