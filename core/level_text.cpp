#include "core/level_text.h"

#include "core/flood.h"

#include <algorithm>
#include <array>

namespace sokoban::core {

namespace {

// Longer lines are no level rows and no title anyone wants to read; only
// this much of a line is kept, the rest is only looked at.
constexpr std::size_t kMaxLine = 64 * 1024;
constexpr std::size_t kMaxTitle = 200;
// Far longer than any answer a player writes down.
constexpr std::size_t kMaxSolution = 1 << 20;
constexpr int kMaxRun = 100000;
// Lengths stop counting here: far past any board, far from overflowing.
constexpr int kMaxLength = kMaxRun * 4;

bool isLineEnd(char c) {
    return c == '\n' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isXsbChar(char c) {
    switch (c) {
    case '#':
    case '@':
    case '+':
    case '$':
    case '*':
    case '.':
    case ' ':
        return true;
    default:
        return false;
    }
}

// A character of a collection's board row and the XSB character it stands
// for; 0 for anything else.
char rowChar(char c) {
    if (isXsbChar(c)) return c;
    return c == '-' || c == '_' || c == '\t' ? ' ' : 0;
}

// Bytes that may stand in the unread tail of an overlong row.
bool rowByte(char c) {
    return rowChar(c) != 0 || isDigit(c) || c == '|';
}

bool isWorker(char c) {
    return c == '@' || c == '+';
}

struct Row {
    std::array<char, kMaxSide> text{};
    int length = 0;
    int trimmed = 0; // up to the last character that is not a blank
    int workers = 0;
};

// Blank: nothing but blanks; Floor: nothing but floor, some of it written
// "-" or "_"; Rows: walls, boxes, targets or a worker.
enum class LineKind { Blank, Floor, Rows };

// Writes out a collection's line as board rows; nullopt when it is not made
// of rows.
std::optional<LineKind> expandRows(std::string_view line, std::vector<Row>& rows) {
    rows.clear();
    Row row;
    bool inRow = false;
    int run = -1; // -1: no run length given
    bool anyContent = false;
    bool writtenFloor = false;
    const auto endRow = [&] {
        if (inRow) {
            if (row.trimmed > 0) anyContent = true;
            rows.push_back(row);
        }
        row = Row{};
        inRow = false;
    };
    for (const char raw : line) {
        if (isDigit(raw)) {
            run = std::min(kMaxRun, std::max(run, 0) * 10 + (raw - '0'));
            continue;
        }
        if (raw == '|') {
            if (run >= 0) return std::nullopt; // a count of nothing
            endRow();
            continue;
        }
        const char c = rowChar(raw);
        if (c == 0) return std::nullopt;
        if (raw == '-' || raw == '_') writtenFloor = true;
        const int n = run < 0 ? 1 : run;
        run = -1;
        inRow = true;
        // Only the first kMaxSide characters are stored; the lengths go on.
        if (row.length < kMaxSide)
            std::fill_n(row.text.begin() + row.length, std::min(n, kMaxSide - row.length), c);
        row.length = std::min(kMaxLength, row.length + n);
        if (c != ' ' && n > 0) row.trimmed = row.length;
        if (isWorker(c)) row.workers = std::min(kMaxLength, row.workers + n);
    }
    if (run >= 0) return std::nullopt;
    endRow();
    return anyContent ? LineKind::Rows : writtenFloor ? LineKind::Floor : LineKind::Blank;
}

std::string_view trimBlanks(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\0'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// Length of the UTF-8 sequence at s[i], or 0 when it is not valid.
std::size_t utf8Length(std::string_view s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return 0;
    return n;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

constexpr char32_t kReplacement = 0xFFFD;

// UTF-16 handed over in pieces of any size, to UTF-8. A piece may end in
// the middle of a code unit or between the two halves of a pair.
class Utf16ToUtf8 {
  public:
    explicit Utf16ToUtf8(bool bigEndian) : bigEndian_(bigEndian) {}

    std::string decode(std::string_view bytes) {
        std::string out;
        out.reserve(bytes.size() * 3 / 2);
        for (const char b : bytes) {
            if (!haveByte_) {
                firstByte_ = static_cast<unsigned char>(b);
                haveByte_ = true;
                continue;
            }
            haveByte_ = false;
            const auto second = static_cast<unsigned char>(b);
            unit(out, static_cast<char16_t>(bigEndian_ ? firstByte_ << 8 | second
                                                       : second << 8 | firstByte_));
        }
        return out;
    }
    // A first half of a pair left at the end stands for a character that
    // cannot be read; a lone last byte is no character at all.
    std::string finish() {
        std::string out;
        if (high_) appendUtf8(out, kReplacement);
        high_ = 0;
        haveByte_ = false;
        return out;
    }

  private:
    void unit(std::string& out, char16_t u) {
        if (high_) {
            if (u >= 0xDC00 && u <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((char32_t(high_) - 0xD800) << 10) + (u - 0xDC00));
                high_ = 0;
                return;
            }
            appendUtf8(out, kReplacement);
            high_ = 0;
        }
        if (u >= 0xD800 && u <= 0xDBFF)
            high_ = u;
        else if (u >= 0xDC00 && u <= 0xDFFF)
            appendUtf8(out, kReplacement);
        else
            appendUtf8(out, u);
    }

    bool bigEndian_;
    bool haveByte_ = false;
    unsigned firstByte_ = 0;
    char16_t high_ = 0;
};

// How the bytes of a collection are read: UTF-16 with its byte-order mark
// is turned into UTF-8 first; everything else goes to the lines as it is.
enum class Encoding { Unknown, Bytes, Utf16LE, Utf16BE };

} // namespace

std::string cleanTitle(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size() && out.size() < kMaxTitle;) {
        const std::size_t n = utf8Length(s, i);
        if (n == 0) {
            out += '?';
            ++i;
        } else if (n == 1 && static_cast<unsigned char>(s[i]) < 0x20) {
            out += ' ';
            ++i;
        } else {
            out.append(s.substr(i, n));
            i += n;
        }
    }
    return std::string(trimBlanks(out));
}

// --- the level as a board ------------------------------------------------------

bool TextLevel::fits(int maxRows, int maxCols) const {
    const int w = mode == ReadMode::Collection ? trimmedWidth : width;
    return rowCount <= maxRows && w <= maxCols;
}

Board TextLevel::board(int maxCols) const {
    // Trailing blanks count as they do in a single file unless they alone
    // make a collection's level too wide.
    const bool trim = mode == ReadMode::Collection && width > std::min(maxCols, kMaxSide);
    std::vector<int> length(rows.size());
    int w = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::size_t n = trim ? rows[r].find_last_not_of(' ') + 1 : rows[r].size();
        length[r] = static_cast<int>(n);
        w = std::max(w, length[r]);
    }

