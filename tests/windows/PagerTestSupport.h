// What the pager window tests share: an in-memory settings profile, and a
// watcher thread that finds a window the code under test shows modally,
// looks at it and closes it.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <thread>

#include "settings/Settings.h"

class MemoryProfile : public Profile {
 public:
  std::map<std::wstring, std::wstring> values;  // "Section/Key"
  bool writable = true;

  const std::wstring& Path() const override { return FPath; }
  std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                          const std::wstring& defaultValue) override {
    const auto found = values.find(section + L"/" + key);
    return found == values.end() ? defaultValue : found->second;
  }
  bool WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) override {
    if (!writable) return false;
    values[section + L"/" + key] = value;
    return true;
  }

 private:
  std::wstring FPath = L"C:\\page\\page.ini";
};

// Waits on its own thread, while the test thread runs a modal loop, for a
// visible top-level window of the test thread with the class and caption
// (either may be null), then runs inspect on it. inspect must close it.
class ModalWatcher {
 public:
  ModalWatcher(const wchar_t* windowClass, const wchar_t* caption, std::function<void(HWND)> inspect);
  ModalWatcher(const ModalWatcher&) = delete;
  ModalWatcher& operator=(const ModalWatcher&) = delete;
  ~ModalWatcher() { FThread.join(); }

  bool Found() const { return FFound; }

 private:
  std::thread FThread;
  bool FFound = false;
};

std::wstring WindowText(HWND window);
// The texts of the window's children of a class, in z-order.
std::wstring ChildTexts(HWND window, const wchar_t* childClass);
int ChildCount(HWND window, const wchar_t* childClass);
