// How simcad.exe makes itself findable by ProgID: a class registered for
// each ProgID and its application object in the running object table.
#pragma once

#include <ole2.h>

#include <string>
#include <string_view>
#include <vector>

// The CLSID simcad.exe gives a ProgID that has none: the same on every run,
// whatever the ProgID's letter case.
CLSID SimClassIdOf(std::wstring_view progId);

// The ProgID registered for this object's life, under the user's classes
// and, where the process may write them, the machine's (Wine resolves
// ProgIDs from the machine's classes only). A ProgID that resolves already
// keeps its class, and only keys this object created are removed again.
class ClassRegistration {
 public:
  explicit ClassRegistration(const std::wstring& progId);  // throws AutomationError
  ClassRegistration(const ClassRegistration&) = delete;
  ClassRegistration& operator=(const ClassRegistration&) = delete;
  ~ClassRegistration();

  const CLSID& ClassId() const noexcept { return FClassId; }

 private:
  struct CreatedKey {
    HKEY root;
    std::wstring path;
  };
  void Register(HKEY root, const std::wstring& progId);
  void RemoveCreatedKeys() noexcept;

  CLSID FClassId{};
  std::vector<CreatedKey> FCreated;
};

// The object in the running object table under the class while this lives.
class ActiveObjectRegistration {
 public:
  ActiveObjectRegistration(IUnknown* object, const CLSID& classId);  // throws AutomationError
  ActiveObjectRegistration(const ActiveObjectRegistration&) = delete;
  ActiveObjectRegistration& operator=(const ActiveObjectRegistration&) = delete;
  ~ActiveObjectRegistration() { RevokeActiveObject(FCookie, nullptr); }

 private:
  DWORD FCookie = 0;
};
