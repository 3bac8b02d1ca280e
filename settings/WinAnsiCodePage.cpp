#include "settings/WinAnsiCodePage.h"

#include <windows.h>

#include "common/Unicode.h"

std::wstring WinAnsiCodePage::ToWide(std::string_view bytes) const {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  std::wstring text(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), length);
  return text;
}

std::optional<std::string> WinAnsiCodePage::FromWide(std::wstring_view text) const {
  if (text.empty()) return std::string();
  // A UTF-8 ANSI code page holds everything, and refuses the default-character flag.
  if (::GetACP() == CP_UTF8) return ToUtf8(text);
  const int size = static_cast<int>(text.size());
  BOOL usedDefault = FALSE;
  const int length =
      ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0, nullptr, &usedDefault);
  if (length == 0 || usedDefault) return std::nullopt;
  std::string bytes(static_cast<size_t>(length), '\0');
  ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, bytes.data(), length, nullptr, nullptr);
  return bytes;
}
