#include <gtest/gtest.h>

#include <limits>

#include "common/Unicode.h"
#include "settings/ProfileInteger.h"

namespace {

constexpr int32_t kDefault = 777;

struct IntegerCase {
  const wchar_t* text;
  int32_t expected;
};

void ExpectParsed(const IntegerCase& c) {
  EXPECT_EQ(ParseProfileInteger(c.text, kDefault), c.expected) << "text \"" << ToUtf8(c.text) << "\"";
}

TEST(SettingsProfileInteger, ReadsDecimalWithLeadingSpacesAndSign) {
  for (const IntegerCase& c :
       {IntegerCase{L"12", 12}, {L" 12", 12}, {L"   -7", -7}, {L"+5", 5}, {L"007", 7}, {L"0", 0}, {L"-0", 0}})
    ExpectParsed(c);
}

TEST(SettingsProfileInteger, ReadsHexadecimalAfterEveryPrefix) {
  for (const IntegerCase& c : {IntegerCase{L"$ff", 255},
                               {L"x10", 16},
                               {L"X10", 16},
                               {L"0x1F", 31},
                               {L"0X1f", 31},
                               {L"+0x1F", 31},
                               {L"-$10", -16},
                               {L" $A", 10},
                               {L"$000000001", 1}})
    ExpectParsed(c);
}

TEST(SettingsProfileInteger, GivesTheDefaultForMalformedText) {
  for (const IntegerCase& c : {IntegerCase{L"", kDefault},
                               {L" ", kDefault},
                               {L"abc", kDefault},
                               {L"12 ", kDefault},
                               {L"1a", kDefault},
                               {L"-", kDefault},
                               {L"+", kDefault},
                               {L"+-1", kDefault},
                               {L"- 7", kDefault},
                               {L"0x", kDefault},
                               {L"$", kDefault},
                               {L"x", kDefault},
                               {L"-$", kDefault},
                               {L"0x-1", kDefault},
                               {L"$g", kDefault},
                               {L"1.5", kDefault},
                               {L"\xFF11\xFF12", kDefault}})
    ExpectParsed(c);
}

TEST(SettingsProfileInteger, DecimalOutside32BitsGivesTheDefault) {
  constexpr int32_t max = std::numeric_limits<int32_t>::max();
  constexpr int32_t min = std::numeric_limits<int32_t>::min();
  for (const IntegerCase& c : {IntegerCase{L"2147483647", max},
                               {L"2147483648", kDefault},
                               {L"-2147483648", min},
                               {L"-2147483649", kDefault},
                               {L"00000000002147483647", max},
                               {L"99999999999999999999", kDefault}})
    ExpectParsed(c);
}

// Hexadecimal is a 32-bit pattern, as Delphi's StrToInt reads it.
TEST(SettingsProfileInteger, HexadecimalIsA32BitPattern) {
  constexpr int32_t min = std::numeric_limits<int32_t>::min();
  for (const IntegerCase& c : {IntegerCase{L"$7FFFFFFF", 2147483647},
                               {L"$FFFFFFFF", -1},
                               {L"0x80000000", min},
                               {L"-$FFFFFFFF", 1},
                               {L"-$80000000", min},
                               {L"$100000000", kDefault},
                               {L"0x1FFFFFFFF", kDefault}})
    ExpectParsed(c);
}

}  // namespace
