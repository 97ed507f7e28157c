#include "tools/level_set_rewrite.h"

#include "levels/file_error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sokoban {

namespace fs = std::filesystem;

namespace {

constexpr auto kLevelSize = static_cast<std::int64_t>(TMazeData::kSize);

[[noreturn]] void fail(const fs::path& p, int err) {
    throw FileError(p, std::strerror(err));
}
[[noreturn]] void beyondEnd(const fs::path& p) {
    throw FileError(p, "Read beyond end of file");
}

class Fd {
  public:
    Fd(const fs::path& p, int fd) : path_(p), fd_(fd) {
        if (fd_ < 0) fail(p, errno);
    }
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now, so that an error of the last write shows up here.
    void close() {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) fail(path_, errno);
    }

  private:
    fs::path path_;
    int fd_;
};

Bytes readAll(const fs::path& file) {
    Fd fd(file, ::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) fail(file, errno);
    if (!S_ISREG(st.st_mode)) fail(file, EINVAL);
    Bytes all(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    while (got < all.size()) {
        const ssize_t r = ::read(fd.get(), all.data() + got, all.size() - got);
        if (r < 0) {
            if (errno == EINTR) continue;
            fail(file, errno);
        }
        if (r == 0) break; // shortened meanwhile
        got += static_cast<std::size_t>(r);
    }
    all.resize(got);
    return all;
}

std::int64_t wholeLevels(const Bytes& all) {
    return static_cast<std::int64_t>(all.size()) / kLevelSize;
}

Bytes::iterator levelAt(Bytes& all, std::int64_t index) {
    return all.begin() + static_cast<std::ptrdiff_t>(index * kLevelSize);
}

} // namespace

void replaceFileContents(const fs::path& file, const Bytes& contents) {
    // Write beside the real file, so that the rename stays on one file system
    // and a link to the file is not replaced by a plain file.
    std::error_code ec;
    fs::path target = fs::canonical(file, ec);
    if (ec) target = file;
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) fail(file, errno);

    std::string name =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    const fs::path temp = [&] {
        Fd fd(file, ::mkstemp(name.data()));
        const fs::path made = name;
        try {
            if (::fchmod(fd.get(), st.st_mode & 07777) != 0) fail(file, errno);
            std::size_t done = 0;
            while (done < contents.size()) {
                const ssize_t w = ::write(fd.get(), contents.data() + done, contents.size() - done);
                if (w < 0) {
                    if (errno == EINTR) continue;
                    fail(file, errno);
                }
                done += static_cast<std::size_t>(w);
            }
            if (::fsync(fd.get()) != 0) fail(file, errno);
            fd.close();
        } catch (...) {
            ::unlink(made.c_str());
            throw;
        }
        return made;
    }();
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        fail(file, err);
    }
}

int levelCountOf(const fs::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) fail(file, errno);
    if (!S_ISREG(st.st_mode)) fail(file, EINVAL);
    return static_cast<int>(std::min<std::int64_t>(st.st_size / kLevelSize, INT32_MAX));
}

TMazeData readLevelOf(const fs::path& file, int index) {
    Bytes all = readAll(file);
    if (index < 0 || index >= wholeLevels(all)) beyondEnd(file);
    return TMazeData::decode(std::span<const std::uint8_t>(&*levelAt(all, index), kLevelSize));
}

void exchangeLevels(const fs::path& file, int i, int j) {
    Bytes all = readAll(file);
    const std::int64_t n = wholeLevels(all);
    if (i < 0 || j < 0 || i >= n || j >= n) beyondEnd(file);
    if (i == j) return;
    std::swap_ranges(levelAt(all, i), levelAt(all, i + 1), levelAt(all, j));
    replaceFileContents(file, all);
}

void DeleteRecord(const fs::path& file, int n) {
    std::error_code ec;
    if (file.empty() || !fs::exists(file, ec)) return;
    Bytes all = readAll(file);
    const std::int64_t m = wholeLevels(all);
    if (n < 1 || n > m) beyondEnd(file);
    all.erase(levelAt(all, n - 1), levelAt(all, n));
    all.resize(static_cast<std::size_t>((m - 1) * kLevelSize));
    replaceFileContents(file, all);
}

void appendLevel(const fs::path& file, const TMazeData& level) {
    Bytes all = readAll(file);
    all.resize(static_cast<std::size_t>(wholeLevels(all) * kLevelSize));
    const Bytes record = level.encode();
    all.insert(all.end(), record.begin(), record.end());
    replaceFileContents(file, all);
}

} // namespace sokoban
