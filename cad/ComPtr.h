// An owning COM interface pointer: one reference, released with the owner.
#pragma once

#include <unknwn.h>

#include <cstddef>
#include <utility>

template <class T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ComPtr(std::nullptr_t) noexcept {}
  ComPtr(const ComPtr& other) noexcept : FPointer(other.FPointer) {
    if (FPointer) FPointer->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : FPointer(std::exchange(other.FPointer, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(FPointer, other.FPointer);
    return *this;
  }
  ~ComPtr() { Reset(); }

  // Takes over a reference the caller already owns.
  static ComPtr Attach(T* pointer) noexcept {
    ComPtr owner;
    owner.FPointer = pointer;
    return owner;
  }
  // Adds a reference of its own.
  static ComPtr Share(T* pointer) noexcept {
    if (pointer) pointer->AddRef();
    return Attach(pointer);
  }

  T* Get() const noexcept { return FPointer; }
  T* operator->() const noexcept { return FPointer; }
  explicit operator bool() const noexcept { return FPointer != nullptr; }

  void Reset() noexcept {
    if (T* pointer = std::exchange(FPointer, nullptr)) pointer->Release();
  }
  // Hands the reference to the caller.
  [[nodiscard]] T* Detach() noexcept { return std::exchange(FPointer, nullptr); }
  // For out-parameters: releases the current reference first.
  T** Put() noexcept {
    Reset();
    return &FPointer;
  }
  void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }

 private:
  T* FPointer = nullptr;
};
