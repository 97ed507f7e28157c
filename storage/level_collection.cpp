#include "level_collection.h"

#include "core/lurd.h"
#include "file_error.h"
#include "file_places.h"
#include "level_set.h"
#include "long_answers.h"
#include "maze_board.h"
#include "safe_write.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <span>
#include <sstream>
#include <unordered_map>

namespace sokoban {

namespace fs = std::filesystem;

namespace {

constexpr const char* kIndexHeader = "sokoban level index 1";
// A set never needs more than this many tries to find a free name.
constexpr int kMaxNameTries = 1000;

[[noreturn]] void fail(const fs::path& path) {
    throw FileError(path, errno);
}

std::string readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

Bytes asBytes(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

bool isLink(const fs::path& p) {
    std::error_code ec;
    return fs::is_symlink(fs::symlink_status(p, ec));
}

void renameOver(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (ec) throw FileError(to, ec.value());
}

bool sameBytes(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    if (fs::file_size(a, ec) != fs::file_size(b, ec) || ec) return false;
    std::ifstream x(a, std::ios::binary), y(b, std::ios::binary);
    if (!x || !y) return false;
    std::vector<char> p(64 * 1024), q(64 * 1024);
    while (x && y) {
        x.read(p.data(), static_cast<std::streamsize>(p.size()));
        y.read(q.data(), static_cast<std::streamsize>(q.size()));
        if (x.gcount() != y.gcount() || !std::equal(p.begin(), p.begin() + x.gcount(), q.begin()))
            return false;
    }
    return true;
}

std::string tabFree(std::string s) {
    std::replace(s.begin(), s.end(), '\t', ' ');
    return s;
}

struct IndexHead {
    std::string source;
    std::string stamp; // size and time of the source when it was read
    std::string name;
    int levels = 0;
};

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> f;
    std::size_t at = 0;
    for (;;) {
        const auto tab = line.find('\t', at);
        f.push_back(line.substr(at, tab == std::string::npos ? tab : tab - at));
        if (tab == std::string::npos) break;
        at = tab + 1;
    }
    return f;
}

// A whole number in 1 .. max, or 0.
long numberIn(const std::string& s, long max) {
    char* end = nullptr;
    const long n = std::strtol(s.c_str(), &end, 10);
    return end == s.c_str() || *end || n < 1 || n > max ? 0 : n;
}

// A level too large for a record as the last two fields of its index line:
// "rows cols worker" and one digit (the cell code) per cell, row by row.
std::string largeBoardFields(const core::Board& b) {
    std::string cells;
    cells.reserve(static_cast<std::size_t>(b.size()));
    for (const std::uint8_t code : b.cells)
        cells += static_cast<char>('0' + std::min<int>(code, kBoxOnTarget));
    return std::to_string(b.rows) + ' ' + std::to_string(b.cols) + ' ' + std::to_string(b.worker) +
           '\t' + cells;
}

// The board of those fields; nullopt when they are damaged.
std::optional<core::Board> largeBoardOf(const std::string& size, const std::string& cells) {
    int rows = 0, cols = 0, worker = -1;
    std::istringstream in(size);
    if (!(in >> rows >> cols >> worker) || rows < 1 || cols < 1 || rows > core::kMaxSide ||
        cols > core::kMaxSide || cells.size() != static_cast<std::size_t>(rows * cols))
        return std::nullopt;
    core::Board b(rows, cols);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (cells[i] < '0' || cells[i] > '5') return std::nullopt;
        b.cells[i] = static_cast<std::uint8_t>(cells[i] - '0');
    }
    if (!b.contains(worker) || !core::isFree(b.at(worker))) return std::nullopt;
    b.worker = worker;
    return b;
}

// The large-board fields of every level line of an index, by the set's
// number: what tells apart levels whose records are alike (all empty).
std::map<int, std::string> largeFieldsIn(std::istream& in) {
    std::map<int, std::string> out;
    for (std::string line; std::getline(in, line);) {
        const std::vector<std::string> f = fieldsOf(line);
        if (f.size() < 6) continue;
        if (const long n = numberIn(f[0], kMaxLevels))
            out[static_cast<int>(n)] = f[4] + '\t' + f[5];
    }
    return out;
}

std::map<int, std::string> largeFieldsOf(const fs::path& idx) {
    std::ifstream in(idx, std::ios::binary);
    return largeFieldsIn(in);
}

std::optional<core::Board> largeBoardOf(const std::string& fields) {
    const auto tab = fields.find('\t');
    if (tab == std::string::npos) return std::nullopt;
    return largeBoardOf(fields.substr(0, tab), fields.substr(tab + 1));
}

// The large boards of an index are those of a new import of the same text,
// but for boards it holds damaged: the index alone needs writing again.
bool largeBoardsAgree(const fs::path& idx, const std::map<int, std::string>& fresh) {
    std::map<int, std::string> old = largeFieldsOf(idx);
    for (auto it = old.begin(); it != old.end();)
        it = largeBoardOf(it->second) ? std::next(it) : old.erase(it);
    for (const auto& [n, fields] : fresh)
        if (old.count(n) && old[n] != fields) return false;
    for (const auto& [n, fields] : old)
        if (!fresh.count(n)) return false;
    return true;
}

// Every large board the index holds can be read.
bool largeBoardsReadable(const fs::path& idx) {
    for (const auto& [n, fields] : largeFieldsOf(idx))
        if (!largeBoardOf(fields)) return false;
    return true;
}

// The key lines at the top of an index, up to its first level line.
std::optional<IndexHead> readIndexHead(std::istream& in) {
    std::string line;
    if (!in || !std::getline(in, line) || line != kIndexHeader) return std::nullopt;
    IndexHead head;
    for (std::streampos at = in.tellg(); std::getline(in, line); at = in.tellg()) {
        const auto tab = line.find('\t');
        const std::string key = line.substr(0, tab);
        if (!key.empty() && key[0] >= '0' && key[0] <= '9') { // a level's line: the head is over
            in.clear();
            in.seekg(at);
            break;
        }
        if (tab == std::string::npos) continue;
        const std::string value = line.substr(tab + 1);
        if (key == "source") head.source = value;
        if (key == "stamp") head.stamp = value;
        if (key == "name") head.name = value;
        if (key == "levels") head.levels = static_cast<int>(numberIn(value, 1L << 30));
    }
    return head;
}

std::optional<IndexHead> readIndexHead(const fs::path& idx) {
    std::ifstream in(idx, std::ios::binary);
    return readIndexHead(in);
}

// Size and modification time: a file that still shows both was not changed.
std::string stampOf(const fs::path& file) {
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (ec) return {};
    const auto time = fs::last_write_time(file, ec);
    if (ec) return {};
    return std::to_string(size) + " " + std::to_string(time.time_since_epoch().count());
}

std::string candidateBox(const fs::path& dir, const std::string& stem, int k) {
    return (dir / (k == 1 ? stem + ".box" : stem + "-" + std::to_string(k) + ".box")).string();
}

std::string setStem(const std::string& name) {
    std::string stem;
    for (char c : name)
        stem += (c == '/' || c == '\0') ? '_' : c;
    if (stem.empty() || stem[0] == '.') stem = "collection" + stem;
    return stem;
}

// Writes the levels of a text as a new set beside the old one, then makes
// it the set: unchanged, fresh, or rebuilt with the records of the levels
// that stayed.
class Importer {
  public:
    Importer(fs::path dir, std::string stem, std::string source, std::string stamp, fs::path appDir)
        : dir_(std::move(dir)), stem_(setStem(stem)), source_(std::move(source)),
          stamp_(std::move(stamp)), appDir_(std::move(appDir)) {}

