// Large blocks in huge pages, for this program only. A graph of millions of edges lives in a
// few arrays of megabytes; the first touch of each 4 KiB page costs a fault, and on a virtual
// machine a fault costs microseconds: a third of the time of reading and solving a large
// graph went there. Blocks of kLarge bytes or more are mapped here, aligned to 2 MiB and
// marked for huge pages, one fault per 2 MiB where the kernel grants them (it does where
// transparent huge pages are "always" or "madvise"); every other block goes to malloc as
// before. The library and the Python module keep the host's allocator: only an executable
// may replace it. Sanitizer builds keep theirs, which checks every block.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)

#include <sys/mman.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>
#include <utility>

namespace {

constexpr size_t kHugePage = size_t{2} << 20;
constexpr size_t kLarge = kHugePage;
// Where a block starts within its first huge page: a pointer malloc returns can have this
// remainder too, so it only says where to look in the table below.
constexpr size_t kOffset = 64;

struct Mapping {
  void* block = nullptr;  // what the caller got
  void* base = nullptr;   // what mmap gave
  size_t length = 0;
};

// The large blocks alive: few (a graph's arrays), so a fixed table scanned under a lock, which
// allocates nothing. When it is full, blocks come from malloc.
//
// The last block given back is kept for the next large one that fits it well (at least half
// of it): reading a graph frees its edge list just before the solver asks for an array of the
// same size, and a mapping used again costs neither faults nor the kernel's zeroing of its
// pages. It is unmapped as soon as a large block does not fit it, so at most one freed block
// is ever held.
class LargeBlocks {
 public:
  void* take(size_t size) {
    Mapping spare;
    {
      const std::lock_guard<std::mutex> hold(lock_);
      spare = std::exchange(spare_, Mapping{});
      if (spare.block != nullptr && fits(spare, size) && keep(spare)) return spare.block;
    }
    if (spare.block != nullptr) munmap(spare.base, spare.length);
    const size_t length = size + kOffset + kHugePage;
    void* base = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED) return nullptr;
    const auto start = (reinterpret_cast<uintptr_t>(base) + kHugePage - 1) & ~(kHugePage - 1);
    madvise(reinterpret_cast<void*>(start), size + kOffset, MADV_HUGEPAGE);
    void* block = reinterpret_cast<void*>(start + kOffset);
    {
      const std::lock_guard<std::mutex> hold(lock_);
      if (keep({block, base, length})) return block;
    }
    munmap(base, length);
    return std::malloc(size);
  }

  // False when `block` is not one of these (it came from malloc).
  bool give(void* block) {
    Mapping dropped;
    {
      const std::lock_guard<std::mutex> hold(lock_);
      Mapping* found = nullptr;
      for (Mapping& m : table_)
        if (m.block == block) {
          found = &m;
          break;
        }
      if (found == nullptr) return false;
      dropped = std::exchange(spare_, std::exchange(*found, Mapping{}));
    }
    if (dropped.block != nullptr) munmap(dropped.base, dropped.length);
    return true;
  }

 private:
  // Whether `m`, given back, can hold `size` bytes and is not more than twice that.
  static bool fits(const Mapping& m, size_t size) {
    const size_t room = reinterpret_cast<uintptr_t>(m.base) + m.length - reinterpret_cast<uintptr_t>(m.block);
    return size <= room && room / 2 <= size;
  }
  // Enters `m` in the table (the lock held); false when the table is full.
  bool keep(const Mapping& m) {
    for (Mapping& slot : table_)
      if (slot.block == nullptr) {
        slot = m;
        return true;
      }
    return false;
  }

  std::mutex lock_;
  std::array<Mapping, 4096> table_{};
  Mapping spare_;  // the last block given back, still mapped
};

// Never destroyed: blocks may be freed by destructors that run after main.
LargeBlocks& largeBlocks() {
  static auto* blocks = new (std::malloc(sizeof(LargeBlocks))) LargeBlocks;
  return *blocks;
}

void* allocate(size_t size) noexcept {
  if (size >= kLarge)
    if (void* block = largeBlocks().take(size)) return block;
  return std::malloc(size == 0 ? 1 : size);
}

// A block that cannot be one of these is not looked up: the table (and the first touch of
// its pages) waits for the first large block, which a small graph never makes.
bool mayBeLarge(const void* block) {
  return (reinterpret_cast<uintptr_t>(block) & (kHugePage - 1)) == kOffset;
}

void release(void* block) noexcept {
  if (block != nullptr && !(mayBeLarge(block) && largeBlocks().give(block))) std::free(block);
}

}  // namespace

void* operator new(size_t size) {
  if (void* block = allocate(size)) return block;
  throw std::bad_alloc();
}
void* operator new[](size_t size) {
  if (void* block = allocate(size)) return block;
  throw std::bad_alloc();
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return allocate(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  return allocate(size);
}
void operator delete(void* block) noexcept {
  release(block);
}
void operator delete[](void* block) noexcept {
  release(block);
}
void operator delete(void* block, size_t) noexcept {
  release(block);
}
void operator delete[](void* block, size_t) noexcept {
  release(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
  release(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
  release(block);
}

#endif
