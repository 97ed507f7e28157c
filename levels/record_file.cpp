#include "record_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sokoban {

namespace {

[[noreturn]] void fail(const std::filesystem::path& p, int err) {
    throw FileError(p, std::strerror(err));
}

class Fd {
public:
    Fd(const std::filesystem::path& p, int flags) : path_(p) {
        fd_ = ::open(p.c_str(), flags | O_CLOEXEC, 0644);
        if (fd_ < 0) fail(p, errno);
    }
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    std::uint64_t size() const {
        struct stat st{};
        if (::fstat(fd_, &st) != 0) fail(path_, errno);
        return static_cast<std::uint64_t>(st.st_size);
    }
    void writeAll(const std::uint8_t* data, std::size_t n, std::uint64_t off) const {
        while (n > 0) {
            ssize_t w = ::pwrite(fd_, data, n, static_cast<off_t>(off));
            if (w < 0) {
                if (errno == EINTR) continue;
                fail(path_, errno);
            }
            data += w;
            n -= static_cast<std::size_t>(w);
            off += static_cast<std::uint64_t>(w);
        }
    }

private:
    std::filesystem::path path_;
    int fd_ = -1;
};

} // namespace

bool RecordFile::exists() const {
    std::error_code ec;
    return std::filesystem::is_regular_file(path_, ec);
}

std::uint64_t RecordFile::byteSize() const {
    Fd fd(path_, O_RDONLY);
    return fd.size();
}

void RecordFile::create() const { Fd fd(path_, O_WRONLY | O_CREAT | O_TRUNC); }

Bytes RecordFile::read(std::int64_t index) const {
    Fd fd(path_, O_RDONLY);
    Bytes b(recordSize_);
    if (index < 0) throw FileError(path_, "Read beyond end of file");
    auto off = static_cast<std::uint64_t>(index) * recordSize_;
    std::size_t got = 0;
    while (got < recordSize_) {
        ssize_t r = ::pread(fd.get(), b.data() + got, recordSize_ - got,
                            static_cast<off_t>(off + got));
        if (r < 0) {
            if (errno == EINTR) continue;
            fail(path_, errno);
        }
        if (r == 0) throw FileError(path_, "Read beyond end of file");
        got += static_cast<std::size_t>(r);
    }
    return b;
}

void RecordFile::write(std::int64_t index, const Bytes& record) const {
    if (index < 0) throw FileError(path_, "Invalid record number");
    Fd fd(path_, O_WRONLY | O_CREAT);
    fd.writeAll(record.data(), record.size(), static_cast<std::uint64_t>(index) * recordSize_);
}

void RecordFile::padTo(std::int64_t n, const Bytes& record) const {
    Fd fd(path_, O_RDWR | O_CREAT);
    auto have = static_cast<std::int64_t>(fd.size() / recordSize_);
    if (have >= n) return;
    // Whole records only: a torn tail record is overwritten.
    Bytes block;
    block.reserve(static_cast<std::size_t>(n - have) * recordSize_);
    for (auto i = have; i < n; ++i) block.insert(block.end(), record.begin(), record.end());
    fd.writeAll(block.data(), block.size(), static_cast<std::uint64_t>(have) * recordSize_);
}

void RecordFile::truncate(std::int64_t n) const {
    Fd fd(path_, O_WRONLY);
    if (::ftruncate(fd.get(), static_cast<off_t>(n * static_cast<std::int64_t>(recordSize_))) != 0)
        fail(path_, errno);
}

} // namespace sokoban
