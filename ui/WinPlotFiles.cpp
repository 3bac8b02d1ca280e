#include "ui/WinPlotFiles.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "cad/ComPtr.h"
#include "win/Handles.h"

bool WinPlotFiles::Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

uint64_t WinPlotFiles::Size(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::wstring FolderProblem(const std::wstring& folder) {
  if (folder.empty()) return L"保存先を指定してください";
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    return L"保存先のフォルダーがありません";
  // A file that goes away when closed shows whether the folder takes new ones.
  std::wstring probe = folder;
  if (probe.back() != L'\\' && probe.back() != L'/') probe += L'\\';
  probe += L"~page-plot-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  const UniqueHandle file(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  if (!file) return L"保存先のフォルダーに書き込めません";
  return {};
}

std::wstring DocumentsFolder() {
  UniqueCoTaskString path;
  if (FAILED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, path.Put())) || !path) return {};
  return path.Get();
}

std::wstring PickFolder(HWND owner, const std::wstring& folder) {
  ComPtr<IFileOpenDialog> dialog;
  if (FAILED(
          CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog, dialog.PutVoid())))
    return {};
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM);
  ComPtr<IShellItem> start;
  if (!folder.empty() &&
      SUCCEEDED(SHCreateItemFromParsingName(folder.c_str(), nullptr, IID_IShellItem, start.PutVoid())))
    dialog->SetFolder(start.Get());
  if (FAILED(dialog->Show(owner))) return {};
  ComPtr<IShellItem> chosen;
  if (FAILED(dialog->GetResult(chosen.Put()))) return {};
  UniqueCoTaskString path;
  if (FAILED(chosen->GetDisplayName(SIGDN_FILESYSPATH, path.Put())) || !path) return {};
  return path.Get();
}

void OpenFolder(const std::wstring& folder) {
  ShellExecuteW(nullptr, L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
