#include "pages/StopReasons.h"

std::wstring NotRunningReason(const std::wstring& appName) { return appName + L" が起動していません"; }

std::wstring NoDrawingReason(const std::wstring& appName) { return appName + L" に開いている図面がありません"; }

std::wstring UnregisteredReason(const std::wstring& appName, const std::wstring& progId) {
  return appName + L" が見つかりません (ProgID " + progId + L" は登録されていません)";
}

std::wstring NothingSelectedReason(const std::wstring& layer, const std::wstring& blockPattern) {
  if (blockPattern.empty()) return L"画層 " + layer + L" に枠が見つかりません";
  return L"画層 " + layer + L" にも枠ブロック " + blockPattern + L" にも枠が見つかりません";
}

std::wstring NoFrameAmongReason(const std::wstring& layer) {
  return L"画層 " + layer + L" の図形はどれも枠 (閉じた四角形) ではありません";
}

std::wstring CentreOnNoPageReason() { return L"表示の中心はどのページにもありません"; }

std::wstring UnreadReferencesReason(int count) { return std::to_wstring(count) + L" 個の参照を読めませんでした"; }

std::wstring NoPagesReason() { return L"ページがありません — 取得 を押してください"; }
