// The settings file: where the pager window stands, the frame layer and
// the target CAD, read when the pager window is created and written when
// it is destroyed.
#pragma once

#include <span>
#include <string>

#include "settings/ProfileChanges.h"

// A private-profile (INI) file. On Windows GetPrivateProfileStringW and
// WritePrivateProfileStringW, which keep unrelated sections and keys.
class Profile {
 public:
  virtual ~Profile() = default;
  virtual const std::wstring& Path() const = 0;
  // The value, trimmed of blanks and one pair of quotes, or defaultValue
  // when the key is missing; a key present with an empty value is empty.
  virtual std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                                  const std::wstring& defaultValue) = 0;
  // False when the value could not be written.
  virtual bool WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) = 0;
  // Writes the changes at once (see ProfileChanges), every other line of
  // the file kept. Throws FileError "<path> に書き込めません". By default
  // through WriteString, which cannot remove a key: it leaves it empty.
  virtual void WriteChanges(std::span<const ProfileChange> changes);
};

// The frame layer when the file names none: the pager's layer field starts
// with it too.
inline constexpr wchar_t kDefaultFrameLayer[] = L"KESTRA";

// Values read are cut to what a 2048-character buffer holds.
inline constexpr size_t kProfileValueMaxLength = 2047;

// A monitor's full rectangle in screen pixels, taskbar included; right and
// bottom are just outside.
struct ScreenRect {
  int left, top, right, bottom;
};

// The monitors the pager window can stand on.
class MonitorLayout {
 public:
  virtual ~MonitorLayout() = default;
  // The primary monitor, whose upper-left corner is (0, 0).
  virtual ScreenRect Primary() const = 0;
  // The monitor the window rectangle overlaps most, or the one closest to
  // it when it is on none.
  virtual ScreenRect NearestTo(const ScreenRect& window) const = 0;
};

struct WindowOrigin {
  int left;
  int top;

  friend bool operator==(const WindowOrigin&, const WindowOrigin&) = default;
};

// What the settings need of the pager window.
class SettingsWindow {
 public:
  virtual ~SettingsWindow() = default;
  // Outer size, frame included.
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual WindowOrigin Origin() const = 0;
  virtual void MoveTo(WindowOrigin origin) = 0;
  virtual std::wstring LayerText() const = 0;
  virtual void SetLayerText(const std::wstring& layer) = 0;
  // [Waku] Blocks, read and never written: empty leaves Get to polylines.
  virtual void SetBlockPattern(const std::wstring& pattern) = 0;
};

// Left and top clamps first, so a window larger than the monitor keeps its
// right (bottom) edge on the monitor's edge and its left (top) edge beyond.
WindowOrigin ClampToMonitor(WindowOrigin origin, int width, int height, const ScreenRect& monitor);

// Position (centred on the primary monitor by default, then clamped onto
// the monitor nearest to it), layer field, block pattern, TargetProgId and
// TargetAppName.
void LoadSettings(Profile& profile, SettingsWindow& window, const MonitorLayout& monitors);

// Writes all five values; the first that cannot be written throws
// FileError "<path> に書き込めません" and the rest are not written.
void SaveSettings(Profile& profile, const SettingsWindow& window);
