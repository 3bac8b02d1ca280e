#include "win/Clipboard.h"

#include <cstring>

#include "win/Handles.h"

namespace {

class OpenedClipboard {
 public:
  // Another program may hold the clipboard for a moment (a clipboard
  // viewer reading what was just put there): a few short retries.
  explicit OpenedClipboard(HWND owner) noexcept {
    constexpr int kTries = 20;
    constexpr DWORD kPauseMs = 25;
    for (int i = 0; i < kTries && !FOpen; ++i) {
      if (i > 0) Sleep(kPauseMs);
      FOpen = OpenClipboard(owner) != FALSE;
    }
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  ~OpenedClipboard() {
    if (FOpen) CloseClipboard();
  }
  bool Open() const noexcept { return FOpen; }

 private:
  bool FOpen = false;
};

}  // namespace

bool PutTextOnClipboard(HWND owner, const std::wstring& text) {
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  UniqueGlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) return false;
  void* target = GlobalLock(memory.Get());
  if (!target) return false;
  std::memcpy(target, text.c_str(), bytes);
  GlobalUnlock(memory.Get());

  const OpenedClipboard clipboard(owner);
  if (!clipboard.Open() || !EmptyClipboard()) return false;
  if (!SetClipboardData(CF_UNICODETEXT, memory.Get())) return false;
  // The clipboard owns the memory now.
  static_cast<void>(memory.Release());
  return true;
}
