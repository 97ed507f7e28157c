// The one error type of every failed file operation: the path and the
// system's reason, for the general error report.
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

} // namespace sokoban
