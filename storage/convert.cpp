#include "convert.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace sokoban {

std::int16_t convertOldManIndex(std::int16_t w) {
    const int row = w / kOldCols, col = w % kOldCols;
    const int index = (row + kOldRowShift) * kCols + col + kOldColShift;
    return static_cast<std::int16_t>(index);
}

TMazeData convertOldLevel(std::span<const std::uint8_t> oldRecord) {
    TMazeData m;
    m.man = convertOldManIndex(readI16(oldRecord.data()));
    const std::uint8_t* cells = oldRecord.data() + 2;
    for (int r = 0; r < kOldRows; ++r)
        for (int k = 0; k < kOldCols; ++k)
            m.cells[static_cast<std::size_t>((r + kOldRowShift) * kCols + k + kOldColShift)] =
                cells[r * kOldCols + k];
    return m;
}

Bytes convertOldLevelSet(std::span<const std::uint8_t> oldFile) {
    const std::size_t count = oldFile.size() / kOldLevelSize;
    Bytes out;
    out.reserve(count * TMazeData::kSize);
    for (std::size_t k = 0; k < count; ++k) {
        const Bytes b = convertOldLevel(oldFile.subspan(k * kOldLevelSize, kOldLevelSize)).encode();
        out.insert(out.end(), b.begin(), b.end());
    }
    return out;
}

namespace {

[[noreturn]] void fail(const std::filesystem::path& p, int err) {
    throw FileError(p, err);
}

// A descriptor closed when it goes.
struct Fd {
    int fd = -1;
    Fd() = default;
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

// The new file beside the original: a name no other file has, created
// exclusively, so no file of the player's is ever emptied; removed again
// unless it replaced the original.
class WorkFile {
  public:
    explicit WorkFile(const std::filesystem::path& original) : original_(original) {
        static std::atomic<unsigned> serial{0};
        for (int attempt = 0;; ++attempt) {
            path_ = original.parent_path() /
                    ("." + original.filename().string() + "." + std::to_string(::getpid()) + "." +
                     std::to_string(serial++) + ".convert");
            fd_.fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_.fd >= 0) return;
            if (errno != EEXIST || attempt >= 100) fail(original, errno);
        }
    }
    WorkFile(const WorkFile&) = delete;
    WorkFile& operator=(const WorkFile&) = delete;
    ~WorkFile() {
        if (!placed_) ::unlink(path_.c_str());
    }
    int fd() const { return fd_.fd; }
    // Flushes, closes and renames the file over the original.
    void replaceOriginal() {
        if (::fsync(fd_.fd) != 0) fail(original_, errno);
        const int fd = fd_.fd;
        fd_.fd = -1;
        if (::close(fd) != 0) fail(original_, errno);
        if (::rename(path_.c_str(), original_.c_str()) != 0) fail(original_, errno);
        placed_ = true;
    }

  private:
    std::filesystem::path original_, path_;
    Fd fd_;
    bool placed_ = false;
};

} // namespace

int convertLevelSetFile(const std::filesystem::path& file) {
    // Look before opening: opening a pipe would wait for its other end.
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) fail(file, errno);
    if (!S_ISREG(st.st_mode)) throw FileError(file, FileReason::NotPlainFile);
    Fd in;
    in.fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (in.fd < 0) fail(file, errno);
    if (::fstat(in.fd, &st) != 0) fail(file, errno);
    if (!S_ISREG(st.st_mode)) throw FileError(file, FileReason::NotPlainFile);
    const auto count = static_cast<std::uint64_t>(st.st_size) / kOldLevelSize;

    WorkFile work(file);
    if (::fchmod(work.fd(), st.st_mode & 07777) != 0) fail(file, errno);
    // A block of records at a time: few calls, little memory, any file size.
    constexpr std::uint64_t kBlock = 1024;
    Bytes oldBlock(kBlock * kOldLevelSize);
    Bytes newBlock;
    for (std::uint64_t k = 0; k < count; k += kBlock) {
        const std::uint64_t n = std::min(kBlock, count - k);
        const std::size_t want = static_cast<std::size_t>(n) * kOldLevelSize;
        std::size_t got = 0;
        while (got < want) {
            const ssize_t r = ::pread(in.fd, oldBlock.data() + got, want - got,
                                      static_cast<off_t>(k * kOldLevelSize + got));
            if (r < 0 && errno == EINTR) continue;
            if (r < 0) fail(file, errno);
            if (r == 0) throw FileError(file, FileReason::ReadBeyondEnd); // cut meanwhile
            got += static_cast<std::size_t>(r);
        }
        newBlock = convertOldLevelSet(std::span(oldBlock).first(want));
        std::size_t put = 0;
        while (put < newBlock.size()) {
            const ssize_t w = ::write(work.fd(), newBlock.data() + put, newBlock.size() - put);
            if (w < 0 && errno == EINTR) continue;
            if (w < 0) fail(file, errno);
            put += static_cast<std::size_t>(w);
        }
    }
    // Renaming over the original replaces it in one step: there is never a
    // moment without the level set on disk.
    work.replaceOriginal();
    return static_cast<int>(count);
}

} // namespace sokoban
