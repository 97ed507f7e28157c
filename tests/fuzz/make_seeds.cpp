// Writes the seed inputs of the fuzz targets, one folder each, from files the
// game itself writes: its level sets and their companion files after a little
// play, XSB files, settings and list, an exported answer, its music, and the
// older level-set layout its conversion reads.
//   fuzz_make_seeds <seed folder> <program folder> <level texts folder>
#include "fuzz_support.h"

#include "fuzz_model.h"
#include "storage/convert.h"
#include "storage/level_collection.h"
#include "storage/level_set.h"
#include "storage/level_stats.h"
#include "storage/long_answers.h"
#include "storage/xsb.h"

#include <cstdio>
#include <string>

using namespace sokoban;
namespace fs = std::filesystem;

namespace {

std::string text(const Bytes& b) {
    return {b.begin(), b.end()};
}

fs::path out;

void seed(const std::string& target, const std::string& name, const std::string& bytes) {
    fs::create_directories(out / target);
    fuzz::writeFile(out / target / name,
                    {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

Bytes firstLevels(const Bytes& set, std::size_t n) {
    return Bytes(set.begin(), set.begin() + static_cast<std::ptrdiff_t>(
                                                std::min(set.size(), n * TMazeData::kSize)));
}

// An old 16 x 20 record holding the middle of a current level: the inverse of
// the conversion.
Bytes oldRecord(const TMazeData& m) {
    Bytes b(kOldLevelSize);
    const int row = m.man / kCols - kOldRowShift, col = m.man % kCols - kOldColShift;
    const auto man = static_cast<std::int16_t>(row * kOldCols + col);
    b[0] = static_cast<std::uint8_t>(man & 0xff);
    b[1] = static_cast<std::uint8_t>((man >> 8) & 0xff);
    for (int r = 0; r < kOldRows; ++r)
        for (int k = 0; k < kOldCols; ++k)
            b[2 + static_cast<std::size_t>(r * kOldCols + k)] =
                m.cells[static_cast<std::size_t>((r + kOldRowShift) * kCols + k + kOldColShift)];
    return b;
}

// The level set and its companion files as the game creates them on opening.
std::vector<std::string> playedSet(const fs::path& dir, const Bytes& box) {
    fs::create_directories(dir);
    fuzz::writeFile(dir / "set.box", {box.data(), box.size()});
    fuzz::SetModel opened(dir);
    auto& model = opened.model;
    model.guarded([&] {
        if (model.OpenGame()) model.ReadRecord(model.curLevel());
    });
    return {text(box), text(fuzz::readFile(dir / "set.sav")), text(fuzz::readFile(dir / "set.bst")),
            text(fuzz::readFile(dir / "set.sol"))};
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: fuzz_make_seeds SEEDS PROGRAM_DIR LEVEL_TEXTS\n");
        return 2;
    }
    out = argv[1];
    const fs::path bin = argv[2], texts = argv[3];
    fs::remove_all(out);
    const fs::path work = out / "work";
    fs::create_directories(work);

    const Bytes game = fuzz::readFile(bin / "game.box");
    if (game.size() < 3 * TMazeData::kSize) {
        std::fprintf(stderr, "no level set in %s\n", bin.c_str());
        return 1;
    }

    // Level sets: alone, with fresh companion files, with a saved game and a
    // solved level, with short companion files.
    const Bytes three = firstLevels(game, 3);
    seed("level_set", "alone", text(three));
    auto fresh = playedSet(work / "fresh", three);
    seed("level_set", "fresh", fuzz::joinParts(fresh));
    {
        const fs::path dir = work / "played";
        fs::create_directories(dir);
        fuzz::writeFile(dir / "set.box", {three.data(), three.size()});
        fuzz::SetModel opened(dir);
        auto& model = opened.model;
        model.guarded([&] {
            if (!model.OpenGame()) return;
            model.ReadRecord(model.curLevel());
            for (const char* d : {"right", "down", "left", "up"})
                model.KeyMove(d);
            model.Gamesave(1);
        });
        seed("level_set", "played",
             fuzz::joinParts({text(three), text(fuzz::readFile(dir / "set.sav")),
                              text(fuzz::readFile(dir / "set.bst")),
                              text(fuzz::readFile(dir / "set.sol"))}));
    }
    fresh[1].resize(3 * TSaveData::kSize);
    fresh[3].resize(TAnswerData::kSize + 10);
    seed("level_set", "short", fuzz::joinParts(fresh));

    // XSB files as the game writes them, and the level texts it is made from.
    for (int i = 0; i < 3; ++i) {
        const TMazeData m = TMazeData::decode(std::span(game).subspan(
            static_cast<std::size_t>(i) * TMazeData::kSize, TMazeData::kSize));
        const std::string xsb = writeXsb(m);
        seed("xsb", "level" + std::to_string(i + 1) + ".xsb", xsb);
        seed("solver_text", "level" + std::to_string(i + 1) + ".xsb", xsb);
    }
    // A worker outside the walls, with a straight run of floor to the edge.
    seed("solver_text", "worker-outside.xsb", " ####\r\n #. #\r\n #$ #\n###@###\r\n    \r\n");
    {
        const Bytes all = fuzz::readFile(texts / "game.txt");
        seed("solver_text", "game.txt", text(all).substr(0, 600));
        seed("xsb", "game.txt", text(all).substr(0, 300));
    }

    // Settings as created, as changed by a player, and the list of level sets.
    {
        const fs::path var = work / "game.var", lst = work / "game.lst";
        TGameVar v = loadSettings(var, 1920, 1080);
        seed("settings", "created", text(fuzz::readFile(var)));
        v.levelSet = 7;
        v.faceStyle = 11;
        v.customWall = 4;
        v.soundFlag = 0;
        saveSettings(var, v);
        writeGameList(lst, {"/home/player/一.box", "/media/usb/两个.box"});
        seed("settings", "listed",
             fuzz::joinParts({text(fuzz::readFile(var)), text(fuzz::readFile(lst))}));
    }

    // An answer exported by the game after the first level was solved.
    {
        const fs::path dir = work / "answer";
        fs::create_directories(dir);
        const Bytes one = parseXsb("#####\n#@$.#\n#####\n").maze.encode();
        fuzz::writeFile(dir / "set.box", {one.data(), one.size()});
        fuzz::SetModel opened(dir);
        auto& model = opened.model;
        auto& dialogs = opened.dialogs;
        model.guarded([&] {
            if (!model.OpenGame()) return;
            model.ReadRecord(model.curLevel());
            model.KeyMove("right");
        });
        dialogs.inputAnswers = {"1"};
        dialogs.fileAnswers = {(dir / "set0001.ans").string()};
        model.guarded([&] { model.mAnswerOutClick(); });
        seed("answer_import", "level1.ans", text(fuzz::readFile(dir / "set0001.ans")));
        TAnswerData longer;
        longer.level = 2;
        longer.moves = 6;
        for (int i = 0; i < 6; ++i)
            longer.setMove(i, i % 4);
        seed("answer_import", "level2.ans", text(longer.encode()));
    }

    // The game's music.
    for (int i = 1; i <= 5; ++i) {
        const std::string name = "music" + std::to_string(i) + ".mid";
        seed("midi", name, text(fuzz::readFile(bin / name)));
    }

    // Older level sets: two levels, and one with a torn last record.
    {
        Bytes old;
        for (int i = 0; i < 2; ++i) {
            const Bytes r = oldRecord(TMazeData::decode(std::span(game).subspan(
                static_cast<std::size_t>(i) * TMazeData::kSize, TMazeData::kSize)));
            old.insert(old.end(), r.begin(), r.end());
        }
        seed("convert", "two", text(old));
        old.resize(old.size() + 100, 1);
        seed("convert", "torn", text(old));
    }

    // A collection of three levels, the middle one wider than a record, on
    // its own and with the index, long answers and statistics its opening
    // and a little play leave beside it.
    {
        std::string wide = std::string(40, '#') + "\n#@" + std::string(34, ' ') + "$ .#\n#" +
                           std::string(38, ' ') + "#\n" + std::string(40, '#') + "\n";
        const std::string collection = "Seeds\n\nFirst\n######\n#@ $.#\n# #  #\n######\n\n"
                                       "Wide\n" +
                                       wide +
                                       "\nThird\n #####\n##  .#\n#@$  #\n######\n"
                                       "Solution: rrr\n";
        seed("collection", "text", collection);
        const fs::path dir = work / "collection", levels = dir / "levels", app = dir / "app";
        fs::create_directories(levels);
        fs::create_directories(app);
        fuzz::writeFile(dir / "c.txt", {reinterpret_cast<const std::uint8_t*>(collection.data()),
                                        collection.size()});
        const OpenedLevelText opened = openLevelTextFile(dir / "c.txt", levels, app);
        const std::string box = opened.set.boxFile;
        if (box.empty()) {
            std::fprintf(stderr, "the seed collection was not imported\n");
            return 1;
        }
        core::Moves walk;
        for (int i = 0; i < 5000; ++i)
            walk.push_back(i % 2 == 0 ? core::kRight : core::kLeft);
        putLongAnswer(longAnswersFile(box, app), 2, walk);
        addLevelStats(levelStatsFile(box, app), 1, {3, 75});
        addLevelStats(levelStatsFile(box, app), 3, {1, 4000});
        seed("collection", "played",
             fuzz::joinParts({collection, text(fuzz::readFile(levelIndexFile(box))),
                              text(fuzz::readFile(longAnswersFile(box, app))),
                              text(fuzz::readFile(levelStatsFile(box, app)))}));
    }

    fs::remove_all(work);
    return 0;
}
