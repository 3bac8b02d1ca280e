// The settings dialog in the real page.exe against simcad.exe: a user who
// never opened page.ini gets from "nothing found" to named pages.
#include <gtest/gtest.h>
#include <windows.h>
// TOOLTIPS_CLASSW, the list view's and hot-key control's messages; needs
// windows.h first.
#include <commctrl.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "Eventually.h"
#include "PageProcess.h"
#include "SimCadProcess.h"
#include "WindowShot.h"
#include "common/Unicode.h"
#include "ui/ControlIds.h"

namespace {

constexpr wchar_t kBricscad[] = L"BricscadApp.AcadApplication";

std::wstring ReadSetting(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
  wchar_t value[2048]{};
  GetPrivateProfileStringW(section, key, L"<missing>", value, 2048, file.c_str());
  return value;
}

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

// Memory in another process, for the messages whose pointers the system
// does not carry across.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, size_t size) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    FProcess.Reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    if (FProcess) FAddress = VirtualAllocEx(FProcess.Get(), nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  ~RemoteBuffer() {
    if (FAddress) VirtualFreeEx(FProcess.Get(), FAddress, 0, MEM_RELEASE);
  }
  char* Address() const { return static_cast<char*>(FAddress); }
  bool Write(const void* bytes, size_t size, size_t offset = 0) const {
    return FAddress && WriteProcessMemory(FProcess.Get(), Address() + offset, bytes, size, nullptr);
  }
  bool Read(void* bytes, size_t size, size_t offset = 0) const {
    return FAddress && ReadProcessMemory(FProcess.Get(), Address() + offset, bytes, size, nullptr);
  }

 private:
  UniqueHandle FProcess;
  void* FAddress = nullptr;
};

std::vector<std::wstring> ListViewTexts(HWND list) {
  constexpr int kLongest = 256;
  const RemoteBuffer buffer(list, sizeof(LVITEMW) + kLongest * sizeof(wchar_t));
  std::vector<std::wstring> texts;
  const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = reinterpret_cast<wchar_t*>(buffer.Address() + sizeof(LVITEMW));
    item.cchTextMax = kLongest;
    wchar_t text[kLongest]{};
    if (!buffer.Write(&item, sizeof item)) return texts;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer.Address()));
    buffer.Read(text, sizeof text - sizeof(wchar_t), sizeof(LVITEMW));
    texts.emplace_back(text);
  }
  return texts;
}

bool ListViewChecked(HWND list, int item) {
  return (SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_STATEIMAGEMASK) >> 12) == 2;
}

std::vector<std::wstring> ComboTexts(HWND combo) {
  std::vector<std::wstring> texts;
  const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t text[256]{};
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    texts.emplace_back(text);
  }
  return texts;
}

std::filesystem::path ScreenshotFolder() {
  std::filesystem::path folder(PAGE_SCREENSHOT_FOLDER);
  std::filesystem::create_directories(folder);
  return folder;
}

class SettingsEndToEndTest : public testing::Test {
 protected:
  void TearDown() override {
    FPage.reset();
    FApplication.reset();
    FCad.reset();
  }

  DispatchObject& StartCad() {
    FCad = std::make_unique<SimCadProcess>(std::vector<std::wstring>{kBricscad},
                                           std::vector<std::wstring>{TestDataPath("settings-frames.dxf")});
    FApplication = AttachSimCad(kBricscad);
    SimCall(*FApplication, L"SimClearJournal");
    return *FApplication;
  }
  const PagerWindow& StartPage() {
    FPage = std::make_unique<PageProcess>(FFolder.Program());
    return FPage->Pager();
  }
  size_t CallsOf(const std::wstring& prefix) {
    size_t count = 0;
    for (const std::wstring& call : SimJournal(*FApplication)) count += call.starts_with(prefix);
    return count;
  }
  // The status tooltip's text once the pointer rests on the status.
  std::wstring StatusTooltip(const PagerWindow& pager, const std::wstring& containing) {
    const RECT rect = WindowRect(pager.Control(kPagerEdit2));
    SetForegroundWindow(pager.Handle());
    ParkPointer();
    HWND tip = nullptr;
    int polls = 0;
    Eventually([&] {
      if (polls++ % 40 == 0) MovePointer((rect.left + rect.right) / 2 + polls / 40 % 2, (rect.top + rect.bottom) / 2);
      tip = FindProcessWindow(FPage->Id(), TOOLTIPS_CLASSW);
      return tip && RemoteTextOrEmpty(tip).find(containing) != std::wstring::npos;
    });
    ParkPointer();
    return tip ? RemoteTextOrEmpty(tip) : L"<no tooltip>";
  }
  // The ID of the control with the keyboard focus in the dialog's thread.
  static int FocusedId(HWND dialog) {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread);
    return thread.hwndFocus ? GetDlgCtrlID(thread.hwndFocus) : -1;
  }
  // A drop-down's own edit field.
  static constexpr int kComboEdit = 1001;
  // The dialog in front with the keyboard, for real keys.
  bool Focus(HWND dialog) {
    SetForegroundWindow(dialog);
    return Eventually([&] {
      GUITHREADINFO thread{};
      thread.cbSize = sizeof thread;
      GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread);
      return GetForegroundWindow() == dialog && IsChild(dialog, thread.hwndFocus);
    });
  }

  PageProgramFolder FFolder;
  std::unique_ptr<SimCadProcess> FCad;
  DispatchPtr FApplication;
  std::unique_ptr<PageProcess> FPage;
};