    ~Importer() {
        std::error_code ec;
        if (started_) {
            fs::remove(tmpBox_, ec);
            fs::remove(tmpIdx_, ec);
        }
    }

    void add(const TextLevel& level) {
        ++result_.levels;
        if (!level.fits()) {
            result_.tooLarge.push_back(level.number);
            return;
        }
        if (!level.hasWorker()) {
            result_.unreadable.push_back(level.number);
            return;
        }
        if (result_.imported == kMaxLevels) {
            ++result_.beyondLimit;
            return;
        }
        if (!started_) start();
        // A level larger than a record keeps an empty record, so that every
        // level keeps its number; the index holds its board.
        const bool large = tooLarge(level);
        const core::Board board = large ? level.board() : boardOf(centredLevel(levelMaze(level)));
        const Bytes rec = (large ? TMazeData{} : centredLevel(levelMaze(level))).encode();
        box_.write(reinterpret_cast<const char*>(rec.data()),
                   static_cast<std::streamsize>(rec.size()));
        ++result_.imported;
        indexLines_ += std::to_string(result_.imported) + '\t' + std::to_string(level.number) +
                       '\t' + tabFree(level.title) + '\t' + tabFree(level.author);
        if (large) {
            const std::string fields = largeBoardFields(board);
            indexLines_ += '\t' + fields;
            largeFields_[result_.imported] = fields;
        }
        indexLines_ += '\n';
        if (!level.solution.empty())
            solutions_.push_back({result_.imported, board, level.solution});
        if (!box_) fail(tmpBox_);
    }

