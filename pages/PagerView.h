// What the page commands read from and write to the pager window.
#pragma once

#include <string>
#include <vector>

class PagerView {
 public:
  virtual ~PagerView() = default;
  virtual std::wstring LayerName() const = 0;
  virtual bool UpperLeft() const = 0;
  virtual std::wstring PageStatus() const = 0;
  // The block-name pattern of sheets framed by block references; empty
  // (the default) leaves Get to polylines alone.
  virtual std::wstring BlockPattern() const { return {}; }
  // The tags that name a sheet; empty (the default) reads no names.
  virtual std::vector<std::wstring> NameTags() const { return {}; }
  // The title blocks' pattern; empty: the block pattern.
  virtual std::wstring TitleBlockPattern() const { return {}; }
  // Pages in the order of their names rather than in reading order.
  virtual bool OrderByName() const { return false; }
  // Shown at once: a command goes on to wait for the CAD.
  virtual void SetPageStatus(const std::wstring& text) = 0;
};
