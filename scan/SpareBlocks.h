#pragma once
// Blocks of memory kept on each thread for objects that come and go by the
// thousand, a few at a time: a folder's listing, its descriptor, its job.
// A block let go is kept (up to kKept a thread) for the next object of the
// same kind and size, so that after the first few none costs an allocation.
// A block may be let go on another thread than the one that took it; it
// then stays with that one.

#include <cstddef>
#include <new>

template <typename Kind>
class SpareBlocks {
 public:
  static constexpr std::size_t kKept = 64;

  static void* Take(std::size_t size) {
    Kept& kept = t_kept;
    if (kept.count != 0 && kept.size == size) return kept.blocks[--kept.count];
    return ::operator new(size);
  }

  static void Give(void* block, std::size_t size) noexcept {
    Kept& kept = t_kept;
    if (kept.count == 0) kept.size = size;
    if (kept.closed || kept.count == kKept || kept.size != size) {
      ::operator delete(block);
      return;
    }
    static_cast<void>(&t_releaser);  // frees what is kept when the thread ends
    kept.blocks[kept.count++] = block;
  }

 private:
  // Plain data, so that it outlives the thread's other objects: one of them
  // (a weak pointer, say) may give a block back after the releaser ran.
  struct Kept {
    void* blocks[kKept];
    std::size_t count;
    std::size_t size;
    bool closed;
  };
  struct Releaser {
    Releaser() = default;
    Releaser(const Releaser&) = delete;
    Releaser& operator=(const Releaser&) = delete;
    ~Releaser() {
      Kept& kept = t_kept;
      while (kept.count != 0) ::operator delete(kept.blocks[--kept.count]);
      kept.closed = true;
    }
  };
  static thread_local Kept t_kept;
  static thread_local Releaser t_releaser;
};

template <typename Kind>
thread_local typename SpareBlocks<Kind>::Kept SpareBlocks<Kind>::t_kept{};
template <typename Kind>
thread_local typename SpareBlocks<Kind>::Releaser SpareBlocks<Kind>::t_releaser;

// For std::allocate_shared: an object and its count in one kept block.
template <typename T, typename Kind = T>
struct SpareBlockAllocator {
  using value_type = T;
  SpareBlockAllocator() = default;
  template <typename U>
  SpareBlockAllocator(const SpareBlockAllocator<U, Kind>&) noexcept {}
  template <typename U>
  struct rebind {
    using other = SpareBlockAllocator<U, Kind>;
  };

  T* allocate(std::size_t n) {
    if (n != 1) return static_cast<T*>(::operator new(n * sizeof(T)));
    return static_cast<T*>(SpareBlocks<Kind>::Take(sizeof(T)));
  }
  void deallocate(T* block, std::size_t n) noexcept {
    if (n != 1) {
      ::operator delete(block);
    } else {
      SpareBlocks<Kind>::Give(block, sizeof(T));
    }
  }
  template <typename U>
  bool operator==(const SpareBlockAllocator<U, Kind>&) const noexcept {
    return true;
  }
  template <typename U>
  bool operator!=(const SpareBlockAllocator<U, Kind>&) const noexcept {
    return false;
  }
};
