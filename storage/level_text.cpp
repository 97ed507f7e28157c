#include "level_text.h"

#include "board.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

namespace sokoban {

namespace {

// Longer lines are no level rows and no title anyone wants to read; only
// this much of a line is kept, the rest is only looked at.
constexpr std::size_t kMaxLine = 64 * 1024;
constexpr std::size_t kMaxTitle = 200;
constexpr int kMaxRun = 100000;

bool isLineEnd(char c) {
    return c == '\n' || c == '\r';
}

// A character of a board row and the XSB character it stands for; 0 for
// anything else.
char rowChar(char c) {
    switch (c) {
    case '#':
    case '@':
    case '+':
    case '$':
    case '*':
    case '.':
    case ' ':
        return c;
    case '-':
    case '_':
    case '\t':
        return ' ';
    default:
        return 0;
    }
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Bytes that may stand in the unread tail of an overlong row.
bool rowByte(char c) {
    return rowChar(c) != 0 || isDigit(c) || c == '|';
}

struct Row {
    std::array<char, kCols> text{};
    int length = 0;
    int trimmed = 0; // up to the last character that is not a blank
    bool worker = false;
};

enum class LineKind { Blank, Rows };

// Writes out a line as board rows; nullopt when it is not made of rows.
std::optional<LineKind> expandRows(std::string_view line, std::vector<Row>& rows) {
    rows.clear();
    Row row;
    bool inRow = false;
    int run = -1; // -1: no run length given
    bool anyContent = false;
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
        const int n = run < 0 ? 1 : run;
        run = -1;
        inRow = true;
        // Only the first kCols characters are stored; the lengths go on.
        if (row.length < kCols)
            std::fill_n(row.text.begin() + row.length, std::min(n, kCols - row.length), c);
        row.length = std::min(kMaxRun * 4, row.length + n);
        if (c != ' ' && n > 0) row.trimmed = row.length;
        if ((c == '@' || c == '+') && n > 0) row.worker = true;
    }
    if (run >= 0) return std::nullopt;
    endRow();
    return anyContent ? LineKind::Rows : LineKind::Blank;
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

// A title fit to show and to keep in one line of the index: valid UTF-8, no
// control characters, not too long.
std::string cleanText(std::string_view s) {
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

} // namespace

bool TextLevel::tooLarge() const {
    return rowCount > kRows || trimmedWidth > kCols;
}

TMazeData TextLevel::maze() const {
    XsbRows r = rows;
    // Trailing blanks count as they do in a single file unless they alone
    // make the level too wide.
    if (width > kCols)
        for (int k = 0; k < r.count; ++k)
            r.length[static_cast<std::size_t>(k)] = trimmedLength[static_cast<std::size_t>(k)];
    return buildXsbLevel(r, OutsideRule::FloodFromEdge);
}

// How the bytes of a text are read: UTF-16 with its byte-order mark is
// turned into UTF-8 first; everything else goes to the lines as it is.
enum class Encoding { Unknown, Bytes, Utf16LE, Utf16BE };

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

struct LevelTextReader::State {
    Sink sink;
    Encoding encoding = Encoding::Unknown;
    std::string head; // the first bytes, until they tell the encoding
    std::optional<Utf16ToUtf8> utf16;
    std::string line;
    bool overflow = false;
    bool restRowBytes = true; // the unkept tail of the line could belong to a row
    bool restContent = false; // ... and holds more than blanks
    bool afterCr = false;
    bool firstLine = true;
    bool inCommentBlock = false;
    int count = 0;
    std::vector<Row> rowBuffer;
    std::optional<TextLevel> current;  // rows being read
    std::optional<TextLevel> previous; // rows ended; its title may follow
    std::string pendingTitle, pendingAuthor;

    void feedBytes(std::string_view bytes);
    void feedText(std::string_view bytes);

    void take(const char* p, std::size_t n) {
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

    void addRow(const Row& row) {
        TextLevel& l = *current;
        if (l.rowCount < kRows) {
            const auto i = static_cast<std::size_t>(l.rowCount);
            l.rows.text[i] = row.text;
            l.rows.length[i] = std::min(row.length, kCols);
            l.trimmedLength[i] = std::min(row.trimmed, kCols);
            l.rows.count = l.rowCount + 1;
        }
        ++l.rowCount;
        l.width = std::max(l.width, row.length);
        l.trimmedWidth = std::max(l.trimmedWidth, row.trimmed);
        if (row.worker) l.hasWorker = true;
    }

    void startBoard() {
        emitPrevious();
        if (current) return;
        current.emplace();
        current->number = ++count;
        current->title = std::move(pendingTitle);
        current->author = std::move(pendingAuthor);
        pendingTitle.clear();
        pendingAuthor.clear();
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
        std::string_view text(line);
        if (firstLine && text.substr(0, 3) == "\xef\xbb\xbf") text.remove_prefix(3);
        firstLine = false;
        processLine(text);
        line.clear();
        overflow = false;
        restRowBytes = true;
        restContent = false;
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

    void processLine(std::string_view text) {
        if (inCommentBlock) {
            const std::string key = keyOf(trimBlanks(text));
            if (key == "comment-end" || key == "comment_end") inCommentBlock = false;
            return;
        }

        const std::optional<LineKind> kind = expandRows(text, rowBuffer);
        if (kind && overflow && restRowBytes) {
            if (*kind == LineKind::Blank && !restContent) {
                endBoard();
                emitPrevious();
                return;
            }
            // A row far too long to play: the level cannot be imported.
            startBoard();
            for (const Row& r : rowBuffer)
                addRow(r);
            current->width = current->trimmedWidth = kMaxRun * 4;
            return;
        }
        if (kind && !overflow) {
            if (*kind == LineKind::Blank) {
                endBoard();
                emitPrevious();
                return;
            }
            startBoard();
            for (const Row& r : rowBuffer)
                addRow(r);
            return;
        }

        const std::string_view t = trimBlanks(text);
        const std::string key = keyOf(t);
        const std::string value =
            key.empty() ? std::string() : cleanText(t.substr(t.find(':') + 1));
        if (key == "title") {
            metadata(&TextLevel::title, pendingTitle, value);
        } else if (key == "author") {
            metadata(&TextLevel::author, pendingAuthor, value);
        } else if (!key.empty()) {
            // Comments and other notes of a level leave a following title
            // to it.
            endBoard();
            if (key == "comment" && value.empty()) inCommentBlock = true;
        } else {
            // ";" comments and free text stand between levels.
            endBoard();
            emitPrevious();
        }
    }
};

LevelTextReader::LevelTextReader(Sink sink) : s_(std::make_unique<State>()) {
    s_->sink = std::move(sink);
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
    if (!s.line.empty() || s.overflow) s.endLine();
    s.endBoard();
    s.emitPrevious();
}

int LevelTextReader::levelCount() const {
    return s_->count;
}

std::vector<TextLevel> parseLevelText(std::string_view text) {
    std::vector<TextLevel> levels;
    LevelTextReader reader([&](TextLevel& l) { levels.push_back(l); });
    reader.feed(text);
    reader.finish();
    return levels;
}

XsbStatus readLevelTextFile(const std::filesystem::path& path, LevelTextReader& reader) {
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
        reader.feed({buffer.data(), n});
        if (n < buffer.size()) {
            failed = std::ferror(f) != 0;
            break;
        }
    }
    std::fclose(f);
    if (failed) return XsbStatus::ReadError;
    reader.finish();
    return XsbStatus::Ok;
}

namespace {

struct Summariser {
    LevelTextSummary summary;
    std::optional<TextLevel> first;
    LevelTextReader reader{[this](TextLevel& l) {
        if (l.number == 1) first = l;
    }};

    LevelTextSummary result() {
        summary.levelCount = reader.levelCount();
        if (!first) {
            summary.first = buildXsbLevel(XsbRows{}, OutsideRule::FloodFromEdge);
        } else {
            summary.title = first->title;
            summary.author = first->author;
            if (first->tooLarge())
                summary.status = XsbStatus::TooBig;
            else
                summary.first = first->maze();
        }
        return summary;
    }
};

} // namespace

LevelTextSummary summariseLevelText(std::string_view text) {
    Summariser s;
    s.reader.feed(text);
    s.reader.finish();
    return s.result();
}

LevelTextSummary summariseLevelFile(const std::filesystem::path& path) {
    Summariser s;
    const XsbStatus status = readLevelTextFile(path, s.reader);
    if (status != XsbStatus::Ok) {
        LevelTextSummary failed;
        failed.status = status;
        return failed;
    }
    return s.result();
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

std::string collectionTitle(const std::string& title, int level) {
    const std::string t = cleanText(title);
    return t.empty() ? "第 " + std::to_string(level) + " 关" : t;
}

std::string collectionEntry(const TMazeData& level, int number, const std::string& title,
                            const std::string& author) {
    std::string out = writeXsb(level);
    out += "Title: " + collectionTitle(title, number) + "\r\n";
    const std::string a = cleanText(author);
    if (!a.empty()) out += "Author: " + a + "\r\n";
    out += "\r\n";
    return out;
}

namespace {

constexpr int kStep[4] = {-kCols, kCols, -1, 1};

// Plays moves on a level: 0 when the move is blocked, 1 for a step, 2 for a
// push.
struct Board {
    Cells cells;
    int man;

    static bool inside(int from, int code) {
        const int to = from + kStep[code];
        if (to < 0 || to >= kCells) return false;
        if (code == 2 && from % kCols == 0) return false;
        if (code == 3 && from % kCols == kCols - 1) return false;
        return true;
    }
    int move(int code) {
        if (!inside(man, code)) return 0;
        const int next = man + kStep[code];
        const std::uint8_t c = cells[static_cast<std::size_t>(next)];
        if (c == kFloor || c == kTarget) {
            man = next;
            return 1;
        }
        if ((c != kBox && c != kBoxOnTarget) || !inside(next, code)) return 0;
        const int beyond = next + kStep[code];
        const std::uint8_t b = cells[static_cast<std::size_t>(beyond)];
        if (b != kFloor && b != kTarget) return 0;
        cells[static_cast<std::size_t>(next)] -= 2;
        cells[static_cast<std::size_t>(beyond)] += 2;
        man = next;
        return 2;
    }
    bool solved() const { return std::find(cells.begin(), cells.end(), kBox) == cells.end(); }
};

} // namespace

std::string solutionText(const TMazeData& level, const TAnswerData& answer) {
    Board board{level.cells, level.man};
    std::string out;
    const int n = std::clamp<int>(answer.moves, 0, TAnswerData::kCapacity);
    for (int i = 0; i < n; ++i) {
        const int code = answer.moveAt(i);
        const bool push = board.move(code) == 2;
        out += push ? "UDLR"[code] : "udlr"[code];
    }
    return out;
}

AnswerReplay replayAnswer(const TMazeData& level, const TAnswerData& answer) {
    AnswerReplay r;
    if (answer.moves < 1) {
        r.error = SolutionError::Empty;
        return r;
    }
    if (answer.moves > TAnswerData::kCapacity) {
        r.error = SolutionError::TooLong;
        return r;
    }
    // A damaged level may put the worker anywhere.
    if (level.man < 0 || level.man >= kCells) {
        r.error = SolutionError::Blocked;
        r.move = 1;
        return r;
    }
    Board board{level.cells, level.man};
    for (int i = 0; i < answer.moves; ++i) {
        const int made = board.move(answer.moveAt(i));
        if (made == 0) {
            r.error = SolutionError::Blocked;
            r.move = i + 1;
            return r;
        }
        ++r.moves;
        if (made == 2) ++r.pushes;
        if (board.solved()) return r;
    }
    r.error = SolutionError::NotSolved;
    return r;
}

SolutionParse parseSolution(const TMazeData& level, std::string_view text) {
    SolutionParse result;
    std::vector<int> codes;
    int run = -1;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        if (isDigit(c)) {
            run = std::min(kMaxRun, std::max(run, 0) * 10 + (c - '0'));
            continue;
        }
        int code = -1;
        switch (c) {
        case 'u':
        case 'U':
            code = 0;
            break;
        case 'd':
        case 'D':
            code = 1;
            break;
        case 'l':
        case 'L':
            code = 2;
            break;
        case 'r':
        case 'R':
            code = 3;
            break;
        default:
            break;
        }
        if (code < 0) {
            result.error = SolutionError::BadCharacter;
            return result;
        }
        const int n = run < 0 ? 1 : run;
        run = -1;
        if (codes.size() + static_cast<std::size_t>(n) > TAnswerData::kCapacity) {
            result.error = SolutionError::TooLong;
            return result;
        }
        codes.insert(codes.end(), static_cast<std::size_t>(n), code);
    }
    if (run >= 0) {
        result.error = SolutionError::BadCharacter;
        return result;
    }
    if (codes.empty()) {
        result.error = SolutionError::Empty;
        return result;
    }
    Board board{level.cells, level.man};
    int made = 0;
    for (const int code : codes) {
        if (board.move(code) == 0) {
            result.error = SolutionError::Blocked;
            result.move = made + 1;
            return result;
        }
        result.answer.setMove(made++, code);
        // Moves after the last push are of no use to anybody.
        if (board.solved()) break;
    }
    if (!board.solved()) {
        result.error = SolutionError::NotSolved;
        return result;
    }
    result.answer.moves = static_cast<std::int16_t>(made);
    return result;
}

} // namespace sokoban
