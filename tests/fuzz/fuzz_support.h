// Shared pieces of the fuzz targets: splitting one input into several files,
// a scratch folder per process, and checks that stop the run even in a build
// without assertions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace sokoban::fuzz {

using Input = std::basic_string_view<std::uint8_t>;

// A broken promise of the code under test: report it and stop, so that the
// fuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// Inputs that stand for several files hold them one after the other, each
// ended by this line; a part that is not there stands for a missing file.
inline constexpr std::string_view kPartEnd = "\n--next file--\n";

inline std::vector<Input> splitParts(Input data) {
    std::vector<Input> parts;
    const Input end(reinterpret_cast<const std::uint8_t*>(kPartEnd.data()), kPartEnd.size());
    for (;;) {
        const auto at = data.find(end);
        if (at == Input::npos) {
            parts.push_back(data);
            return parts;
        }
        parts.push_back(data.substr(0, at));
        data.remove_prefix(at + end.size());
    }
}

inline std::string joinParts(const std::vector<std::string>& parts) {
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) out += kPartEnd;
        out += parts[i];
    }
    return out;
}

inline void writeFile(const std::filesystem::path& p, Input bytes) {
    std::ofstream(p, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// An empty folder of this process's own, emptied again for every input and
// removed at exit.
class Scratch {
  public:
    explicit Scratch(const std::string& name) {
        std::error_code ec;
        const auto base = std::filesystem::exists("/dev/shm", ec)
                              ? std::filesystem::path("/dev/shm")
                              : std::filesystem::temp_directory_path();
        dir_ = base / ("sokoban-fuzz-" + name + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_, ec);
        std::filesystem::create_directories(dir_);
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    // The folder, emptied.
    const std::filesystem::path& fresh() {
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(dir_, ec))
            std::filesystem::remove_all(e.path(), ec);
        return dir_;
    }

  private:
    std::filesystem::path dir_;
};

} // namespace sokoban::fuzz