    // The set in place under its name; `name` is what the text calls the
    // collection.
    CollectionImport finish(const std::string& name) {
        if (!started_) return result_;
        box_.close();
        if (!box_) fail(tmpBox_);
        std::ofstream idx(tmpIdx_, std::ios::binary | std::ios::trunc);
        if (!idx) fail(tmpIdx_);
        idx << kIndexHeader << '\n'
            << "source\t" << source_ << '\n'
            << "stamp\t" << stamp_ << '\n'
            << "name\t" << tabFree(name) << '\n'
            << "levels\t" << result_.levels << '\n'
            << indexLines_;
        idx.close();
        if (!idx) fail(tmpIdx_);

        for (int k = 1; k <= kMaxNameTries; ++k) {
            const std::string box = candidateBox(dir_, stem_, k);
            const fs::path idx = levelIndexFile(box);
            finishSetSwitch(box, appDir_);
            // A link is neither written through nor replaced: the set takes
            // another name.
            if (isLink(box) || isLink(idx)) continue;
            std::error_code ec;
            if (!fs::exists(box, ec)) {
                FileSwitch change(setSwitchJournal(box));
                renameOver(tmpBox_, change.stage(box));
                renameOver(tmpIdx_, change.stage(idx));
                change.commit();
                return done(box, true);
            }
            const auto head = readIndexHead(idx);
            const bool sameSource = head && !source_.empty() && head->source == source_;
            if (sameBytes(tmpBox_, box) && largeBoardsAgree(idx, largeFields_)) {
                // The same levels, perhaps moved or with other titles.
                if (sameSource || !head || head->source == source_) renameOver(tmpIdx_, idx);
                return done(box, false);
            }
            if (sameSource) {
                // The levels, the index and the records change as one: a
                // kill or a full disk at any point leaves all of them old or
                // all of them new, never records on the wrong levels.
                FileSwitch change(setSwitchJournal(box));
                const FilePlaces::CompanionPlace place = FilePlaces(appDir_).companionPlace(box);
                // A solve of another copy waits until the records have moved.
                const FolderLock lock(fs::path(place.base).parent_path());
                startCompanionsFrom(place);
                rebuild(box, place.base, change);
                renameOver(tmpBox_, change.stage(box));
                renameOver(tmpIdx_, change.stage(idx));
                change.commit();
                return done(box, true);
            }
        }
        throw FileError(candidateBox(dir_, stem_, kMaxNameTries), FileReason::NoFreeName);
    }

  private:
    void start() {
        std::error_code ec;
        fs::create_directories(dir_, ec);
        if (ec) throw FileError(dir_, ec.value());
        // What imports killed before left goes; these copies are named so
        // that the next import knows them for unfinished.
        removeUnfinishedCopies(dir_);
        const std::string pid = std::to_string(::getpid());
        tmpBox_ = dir_ / ("." + stem_ + ".box." + pid + ".0.new");
        tmpIdx_ = dir_ / ("." + stem_ + ".idx." + pid + ".1.new");
        started_ = true;
        box_.open(tmpBox_, std::ios::binary | std::ios::trunc);
        if (!box_) fail(tmpBox_);
    }

