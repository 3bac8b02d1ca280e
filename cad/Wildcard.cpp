#include "cad/Wildcard.h"

#include <vector>

#include "common/AsciiCase.h"

namespace {

// Letter case folded the way names compare in a CAD: ASCII, Latin-1 and
// the full-width Latin letters that Japanese input produces.
wchar_t Fold(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return LowerAscii(c);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<wchar_t>(c + 0x20);
  if (c >= 0xFF21 && c <= 0xFF3A) return static_cast<wchar_t>(c + 0x20);
  return c;
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Every character beyond Latin-1's symbols counts as a letter, as it does
// for the Windows character classes the CAD relies on.
bool IsLetter(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= 0xC0 && c != 0xD7 && c != 0xF7);
}

struct Range {
  wchar_t first, last;  // folded
};

struct Token {
  enum Kind { Literal, AnyOne, Digit, Letter, NonAlphanumeric, Set, Star };
  Kind kind = Literal;
  wchar_t literal = 0;  // folded
  std::vector<Range> ranges;
  bool negated = false;

  static Token Of(Kind kind, wchar_t literal = 0) {
    Token token;
    token.kind = kind;
    token.literal = Fold(literal);
    return token;
  }

  bool Matches(wchar_t c) const {
    switch (kind) {
      case Literal: return Fold(c) == literal;
      case AnyOne: return true;
      case Digit: return IsDigit(c);
      case Letter: return IsLetter(c);
      case NonAlphanumeric: return !IsDigit(c) && !IsLetter(c);
      case Set: {
        const wchar_t f = Fold(c);
        bool inSet = false;
        for (const Range& r : ranges) inSet = inSet || (r.first <= f && f <= r.last);
        return inSet != negated;
      }
      case Star: return true;
    }
    return false;
  }
};

// Parses "[...]" starting at pattern[i] == '['; false when it is not closed,
// in which case the bracket is an ordinary character.
bool ParseSet(std::wstring_view pattern, size_t& i, Token& token) {
  size_t j = i + 1;
  token = Token::Of(Token::Set);
  if (j < pattern.size() && pattern[j] == L'~') {
    token.negated = true;
    ++j;
  }
  const size_t start = j;
  std::vector<wchar_t> members;
  for (; j < pattern.size(); ++j) {
    wchar_t c = pattern[j];
    if (c == L']' && j > start) break;
    if (c == L'`' && j + 1 < pattern.size()) c = pattern[++j];
    members.push_back(Fold(c));
    if (j + 2 < pattern.size() && pattern[j + 1] == L'-' && pattern[j + 2] != L']') {
      wchar_t last = pattern[j + 2];
      j += 2;
      if (last == L'`' && j + 1 < pattern.size()) last = pattern[++j];
      members.pop_back();
      const wchar_t a = Fold(c);
      const wchar_t b = Fold(last);
      token.ranges.push_back(a <= b ? Range{a, b} : Range{b, a});
    }
  }
  if (j >= pattern.size()) return false;
  for (wchar_t m : members) token.ranges.push_back({m, m});
  i = j + 1;
  return true;
}

struct Alternative {
  bool negated = false;
  std::vector<Token> tokens;
};

std::vector<Alternative> Compile(std::wstring_view pattern) {
  std::vector<Alternative> alternatives(1);
  for (size_t i = 0; i < pattern.size();) {
    Alternative& current = alternatives.back();
    const wchar_t c = pattern[i];
    if (c == L',') {
      alternatives.emplace_back();
      ++i;
    } else if (c == L'~' && current.tokens.empty() && !current.negated) {
      current.negated = true;
      ++i;
    } else if (c == L'[') {
      Token set = Token::Of(Token::Set);
      if (ParseSet(pattern, i, set)) {
        current.tokens.push_back(std::move(set));
      } else {
        current.tokens.push_back(Token::Of(Token::Literal, c));
        ++i;
      }
    } else if (c == L'`' && i + 1 < pattern.size()) {
      current.tokens.push_back(Token::Of(Token::Literal, pattern[i + 1]));
      i += 2;
    } else {
      switch (c) {
        case L'*': current.tokens.push_back(Token::Of(Token::Star)); break;
        case L'?': current.tokens.push_back(Token::Of(Token::AnyOne)); break;
        case L'#': current.tokens.push_back(Token::Of(Token::Digit)); break;
        case L'@': current.tokens.push_back(Token::Of(Token::Letter)); break;
        case L'.': current.tokens.push_back(Token::Of(Token::NonAlphanumeric)); break;
        default: current.tokens.push_back(Token::Of(Token::Literal, c)); break;
      }
      ++i;
    }
  }
  return alternatives;
}

// Every token but the star takes exactly one character, so backtracking to
// the last star is enough and the match stays within length × length steps.
bool MatchTokens(const std::vector<Token>& tokens, std::wstring_view text) {
  size_t t = 0, s = 0;
  size_t starToken = tokens.size(), starText = 0;
  while (s < text.size()) {
    if (t < tokens.size() && tokens[t].kind == Token::Star) {
      starToken = t++;
      starText = s;
    } else if (t < tokens.size() && tokens[t].Matches(text[s])) {
      ++t;
      ++s;
    } else if (starToken < tokens.size()) {
      t = starToken + 1;
      s = ++starText;
    } else {
      return false;
    }
  }
  while (t < tokens.size() && tokens[t].kind == Token::Star) ++t;
  return t == tokens.size();
}

}  // namespace

bool WildcardMatch(std::wstring_view pattern, std::wstring_view text) {
  for (const Alternative& alternative : Compile(pattern))
    if (MatchTokens(alternative.tokens, text) != alternative.negated) return true;
  return false;
}
