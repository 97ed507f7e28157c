// A file of fixed-size records addressed by index. Every call opens the file,
// positions, reads or writes whole records and closes it again; failures
// throw FileError with the path and the system's reason.
#pragma once

#include "file_error.h"
#include "records.h"

#include <cstdint>
#include <filesystem>

namespace sokoban {

class RecordFile {
public:
    RecordFile() = default;
    RecordFile(std::filesystem::path path, std::size_t recordSize)
        : path_(std::move(path)), recordSize_(recordSize) {}

    const std::filesystem::path& path() const { return path_; }
    std::size_t recordSize() const { return recordSize_; }

    bool exists() const;
    std::uint64_t byteSize() const;
    std::int64_t count() const { return static_cast<std::int64_t>(byteSize() / recordSize_); }

    // Creates the file empty, or empties it.
    void create() const;
    // Reads record i; throws when the file does not hold it whole.
    Bytes read(std::int64_t index) const;
    // Writes record i, creating the file when it is missing.
    void write(std::int64_t index, const Bytes& record) const;
    // Appends copies of a record until the file holds n whole records.
    void padTo(std::int64_t n, const Bytes& record) const;
    // Cuts the file to n records.
    void truncate(std::int64_t n) const;

    template <class R> R get(std::int64_t index) const { return R::decode(read(index)); }
    template <class R> void put(std::int64_t index, const R& r) const { write(index, r.encode()); }

private:
    std::filesystem::path path_;
    std::size_t recordSize_ = 1;
};

} // namespace sokoban
