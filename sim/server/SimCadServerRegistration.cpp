#include "sim/server/SimCadServerRegistration.h"

#include <oleauto.h>

#include <cstdint>
#include <utility>

#include "cad/ComError.h"
#include "common/AsciiCase.h"
#include "win/Handles.h"

namespace {

// FNV-1a over the upper-cased name, salted, so the two halves differ.
uint64_t NameHash(std::wstring_view name, uint64_t salt) {
  uint64_t hash = 0xcbf29ce484222325ULL ^ salt;
  for (const wchar_t c : name) {
    const wchar_t upper = UpperAscii(c);
    for (const unsigned byte : {static_cast<unsigned>(upper) & 0xFFu, (static_cast<unsigned>(upper) >> 8) & 0xFFu}) {
      hash ^= byte;
      hash *= 0x100000001b3ULL;
    }
  }
  return hash;
}

// Creates or opens the key; tells whether it was created.
bool CreateKey(HKEY root, const std::wstring& path, UniqueKey& key) {
  DWORD disposition = 0;
  const LSTATUS status =
      RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(), &disposition);
  if (status != ERROR_SUCCESS) throw ComError(HRESULT_FROM_WIN32(status));
  return disposition == REG_CREATED_NEW_KEY;
}

std::wstring ClassIdText(const CLSID& classId) {
  wchar_t text[40];
  StringFromGUID2(classId, text, static_cast<int>(std::size(text)));
  return text;
}

}  // namespace

CLSID SimClassIdOf(std::wstring_view progId) {
  const uint64_t high = NameHash(progId, 0x73696d636164ULL);  // "simcad"
  const uint64_t low = NameHash(progId, 0x70726f676964ULL);   // "progid"
  CLSID id{};
  id.Data1 = static_cast<unsigned long>(high >> 32);
  id.Data2 = static_cast<unsigned short>(high >> 16);
  // Version 8 (vendor-defined) and the standard variant.
  id.Data3 = static_cast<unsigned short>((high & 0x0FFF) | 0x8000);
  for (int i = 0; i < 8; ++i) id.Data4[i] = static_cast<unsigned char>(low >> (56 - 8 * i));
  id.Data4[0] = static_cast<unsigned char>((id.Data4[0] & 0x3F) | 0x80);
  return id;
}

ClassRegistration::ClassRegistration(const std::wstring& progId) {
  if (SUCCEEDED(CLSIDFromProgID(progId.c_str(), &FClassId))) return;
  FClassId = SimClassIdOf(progId);
  try {
    Register(HKEY_CURRENT_USER, progId);
  } catch (const AutomationError&) {
    // The machine's classes alone may still do.
  }
  try {
    Register(HKEY_LOCAL_MACHINE, progId);
  } catch (const AutomationError&) {
    // Not allowed to write there: the user's classes must do.
  }
  CLSID resolved{};
  const HRESULT found = CLSIDFromProgID(progId.c_str(), &resolved);
  if (FAILED(found) || resolved != FClassId) {
    RemoveCreatedKeys();
    throw AutomationError(FAILED(found) ? found : E_FAIL, L"ProgID " + progId + L" could not be registered");
  }
}

void ClassRegistration::Register(HKEY root, const std::wstring& progId) {
  const std::wstring progIdPath = L"Software\\Classes\\" + progId;
  const std::wstring classPath = progIdPath + L"\\CLSID";
  UniqueKey progIdKey;
  const bool progIdCreated = CreateKey(root, progIdPath, progIdKey);
  if (progIdCreated) FCreated.push_back({root, progIdPath});
  UniqueKey classKey;
  const bool classCreated = CreateKey(root, classPath, classKey);
  // A class key someone else made stays as it was.
  if (!classCreated) return;
  if (!progIdCreated) FCreated.push_back({root, classPath});
  const std::wstring text = ClassIdText(FClassId);
  const LSTATUS status = RegSetValueExW(classKey.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  if (status != ERROR_SUCCESS) throw ComError(HRESULT_FROM_WIN32(status));
}

ClassRegistration::~ClassRegistration() { RemoveCreatedKeys(); }

void ClassRegistration::RemoveCreatedKeys() noexcept {
  for (auto key = FCreated.rbegin(); key != FCreated.rend(); ++key) RegDeleteTreeW(key->root, key->path.c_str());
  FCreated.clear();
}

ActiveObjectRegistration::ActiveObjectRegistration(IUnknown* object, const CLSID& classId) {
  ThrowIfFailed(RegisterActiveObject(object, classId, ACTIVEOBJECT_STRONG, &FCookie));
}
