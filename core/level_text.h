// THE reader of level text: files and clipboard texts in XSB notation ("#"
// wall, " " floor, "." target, "$" box, "*" box on target, "@" worker, "+"
// worker on target), one level or a whole collection, handed over in pieces
// of any size and read in bounded memory whatever they hold.
#pragma once

#include "core/board.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sokoban::core {

enum class ReadMode {
    // Many levels with titles and notes, in the tolerant forms other
    // programs write. A line is a board row when, with tabs, "-" and "_"
    // read as floor and run lengths ("4#", "3-") written out, it holds
    // nothing but the seven XSB characters; "|" splits a line into several
    // rows; a line of nothing but floor ("-", "_") is a row inside a level
    // and a blank line between levels. Every other line ends a level: blank
    // lines, "Title:", "Author:", "Comment:" ... "Comment-End:" and other
    // "Key: value" lines, lines starting with ";", and any other text. A
    // title or author right below a level that has none belongs to it;
    // otherwise it belongs to the next level. A line of free text right
    // above a level without a "Title:" is its title. "Solution:" (or
    // "Solution (...):") and the lines of move letters after it are the
    // moves of the level above. "Collection:", or a "Title:" of the text's
    // head set apart from the first level by a blank line, names the whole
    // collection. A byte-order mark is skipped; UTF-16 with its mark is read
    // as the same text in UTF-8. Floor that the edge of the text reaches
    // through floor is outside.
    Collection,
    // The game's rules for a single level file: a line is a row when it is
    // not empty and holds nothing but the seven XSB characters; every other
    // line is skipped wherever it stands, and all rows form one level. Floor
    // with a straight run of floor to the edge of the text in any of the
    // four directions is outside.
    SingleLevel,
};

// One level of a text as read.
struct TextLevel {
    ReadMode mode = ReadMode::Collection;
    int number = 0;    // 1-based position in the text
    int firstLine = 0; // the line of its first row, 1-based
    // The first kMaxSide rows, each cut to kMaxSide characters, every floor
    // written " ".
    std::vector<std::string> rows;
    int rowCount = 0;     // all its rows
    int width = 0;        // the longest row
    int trimmedWidth = 0; // the longest row without its trailing blanks
    int workers = 0;      // worker characters
    std::string title;
    std::string author;
    // The moves written below it in the text ("Solution:" and the lines of
    // letters after it), as they stand; empty when there are none.
    std::string solution;

    bool hasWorker() const { return workers > 0; }
    // The level can be laid on a grid this size. A collection's trailing
    // blanks do not count when they alone make it too wide; a single
    // level's do.
    bool fits(int maxRows = kMaxSide, int maxCols = kMaxSide) const;
    // The text rectangle as a board (as wide as the longest row, so that
    // centring it as the game does keeps its place), with the mode's
    // outside rule; a collection's trailing blanks are dropped when they
    // would make it wider than maxCols. The worker stands on the last worker
    // character, or on the top-left cell (0) when there is none. Only for a
    // level that fits.
    Board board(int maxCols = kMaxSide) const;
};

// Feeds levels to a sink as soon as each is complete (a collection level
// once the lines after it show whether a title follows).
class LevelTextReader {
  public:
    using Sink = std::function<void(TextLevel&)>;
    explicit LevelTextReader(Sink sink, ReadMode mode = ReadMode::Collection);
    ~LevelTextReader();
    LevelTextReader(const LevelTextReader&) = delete;
    LevelTextReader& operator=(const LevelTextReader&) = delete;

    void feed(std::string_view bytes);
    // Ends the last line and hands over the last level; a single level text
    // hands over its one level here, if it has any rows.
    void finish();
    int levelCount() const;
    // The name the text gives the whole collection; empty when it gives none.
    std::string collectionName() const;
    // A single level's rows so far and its widest row: a caller with a
    // smaller grid may stop reading once they are too many.
    int rowsSoFar() const;
    int widthSoFar() const;

  private:
    struct State;
    std::unique_ptr<State> s_;
};

std::vector<TextLevel> readLevelText(std::string_view text, ReadMode mode = ReadMode::Collection);

// What a caller that shows or plays the first level of a text learns.
enum class TextStatus {
    Ok,
    NoLevel, // not one level row in the text
    TooBig,  // the first level does not fit the caller's grid
};

// Keeps the first level of a text handed over in pieces and counts them all.
class FirstLevelReader {
  public:
    explicit FirstLevelReader(ReadMode mode = ReadMode::Collection);

    void feed(std::string_view bytes) { reader_.feed(bytes); }
    void finish() { reader_.finish(); }
    // True once a single level has more rows or a wider row than the grid
    // holds: nothing after can make it fit, the rest need not be read.
    bool settled(int maxRows, int maxCols) const;

    TextStatus status(int maxRows = kMaxSide, int maxCols = kMaxSide) const;
    int levelCount() const { return reader_.levelCount(); }
    const std::optional<TextLevel>& first() const { return first_; }

  private:
    ReadMode mode_;
    std::optional<TextLevel> first_;
    LevelTextReader reader_;
};

// A title or author fit to show and to keep in one line of an index: valid
// UTF-8 (anything else becomes "?"), control characters as blanks, at most
// 200 bytes, no blanks at either end.
std::string cleanTitle(std::string_view text);

} // namespace sokoban::core
