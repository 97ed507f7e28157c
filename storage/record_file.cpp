#include "record_file.h"

#include "safe_write.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace sokoban {

namespace {

// The whole file, or nothing when it does not exist yet.
Bytes contentsOrEmpty(const std::filesystem::path& p) {
    std::error_code ec;
    if (!std::filesystem::exists(p, ec)) return {};
    return readPlainFile(p);
}

std::filesystem::path folderOf(const std::filesystem::path& p) {
    return p.parent_path().empty() ? std::filesystem::path(".") : p.parent_path();
}

} // namespace

bool RecordFile::exists() const {
    return isPlainFile(path_);
}

std::uint64_t RecordFile::byteSize() const {
    return PlainFile(path_, O_RDONLY).size();
}

void RecordFile::create() const {
    if (writes_ == Writes::WholeCopy) {
        const FolderLock lock(folderOf(path_));
        replaceFileContents(path_, {});
        return;
    }
    PlainFile(path_, O_WRONLY | O_CREAT | O_TRUNC).close();
}

Bytes RecordFile::read(std::int64_t index) const {
    const PlainFile file(path_, O_RDONLY);
    if (index < 0) throw FileError(path_, FileReason::InvalidRecord);
    Bytes b(recordSize_);
    const auto off = static_cast<std::uint64_t>(index) * recordSize_;
    if (file.readAt(b.data(), b.size(), off) < b.size())
        throw FileError(path_, FileReason::ReadBeyondEnd);
    return b;
}

void RecordFile::write(std::int64_t index, const Bytes& record) const {
    if (index < 0) throw FileError(path_, FileReason::InvalidRecord);
    if (writes_ == Writes::WholeCopy) {
        update(index, [&](const Bytes&) { return record; });
        return;
    }
    const auto off = static_cast<std::size_t>(index) * recordSize_;
    PlainFile file(path_, O_WRONLY | O_CREAT);
    file.writeAt(record.data(), record.size(), off);
    file.close();
}

void RecordFile::update(std::int64_t index, const Change& change) const {
    if (index < 0) throw FileError(path_, FileReason::InvalidRecord);
    const auto off = static_cast<std::size_t>(index) * recordSize_;
    const FolderLock lock(folderOf(path_));
    Bytes all = contentsOrEmpty(path_);
    const Bytes current = all.size() >= off + recordSize_
                              ? Bytes(all.begin() + static_cast<std::ptrdiff_t>(off),
                                      all.begin() + static_cast<std::ptrdiff_t>(off + recordSize_))
                              : Bytes{};
    const std::optional<Bytes> record = change(current);
    if (!record) return;
    // A record beyond the end leaves zeros in between, as a write in place would.
    if (all.size() < off + record->size()) all.resize(off + record->size());
    std::copy(record->begin(), record->end(), all.begin() + static_cast<std::ptrdiff_t>(off));
    if (writes_ == Writes::WholeCopy) {
        replaceFileContents(path_, all);
        return;
    }
    PlainFile file(path_, O_WRONLY | O_CREAT);
    file.writeAt(record->data(), record->size(), off);
    file.close();
}

void RecordFile::padTo(std::int64_t n, const Bytes& record) const {
    if (writes_ == Writes::WholeCopy) {
        // Most calls find the file long enough: look at its size only.
        if (exists() && static_cast<std::int64_t>(byteSize() / recordSize_) >= n) return;
        const FolderLock lock(folderOf(path_));
        Bytes all = contentsOrEmpty(path_);
        const auto have = static_cast<std::int64_t>(all.size() / recordSize_);
        // Whole records only: a torn tail record is overwritten.
        all.resize(static_cast<std::size_t>(have) * recordSize_);
        for (auto i = have; i < n; ++i)
            all.insert(all.end(), record.begin(), record.end());
        replaceFileContents(path_, all);
        return;
    }
    PlainFile file(path_, O_RDWR | O_CREAT);
    const auto have = static_cast<std::int64_t>(file.size() / recordSize_);
    if (have >= n) return;
    Bytes block;
    block.reserve(static_cast<std::size_t>(n - have) * recordSize_);
    for (auto i = have; i < n; ++i)
        block.insert(block.end(), record.begin(), record.end());
    file.writeAt(block.data(), block.size(), static_cast<std::uint64_t>(have) * recordSize_);
    file.close();
}

void RecordFile::truncate(std::int64_t n) const {
    const auto size = static_cast<std::uint64_t>(n) * recordSize_;
    if (writes_ == Writes::WholeCopy) {
        if (PlainFile(path_, O_RDONLY).size() == size) return;
        const FolderLock lock(folderOf(path_));
        Bytes all = readPlainFile(path_, static_cast<std::size_t>(size));
        all.resize(static_cast<std::size_t>(size));
        replaceFileContents(path_, all);
        return;
    }
    const PlainFile file(path_, O_WRONLY);
    if (::ftruncate(file.fd(), static_cast<off_t>(size)) != 0) throwSystemError(path_, errno);
}

} // namespace sokoban
