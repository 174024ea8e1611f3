#include "records/TableBytes.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace ledgrin {

namespace {

#ifdef __linux__
constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Blocks from 256 KB up are mapped on their own, 2 MB-aligned and whole huge pages long,
// with huge pages advised: they then fault in 2 MB at a time instead of 4 KB, and clearing
// one huge page costs less than the page faults of 64 small ones. Where the kernel gives
// no huge pages the advice is ignored, and only the pages written are taken.
constexpr std::size_t kMappedFrom = 256 * 1024;
bool Mapped(std::size_t bytes) {
    return bytes >= kMappedFrom;
}

std::size_t MappedLength(std::size_t bytes) {
    return (bytes + kHugePage - 1) & ~(kHugePage - 1);
}

std::uint8_t* Map(std::size_t bytes) {
    const std::size_t length = MappedLength(bytes);
    if (length < bytes || length + kHugePage < length) throw std::bad_alloc();
    // Mapped a huge page longer than needed, then trimmed to the aligned part.
    void* p = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(p);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1};
    if (aligned > start) munmap(p, aligned - start);
    if (const std::size_t tail = kHugePage - (aligned - start))
        munmap(reinterpret_cast<void*>(aligned + length), tail);
    madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
    return reinterpret_cast<std::uint8_t*>(aligned);
}
#endif

// A block of at least `bytes` bytes; `granted` says how many it holds.
std::uint8_t* Allocate(std::size_t bytes, std::size_t& granted) {
#ifdef __linux__
    if (Mapped(bytes)) {
        std::uint8_t* block = Map(bytes);
        granted = MappedLength(bytes);
        return block;
    }
#endif
    void* block = std::malloc(bytes);
    if (!block) throw std::bad_alloc();
    granted = bytes;
    return static_cast<std::uint8_t*>(block);
}

void Free(std::uint8_t* block, std::size_t bytes) noexcept {
    if (!block) return;
#ifdef __linux__
    if (Mapped(bytes)) {
        munmap(block, bytes);
        return;
    }
#endif
    std::free(block);
}

} // namespace

TableBytes TableBytes::Uninitialised(std::size_t size) {
    TableBytes bytes;
    bytes.Reallocate(size, false);
    bytes.size_ = size;
    return bytes;
}

TableBytes::TableBytes(const TableBytes& other) {
    if (!other.block_) return;
    Reallocate(other.size_, false);
    std::memcpy(block_, other.block_, kHeaderRoom + other.size_);
    size_ = other.size_;
}

TableBytes::TableBytes(TableBytes&& other) noexcept
    : block_(std::exchange(other.block_, nullptr)), data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)), capacity_(std::exchange(other.capacity_, 0)) {}

TableBytes& TableBytes::operator=(const TableBytes& other) {
    if (this != &other) *this = TableBytes(other);
    return *this;
}

TableBytes& TableBytes::operator=(TableBytes&& other) noexcept {
    if (this != &other) {
        Release();
        block_ = std::exchange(other.block_, nullptr);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
}

TableBytes::~TableBytes() {
    Release();
}

void TableBytes::Reallocate(std::size_t capacity, bool keep) {
    if (capacity > static_cast<std::size_t>(-1) - kHeaderRoom) throw std::bad_alloc();
    std::size_t granted = 0;
    std::uint8_t* block = Allocate(kHeaderRoom + capacity, granted);
    if (keep && block_) std::memcpy(block, block_, kHeaderRoom + size_);
    Free(block_, kHeaderRoom + capacity_);
    block_ = block;
    data_ = block + kHeaderRoom;
    capacity_ = granted - kHeaderRoom;
}

void TableBytes::resize(std::size_t size) {
    if (size > capacity_ || !block_) {
        const std::size_t grown = capacity_ + capacity_ / 2;
        Reallocate(std::max(size, grown > capacity_ ? grown : size), true);
    }
    if (size > size_) std::memset(data() + size_, 0, size - size_);
    size_ = size;
}

void TableBytes::Append(const std::uint8_t* bytes, std::size_t count) {
    const std::size_t at = size_;
    if (count > static_cast<std::size_t>(-1) - at) throw std::bad_alloc();
    // The bytes may lie in this buffer, which resize can move: their offset survives it.
    const bool inside = block_ && bytes >= data() && bytes < data() + size_;
    const std::size_t offset = inside ? static_cast<std::size_t>(bytes - data()) : 0;
    resize(at + count);
    if (count > 0) std::memmove(data() + at, inside ? data() + offset : bytes, count);
}

void TableBytes::ReuseFor(std::size_t size) {
    if (size > capacity_ || !block_) {
        Release();
        Reallocate(size, false);
    }
    size_ = size;
}

void TableBytes::ShrinkToFit() {
    if (block_ && capacity_ > size_) {
        TableBytes fitted = Uninitialised(size_);
        std::memcpy(fitted.block_, block_, kHeaderRoom + size_);
        *this = std::move(fitted);
    }
}

void TableBytes::Release() noexcept {
    Free(block_, kHeaderRoom + capacity_);
    block_ = data_ = nullptr;
    size_ = capacity_ = 0;
}

bool operator==(const TableBytes& a, const TableBytes& b) noexcept {
    return a.size_ == b.size_ && (a.size_ == 0 || std::memcmp(a.data(), b.data(), a.size_) == 0);
}

} // namespace ledgrin
