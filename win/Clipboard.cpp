#include "win/Clipboard.h"

#include <cstring>

#include "win/Handles.h"

namespace {

class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) noexcept : FOpen(OpenClipboard(owner) != FALSE) {}
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  ~OpenedClipboard() {
    if (FOpen) CloseClipboard();
  }
  bool Open() const noexcept { return FOpen; }

 private:
  bool FOpen;
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