    Board b(static_cast<int>(rows.size()), w);
    // Cells past the end of a short row stay outside (and let the edge in).
    const auto past = [&](int r, int c) { return c >= length[static_cast<std::size_t>(r)]; };
    b.worker = 0;
    bool hasWorker = false;
    for (int r = 0; r < b.rows; ++r) {
        const std::string& row = rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < length[static_cast<std::size_t>(r)]; ++c) {
            const char ch = row[static_cast<std::size_t>(c)];
            b.set(b.cellAt(r, c), ch == '#'   ? kWall
                                  : ch == '.' ? kTarget
                                  : ch == '+' ? kTarget
                                  : ch == '$' ? kBox
                                  : ch == '*' ? kBoxOnTarget
                                              : kFloor);
            if (isWorker(ch)) {
                b.worker = b.cellAt(r, c);
                hasWorker = true;
            }
        }
    }

    const auto n = static_cast<std::size_t>(b.size());
    std::vector<std::uint8_t> outside(n, 0);
    const auto floor = [&](int r, int c) { return !past(r, c) && b.at(r, c) == kFloor; };
    if (mode == ReadMode::SingleLevel) {
        // Floor belongs outside when a straight run of floor leads from it to
        // the edge of the text in any direction. The runs are taken over the
        // text only, so a cell turned outside opens no way for others. One
        // bit per direction: left, up, right, down.
        const auto at = [&](int r, int c) { return static_cast<std::size_t>(b.cellAt(r, c)); };
        std::vector<std::uint8_t> run(n, 0);
        for (int r = 0; r < b.rows; ++r)
            for (int c = 0; c < b.cols; ++c)
                if (floor(r, c))
                    run[at(r, c)] =
                        static_cast<std::uint8_t>((c == 0 || (run[at(r, c - 1)] & 1) ? 1 : 0) |
                                                  (r == 0 || (run[at(r - 1, c)] & 2) ? 2 : 0));
        for (int r = b.rows - 1; r >= 0; --r)
            for (int c = b.cols - 1; c >= 0; --c)
                if (floor(r, c))
                    run[at(r, c)] |= static_cast<std::uint8_t>(
                        (c == b.cols - 1 || (run[at(r, c + 1)] & 4) ? 4 : 0) |
                        (r == b.rows - 1 || (run[at(r + 1, c)] & 8) ? 8 : 0));
        for (std::size_t i = 0; i < n; ++i)
            outside[i] = run[i] != 0;
    } else {
        // Spread from every open cell of the edge through blank floor and the
        // gaps past short rows; the worker's own cell stays in the level.
        std::vector<std::uint8_t> open(n, 0);
        for (int r = 0; r < b.rows; ++r)
            for (int c = 0; c < b.cols; ++c)
                open[static_cast<std::size_t>(b.cellAt(r, c))] = past(r, c) || floor(r, c);
        if (hasWorker) open[static_cast<std::size_t>(b.worker)] = 0;
        Flood<> flood(b.size());
        const auto visit = [&](int r, int c) {
            const int i = b.cellAt(r, c);
            if (open[static_cast<std::size_t>(i)]) flood.visit(i);
        };
        for (int r = 0; r < b.rows; ++r)
            for (int c = 0; c < b.cols; ++c)
                if ((r == 0 || c == 0 || r == b.rows - 1 || c == b.cols - 1) &&
                    open[static_cast<std::size_t>(b.cellAt(r, c))])
                    flood.start(b.cellAt(r, c));
        flood.run([&](int i) {
            const int r = i / b.cols, c = i % b.cols;
            if (r > 0) visit(r - 1, c);
            if (r < b.rows - 1) visit(r + 1, c);
            if (c > 0) visit(r, c - 1);
            if (c < b.cols - 1) visit(r, c + 1);
        });
        for (const int i : flood.order())
            outside[static_cast<std::size_t>(i)] = 1;
    }
    for (std::size_t i = 0; i < n; ++i)
        if (outside[i]) b.cells[i] = kOutside;
    return b;
}

