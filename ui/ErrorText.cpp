#include "ui/ErrorText.h"

#include "cad/Automation.h"
#include "common/FileError.h"
#include "common/Unicode.h"

std::wstring ErrorReportText(std::wstring text) {
  if (!text.empty() && text.back() > L'.') text += L'.';
  return text;
}

std::wstring ExceptionText(const std::exception& error) {
  if (const auto* automation = dynamic_cast<const AutomationError*>(&error)) return automation->Text();
  if (const auto* file = dynamic_cast<const FileError*>(&error)) return file->Text();
  return FromUtf8Lenient(error.what());
}
