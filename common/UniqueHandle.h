// Owns a Win32 kernel handle (file, event, thread) and closes it once.
// Windows only.
#pragma once

#include <windows.h>

class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE handle) noexcept : FHandle(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() {
    if (Valid()) CloseHandle(FHandle);
  }

  HANDLE Get() const noexcept { return FHandle; }
  // Creation functions report failure with either value.
  bool Valid() const noexcept { return FHandle != nullptr && FHandle != INVALID_HANDLE_VALUE; }
  // Closing can report a failed write; a caller that cares sees it.
  bool Close() noexcept {
    const HANDLE handle = FHandle;
    FHandle = nullptr;
    return CloseHandle(handle) != FALSE;
  }

 private:
  HANDLE FHandle;
};
