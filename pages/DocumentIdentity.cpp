#include "pages/DocumentIdentity.h"

std::optional<std::wstring> ReadIdentity(DispatchObject& document) {
  try {
    std::wstring identity = GetValue(document, L"FullName").AsString();
    if (identity.empty()) identity = GetValue(document, L"Name").AsString();
    if (!identity.empty()) return identity;
  } catch (const AutomationError&) {
    // A CAD without the members: the pages serve every drawing, as before.
  }
  return std::nullopt;
}
