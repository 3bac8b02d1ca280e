#include "common/ErrorText.h"

#include "common/TextError.h"
#include "common/Unicode.h"

std::wstring ErrorReportText(std::wstring text) {
  if (!text.empty() && text.back() > L'.') text += L'.';
  return text;
}

std::wstring ExceptionText(const std::exception& error) {
  if (const auto* text = dynamic_cast<const TextError*>(&error)) return text->Text();
  return FromUtf8Lenient(error.what());
}