    CollectionImport done(const std::string& box, bool built) {
        started_ = false;
        std::error_code ec;
        fs::remove(tmpBox_, ec);
        fs::remove(tmpIdx_, ec);
        result_.boxFile = box;
        result_.built = built;
        result_.answers = keepSolutions(box);
        return result_;
    }

    // The solutions written in the text become the levels' answers where
    // they solve their level and beat what is stored; how many were kept.
    int keepSolutions(const std::string& box) {
        if (solutions_.empty()) return 0;
        const CompanionFiles files = CompanionFiles::forGame(box, appDir_);
        int kept = 0;
        for (const auto& [level, maze, text] : solutions_) {
            SolutionParse parsed = parseSolution(maze, text);
            if (parsed.error == SolutionError::TooLong) {
                if (keepLongSolution(files, box, level, maze, text)) ++kept;
                continue;
            }
            if (parsed.error != SolutionError::None) continue;
            parsed.answer.level = static_cast<std::int16_t>(level);
            const AnswerReplay replay = replayAnswer(maze, parsed.answer);
            if (!replay.ok()) continue;
            const TBestData counts{static_cast<std::int16_t>(replay.moves),
                                   static_cast<std::int16_t>(replay.pushes)};
            files.sol.padTo(level, emptyAnswerRecord().encode());
            files.bst.padTo(level, TBestData{}.encode());
            if (storeSolveAnswer(files, level - 1, parsed.answer, counts)) {
                improveBest(files.bst, level - 1, counts);
                ++kept;
            }
        }
        return kept;
    }

    // A solution longer than an answer record goes to the set's long
    // answers, where the level has no answer yet or it beats the best counts.
    bool keepLongSolution(const CompanionFiles& files, const std::string& box, int level,
                          const core::Board& maze, const std::string& text) {
        const MovesParse read = parseSolutionMoves(maze, text, std::size_t{1} << 24);
        if (read.error != SolutionError::None) return false;
        const fs::path file = longAnswersFile(box, appDir_);
        files.sol.padTo(level, emptyAnswerRecord().encode());
        files.bst.padTo(level, TBestData{}.encode());
        const bool none =
            files.sol.get<TAnswerData>(level - 1).moves <= 0 && readLongAnswer(file, level).empty();
        const TBestData best = plausibleBest(files.bst.get<TBestData>(level - 1));
        const auto clamp16 = [](std::size_t v) {
            return static_cast<std::int16_t>(std::min<std::size_t>(v, 32767));
        };
        const TBestData counts{clamp16(read.moves.size()),
                               clamp16(static_cast<std::size_t>(read.pushes))};
        if (!none && best.moves != 0 && counts.moves >= best.moves && counts.pushes >= best.pushes)
            return false;
        putLongAnswer(file, level, read.moves);
        files.sol.put(level - 1, emptyAnswerRecord());
        improveBest(files.bst, level - 1, counts);
        return true;
    }

