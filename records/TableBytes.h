// The bytes of one table's records, in one block of memory of their own.
//
// Two things set it apart from a std::vector of bytes. Memory taken for bytes that are
// written at once (by inflate, by deflate, by a copy) is not zero-filled first: on a
// machine where fresh memory is expensive, each fresh 4 KB page costs a page fault, and
// filling a table twice doubles the work. Large blocks are therefore also taken 2 MB-aligned
// with huge pages advised, on Linux, so that they fault in 2 MB at a time. And there is
// room for the table's 8-byte header just before the records, so a table is inflated into
// its own buffer and deflated from it in one piece, without moving or copying its records.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ledgrin {

class TableBytes {
  public:
    static constexpr std::size_t kHeaderRoom = 8;

    TableBytes() noexcept = default;
    TableBytes(const TableBytes& other);
    TableBytes(TableBytes&& other) noexcept;
    TableBytes& operator=(const TableBytes& other);
    TableBytes& operator=(TableBytes&& other) noexcept;
    ~TableBytes();

    // `size` bytes whose contents are left for the caller to write, with the header room.
    // Throws std::bad_alloc.
    static TableBytes Uninitialised(std::size_t size);

    std::uint8_t* data() noexcept { return data_; }
    const std::uint8_t* data() const noexcept { return data_; }
    std::size_t size() const noexcept { return size_; }
    std::size_t capacity() const noexcept { return capacity_; }
    bool empty() const noexcept { return size_ == 0; }
    std::uint8_t* begin() noexcept { return data(); }
    std::uint8_t* end() noexcept { return data() + size_; }
    const std::uint8_t* begin() const noexcept { return data(); }
    const std::uint8_t* end() const noexcept { return data() + size_; }
    std::uint8_t& operator[](std::size_t i) noexcept { return data()[i]; }
    const std::uint8_t& operator[](std::size_t i) const noexcept { return data()[i]; }

    // The kHeaderRoom bytes just before data(), followed by the records: scratch space for
    // whoever needs the table's entry in one piece. Null before any memory was taken.
    std::uint8_t* HeaderRoom() const noexcept { return block_; }

    // Bytes past the old size are zero, as with a vector; the bytes kept stay. Growth is
    // geometric, so appending one record at a time stays cheap. Throws std::bad_alloc and
    // then changes nothing.
    void resize(std::size_t size);
    void Append(const std::uint8_t* bytes, std::size_t count);
    // Size `size` with unspecified contents: a buffer reused for one job after another.
    void ReuseFor(std::size_t size);
    // Gives memory beyond the size back (the bytes are copied once).
    void ShrinkToFit();
    // No bytes and no memory.
    void Release() noexcept;

    friend bool operator==(const TableBytes& a, const TableBytes& b) noexcept;
    friend bool operator!=(const TableBytes& a, const TableBytes& b) noexcept { return !(a == b); }

  private:
    void Reallocate(std::size_t capacity, bool keep);

    std::uint8_t* block_ = nullptr; // kHeaderRoom + capacity_ bytes
    std::uint8_t* data_ = nullptr;  // block_ + kHeaderRoom, null without a block
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

} // namespace ledgrin
