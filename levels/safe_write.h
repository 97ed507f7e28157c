// Plain-file access shared by every reader and writer of the game's files.
// Only regular files are opened: a pipe or a device in place of a file would
// block the game or feed it endless data. Writes that hold the player's
// progress replace a file whole, so that a crash or a full disk in the middle
// leaves the previous contents as they were. Failures throw FileError.
#pragma once

#include "file_error.h"
#include "records.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>

namespace sokoban {

// An open descriptor of a regular file, closed when it goes.
class PlainFile {
  public:
    // flags as for open(2); O_CREAT creates a missing file (mode 0666 less
    // the umask). Anything but a regular file is refused.
    PlainFile(const std::filesystem::path& path, int flags);
    ~PlainFile();
    PlainFile(const PlainFile&) = delete;
    PlainFile& operator=(const PlainFile&) = delete;

    int fd() const { return fd_; }
    const std::filesystem::path& path() const { return path_; }
    std::uint64_t size() const;
    // Reads up to n bytes from offset off; fewer only at the end of the file.
    std::size_t readAt(std::uint8_t* data, std::size_t n, std::uint64_t off) const;
    void writeAt(const std::uint8_t* data, std::size_t n, std::uint64_t off) const;
    // Closes now, so that an error of the last write shows here.
    void close();

  private:
    std::filesystem::path path_;
    int fd_ = -1;
};

// True when the path names an existing regular file.
bool isPlainFile(const std::filesystem::path& path);

// The first `limit` bytes of a regular file (all of it by default).
Bytes readPlainFile(const std::filesystem::path& path,
                    std::size_t limit = std::numeric_limits<std::size_t>::max());

// Replaces the contents of a file, creating it when missing: writes a new
// file beside it, flushes it to the disk (when there were contents to keep)
// and renames it over the old one. The file keeps its permissions, and a
// symbolic link keeps pointing at it.
void replaceFileContents(const std::filesystem::path& file, const Bytes& contents);

// Process id of the writer of an unfinished new copy (".<name>.<id>.<n>.new")
// that a killed writer left beside its file, or 0 for any other name.
long unfinishedCopyOwner(const std::string& fileName);

} // namespace sokoban
