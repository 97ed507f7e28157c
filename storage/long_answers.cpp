#include "storage/long_answers.h"

#include "storage/file_places.h"
#include "storage/records.h"
#include "storage/safe_write.h"

#include <cstdlib>
#include <fstream>

namespace sokoban {

namespace fs = std::filesystem;

namespace {

constexpr const char* kHeader = "sokoban long answers 1";
constexpr char kLetter[4] = {'u', 'd', 'l', 'r'};
// No collection has more levels than a set can number.
constexpr long kMaxLevel = 1L << 20;

int codeOf(char c) {
    for (int k = 0; k < 4; ++k)
        if (c == kLetter[k]) return k;
    return -1;
}

} // namespace

fs::path longAnswersFile(const std::string& boxFile, const fs::path& appDir) {
    return FilePlaces(appDir).companionBase(boxFile) + ".long";
}

std::map<int, core::Moves> readLongAnswers(const fs::path& file) {
    std::map<int, core::Moves> answers;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line) || line != kHeader) return answers;
    while (std::getline(in, line)) {
        const auto tab = line.find('\t');
        if (tab == std::string::npos) continue;
        char* end = nullptr;
        const long level = std::strtol(line.c_str(), &end, 10);
        if (end != line.c_str() + tab || level < 1 || level > kMaxLevel) continue;
        core::Moves moves;
        moves.reserve(line.size() - tab);
        bool good = tab + 1 < line.size();
        for (std::size_t i = tab + 1; i < line.size() && good; ++i) {
            const int code = codeOf(line[i]);
            good = code >= 0;
            moves.push_back(static_cast<std::uint8_t>(code));
        }
        if (good) answers[static_cast<int>(level)] = std::move(moves);
    }
    return answers;
}

core::Moves readLongAnswer(const fs::path& file, int level) {
    std::map<int, core::Moves> all = readLongAnswers(file);
    const auto it = all.find(level);
    return it == all.end() ? core::Moves() : std::move(it->second);
}

std::string longAnswersText(const std::map<int, core::Moves>& answers) {
    std::string text = std::string(kHeader) + "\n";
    for (const auto& [level, moves] : answers) {
        if (moves.empty()) continue;
        text += std::to_string(level) + '\t';
        for (const std::uint8_t code : moves)
            text += kLetter[code & 3];
        text += '\n';
    }
    return text;
}

void putLongAnswer(const fs::path& file, int level, const core::Moves& moves) {
    if (level < 1 || level > kMaxLevel) return;
    // Two copies of the game take turns: each keeps what the other wrote.
    const FolderLock lock(file.parent_path());
    std::map<int, core::Moves> answers = readLongAnswers(file);
    if (moves.empty()) {
        std::error_code ec;
        if (answers.erase(level) == 0 || !fs::exists(file, ec)) return;
    } else {
        answers[level] = moves;
    }
    const std::string text = longAnswersText(answers);
    replaceFileContents(file, Bytes(text.begin(), text.end()));
}

} // namespace sokoban
