#include "safe_write.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <map>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sokoban {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void notPlain(const fs::path& p) {
    throw FileError(p, FileReason::NotPlainFile);
}

RenameObserver& renameObserver() {
    static RenameObserver observer;
    return observer;
}

void notify(const fs::path& file, RenameStep step) {
    if (renameObserver()) renameObserver()(file, step);
}

fs::path folderOf(const fs::path& file) {
    return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

// Makes the names in a folder durable after a rename.
void syncFolder(const fs::path& dir) {
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

// A temporary file beside the target, unique within this process and among
// processes; removed again unless it was renamed into place.
class TempBeside {
  public:
    explicit TempBeside(const fs::path& target, const fs::path& reportAs) {
        static std::atomic<unsigned> serial{0};
        const fs::path dir = target.parent_path();
        for (int attempt = 0;; ++attempt) {
            path_ = dir / ("." + target.filename().string() + "." + std::to_string(::getpid()) +
                           "." + std::to_string(serial++) + ".new");
            fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0) return;
            if (errno != EEXIST || attempt > 100) throwSystemError(reportAs, errno);
        }
    }
    ~TempBeside() {
        if (fd_ >= 0) ::close(fd_);
        if (!renamed_) ::unlink(path_.c_str());
    }
    TempBeside(const TempBeside&) = delete;
    TempBeside& operator=(const TempBeside&) = delete;
    int fd() const { return fd_; }
    const fs::path& path() const { return path_; }
    int closeNow() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }
    void markRenamed() { renamed_ = true; }

  private:
    fs::path path_;
    int fd_ = -1;
    bool renamed_ = false;
};

void writeAll(int fd, const std::uint8_t* data, std::size_t n, std::uint64_t off,
              const fs::path& reportAs) {
    while (n > 0) {
        const ssize_t w = ::pwrite(fd, data, n, static_cast<off_t>(off));
        if (w < 0) {
            if (errno == EINTR) continue;
            throwSystemError(reportAs, errno);
        }
        data += w;
        n -= static_cast<std::size_t>(w);
        off += static_cast<std::uint64_t>(w);
    }
}

} // namespace

PlainFile::PlainFile(const fs::path& path, int flags) : path_(path) {
    const bool writing = (flags & O_ACCMODE) != O_RDONLY;
    // Look before opening: opening a pipe waits for its other end.
    struct stat st {};
    if ((writing ? ::lstat(path.c_str(), &st) : ::stat(path.c_str(), &st)) == 0) {
        if (S_ISLNK(st.st_mode)) throw FileError(path, FileReason::SymbolicLink);
        if (!S_ISREG(st.st_mode)) notPlain(path);
    } else if (errno != ENOENT || !(flags & O_CREAT)) {
        throwSystemError(path, errno);
    }
    fd_ = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK | (writing ? O_NOFOLLOW : 0), 0666);
    if (fd_ < 0 && writing && errno == ELOOP) throw FileError(path, FileReason::SymbolicLink);
    if (fd_ < 0) throwSystemError(path, errno);
    // It may have been swapped meanwhile.
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        notPlain(path);
    }
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
}

PlainFile::~PlainFile() {
    if (fd_ >= 0) ::close(fd_);
}

std::uint64_t PlainFile::size() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) throwSystemError(path_, errno);
    return static_cast<std::uint64_t>(st.st_size);
}

std::size_t PlainFile::readAt(std::uint8_t* data, std::size_t n, std::uint64_t off) const {
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::pread(fd_, data + got, n - got, static_cast<off_t>(off + got));
        if (r < 0) {
            if (errno == EINTR) continue;
            throwSystemError(path_, errno);
        }
        if (r == 0) break;
        got += static_cast<std::size_t>(r);
    }
    return got;
}

void PlainFile::writeAt(const std::uint8_t* data, std::size_t n, std::uint64_t off) const {
    writeAll(fd_, data, n, off, path_);
}

void PlainFile::close() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throwSystemError(path_, errno);
}