    // The records of the old set moved to where its levels now stand, as
    // new copies in `change`.
    void rebuild(const std::string& box, const std::string& base, FileSwitch& change) {
        const std::string oldLevels = readWhole(box);
        const std::string newLevels = readWhole(tmpBox_);
        const std::map<int, std::string> oldLarge = largeFieldsOf(levelIndexFile(box));
        const std::size_t n = TMazeData::kSize;
        // A level is its record and, for one too large for a record, its board.
        const auto keyOf = [n](const std::string& levels, const std::map<int, std::string>& large,
                               int j) {
            std::string key = levels.substr(static_cast<std::size_t>(j) * n, n);
            if (const auto it = large.find(j + 1); it != large.end()) key += it->second;
            return key;
        };
        std::unordered_map<std::string, std::vector<int>> oldAt;
        const int oldCount = static_cast<int>(oldLevels.size() / n);
        for (int j = oldCount - 1; j >= 0; --j)
            oldAt[keyOf(oldLevels, oldLarge, j)].push_back(j);
        const int newCount = static_cast<int>(newLevels.size() / n);
        std::vector<int> oldOf(static_cast<std::size_t>(newCount), -1);
        std::vector<int> newOf(static_cast<std::size_t>(oldCount), -1);
        for (int i = 0; i < newCount; ++i) {
            auto it = oldAt.find(keyOf(newLevels, largeFields_, i));
            if (it == oldAt.end() || it->second.empty()) continue;
            const int j = it->second.back();
            it->second.pop_back();
            oldOf[static_cast<std::size_t>(i)] = j;
            newOf[static_cast<std::size_t>(j)] = i;
        }

        const auto record = [](const std::string& file, std::size_t size, int j) {
            const std::size_t at = static_cast<std::size_t>(j) * size;
            return j >= 0 && at + size <= file.size() ? file.substr(at, size) : std::string();
        };
        const auto asString = [](const Bytes& b) { return std::string(b.begin(), b.end()); };
        std::error_code ec;

        if (fs::exists(base + ".bst", ec)) {
            const std::string old = readWhole(base + ".bst");
            std::string out;
            for (int i = 0; i < newCount; ++i) {
                const std::string r =
                    record(old, TBestData::kSize, oldOf[static_cast<std::size_t>(i)]);
                out += r.empty() ? asString(TBestData{}.encode()) : r;
            }
            change.stage(base + ".bst", asBytes(out));
        }
        if (fs::exists(base + ".sol", ec)) {
            const std::string old = readWhole(base + ".sol");
            std::string out;
            for (int i = 0; i < newCount; ++i) {
                const std::string r =
                    record(old, TAnswerData::kSize, oldOf[static_cast<std::size_t>(i)]);
                TAnswerData a = emptyAnswerRecord();
                if (!r.empty()) {
                    a = TAnswerData::decode(
                        std::span(reinterpret_cast<const std::uint8_t*>(r.data()), r.size()));
                    a.level = static_cast<std::int16_t>(i + 1);
                }
                out += asString(a.encode());
            }
            change.stage(base + ".sol", asBytes(out));
        }
        if (fs::exists(base + ".long", ec)) {
            std::map<int, core::Moves> moved;
            for (auto& [level, moves] : readLongAnswers(base + ".long")) {
                const int j = level - 1;
                if (j >= 0 && j < oldCount && newOf[static_cast<std::size_t>(j)] >= 0)
                    moved[newOf[static_cast<std::size_t>(j)] + 1] = std::move(moves);
            }
            const std::string text = longAnswersText(moved);
            change.stage(base + ".long", asBytes(text));
        }
        if (fs::exists(base + ".sav", ec)) {
            const std::string old = readWhole(base + ".sav");
            std::vector<TSaveData> sav;
            for (int k = 0; k < 6; ++k) {
                const std::string r = record(old, TSaveData::kSize, k);
                sav.push_back(
                    r.empty() ? freshSaveRecord()
                              : TSaveData::decode(std::span(
                                    reinterpret_cast<const std::uint8_t*>(r.data()), r.size())));
            }
            // Unlocked stay the levels up to the first one that was not
            // passed before.
            const int oldMax = std::max<int>(1, sav[0].level);
            int newMax = 1;
            while (newMax < newCount && oldOf[static_cast<std::size_t>(newMax - 1)] >= 0 &&
                   oldOf[static_cast<std::size_t>(newMax - 1)] + 1 < oldMax)
                ++newMax;
            sav[0].level = static_cast<std::int16_t>(newMax);
            for (int k = 1; k < 6; ++k) {
                TSaveData& slot = sav[static_cast<std::size_t>(k)];
                if (slot.level == 1 && slot.moves == 1) continue; // empty
                const int j = slot.level - 1;
                if (j >= 0 && j < oldCount && newOf[static_cast<std::size_t>(j)] >= 0)
                    slot.level = static_cast<std::int16_t>(newOf[static_cast<std::size_t>(j)] + 1);
                else
                    slot = freshSaveRecord();
            }
            std::string out;
            for (const auto& s : sav)
                out += asString(s.encode());
            change.stage(base + ".sav", asBytes(out));
        }
    }