// --- reading -------------------------------------------------------------------

struct LevelTextReader::State {
    Sink sink;
    ReadMode mode = ReadMode::Collection;
    Encoding encoding = Encoding::Unknown;
    std::string head; // the first bytes, until they tell the encoding
    std::optional<Utf16ToUtf8> utf16;
    std::string line;
    bool overflow = false;
    bool restRowBytes = true; // the unkept tail of the line could belong to a row
    bool restContent = false; // ... and holds more than blanks
    std::size_t lineLength = 0;
    bool allXsb = true; // every byte of the line so far is an XSB character
    bool afterCr = false;
    int lineNo = 0;
    bool inCommentBlock = false;
    int count = 0;
    std::vector<Row> rowBuffer;
    std::optional<TextLevel> current;  // rows being read
    std::optional<TextLevel> previous; // rows ended; its title may follow
    std::string pendingTitle, pendingAuthor;
    std::string freeTitle;      // the free text line right above, if any
    std::string collectionName; // from "Collection:" or the head's "Title:"
    bool inSolution = false;    // lines of move letters belong to a solution

    void feedBytes(std::string_view bytes);
    void feedText(std::string_view bytes);

    void take(const char* p, std::size_t n) {
        lineLength = std::min(lineLength + n, std::size_t{kMaxLength});
        if (mode == ReadMode::SingleLevel) {
            // Only the first kMaxSide characters of a row are ever stored.
            const std::size_t room = kMaxSide - std::min<std::size_t>(kMaxSide, line.size());
            line.append(p, std::min(room, n));
            allXsb = allXsb && std::all_of(p, p + n, isXsbChar);
            return;
        }
        const std::size_t room = kMaxLine - std::min(kMaxLine, line.size());
        line.append(p, std::min(room, n));
        if (n > room) {
            overflow = true;
            for (std::size_t k = room; k < n; ++k) {
                if (!rowByte(p[k])) restRowBytes = false;
                if (p[k] != ' ' && p[k] != '-' && p[k] != '_' && p[k] != '\t') restContent = true;
            }
        }
    }

