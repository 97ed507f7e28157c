#include "safe_write.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace sokoban {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void notPlain(const fs::path& p) {
    throw FileError(p, kNotPlainFile);
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
    // Look before opening: opening a pipe waits for its other end.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) notPlain(path);
    } else if (errno != ENOENT || !(flags & O_CREAT)) {
        throwSystemError(path, errno);
    }
    fd_ = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
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

void replaceFileContents(const fs::path& file, const Bytes& contents) {
    // Write beside the real file, so that the rename stays on one file system
    // and a link to the file is not replaced by a plain file.
    std::error_code ec;
    fs::path target = fs::is_symlink(file, ec) ? fs::canonical(file, ec) : file;
    if (ec || target.empty()) target = file;
    struct stat st {};
    const bool existed = ::stat(target.c_str(), &st) == 0;
    if (existed && !S_ISREG(st.st_mode)) notPlain(file);
    if (!existed && errno != ENOENT) throwSystemError(file, errno);

    TempBeside temp(target, file);
    if (existed && ::fchmod(temp.fd(), st.st_mode & 07777) != 0) throwSystemError(file, errno);
    writeAll(temp.fd(), contents.data(), contents.size(), 0, file);
    // Only earlier contents need the wait for the disk: a new file that a
    // power cut leaves short is repaired like any short file when it is next
    // opened.
    if (existed && ::fsync(temp.fd()) != 0) throwSystemError(file, errno);
    if (const int err = temp.closeNow()) throwSystemError(file, err);
    if (::rename(temp.path().c_str(), target.c_str()) != 0) throwSystemError(file, errno);
    temp.markRenamed();
    if (!existed) return;
    // Make the new name itself durable; the contents already are.
    const fs::path dir = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

} // namespace sokoban
