// One owner for every kind of handle: a handle of Traits::Handle, closed
// once by Traits::Close when the owner lets it go. Each handle kind is a
// small traits struct:
//
//   struct Traits {
//     using Handle = ...;
//     static constexpr Handle Invalid() noexcept;
//     static bool IsValid(Handle) noexcept;
//     static auto Close(Handle) noexcept;  // its result is Close()'s result
//   };
#pragma once

#include <utility>

template <class Traits>
class UniqueResource {
 public:
  using Handle = typename Traits::Handle;

  UniqueResource() noexcept = default;
  explicit UniqueResource(Handle handle) noexcept : FHandle(handle) {}
  UniqueResource(UniqueResource&& other) noexcept : FHandle(other.Release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ~UniqueResource() { Reset(); }

  Handle Get() const noexcept { return FHandle; }
  bool Valid() const noexcept { return Traits::IsValid(FHandle); }
  explicit operator bool() const noexcept { return Valid(); }

  // Gives the handle up without closing it.
  [[nodiscard]] Handle Release() noexcept { return std::exchange(FHandle, Traits::Invalid()); }
  void Reset(Handle handle = Traits::Invalid()) noexcept {
    const Handle previous = std::exchange(FHandle, handle);
    if (Traits::IsValid(previous)) Traits::Close(previous);
  }
  // For functions that hand a new handle out through a pointer.
  Handle* Put() noexcept {
    Reset();
    return &FHandle;
  }
  // Closes now, for callers that want to know whether closing worked (a
  // file's last write can fail there).
  auto Close() noexcept { return Traits::Close(Release()); }

 private:
  Handle FHandle = Traits::Invalid();
};

namespace handle_traits {

// The common case: a handle that is null when there is none.
template <class H>
struct NullWhenNone {
  using Handle = H;
  static constexpr Handle Invalid() noexcept { return nullptr; }
  static bool IsValid(Handle handle) noexcept { return handle != nullptr; }
};

}  // namespace handle_traits