    void emitPrevious() {
        if (!previous) return;
        sink(*previous);
        previous.reset();
    }

    void endBoard() {
        if (current) {
            previous = std::move(current);
            current.reset();
        }
    }

    static void addRow(TextLevel& l, const Row& row) {
        if (l.rowCount < kMaxSide)
            l.rows.emplace_back(row.text.data(),
                                static_cast<std::size_t>(std::min(row.length, kMaxSide)));
        ++l.rowCount;
        l.width = std::max(l.width, row.length);
        l.trimmedWidth = std::max(l.trimmedWidth, row.trimmed);
        l.workers = std::min(kMaxLength, l.workers + row.workers);
    }

    void startBoard() {
        emitPrevious();
        if (current) return;
        current.emplace();
        current->mode = mode;
        current->number = ++count;
        current->firstLine = lineNo;
        current->title = std::move(pendingTitle.empty() ? freeTitle : pendingTitle);
        current->author = std::move(pendingAuthor);
        pendingTitle.clear();
        pendingAuthor.clear();
        freeTitle.clear();
    }

    // A title or author line: right below a level without one it is that
    // level's, otherwise it names the next level.
    void metadata(std::string TextLevel::*field, std::string& pending, std::string value) {
        endBoard();
        if (previous && ((*previous).*field).empty()) {
            (*previous).*field = std::move(value);
            return;
        }
        emitPrevious();
        pending = std::move(value);
    }

    void endLine() {
        ++lineNo;
        std::string_view text(line);
        if (mode == ReadMode::SingleLevel)
            singleLine(text);
        else
            collectionLine(lineNo == 1 && text.substr(0, 3) == "\xef\xbb\xbf" ? text.substr(3)
                                                                              : text);
        line.clear();
        overflow = false;
        restRowBytes = true;
        restContent = false;
        lineLength = 0;
        allXsb = true;
    }

    void singleLine(std::string_view text) {
        if (lineLength == 0 || !allXsb) return;
        if (!current) {
            current.emplace();
            current->mode = mode;
            current->number = ++count;
            current->firstLine = lineNo;
        }
        Row row;
        std::copy(text.begin(), text.end(), row.text.begin());
        row.length = static_cast<int>(lineLength);
        const std::size_t last = text.find_last_not_of(' ');
        // Trailing blanks of the unkept tail are not looked at; such a row is
        // far too wide anyway.
        row.trimmed = lineLength > text.size() ? row.length
                      : last == text.npos      ? 0
                                               : static_cast<int>(last) + 1;
        row.workers = static_cast<int>(std::count_if(text.begin(), text.end(), isWorker));
        addRow(*current, row);
    }

