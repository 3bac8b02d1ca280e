#include <gtest/gtest.h>

#include "settings/ProgramFiles.h"
#include "settings/TargetListCodec.h"
#include "tests/native/TargetListTestCodePage.h"

namespace {

using Rows = std::vector<std::wstring>;

const Latin1CodePage kAnsi;

TargetListText Decode(std::string_view bytes) { return DecodeTargetList(bytes, kAnsi); }

// U+00E9 and U+1F600: one Latin-1 character, one beyond the BMP.
const std::wstring kAccented = L"Caf\u00E9";
const std::wstring kEmoji = L"\U0001F600";

TEST(TargetListDecode, ByteOrderMarkSelectsTheEncodingAndIsNoPartOfTheFirstRow) {
  const TargetListText utf8 = Decode(
      "\xEF\xBB\xBF"
      "Caf\xC3\xA9\tA.B\r\n\xF0\x9F\x98\x80\r\n");
  EXPECT_EQ(utf8.encoding, TextEncoding::Utf8);
  EXPECT_EQ(utf8.rows, (Rows{kAccented + L"\tA.B", kEmoji}));

  const TargetListText le =
      Decode(std::string("\xFF\xFE"
                         "C\0\xE9\0\t\0=\xD8\0\xDE\r\0\n\0",
                         16));
  EXPECT_EQ(le.encoding, TextEncoding::Utf16LE);
  EXPECT_EQ(le.rows, (Rows{L"C\u00E9\t" + kEmoji}));

  const TargetListText be = Decode(std::string("\xFE\xFF\0C\0\xE9\0\t\xD8=\xDE\0\0\r\0\n", 16));
  EXPECT_EQ(be.encoding, TextEncoding::Utf16BE);
  EXPECT_EQ(be.rows, (Rows{L"C\u00E9\t" + kEmoji}));
}

TEST(TargetListDecode, WithoutAMarkTheBytesAreAnsi) {
  const TargetListText ansi = Decode("Caf\xE9\tA.B\r\nCaf\xC3\xA9");
  EXPECT_EQ(ansi.encoding, TextEncoding::Ansi);
  EXPECT_EQ(ansi.rows, (Rows{kAccented + L"\tA.B", L"Caf\u00C3\u00A9"}));
}

TEST(TargetListDecode, EveryKindOfLineEndEndsARow) {
  EXPECT_EQ(Decode("a\r\nb\rc\nd").rows, (Rows{L"a", L"b", L"c", L"d"}));
  EXPECT_EQ(Decode("a\n\rb").rows, (Rows{L"a", L"", L"b"}));
  EXPECT_EQ(Decode("a\r\n\r\n").rows, (Rows{L"a", L""}));
  EXPECT_EQ(Decode("a\r\n").rows, (Rows{L"a"}));
  EXPECT_EQ(Decode("\n").rows, (Rows{L""}));
  EXPECT_EQ(Decode(std::string("\xFF\xFE"
                               "a\0\r\0b\0\n\0",
                               10))
                .rows,
            (Rows{L"a", L"b"}));
}

TEST(TargetListDecode, EmptyFileAndMarkOnlyHaveNoRows) {
  EXPECT_EQ(Decode("").rows, Rows{});
  EXPECT_EQ(Decode("").encoding, TextEncoding::Ansi);
  for (const auto& [mark, encoding] :
       {std::pair{"\xEF\xBB\xBF", TextEncoding::Utf8}, std::pair{"\xFF\xFE", TextEncoding::Utf16LE},
        std::pair{"\xFE\xFF", TextEncoding::Utf16BE}}) {
    const TargetListText text = Decode(mark);
    EXPECT_EQ(text.encoding, encoding);
    EXPECT_EQ(text.rows, Rows{});
  }
}

TEST(TargetListDecode, MalformedUnicodeBecomesReplacementCharacters) {
  EXPECT_EQ(Decode("\xEF\xBB\xBF"
                   "a\xFF"
                   "b\r\nc\xC3")
                .rows,
            (Rows{L"a\uFFFDb", L"c\uFFFD"}));
  EXPECT_EQ(Decode(std::string("\xFF\xFE"
                               "a\0\n\0b",
                               7))
                .rows,
            (Rows{L"a", L"\uFFFD"}));
  EXPECT_EQ(Decode(std::string("\xFE\xFF\0a\0", 5)).rows, (Rows{L"a\uFFFD"}));
  // A lone surrogate does not swallow what follows it.
  EXPECT_EQ(Decode(std::string("\xFF\xFE\x00\xDC"
                               "a\0",
                               6))
                .rows.at(0)
                .back(),
            L'a');
}

TEST(TargetListEncode, EveryRowEndsWithCrLfAfterTheEncodingsMark) {
  const Rows rows{kAccented + L"\tA", kEmoji};
  EXPECT_EQ(EncodeTargetList({kAccented + L"\tA", L"x"}, TextEncoding::Ansi, kAnsi).bytes, "Caf\xE9\tA\r\nx\r\n");
  EXPECT_EQ(EncodeTargetList(rows, TextEncoding::Utf8, kAnsi).bytes,
            "\xEF\xBB\xBF"
            "Caf\xC3\xA9\tA\r\n\xF0\x9F\x98\x80\r\n");
  EXPECT_EQ(EncodeTargetList(rows, TextEncoding::Utf16LE, kAnsi).bytes,
            std::string("\xFF\xFE"
                        "C\0a\0f\0\xE9\0\t\0A\0\r\0\n\0=\xD8\0\xDE\r\0\n\0",
                        26));
  EXPECT_EQ(EncodeTargetList(rows, TextEncoding::Utf16BE, kAnsi).bytes,
            std::string("\xFE\xFF\0C\0a\0f\0\xE9\0\t\0A\0\r\0\n\xD8=\xDE\0\0\r\0\n", 26));
}

TEST(TargetListEncode, NoRowsIsNothingButTheMark) {
  EXPECT_EQ(EncodeTargetList({}, TextEncoding::Ansi, kAnsi).bytes, "");
  EXPECT_EQ(EncodeTargetList({}, TextEncoding::Utf8, kAnsi).bytes, "\xEF\xBB\xBF");
  EXPECT_EQ(EncodeTargetList({}, TextEncoding::Utf16BE, kAnsi).bytes, "\xFE\xFF");
}

// Rather than turning characters into '?', the file becomes UTF-8.
TEST(TargetListEncode, AnsiThatCannotHoldTheRowsFallsBackToUtf8WithItsMark) {
  const EncodedTargetList encoded = EncodeTargetList({L"a", L"\u30AD\u30E3\u30C9\tX"}, TextEncoding::Ansi, kAnsi);
  EXPECT_EQ(encoded.encoding, TextEncoding::Utf8);
  EXPECT_EQ(encoded.bytes,
            "\xEF\xBB\xBF"
            "a\r\n\xE3\x82\xAD\xE3\x83\xA3\xE3\x83\x89\tX\r\n");
  EXPECT_EQ(EncodeTargetList({L"a"}, TextEncoding::Ansi, kAnsi).encoding, TextEncoding::Ansi);
}

TEST(TargetListEncode, AnsiThatWouldReadBackAsAMarkFallsBackToUtf8) {
  const EncodedTargetList encoded = EncodeTargetList({L"\u00FF\u00FEname\tP"}, TextEncoding::Ansi, kAnsi);
  EXPECT_EQ(encoded.encoding, TextEncoding::Utf8);
  EXPECT_EQ(Decode(encoded.bytes).rows, (Rows{L"\u00FF\u00FEname\tP"}));
}

TEST(TargetListRow, SplitsAtTheFirstTab) {
  const TargetRow row = SplitTargetRow(L"Bricscad V23\tBricscadApp.AcadApplication.23\tx");
  EXPECT_EQ(row.name, L"Bricscad V23");
  EXPECT_EQ(row.progId, L"BricscadApp.AcadApplication.23\tx");
  const TargetRow noTab = SplitTargetRow(L"GCAD.Application");
  EXPECT_EQ(noTab.name, L"");
  EXPECT_EQ(noTab.progId, L"GCAD.Application");
  const TargetRow empty = SplitTargetRow(L"\t");
  EXPECT_EQ(empty.name, L"");
  EXPECT_EQ(empty.progId, L"");
}

TEST(TargetListFilePath, IsInTheProgramsFolder) {
  EXPECT_EQ(TargetListFilePath(L"C:\\Tools\\page.exe"), L"C:\\Tools\\TargetCAD_APIVersion.txt");
  EXPECT_EQ(TargetListFilePath(L"page.exe"), L"TargetCAD_APIVersion.txt");
}

}  // namespace
