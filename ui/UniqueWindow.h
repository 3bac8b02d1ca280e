// Owns a window that no object of its own stands for.
#pragma once

#include <utility>

#include "ui/Win32Api.h"

class UniqueWindow {
 public:
  UniqueWindow() noexcept = default;
  explicit UniqueWindow(HWND window) noexcept : FWindow(window) {}
  UniqueWindow(UniqueWindow&& other) noexcept : FWindow(std::exchange(other.FWindow, nullptr)) {}
  UniqueWindow& operator=(UniqueWindow&& other) noexcept {
    std::swap(FWindow, other.FWindow);
    return *this;
  }
  ~UniqueWindow() {
    if (FWindow) DestroyWindow(FWindow);
  }

  HWND Get() const noexcept { return FWindow; }

 private:
  HWND FWindow = nullptr;
};
