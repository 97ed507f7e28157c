// Writes the game's sound effects and background music into the given folder:
// move.wav, push.wav, pong.wav, undo.wav and music1.mid .. music5.mid.

#include "tunes.h"
#include "wave_effects.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    try {
        const std::filesystem::path dir = argv[1];
        std::filesystem::create_directories(dir);
        writeFile(dir / "move.wav", sounds::encodeWav8(sounds::makeMoveEffect()));
        writeFile(dir / "push.wav", sounds::encodeWav8(sounds::makePushEffect()));
        writeFile(dir / "pong.wav", sounds::encodeWav8(sounds::makePongEffect()));
        writeFile(dir / "undo.wav", sounds::encodeWav8(sounds::makeUndoEffect()));
        int number = 1;
        for (const music::Song& song : music::allTunes()) {
            // The game repeats each piece endlessly; a short piece would wear thin.
            if (music::songSeconds(song) < 45)
                throw std::runtime_error(song.title + " is shorter than 45 seconds");
            writeFile(dir / ("music" + std::to_string(number++) + ".mid"), music::writeSmf(song));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_sounds: %s\n", e.what());
        return 1;
    }
    return 0;
}