long unfinishedCopyOwner(const std::string& fileName) {
    // From the end: ".new", the serial, the process id.
    if (fileName.size() < 2 || fileName[0] != '.' || !fileName.ends_with(".new")) return 0;
    const std::string rest = fileName.substr(0, fileName.size() - 4);
    const auto serialDot = rest.rfind('.');
    if (serialDot == std::string::npos || serialDot == 0) return 0;
    const auto pidDot = rest.rfind('.', serialDot - 1);
    if (pidDot == std::string::npos || pidDot == 0) return 0;
    const std::string serial = rest.substr(serialDot + 1),
                      pid = rest.substr(pidDot + 1, serialDot - pidDot - 1);
    const auto digits = [](const std::string& d) {
        return !d.empty() && d.size() <= 9 &&
               d.find_first_not_of("0123456789") == std::string::npos;
    };
    if (!digits(serial) || !digits(pid)) return 0;
    return std::stol(pid);
}

void removeUnfinishedCopies(const fs::path& dir) {
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const long pid = unfinishedCopyOwner(it->path().filename().string());
        if (pid <= 0 || pid == ::getpid()) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        std::error_code ignored;
        fs::remove(it->path(), ignored);
    }
}

bool isPlainFile(const fs::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

Bytes readPlainFile(const fs::path& path, std::size_t limit) {
    const PlainFile file(path, O_RDONLY);
    const std::uint64_t size = file.size();
    Bytes all(static_cast<std::size_t>(std::min<std::uint64_t>(size, limit)));
    all.resize(file.readAt(all.data(), all.size(), 0)); // shorter when cut meanwhile
    return all;
}

bool isUnwritableFile(const fs::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return false; // missing: it may be made
    if (S_ISLNK(st.st_mode)) return true;
    if (!S_ISREG(st.st_mode)) return false; // refused when opened, with its own reason
    // Root may write anything: a file without write permission is still one
    // the player meant to keep.
    return (st.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
}

void replaceFileContents(const fs::path& file, const Bytes& contents) {
    // The new file is written beside the old one, so that the rename stays on
    // one file system.
    struct stat st {};
    const bool existed = ::lstat(file.c_str(), &st) == 0;
    if (!existed && errno != ENOENT) throwSystemError(file, errno);
    if (existed && S_ISLNK(st.st_mode)) throw FileError(file, FileReason::SymbolicLink);
    if (existed && !S_ISREG(st.st_mode)) notPlain(file);
    if (existed && isUnwritableFile(file)) throw FileError(file, FileReason::ReadOnlyFile);

    TempBeside temp(file, file);
    if (existed && ::fchmod(temp.fd(), st.st_mode & 07777) != 0) throwSystemError(file, errno);
    writeAll(temp.fd(), contents.data(), contents.size(), 0, file);
    // Only earlier contents need the wait for the disk: a new file that a
    // power cut leaves short is repaired like any short file when it is next
    // opened.
    if (existed && ::fsync(temp.fd()) != 0) throwSystemError(file, errno);
    if (const int err = temp.closeNow()) throwSystemError(file, err);
    notify(file, RenameStep::Before);
    if (::rename(temp.path().c_str(), file.c_str()) != 0) throwSystemError(file, errno);
    temp.markRenamed();
    // Make the new name itself durable; the contents already are.
    if (existed) syncFolder(folderOf(file));
    notify(file, RenameStep::After);
}

namespace {

// Folders this thread holds locked, by device and inode, with how often.
thread_local std::map<std::string, int> heldFolders;

} // namespace

FolderLock::FolderLock(const fs::path& dir) {
    const fs::path folder = dir.empty() ? fs::path(".") : dir;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return;
    }
    key_ = std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
    if (heldFolders[key_]++ > 0) {
        ::close(fd); // a second lock of our own would wait for ever
        return;
    }
    fd_ = fd;
    while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
}

FolderLock::~FolderLock() {
    if (key_.empty()) return;
    if (--heldFolders[key_] == 0) heldFolders.erase(key_);
    if (fd_ >= 0) ::close(fd_); // closing lets go of the lock
}

fs::path nextCopyName(const fs::path& file) {
    return file.parent_path() / ("." + file.filename().string() + ".next");
}

namespace {

// Renames the waiting new copies into place: those that are still there,
// as a switch finished by an earlier start may have moved some.
void putInPlace(const std::vector<fs::path>& files) {
    std::vector<fs::path> folders;
    for (const auto& file : files) {
        const fs::path next = nextCopyName(file);
        struct stat st {};
        if (::lstat(next.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        notify(file, RenameStep::Before);
        if (::rename(next.c_str(), file.c_str()) != 0) throwSystemError(file, errno);
        notify(file, RenameStep::After);
        if (std::find(folders.begin(), folders.end(), folderOf(file)) == folders.end())
            folders.push_back(folderOf(file));
    }
    for (const auto& dir : folders)
        syncFolder(dir);
}

} // namespace

FileSwitch::FileSwitch(fs::path journal)
    : journal_(std::move(journal)), lock_(folderOf(journal_)) {}

FileSwitch::~FileSwitch() {
    if (committed_) return;
    for (const auto& file : files_)
        ::unlink(nextCopyName(file).c_str());
}

fs::path FileSwitch::stage(const fs::path& file) {
    const fs::path next = nextCopyName(file);
    // What an earlier switch left there goes, a link too: never written through.
    if (::unlink(next.c_str()) != 0 && errno != ENOENT) throwSystemError(file, errno);
    files_.push_back(file);
    return next;
}

void FileSwitch::stage(const fs::path& file, const Bytes& contents) {
    const PlainFile next(stage(file), O_WRONLY | O_CREAT | O_EXCL);
    writeAll(next.fd(), contents.data(), contents.size(), 0, file);
}

void FileSwitch::commit() {
    std::string names;
    for (const auto& file : files_) {
        const PlainFile next(nextCopyName(file), O_RDONLY);
        struct stat st {};
        if (::lstat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            ::fchmod(next.fd(), st.st_mode & 07777);
        if (::fsync(next.fd()) != 0) throwSystemError(file, errno);
        // Names may hold any byte but the zero.
        names += file.string();
        names += '\0';
    }
    replaceFileContents(journal_, Bytes(names.begin(), names.end()));
    syncFolder(folderOf(journal_));
    committed_ = true;
    putInPlace(files_);
    if (::unlink(journal_.c_str()) != 0) throwSystemError(journal_, errno);
}

void finishFileSwitch(const fs::path& journal, const std::vector<fs::path>& files) {
    struct stat st {};
    const auto present = [&](const fs::path& p) { return ::lstat(p.c_str(), &st) == 0; };
    if (!present(journal) && std::none_of(files.begin(), files.end(), [&](const fs::path& f) {
            return present(nextCopyName(f));
        }))
        return; // the usual case: nothing was interrupted
    // A copy that is switching right now holds the lock until it is done.
    const FolderLock lock(folderOf(journal));
    if (!present(journal)) {
        for (const auto& file : files)
            ::unlink(nextCopyName(file).c_str());
        return;
    }
    Bytes names;
    try {
        names = readPlainFile(journal, 1 << 20);
    } catch (const FileError&) {
    }
    // Only files this set owns are ever moved, whatever the journal says.
    std::vector<fs::path> named;
    std::string name;
    for (std::uint8_t c : names) {
        if (c != 0) {
            name += static_cast<char>(c);
            continue;
        }
        if (std::find(files.begin(), files.end(), fs::path(name)) != files.end())
            named.push_back(name);
        name.clear();
    }
    putInPlace(named);
    if (::unlink(journal.c_str()) != 0 && errno != ENOENT) throwSystemError(journal, errno);
}

void setRenameObserver(RenameObserver observer) {
    renameObserver() = std::move(observer);
}

} // namespace sokoban
