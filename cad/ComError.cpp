#include "cad/ComError.h"

#include <cstdio>
#include <memory>

namespace {

struct LocalFreeDeleter {
  void operator()(wchar_t* text) const noexcept { LocalFree(text); }
};

}  // namespace

std::wstring SystemMessage(HRESULT code) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  const std::unique_ptr<wchar_t, LocalFreeDeleter> owner(buffer);
  std::wstring text(buffer ? buffer : L"", buffer ? length : 0);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
  if (!text.empty()) return text;

  wchar_t fallback[48];
  std::swprintf(fallback, std::size(fallback), L"エラー 0x%08lX", static_cast<unsigned long>(code));
  return fallback;
}

AutomationError ComError(HRESULT code) { return AutomationError(code, SystemMessage(code)); }
