// One pager per program folder, on its edges: a pager of the folder that
// cannot even be asked, and a start while the first pager is still ending.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "Eventually.h"
#include "PageProcess.h"
#include "TestFiles.h"
#include "settings/ProgramFiles.h"
#include "ui/ControlIds.h"
#include "win/SingleInstance.h"

// A pager running with other rights holds the name where this one may not
// open it: no second pager, and a box says why.
TEST(SingleInstanceEndToEndTest, ANameThatCannotBeOpenedIsAPagerThatRunsAndIsSaidSo) {
  const PageProgramFolder folder;
  SECURITY_DESCRIPTOR descriptor{};
  ASSERT_TRUE(InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
  ACL emptyList{};
  ASSERT_TRUE(InitializeAcl(&emptyList, sizeof emptyList, ACL_REVISION));
  ASSERT_TRUE(SetSecurityDescriptorDacl(&descriptor, TRUE, &emptyList, FALSE));
  SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
  const std::wstring name = PagerInstanceName(FinalPath(folder.Program()));
  const UniqueHandle held(CreateMutexW(&attributes, TRUE, name.c_str()));
  ASSERT_TRUE(held);

  DWORD id = 0;
  const UniqueHandle process = StartPageProgram(folder.Program(), id);
  HWND box = nullptr;
  ASSERT_TRUE(Eventually([&] { return (box = FindProcessWindow(id, L"#32770", L"PAGE")) != nullptr; }))
      << "no box; a pager " << (FindProcessWindow(id, kPagerWindowClass) ? "started" : "did not show either");
  EXPECT_EQ(FindProcessWindow(id, kPagerWindowClass), nullptr);
  PostMessageW(box, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(process.Get(), 20000), WAIT_OBJECT_0);
}

// The first pager cannot write page.ini and says so while it ends; a start
// meanwhile waits for it to end and then shows its own pager.
TEST(SingleInstanceEndToEndTest, AStartWhileTheFirstPagerEndsStartsOnceItHasEnded) {
  const PageProgramFolder folder;
  WriteFileBytes(folder.SettingsFile(), "[Form]\r\n");
  PageProcess first(folder.Program());
  ExclusiveFileLock lock(folder.SettingsFile());
  ASSERT_TRUE(lock.Held());
  PostMessageW(first.Pager().Handle(), WM_CLOSE, 0, 0);
  HWND box = first.WaitForWindow(L"#32770", L"PAGE");
  ASSERT_NE(box, nullptr) << "the first pager ended without its box";

  DWORD secondId = 0;
  const UniqueHandle second = StartPageProgram(folder.Program(), secondId);
  // Long enough for the second start to find the first one ending; well
  // within its wait.
  Sleep(2500);
  PostMessageW(box, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Eventually([&] { return !first.Running(); }));
  lock.Release();
  HWND pager = nullptr;
  EXPECT_TRUE(Eventually([&] { return (pager = FindProcessWindow(secondId, kPagerWindowClass)) != nullptr; }))
      << (WaitForSingleObject(second.Get(), 0) == WAIT_OBJECT_0 ? "the second start ended with no pager"
                                                                : "the second start shows no pager");
  if (pager) PostMessageW(pager, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(second.Get(), 20000) != WAIT_OBJECT_0) TerminateProcess(second.Get(), 99);
}
