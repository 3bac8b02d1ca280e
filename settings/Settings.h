// The settings file: where the pager window stands, the frame layer and
// the target CAD, read when the pager window is created and written when
// it is destroyed.
#pragma once

#include <string>

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
};

// Values read are cut to what a 2048-character buffer holds.
inline constexpr size_t kProfileValueMaxLength = 2047;

struct ScreenSize {
  int width;
  int height;
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

// Zero clamps first, so a window larger than the screen keeps its right
// (bottom) edge on the screen's edge and its left (top) edge negative.
WindowOrigin ClampToScreen(WindowOrigin origin, int width, int height, ScreenSize screen);

// Position (centred by default, then clamped), layer field, block pattern,
// TargetProgId and TargetAppName.
void LoadSettings(Profile& profile, SettingsWindow& window, ScreenSize screen);

// Writes all five values; the first that cannot be written throws
// FileError "<path> に書き込めません" and the rest are not written.
void SaveSettings(Profile& profile, const SettingsWindow& window);
