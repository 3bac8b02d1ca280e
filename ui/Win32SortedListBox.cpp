#include "ui/Win32SortedListBox.h"

#include <stdexcept>

#include "common/Unicode.h"

namespace {

[[noreturn]] void ThrowIndexError(int index) {
  throw std::out_of_range(ToUtf8(L"リストのインデックスが範囲を超えています (" + std::to_wstring(index) + L")"));
}

}  // namespace

int Win32SortedListBox::Count() const { return static_cast<int>(SendMessageW(FHandle, LB_GETCOUNT, 0, 0)); }

std::wstring Win32SortedListBox::Row(int index) const {
  const LRESULT length = SendMessageW(FHandle, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (index < 0 || length == LB_ERR) ThrowIndexError(index);
  std::wstring row(static_cast<size_t>(length) + 1, L'\0');
  row.resize(static_cast<size_t>(
      SendMessageW(FHandle, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(row.data()))));
  return row;
}

int Win32SortedListBox::SelectedIndex() const { return static_cast<int>(SendMessageW(FHandle, LB_GETCURSEL, 0, 0)); }

void Win32SortedListBox::Select(int index) { SendMessageW(FHandle, LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

int Win32SortedListBox::AddSorted(const std::wstring& row) {
  const LRESULT index = SendMessageW(FHandle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
  if (index == LB_ERR || index == LB_ERRSPACE)
    throw std::runtime_error(ToUtf8(L"リストにこれ以上の行を追加できません"));
  return static_cast<int>(index);
}

int Win32SortedListBox::FindIgnoringCase(const std::wstring& row) const {
  for (int i = 0; i < Count(); ++i)
    if (CompareStringOrdinal(Row(i).c_str(), -1, row.c_str(), -1, TRUE) == CSTR_EQUAL) return i;
  return -1;
}

void Win32SortedListBox::Delete(int index) {
  if (SendMessageW(FHandle, LB_DELETESTRING, static_cast<WPARAM>(index), 0) == LB_ERR) ThrowIndexError(index);
}

void Win32SortedListBox::Replace(int index, const std::wstring& row) {
  const bool selected = SelectedIndex() == index;
  Delete(index);
  // LB_INSERTSTRING keeps the given place even in a sorted list box.
  SendMessageW(FHandle, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(row.c_str()));
  if (selected) Select(index);
}

void Win32SortedListBox::Clear() { SendMessageW(FHandle, LB_RESETCONTENT, 0, 0); }
