#include "uilogic/StatusTooltip.h"

std::wstring StatusTooltipText(std::wstring_view firstLine, std::wstring_view reason) {
  std::wstring text(firstLine);
  if (!reason.empty()) text += L"\n" + std::wstring(reason);
  return text;
}