    fs::path dir_;
    std::string stem_;
    std::string source_;
    std::string stamp_;
    fs::path appDir_;
    bool started_ = false;
    fs::path tmpBox_, tmpIdx_;
    std::ofstream box_;
    std::string indexLines_; // a line per level, below the index's head
    struct Solution {
        int level; // of the set
        core::Board board;
        std::string moves;
    };
    std::vector<Solution> solutions_;
    std::map<int, std::string> largeFields_; // of the levels too large for a record
    CollectionImport result_;
};

// Keeps the first level until a second one shows the text is a collection;
// from then on every level goes straight to the importer.
struct Opener {
    Opener(fs::path d, std::string st, std::string so, std::string sp, fs::path app)
        : dir(std::move(d)), stem(std::move(st)), source(std::move(so)), stamp(std::move(sp)),
          appDir(std::move(app)) {}

    fs::path dir;
    std::string stem, source, stamp;
    fs::path appDir;
    std::optional<TextLevel> first;
    std::optional<Importer> importer;
    LevelTextReader reader{[this](TextLevel& l) { take(l); }};

    void take(const TextLevel& l) {
        if (l.number == 1) {
            first = l;
            return;
        }
        if (!importer) {
            importer.emplace(dir, stem, source, stamp, appDir);
            importer->add(*first);
        }
        importer->add(l);
    }

    OpenedLevelText result() {
        OpenedLevelText out;
        if (importer) {
            out.collection = true;
            const std::string name = reader.collectionName();
            out.set = importer->finish(name.empty() ? stem : name);
            return out;
        }
        out.single.levelCount = reader.levelCount();
        if (!first) {
            out.single.first = centredMaze(core::Board{});
            return out;
        }
        out.single.title = first->title;
        out.single.author = first->author;
        if (tooLarge(*first))
            out.status = out.single.status = XsbStatus::TooBig;
        else
            out.single.first = levelMaze(*first);
        return out;
    }
};

// The set imported from this file before, when the file has not changed
// since.
std::optional<CollectionImport> unchangedImport(const fs::path& dir, const std::string& stem,
                                                const std::string& source, const std::string& stamp,
                                                const fs::path& appDir) {
    if (stamp.empty()) return std::nullopt;
    for (int k = 1; k <= kMaxNameTries; ++k) {
        const std::string box = candidateBox(dir, setStem(stem), k);
        finishSetSwitch(box, appDir);
        if (isLink(box) || isLink(levelIndexFile(box))) continue; // as the import skips it
        std::error_code ec;
        if (!fs::exists(box, ec)) return std::nullopt;
        const auto head = readIndexHead(levelIndexFile(box));
        if (!head || head->source != source) continue;
        if (head->stamp != stamp) return std::nullopt;
        // A damaged board in the index is read again from the text.
        if (!largeBoardsReadable(levelIndexFile(box))) return std::nullopt;
        CollectionImport found;
        found.boxFile = box;
        found.imported = static_cast<int>(fs::file_size(box, ec) / TMazeData::kSize);
        if (ec || found.imported == 0) return std::nullopt;
        return found;
    }
    return std::nullopt;
}

} // namespace

fs::path userLevelsDir() {
    return userDataDir() / "levels";
}

fs::path levelIndexFile(const std::string& boxFile) {
    return companionBase(boxFile) + ".idx";
}

namespace {

// Every level line of an index: the set's number, the text's, title, author.
template <class Take> std::optional<IndexHead> readIndex(const std::string& boxFile, Take take) {
    std::ifstream in(levelIndexFile(boxFile), std::ios::binary);
    std::optional<IndexHead> head = readIndexHead(in);
    if (!head) return head;
    for (std::string line; std::getline(in, line);) {
        const std::vector<std::string> f = fieldsOf(line);
        if (f.size() < 4) continue;
        const long n = numberIn(f[0], kMaxLevels);
        if (n == 0) continue;
        take(static_cast<std::size_t>(n), static_cast<int>(numberIn(f[1], 1L << 30)), f);
    }
    return head;
}

} // namespace

std::vector<LevelInfo> readLevelIndex(const std::string& boxFile) {
    std::vector<LevelInfo> infos;
    readIndex(boxFile, [&](std::size_t n, int, const std::vector<std::string>& f) {
        if (n > infos.size()) infos.resize(n);
        infos[n - 1] = {f[2], f[3]};
    });
    return infos;
}