    // The key of a "Key: value" line, lower-cased; empty for other lines.
    static std::string keyOf(std::string_view t) {
        const std::size_t colon = t.find(':');
        if (colon == std::string_view::npos || colon == 0) return {};
        for (std::size_t k = 0; k < colon; ++k) {
            const char c = t[k];
            if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c) || c == '-' ||
                  c == '_'))
                return {};
        }
        return lower(t.substr(0, colon));
    }

    // A line of move letters ("l", "u", "r", "d" in either case, with run
    // lengths, brackets and blanks).
    static bool isMovesLine(std::string_view t) {
        bool letters = false;
        for (const char c : t) {
            switch (c) {
            case 'l':
            case 'u':
            case 'r':
            case 'd':
            case 'L':
            case 'U':
            case 'R':
            case 'D':
                letters = true;
                break;
            default:
                if (!isDigit(c) && c != ' ' && c != '\t' && c != '(' && c != ')') return false;
            }
        }
        return letters;
    }

    void addSolution(std::string_view moves) {
        if (!previous) return;
        std::string& s = previous->solution;
        for (const char c : moves)
            if (c != ' ' && c != '\t' && s.size() < kMaxSolution) s += c;
    }

    // "Solution:", "Solution (moves 12, pushes 3):", "solution 2:" ...
    static bool isSolutionHead(std::string_view t) {
        return lower(t.substr(0, 8)) == "solution" && t.find(':') != std::string_view::npos;
    }

    void blankLine() {
        endBoard();
        emitPrevious();
        freeTitle.clear();
        inSolution = false;
        // A title at the head of the text, set apart from the first level,
        // is the collection's.
        if (count == 0 && !pendingTitle.empty()) {
            if (collectionName.empty()) collectionName = std::move(pendingTitle);
            pendingTitle.clear();
        }
    }

    void collectionLine(std::string_view text) {
        if (inCommentBlock) {
            const std::string key = keyOf(trimBlanks(text));
            if (key == "comment-end" || key == "comment_end") inCommentBlock = false;
            return;
        }
        if (inSolution) {
            const std::string_view t = trimBlanks(text);
            if (!t.empty() && isMovesLine(t)) {
                addSolution(t);
                return;
            }
            inSolution = false;
        }

        std::optional<LineKind> kind = expandRows(text, rowBuffer);
        // A line of written floor is a row only inside a level.
        if (kind == LineKind::Floor && !current) kind = LineKind::Blank;
        if (kind && overflow && restRowBytes) {
            if (*kind == LineKind::Blank && !restContent) {
                blankLine();
                return;
            }
            // A row far too long to play: the level cannot be imported.
            startBoard();
            for (const Row& r : rowBuffer)
                addRow(*current, r);
            current->width = current->trimmedWidth = kMaxLength;
            return;
        }
        if (kind && !overflow) {
            if (*kind == LineKind::Blank) {
                blankLine();
                return;
            }
            startBoard();
            for (const Row& r : rowBuffer)
                addRow(*current, r);
            return;
        }

        const std::string_view t = trimBlanks(text);
        if (isSolutionHead(t)) {
            endBoard();
            const std::string_view rest = trimBlanks(t.substr(t.find(':') + 1));
            if (rest.empty() || isMovesLine(rest)) addSolution(rest);
            inSolution = true;
            freeTitle.clear();
            return;
        }
        const std::string key = keyOf(t);
        const std::string value =
            key.empty() ? std::string() : cleanTitle(t.substr(t.find(':') + 1));
        freeTitle.clear();
        if (key == "collection") {
            endBoard();
            if (collectionName.empty()) collectionName = value;
        } else if (key == "title") {
            metadata(&TextLevel::title, pendingTitle, value);
        } else if (key == "author") {
            metadata(&TextLevel::author, pendingAuthor, value);
        } else if (!key.empty()) {
            // Comments and other notes of a level leave a following title
            // to it.
            endBoard();
            if (key == "comment" && value.empty()) inCommentBlock = true;
        } else {
            // ";" comments and free text stand between levels; free text
            // right above a level is its title.
            endBoard();
            emitPrevious();
            if (!t.empty() && t.front() != ';') freeTitle = cleanTitle(t);
        }
    }
};

