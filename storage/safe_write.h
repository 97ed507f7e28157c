// Plain-file access shared by every reader and writer of the game's files.
// Only regular files are opened: a pipe or a device in place of a file would
// block the game or feed it endless data. Writes that hold the player's
// progress replace a file whole, so that a crash or a full disk in the middle
// leaves the previous contents as they were. Reading follows symbolic links;
// writing never does: a link in a level set's folder may lead anywhere.
// Failures throw FileError.
#pragma once

#include "file_error.h"
#include "records.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace sokoban {

// An open descriptor of a regular file, closed when it goes.
class PlainFile {
  public:
    // flags as for open(2); O_CREAT creates a missing file (mode 0666 less
    // the umask). Anything but a regular file is refused, and so is a
    // symbolic link when the file is opened for writing.
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

// True when the game must leave this file as it is: a symbolic link (one
// that leads nowhere too), or an existing file the player may not write or
// made read-only. Its records then live elsewhere.
bool isUnwritableFile(const std::filesystem::path& path);

// Replaces the contents of a file, creating it when missing: writes a new
// file beside it, flushes it to the disk (when there were contents to keep)
// and renames it over the old one. The file keeps its permissions. A
// symbolic link or a read-only file is refused, not replaced.
void replaceFileContents(const std::filesystem::path& file, const Bytes& contents);

// Holds an exclusive lock on a folder while files in it are read, changed
// and replaced, so that two running copies of the game take turns instead
// of each replacing what the other just wrote. A thread that holds the lock
// may take it again. Without locks on the file system nothing is held.
class FolderLock {
  public:
    explicit FolderLock(const std::filesystem::path& dir);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

  private:
    int fd_ = -1;
    std::string key_;
};

// Several files replaced as one. Each new content is written beside its
// file under nextCopyName(file); then a journal naming the files is written,
// and that is the moment of the change; then the new copies are renamed into
// place and the journal goes. A kill before the journal leaves every file
// old, one after it every file new once finishFileSwitch has run.
class FileSwitch {
  public:
    explicit FileSwitch(std::filesystem::path journal);
    // Removes the new copies of a switch that was not committed.
    ~FileSwitch();
    FileSwitch(const FileSwitch&) = delete;
    FileSwitch& operator=(const FileSwitch&) = delete;

    // Makes way for the new copy of `file` and returns its name; the caller
    // writes it.
    std::filesystem::path stage(const std::filesystem::path& file);
    // Writes the new copy of `file` with these contents.
    void stage(const std::filesystem::path& file, const Bytes& contents);
    // Flushes the new copies, writes the journal and puts them in place.
    void commit();

  private:
    std::filesystem::path journal_;
    FolderLock lock_; // of the journal's folder, from the first new copy to the last rename
    std::vector<std::filesystem::path> files_;
    bool committed_ = false;
};

// The name of the new copy of a file in a FileSwitch: ".<name>.next" beside it.
std::filesystem::path nextCopyName(const std::filesystem::path& file);

// Ends a switch that a kill interrupted. With its journal, the new copies
// still waiting are renamed into place, of those files among `files` that
// the journal names; without it, new copies of `files` left by a switch that
// never committed are removed.
void finishFileSwitch(const std::filesystem::path& journal,
                      const std::vector<std::filesystem::path>& files);

// Test hook: called just before and just after each rename that puts a new
// file in place. A test throws from it to stop a sequence of writes at that
// point, as a full disk (before) or a kill (after) would. Empty in the game.
enum class RenameStep { Before, After };
using RenameObserver = std::function<void(const std::filesystem::path&, RenameStep)>;
void setRenameObserver(RenameObserver observer);

// Process id of the writer of an unfinished new copy (".<name>.<id>.<n>.new")
// that a killed writer left beside its file, or 0 for any other name.
long unfinishedCopyOwner(const std::string& fileName);
// Removes from a folder the unfinished new copies of writers that have ended.
void removeUnfinishedCopies(const std::filesystem::path& dir);

} // namespace sokoban
