#include "level_text.h"

#include "board.h"
#include "maze_board.h"

#include "core/lurd.h"
#include "core/rules.h"

#include <algorithm>
#include <cstdio>
#include <functional>

namespace sokoban {

bool tooLarge(const TextLevel& level) {
    return !level.fits(kRows, kCols);
}

TMazeData levelMaze(const TextLevel& level) {
    return centredMaze(level.board(kCols));
}

std::vector<TextLevel> parseLevelText(std::string_view text) {
    return core::readLevelText(text, core::ReadMode::Collection);
}

namespace {

// Streams a plain file to `feed`, then calls `finish`.
XsbStatus streamFile(const std::filesystem::path& path,
                     const std::function<void(std::string_view)>& feed,
                     const std::function<void()>& finish) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) return XsbStatus::Missing;
    // A directory, a pipe or a device could block or never end.
    if (status.type() != std::filesystem::file_type::regular) return XsbStatus::ReadError;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return XsbStatus::ReadError;
    std::vector<char> buffer(256 * 1024);
    bool failed = false;
    for (;;) {
        const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), f);
        feed({buffer.data(), n});
        if (n < buffer.size()) {
            failed = std::ferror(f) != 0;
            break;
        }
    }
    std::fclose(f);
    if (failed) return XsbStatus::ReadError;
    finish();
    return XsbStatus::Ok;
}

LevelTextSummary summaryOf(const core::FirstLevelReader& reader) {
    LevelTextSummary summary;
    summary.levelCount = reader.levelCount();
    const auto& first = reader.first();
    if (!first) {
        summary.first = centredMaze(core::Board{});
        return summary;
    }
    summary.title = first->title;
    summary.author = first->author;
    if (tooLarge(*first))
        summary.status = XsbStatus::TooBig;
    else
        summary.first = levelMaze(*first);
    return summary;
}

} // namespace

XsbStatus readLevelTextFile(const std::filesystem::path& path, LevelTextReader& reader) {
    return streamFile(
        path, [&](std::string_view bytes) { reader.feed(bytes); }, [&] { reader.finish(); });
}

LevelTextSummary summariseLevelText(std::string_view text) {
    core::FirstLevelReader reader;
    reader.feed(text);
    reader.finish();
    return summaryOf(reader);
}

LevelTextSummary summariseLevelFile(const std::filesystem::path& path) {
    core::FirstLevelReader reader;
    const XsbStatus status = streamFile(
        path, [&](std::string_view bytes) { reader.feed(bytes); }, [&] { reader.finish(); });
    if (status != XsbStatus::Ok) {
        LevelTextSummary failed;
        failed.status = status;
        return failed;
    }
    return summaryOf(reader);
}

XsbResult readFirstLevel(const std::filesystem::path& path) {
    const LevelTextSummary s = summariseLevelFile(path);
    XsbResult r;
    r.status = s.status == XsbStatus::Ok && s.levelCount == 0 ? XsbStatus::NoLevel : s.status;
    if (r.status == XsbStatus::Ok) r.maze = s.first;
    return r;
}

TMazeData centredLevel(const TMazeData& level) {
    const BoundingBox box = boundingBox(level.cells);
    const int top = (kRows - box.height()) / 2, left = (kCols - box.width()) / 2;
    const int shift = (top - box.top) * kCols + (left - box.left);
    if (shift == 0) return level;
    TMazeData out;
    for (int r = box.top; r <= box.bottom; ++r)
        for (int c = box.left; c <= box.right; ++c) {
            const int i = r * kCols + c;
            out.cells[static_cast<std::size_t>(i + shift)] =
                level.cells[static_cast<std::size_t>(i)];
        }
    out.man = static_cast<std::int16_t>(level.man + shift);
    return out;
}

std::string collectionTitle(const std::string& title, int level, const UntitledName& untitled) {
    const std::string t = core::cleanTitle(title);
    return t.empty() ? core::cleanTitle(untitled(level)) : t;
}

std::string collectionEntry(const TMazeData& level, int number, const std::string& title,
                            const std::string& author, const UntitledName& untitled,
                            const std::string& solution) {
    return collectionEntry(boardOf(level), number, title, author, untitled, solution);
}

