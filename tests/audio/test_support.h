#pragma once

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

namespace audio_test {

// One application object for the whole test run; players need its event loop.
inline QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "audio_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* instance = new QCoreApplication(argc, argv);
    return *instance;
}

using Bytes = std::vector<std::uint8_t>;

// A track chunk around raw event bytes (delta times included).
inline Bytes track(std::initializer_list<std::uint8_t> events) {
    Bytes out{'M', 'T', 'r', 'k'};
    const auto n = static_cast<std::uint32_t>(events.size());
    for (int i = 3; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
    out.insert(out.end(), events.begin(), events.end());
    return out;
}

inline Bytes smf(int format, std::uint16_t division, std::initializer_list<Bytes> tracks) {
    Bytes out{'M',
              'T',
              'h',
              'd',
              0,
              0,
              0,
              6,
              0,
              static_cast<std::uint8_t>(format),
              0,
              static_cast<std::uint8_t>(tracks.size()),
              static_cast<std::uint8_t>(division >> 8),
              static_cast<std::uint8_t>(division)};
    for (const Bytes& t : tracks)
        out.insert(out.end(), t.begin(), t.end());
    return out;
}

// Writes into a folder of this test process's own, removed when the process ends.
inline std::filesystem::path writeTemp(const std::string& name, const Bytes& bytes) {
    static QTemporaryDir folder;
    const std::filesystem::path path = folder.filePath(QString::fromStdString(name)).toStdString();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
}

} // namespace audio_test
