#include <gtest/gtest.h>

#include <string>

#include "cad/Wildcard.h"

TEST(WildcardTest, StarAndQuestionMarkMatchRunsAndSingleCharacters) {
  EXPECT_TRUE(WildcardMatch(L"*POLYLINE", L"LWPOLYLINE"));
  EXPECT_TRUE(WildcardMatch(L"*POLYLINE", L"POLYLINE"));
  EXPECT_FALSE(WildcardMatch(L"*POLYLINE", L"POLYLINE2"));
  EXPECT_TRUE(WildcardMatch(L"*", L""));
  EXPECT_TRUE(WildcardMatch(L"A*B*C", L"AxxBxxBxC"));
  EXPECT_FALSE(WildcardMatch(L"A*B*C", L"AxxBxxBx"));
  EXPECT_TRUE(WildcardMatch(L"K?STRA", L"KESTRA"));
  EXPECT_FALSE(WildcardMatch(L"K?STRA", L"KSTRA"));
  EXPECT_FALSE(WildcardMatch(L"", L"A"));
  EXPECT_TRUE(WildcardMatch(L"", L""));
}

TEST(WildcardTest, ComparesWithoutRegardToLetterCase) {
  EXPECT_TRUE(WildcardMatch(L"kestra", L"KESTRA"));
  EXPECT_TRUE(WildcardMatch(L"Title Block", L"TITLE BLOCK"));
  EXPECT_TRUE(WildcardMatch(L"[a-c]x", L"Bx"));
  EXPECT_TRUE(WildcardMatch(L"ÉTAGE", L"étage"));
  EXPECT_TRUE(WildcardMatch(L"枠", L"枠"));
  EXPECT_FALSE(WildcardMatch(L"枠", L"図"));
}

TEST(WildcardTest, ClassesMatchDigitsLettersAndOtherCharacters) {
  EXPECT_TRUE(WildcardMatch(L"A#", L"A7"));
  EXPECT_FALSE(WildcardMatch(L"A#", L"AB"));
  EXPECT_TRUE(WildcardMatch(L"@1", L"x1"));
  EXPECT_TRUE(WildcardMatch(L"@", L"図"));
  EXPECT_FALSE(WildcardMatch(L"@", L"5"));
  EXPECT_TRUE(WildcardMatch(L"A.B", L"A-B"));
  EXPECT_FALSE(WildcardMatch(L"A.B", L"AxB"));
  EXPECT_FALSE(WildcardMatch(L"A.B", L"A1B"));
}

TEST(WildcardTest, BracketsMatchSetsRangesAndTheirComplement) {
  EXPECT_TRUE(WildcardMatch(L"[AB]1", L"B1"));
  EXPECT_FALSE(WildcardMatch(L"[AB]1", L"C1"));
  EXPECT_TRUE(WildcardMatch(L"L[0-9][0-9]", L"L42"));
  EXPECT_FALSE(WildcardMatch(L"L[0-9]", L"LX"));
  EXPECT_TRUE(WildcardMatch(L"[~AB]1", L"C1"));
  EXPECT_FALSE(WildcardMatch(L"[~AB]1", L"a1"));
  EXPECT_TRUE(WildcardMatch(L"[]]", L"]"));
  EXPECT_TRUE(WildcardMatch(L"[-A]", L"-"));
  // An unclosed bracket is an ordinary character.
  EXPECT_TRUE(WildcardMatch(L"[AB", L"[AB"));
}

TEST(WildcardTest, CommasSeparateAlternativesAndTildeNegates) {
  EXPECT_TRUE(WildcardMatch(L"LINE,*POLYLINE", L"LINE"));
  EXPECT_TRUE(WildcardMatch(L"LINE,*POLYLINE", L"LWPOLYLINE"));
  EXPECT_FALSE(WildcardMatch(L"LINE,*POLYLINE", L"CIRCLE"));
  EXPECT_TRUE(WildcardMatch(L"~KESTRA", L"BORDER"));
  EXPECT_FALSE(WildcardMatch(L"~KESTRA", L"kestra"));
  EXPECT_FALSE(WildcardMatch(L"~*", L""));
  EXPECT_TRUE(WildcardMatch(L"~A*,B*", L"Cx"));
  // Inside an alternative a later tilde is a literal.
  EXPECT_TRUE(WildcardMatch(L"A~", L"A~"));
}

TEST(WildcardTest, BackquoteMakesASpecialCharacterLiteral) {
  EXPECT_TRUE(WildcardMatch(L"A`*", L"A*"));
  EXPECT_FALSE(WildcardMatch(L"A`*", L"AB"));
  EXPECT_TRUE(WildcardMatch(L"A`,B", L"A,B"));
  EXPECT_FALSE(WildcardMatch(L"A`,B", L"A"));
  EXPECT_TRUE(WildcardMatch(L"`#1", L"#1"));
  EXPECT_TRUE(WildcardMatch(L"[`]]", L"]"));
}

TEST(WildcardTest, ManyStarsAgainstALongNameFinishPromptly) {
  // Exponential backtracking would not finish this in any test run.
  const std::wstring pattern = L"*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b";
  const std::wstring text(5000, L'a');
  EXPECT_FALSE(WildcardMatch(pattern, text));
  EXPECT_TRUE(WildcardMatch(pattern, text + L"b"));
}
