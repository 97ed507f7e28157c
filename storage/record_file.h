// A file of fixed-size records addressed by index. Every call opens the file,
// positions, reads or writes whole records and closes it again; failures
// throw FileError with the path and the reason. Only regular files are
// opened.
#pragma once

#include "file_error.h"
#include "records.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

namespace sokoban {

// How a record file takes a change. The files that hold the player's
// progress are small and must never be left half-written, so each change
// writes a whole new copy and renames it over the old one, with the folder
// locked from the reading to the rename so that two running copies of the
// game never undo each other's change; the undo history grows by a record
// at every push and is rewritten in place.
enum class Writes { InPlace, WholeCopy };

class RecordFile {
  public:
    RecordFile() = default;
    RecordFile(std::filesystem::path path, std::size_t recordSize, Writes writes = Writes::InPlace)
        : path_(std::move(path)), recordSize_(recordSize), writes_(writes) {}

    const std::filesystem::path& path() const { return path_; }
    std::size_t recordSize() const { return recordSize_; }
    Writes writes() const { return writes_; }

    bool exists() const;
    std::uint64_t byteSize() const;
    std::int64_t count() const { return static_cast<std::int64_t>(byteSize() / recordSize_); }

    // Creates the file empty, or empties it.
    void create() const;
    // Reads record i; throws when the file does not hold it whole.
    Bytes read(std::int64_t index) const;
    // Writes record i, creating the file when it is missing.
    void write(std::int64_t index, const Bytes& record) const;
    // Changes record i as `change` decides from what the file holds at this
    // moment: the record, or an empty one when the file ends before it.
    // `change` returns the record to write, or nothing to leave the file as
    // it is.
    using Change = std::function<std::optional<Bytes>(const Bytes& current)>;
    void update(std::int64_t index, const Change& change) const;
    // Appends copies of a record until the file holds n whole records.
    void padTo(std::int64_t n, const Bytes& record) const;
    // Cuts the file to n records.
    void truncate(std::int64_t n) const;

    template <class R> R get(std::int64_t index) const { return R::decode(read(index)); }
    template <class R> void put(std::int64_t index, const R& r) const { write(index, r.encode()); }

  private:
    std::filesystem::path path_;
    std::size_t recordSize_ = 1;
    Writes writes_ = Writes::InPlace;
};

} // namespace sokoban
