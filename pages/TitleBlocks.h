// Reading a title block reference's texts: the attributes of the tags of
// [Waku] Names.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cad/Automation.h"
#include "pages/SheetNames.h"

class TitleReader {
 public:
  // The tags in the order to show them, compared ignoring letter case.
  explicit TitleReader(std::vector<std::wstring> tags);

  // GetAttributes, then for each tag its attribute's TextString, among
  // the first 256 attributes and of each text the first 1000 characters;
  // a tag the reference lacks gives an empty text, a reference without
  // attributes no texts at all. blockName, empty when not known, sorts what is
  // remembered between references.
  std::optional<PageName> Read(DispatchObject& reference, const std::wstring& blockName);

 private:
  // References of one block definition list their attributes in one
  // order: where each tag was found is checked first on the next one. The
  // block name alone is not known in every pass without one more call, so
  // the number of attributes is part of the key.
  using LayoutKey = std::pair<std::wstring, size_t>;
  std::vector<std::wstring> FTags;
  std::map<LayoutKey, std::vector<std::optional<size_t>>> FFoundAt;
};
