#include "file_error.h"

#include <system_error>

namespace sokoban {

namespace {

// For logs and test failures only; the player reads the reason as the user
// interface words it.
std::string describe(const std::filesystem::path& path, FileReason reason, int err) {
    if (reason == FileReason::System)
        return path.string() + ": " + std::generic_category().message(err);
    return path.string() + ": file error " + std::to_string(static_cast<int>(reason));
}

} // namespace

FileError::FileError(std::filesystem::path path, FileReason reason, int systemError)
    : std::runtime_error(describe(path, reason, systemError)), path_(std::move(path)),
      reason_(reason), systemError_(systemError) {}

void throwSystemError(const std::filesystem::path& path, int err) {
    throw FileError(path, err);
}

} // namespace sokoban
