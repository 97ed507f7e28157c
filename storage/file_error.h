// The one error type of every failed file operation: the path and the
// reason, in the player's language, for the general error report.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace sokoban {

class FileError : public std::runtime_error {
  public:
    FileError(std::filesystem::path path, std::string reason)
        : std::runtime_error(path.string() + ": " + reason), path_(std::move(path)),
          reason_(std::move(reason)) {}
    const std::filesystem::path& path() const { return path_; }
    const std::string& reason() const { return reason_; }

  private:
    std::filesystem::path path_;
    std::string reason_;
};

// The reasons the game itself gives.
inline constexpr const char* kReadBeyondEnd = "读取超出文件末尾";
inline constexpr const char* kInvalidRecord = "无效的记录号";
inline constexpr const char* kNotPlainFile = "不是普通文件";
inline constexpr const char* kSymbolicLink = "是符号链接";
inline constexpr const char* kReadOnlyFile = "文件是只读的";
inline constexpr const char* kNoFreeName = "没有可用的文件名";

// A system error number as the player reads it: the common ones by name, any
// other with its number.
std::string systemReason(int err);

// Throws FileError(path, systemReason(err)).
[[noreturn]] void throwSystemError(const std::filesystem::path& path, int err);

} // namespace sokoban
