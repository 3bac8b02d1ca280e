#include <gtest/gtest.h>

#include "cad/Automation.h"
#include "common/ErrorText.h"
#include "common/FileError.h"

namespace {

TEST(ErrorTextTest, AFullStopFollowsTextsEndingAboveTheFullStop) {
  EXPECT_EQ(ErrorReportText(L"C:\\page\\page.ini に書き込めません"), L"C:\\page\\page.ini に書き込めません.");
  EXPECT_EQ(ErrorReportText(L"Access denied"), L"Access denied.");
  EXPECT_EQ(ErrorReportText(L"code 0x800401F3 /"), L"code 0x800401F3 /.") << "'/' is just above '.'";
}

TEST(ErrorTextTest, TextsEndingAtOrBelowTheFullStopAreShownAsTheyAre) {
  EXPECT_EQ(ErrorReportText(L"無効なクラス文字列です (No.Such.Cad)"), L"無効なクラス文字列です (No.Such.Cad)");
  EXPECT_EQ(ErrorReportText(L"Done."), L"Done.");
  EXPECT_EQ(ErrorReportText(L"a-"), L"a-");
  EXPECT_EQ(ErrorReportText(L"line\r\n"), L"line\r\n");
  EXPECT_EQ(ErrorReportText(L""), L"");
}

TEST(ErrorTextTest, ExceptionsGiveTheirWideText) {
  EXPECT_EQ(ExceptionText(AutomationError(hresult::Fail, L"呼び出しが拒否されました")), L"呼び出しが拒否されました");
  EXPECT_EQ(ExceptionText(CannotWriteError(L"C:\\p\\page.ini")), L"C:\\p\\page.ini に書き込めません");
  EXPECT_EQ(ExceptionText(std::runtime_error("リストのインデックスが範囲を超えています (-1)")),
            L"リストのインデックスが範囲を超えています (-1)");
}

}  // namespace