std::string collectionEntry(const core::Board& level, int number, const std::string& title,
                            const std::string& author, const UntitledName& untitled,
                            const std::string& solution) {
    std::string out = writeXsb(level);
    out += "Title: " + collectionTitle(title, number, untitled) + "\r\n";
    const std::string a = core::cleanTitle(author);
    if (!a.empty()) out += "Author: " + a + "\r\n";
    if (!solution.empty()) {
        out += "Solution:\r\n";
        constexpr std::size_t kLine = 70;
        for (std::size_t at = 0; at < solution.size(); at += kLine)
            out += solution.substr(at, kLine) + "\r\n";
    }
    out += "\r\n";
    return out;
}

namespace {

core::Moves movesOf(const TAnswerData& answer, int count) {
    core::Moves moves;
    for (int i = 0; i < count; ++i)
        moves.push_back(static_cast<std::uint8_t>(answer.moveAt(i)));
    return moves;
}

} // namespace

std::string solutionText(const core::Board& level, const TAnswerData& answer) {
    const int n = std::clamp<int>(answer.moves, 0, TAnswerData::kCapacity);
    return core::lurdOf(level, movesOf(answer, n));
}

std::string solutionText(const TMazeData& level, const TAnswerData& answer) {
    return solutionText(boardOf(level), answer);
}

core::MoveFigures answerFigures(const core::Board& level, const TAnswerData& answer) {
    const int n = std::clamp<int>(answer.moves, 0, TAnswerData::kCapacity);
    return core::figuresOf(level, movesOf(answer, n));
}

core::MoveFigures answerFigures(const TMazeData& level, const TAnswerData& answer) {
    return answerFigures(boardOf(level), answer);
}

AnswerReplay replayAnswer(const TMazeData& level, const TAnswerData& answer) {
    return replayAnswer(boardOf(level), answer);
}

AnswerReplay replayAnswer(const core::Board& level, const TAnswerData& answer) {
    AnswerReplay r;
    if (answer.moves < 1) {
        r.error = SolutionError::Empty;
        return r;
    }
    if (answer.moves > TAnswerData::kCapacity) {
        r.error = SolutionError::TooLong;
        return r;
    }
    core::Board board = level;
    for (int i = 0; i < answer.moves; ++i) {
        const auto made = core::apply(board, static_cast<core::Dir>(answer.moveAt(i))).kind;
        if (made == core::MoveKind::Blocked) {
            r.error = SolutionError::Blocked;
            r.move = i + 1;
            return r;
        }
        ++r.moves;
        if (made == core::MoveKind::Push) ++r.pushes;
        if (core::solved(board)) return r;
    }
    r.error = SolutionError::NotSolved;
    return r;
}

SolutionParse parseSolution(const TMazeData& level, std::string_view text) {
    return parseSolution(boardOf(level), text);
}

MovesParse parseSolutionMoves(const core::Board& level, std::string_view text,
                              std::size_t maxMoves) {
    MovesParse result;
    const core::LurdParse read = core::parseLurd(text, maxMoves);
    if (read.error != core::LurdError::None) {
        result.error = read.error == core::LurdError::TooLong ? SolutionError::TooLong
                                                              : SolutionError::BadCharacter;
        return result;
    }
    if (read.moves.empty()) {
        result.error = SolutionError::Empty;
        return result;
    }
    // Either case is fine: the board tells steps from pushes.
    core::Board board = level;
    for (const core::LurdMove m : read.moves) {
        const core::MoveKind made = core::apply(board, m.dir).kind;
        if (made == core::MoveKind::Blocked) {
            result.error = SolutionError::Blocked;
            result.move = static_cast<int>(result.moves.size()) + 1;
            return result;
        }
        result.moves.push_back(m.dir);
        if (made == core::MoveKind::Push) ++result.pushes;
        // Moves after the last push are of no use to anybody.
        if (core::solved(board)) break;
    }
    if (!core::solved(board)) result.error = SolutionError::NotSolved;
    return result;
}

SolutionParse parseSolution(const core::Board& level, std::string_view text) {
    SolutionParse result;
    const MovesParse read = parseSolutionMoves(level, text, TAnswerData::kCapacity);
    result.error = read.error;
    result.move = read.move;
    if (read.error != SolutionError::None) return result;
    for (std::size_t i = 0; i < read.moves.size(); ++i)
        result.answer.setMove(static_cast<int>(i), read.moves[i]);
    result.answer.moves = static_cast<std::int16_t>(read.moves.size());
    return result;
}

} // namespace sokoban
