// Small helpers the tests share for files and texts: bytes in and out of a
// file, and lines joined into a text.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace sokoban::testing {

inline std::vector<std::uint8_t> contents(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void writeBytes(const std::filesystem::path& p, const std::vector<std::uint8_t>& b) {
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

// The lines of a text, each followed by `end`.
inline std::string join(const std::vector<std::string>& lines, const std::string& end = "\n") {
    std::string s;
    for (const auto& l : lines)
        s += l + end;
    return s;
}

} // namespace sokoban::testing
