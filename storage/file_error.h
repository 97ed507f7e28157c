// The one error type of every failed file operation: the path and the
// reason, as a code that the user interface puts into words for the general
// error report.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace sokoban {

// The reasons the game itself gives; System for an error of the system,
// whose number comes with it.
enum class FileReason {
    System,
    ReadBeyondEnd,
    InvalidRecord,
    NotPlainFile,
    SymbolicLink,
    ReadOnlyFile,
    NoFreeName,
};

class FileError : public std::runtime_error {
  public:
    FileError(std::filesystem::path path, FileReason reason)
        : FileError(std::move(path), reason, 0) {}
    // An error of the system, by its number (errno).
    FileError(std::filesystem::path path, int systemError)
        : FileError(std::move(path), FileReason::System, systemError) {}
    // The same reason for another path.
    FileError(std::filesystem::path path, const FileError& same)
        : FileError(std::move(path), same.reason_, same.systemError_) {}

    const std::filesystem::path& path() const { return path_; }
    FileReason reason() const { return reason_; }
    // The system's error number; 0 for a reason of the game's own.
    int systemError() const { return systemError_; }

  private:
    FileError(std::filesystem::path path, FileReason reason, int systemError);

    std::filesystem::path path_;
    FileReason reason_;
    int systemError_;
};

// Throws FileError(path, err).
[[noreturn]] void throwSystemError(const std::filesystem::path& path, int err);

} // namespace sokoban