std::optional<CollectionIndex> readCollectionIndex(const std::string& boxFile) {
    CollectionIndex index;
    const auto head =
        readIndex(boxFile, [&](std::size_t n, int number, const std::vector<std::string>& f) {
            if (n > index.textNumbers.size()) index.textNumbers.resize(n);
            index.textNumbers[n - 1] = number;
            if (f.size() >= 6)
                if (auto board = largeBoardOf(f[4], f[5]))
                    index.largeBoards[static_cast<int>(n)] = std::move(*board);
        });
    if (!head) return std::nullopt;
    index.name = head->name.empty() ? fs::path(head->source).stem().string() : head->name;
    if (index.name.empty()) index.name = fs::path(boxFile).stem().string();
    index.textLevels = head->levels;
    return index;
}

OpenedLevelText openLevelTextFile(const fs::path& file, const fs::path& levelsDir,
                                  const fs::path& appDir) {
    std::error_code ec;
    fs::path source = fs::weakly_canonical(fs::absolute(file, ec), ec);
    if (ec) source = file;
    const std::string stem = file.stem().string();
    const std::string stamp = stampOf(file);
    if (const auto found = unchangedImport(levelsDir, stem, source.string(), stamp, appDir)) {
        OpenedLevelText out;
        out.collection = true;
        out.set = *found;
        out.set.levels = found->imported;
        return out;
    }
    Opener opener(levelsDir, stem, source.string(), stamp, appDir);
    const XsbStatus status = readLevelTextFile(file, opener.reader);
    if (status != XsbStatus::Ok) {
        OpenedLevelText out;
        out.status = out.single.status = status;
        return out;
    }
    return opener.result();
}

OpenedLevelText openLevelTextString(std::string_view text, const std::string& name,
                                    const fs::path& levelsDir, const fs::path& appDir) {
    Opener opener(levelsDir, name, std::string(), std::string(), appDir);
    opener.reader.feed(text);
    opener.reader.finish();
    return opener.result();
}

void saveCollection(const fs::path& file, const std::string& boxFile, const UntitledName& untitled,
                    const fs::path& appDir) {
    const std::vector<LevelInfo> infos = readLevelIndex(boxFile);
    const auto index = readCollectionIndex(boxFile);
    const RecordFile answers = CompanionFiles::forGame(boxFile, appDir).sol;
    // Answers that cannot be read leave the levels without; the export goes on.
    const std::map<int, core::Moves> longAnswers =
        readLongAnswers(longAnswersFile(boxFile, appDir));
    const auto answerOf = [&](int n, const core::Board& level) -> std::string {
        try {
            if (const auto it = longAnswers.find(n); it != longAnswers.end()) {
                const std::string text = core::lurdOf(level, it->second);
                if (parseSolutionMoves(level, text, it->second.size()).error == SolutionError::None)
                    return text;
            }
            std::error_code ec;
            if (!fs::exists(answers.path(), ec) || n > answers.count()) return {};
            const auto answer = answers.get<TAnswerData>(n - 1);
            return replayAnswer(level, answer).ok() ? solutionText(level, answer) : std::string();
        } catch (const FileError&) {
            return {};
        }
    };
    std::ifstream in(boxFile, std::ios::binary);
    if (!in) fail(boxFile);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) fail(file);
    std::vector<std::uint8_t> rec(TMazeData::kSize);
    for (int n = 1;; ++n) {
        in.read(reinterpret_cast<char*>(rec.data()), static_cast<std::streamsize>(rec.size()));
        if (in.gcount() != static_cast<std::streamsize>(rec.size())) break;
        const LevelInfo info = static_cast<std::size_t>(n) <= infos.size()
                                   ? infos[static_cast<std::size_t>(n - 1)]
                                   : LevelInfo{};
        const core::Board* large = index ? index->largeBoard(n) : nullptr;
        const core::Board level = large ? *large : boardOf(TMazeData::decode(rec));
        const std::string solution = answerOf(n, level);
        out << collectionEntry(level, n, info.title, info.author, untitled, solution);
    }
    if (in.bad()) fail(boxFile);
    out.close();
    if (!out) fail(file);
}

} // namespace sokoban