LevelTextReader::LevelTextReader(Sink sink, ReadMode mode) : s_(std::make_unique<State>()) {
    s_->sink = std::move(sink);
    s_->mode = mode;
    // A single level file is read byte for byte as it stands.
    if (mode == ReadMode::SingleLevel) s_->encoding = Encoding::Bytes;
}

LevelTextReader::~LevelTextReader() = default;

void LevelTextReader::State::feedText(std::string_view bytes) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        if (afterCr) {
            afterCr = false;
            if (*p == '\n') {
                ++p;
                continue;
            }
        }
        const char* q = p;
        while (q < end && !isLineEnd(*q))
            ++q;
        take(p, static_cast<std::size_t>(q - p));
        if (q == end) return;
        afterCr = *q == '\r';
        endLine();
        p = q + 1;
    }
}

void LevelTextReader::State::feedBytes(std::string_view bytes) {
    if (encoding == Encoding::Unknown) {
        // Two bytes tell UTF-16 by its byte-order mark.
        const std::size_t wanted = 2 - head.size();
        head.append(bytes.substr(0, wanted));
        bytes.remove_prefix(std::min(wanted, bytes.size()));
        if (head.size() < 2) return;
        if (head == "\xff\xfe" || head == "\xfe\xff") {
            encoding = head[0] == '\xff' ? Encoding::Utf16LE : Encoding::Utf16BE;
            utf16.emplace(encoding == Encoding::Utf16BE);
            // The mark itself is no text; what follows is.
        } else {
            encoding = Encoding::Bytes;
            feedText(head);
        }
        head.clear();
    }
    if (encoding == Encoding::Bytes)
        feedText(bytes);
    else
        feedText(utf16->decode(bytes));
}

void LevelTextReader::feed(std::string_view bytes) {
    s_->feedBytes(bytes);
}

void LevelTextReader::finish() {
    State& s = *s_;
    if (s.encoding == Encoding::Unknown) {
        // A text of a single byte.
        s.encoding = Encoding::Bytes;
        s.feedText(s.head);
        s.head.clear();
    } else if (s.utf16) {
        s.feedText(s.utf16->finish());
    }
    if (s.lineLength > 0 || s.overflow) s.endLine();
    s.endBoard();
    s.emitPrevious();
}

int LevelTextReader::levelCount() const {
    return s_->count;
}

std::string LevelTextReader::collectionName() const {
    return s_->collectionName;
}

int LevelTextReader::rowsSoFar() const {
    return s_->mode == ReadMode::SingleLevel && s_->current ? s_->current->rowCount : 0;
}

int LevelTextReader::widthSoFar() const {
    return s_->mode == ReadMode::SingleLevel && s_->current ? s_->current->width : 0;
}

std::vector<TextLevel> readLevelText(std::string_view text, ReadMode mode) {
    std::vector<TextLevel> levels;
    LevelTextReader reader([&](TextLevel& l) { levels.push_back(std::move(l)); }, mode);
    reader.feed(text);
    reader.finish();
    return levels;
}

FirstLevelReader::FirstLevelReader(ReadMode mode)
    : mode_(mode), reader_(
                       [this](TextLevel& l) {
                           if (l.number == 1) first_ = std::move(l);
                       },
                       mode) {}

bool FirstLevelReader::settled(int maxRows, int maxCols) const {
    return mode_ == ReadMode::SingleLevel &&
           (reader_.rowsSoFar() > maxRows || reader_.widthSoFar() > maxCols);
}

TextStatus FirstLevelReader::status(int maxRows, int maxCols) const {
    if (!first_) return TextStatus::NoLevel;
    return first_->fits(maxRows, maxCols) ? TextStatus::Ok : TextStatus::TooBig;
}

} // namespace sokoban::core
