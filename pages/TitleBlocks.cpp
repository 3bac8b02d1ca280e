#include "pages/TitleBlocks.h"

#include "common/AsciiCase.h"

namespace {

// A reference may hold any number of attributes, of texts of any length:
// the first ones are read, and the start of each text kept.
constexpr ArrayUse kMostAttributes{256, true};
constexpr size_t kLongestNameText = 1000;

std::wstring NameText(std::wstring text) {
  if (text.size() <= kLongestNameText) return text;
  size_t keep = kLongestNameText;
  // Never half of a surrogate pair.
  if (text[keep - 1] >= 0xD800 && text[keep - 1] <= 0xDBFF) --keep;
  text.resize(keep);
  return text;
}

// Each attribute's TagString, read at most once per reference.
class AttributeTags {
 public:
  explicit AttributeTags(const VariantArray& attributes) : FAttributes(attributes), FTags(attributes.elements.size()) {}

  size_t Size() const { return FTags.size(); }
  DispatchObject& Attribute(size_t i) const { return *FAttributes.elements[i].AsObject(); }
  bool Matches(size_t i, const std::wstring& tag) {
    if (!FTags[i]) FTags[i] = GetValue(Attribute(i), L"TagString").AsString();
    return EqualIgnoringAsciiCase(std::wstring_view(*FTags[i]), std::wstring_view(tag));
  }

 private:
  const VariantArray& FAttributes;
  std::vector<std::optional<std::wstring>> FTags;
};

}  // namespace

TitleReader::TitleReader(std::vector<std::wstring> tags) : FTags(std::move(tags)) {}

std::optional<PageName> TitleReader::Read(DispatchObject& reference, const std::wstring& blockName) {
  const Variant answer = CallMethod(reference, L"GetAttributes", {}, kMostAttributes);
  if (answer.Deref().Kind() == VariantKind::Empty) return std::nullopt;
  AttributeTags attributes(answer.AsArray());
  if (attributes.Size() == 0) return std::nullopt;

  std::vector<std::optional<size_t>>& foundAt = FFoundAt[LayoutKey{blockName, attributes.Size()}];
  foundAt.resize(FTags.size());
  PageName texts(FTags.size());
  for (size_t t = 0; t < FTags.size(); ++t) {
    std::optional<size_t> at = foundAt[t];
    if (!at || !attributes.Matches(*at, FTags[t])) {
      at.reset();
      for (size_t i = 0; i < attributes.Size() && !at; ++i)
        if (attributes.Matches(i, FTags[t])) at = i;
    }
    if (!at) continue;
    foundAt[t] = at;
    texts[t] = NameText(GetValue(attributes.Attribute(*at), L"TextString").AsString());
  }
  return texts;
}