TEST_F(SettingsEndToEndTest, FromNothingFoundToNamedPagesThroughTheDialog) {
  StartCad();
  const PagerWindow& pager = StartPage();
  pager.Click(kPagerButton1);
  ASSERT_TRUE(Eventually([&] { return CallsOf(L"SelectionSet.Count") == 1; }));
  EXPECT_EQ(StatusTooltip(pager, L"ダブルクリック"),
            L"ページ番号\n画層 KESTRA に枠が見つかりません\nダブルクリックで設定を開きます");

  PostMessageW(pager.Control(kPagerEdit2), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
  HWND dialog = FPage->WaitForWindow(kSettingsWindowClass, L"設定");
  ASSERT_NE(dialog, nullptr) << "a double click on the status opened no dialog";
  HWND frames = GetDlgItem(dialog, kSettingsFrames);
  HWND tags = GetDlgItem(dialog, kSettingsTags);
  ASSERT_TRUE(Eventually([&] { return SendMessageW(frames, LVM_GETITEMCOUNT, 0, 0) == 2; }));
  EXPECT_EQ(ComboTexts(GetDlgItem(dialog, kSettingsLayer)),
            (std::vector<std::wstring>{L"0", L"図枠", L"寸法", L"文字", L"通り芯"}));
  EXPECT_EQ(ListViewTexts(frames), (std::vector<std::wstring>{L"図枠A3", L"方位記号"}));
  EXPECT_EQ(ListViewTexts(GetDlgItem(dialog, kSettingsTitles)), ListViewTexts(frames));
  EXPECT_EQ(RemoteTextOrEmpty(GetDlgItem(dialog, kSettingsLayer)), L"KESTRA");
  EXPECT_EQ(CallsOf(L"BlockEntity."), 0u) << "tags were read before a block was checked";
  HWND reading = GetDlgItem(dialog, kSettingsReading);

  // With the keyboard alone: the frame block checked, then two tags, each
  // list reached by its label's access key.
  ASSERT_TRUE(Focus(dialog));
  ASSERT_EQ(FocusedId(dialog), kComboEdit) << "the dialog opens on the layer field";
  PressKeys({VK_MENU, 'B'});
  ASSERT_TRUE(Eventually([&] { return FocusedId(dialog) == kSettingsFrames; })) << FocusedId(dialog);
  PressKeys({VK_HOME});
  PressKeys({VK_SPACE});
  ASSERT_TRUE(Eventually([&] { return SendMessageW(tags, LVM_GETITEMCOUNT, 0, 0) == 3; }))
      << "the tags of the checked block were not read; the block is " << (ListViewChecked(frames, 0) ? "" : "not ")
      << "checked, the dialog says " << testing::PrintToString(ToUtf8(RemoteTextOrEmpty(reading)));
  EXPECT_TRUE(ListViewChecked(frames, 0));
  EXPECT_EQ(ListViewTexts(tags), (std::vector<std::wstring>{L"図番", L"図名", L"日付"}));
  PressKeys({VK_MENU, 'N'});
  ASSERT_TRUE(Eventually([&] { return FocusedId(dialog) == kSettingsTags; })) << FocusedId(dialog);
  PressKeys({VK_HOME});
  PressKeys({VK_SPACE});
  PressKeys({VK_DOWN});
  PressKeys({VK_SPACE});
  ASSERT_TRUE(Eventually([&] { return ListViewChecked(tags, 1); }));
  EXPECT_TRUE(ListViewChecked(tags, 0));
  EXPECT_FALSE(ListViewChecked(tags, 2));

  SimCall(*FApplication, L"SimClearJournal");
  PressKeys({VK_MENU, 'E'});
  const std::wstring expected = L"4 ページ — 1 A-101  1階平面図, 2 A-102  2階平面図, 3 A-201  立面図 …";
  HWND result = GetDlgItem(dialog, kSettingsTryResult);
  EXPECT_TRUE(Eventually([&] { return RemoteTextOrEmpty(result) == expected; }))
      << testing::PrintToString(ToUtf8(RemoteTextOrEmpty(result)));
  EXPECT_EQ(CallsOf(L"Application.ZoomWindow"), 0u) << "試す moved the view";
  EXPECT_EQ(pager.Status(), L"") << "試す changed the pager's pages";
  ParkPointer();
  EXPECT_NO_THROW(SaveWindowShot(dialog, (ScreenshotFolder() / L"settings-dialog.png").wstring()));

  PressKeys({VK_RETURN});
  ASSERT_TRUE(Eventually([&] { return !IsWindowVisible(dialog) || !IsWindow(dialog); }));
  // Written once the dialog has gone, before the pager takes input again.
  EXPECT_TRUE(Eventually([&] { return ReadSetting(FFolder.SettingsFile(), L"Waku", L"Blocks") == L"図枠A3"; }))
      << testing::PrintToString(ToUtf8(ReadSetting(FFolder.SettingsFile(), L"Waku", L"Blocks")));
  EXPECT_EQ(ReadSetting(FFolder.SettingsFile(), L"Waku", L"Names"), L"図番,図名");
  EXPECT_EQ(ReadSetting(FFolder.SettingsFile(), L"Waku", L"Layer"), L"<missing>") << "an unchanged key was written";
  EXPECT_EQ(ReadSetting(FFolder.SettingsFile(), L"Waku", L"Order"), L"<missing>");
  EXPECT_EQ(pager.Status(), L"") << "OK ran Get";

  pager.Click(kPagerButton1);
  ASSERT_TRUE(pager.WaitForStatus(L"1 / 4")) << testing::PrintToString(ToUtf8(pager.Status()));
  EXPECT_NE(StatusTooltip(pager, L"A-101").find(L"A-101  1階平面図"), std::wstring::npos);
}

// Opened from the page menu by its access key; a combination this test
// holds is reported beside its field at once; Cancel writes nothing.
TEST_F(SettingsEndToEndTest, AHotKeyHeldByAnotherProgramIsReportedAtOnceAndCancelChangesNothing) {
  constexpr UINT kHeldModifiers = MOD_CONTROL | MOD_ALT;
  constexpr UINT kHeldKey = VK_F7;
  ASSERT_TRUE(RegisterHotKey(nullptr, 7, kHeldModifiers, kHeldKey));
  const PagerWindow& pager = StartPage();
  SetForegroundWindow(pager.Handle());
  ASSERT_TRUE(Eventually([&] { return GetForegroundWindow() == pager.Handle(); }));
  pager.PostStatusContextMenu();
  HWND menu = FPage->WaitForWindow(L"#32768");
  ASSERT_NE(menu, nullptr) << "no page menu";
  PressKeys({'S'});
  HWND dialog = FPage->WaitForWindow(kSettingsWindowClass, L"設定");
  ASSERT_NE(dialog, nullptr) << "S in the page menu opened no dialog";
  // Without a CAD (not running, or not even registered in this prefix)
  // the lists stay empty and say why.
  HWND reading = GetDlgItem(dialog, kSettingsReading);
  EXPECT_TRUE(Eventually([&] { return !RemoteTextOrEmpty(reading).empty(); })) << "no reason was shown";
  EXPECT_EQ(SendMessageW(GetDlgItem(dialog, kSettingsFrames), LVM_GETITEMCOUNT, 0, 0), 0);

  // The system's keys would go to this test's hot key: the field is set
  // as typing sets it, and tells its parent so.
  HWND next = GetDlgItem(dialog, kSettingsHotKey);
  PostMessageW(next, HKM_SETHOTKEY, MAKEWORD(kHeldKey, HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kSettingsHotKey, EN_CHANGE), reinterpret_cast<LPARAM>(next));
  HWND problem = GetDlgItem(dialog, kSettingsHotKeyProblem);
  EXPECT_TRUE(Eventually([&] { return RemoteTextOrEmpty(problem) == L"ほかのプログラムが使っています"; }))
      << testing::PrintToString(ToUtf8(RemoteTextOrEmpty(problem)));
  UnregisterHotKey(nullptr, 7);

  PostClick(GetDlgItem(dialog, kSettingsCancel));
  ASSERT_TRUE(Eventually([&] { return !IsWindowVisible(dialog) || !IsWindow(dialog); }));
  EXPECT_FALSE(std::filesystem::exists(FFolder.SettingsFile())) << "Cancel wrote page.ini";
  EXPECT_TRUE(Eventually([&] { return HasExStyle(pager.Handle(), WS_EX_TOPMOST); }));
}

}  // namespace
