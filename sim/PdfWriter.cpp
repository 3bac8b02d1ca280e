#include "sim/PdfWriter.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace sim {

namespace {

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", std::abs(value) < 0.0005 ? 0.0 : value);
  return text;
}

std::string TextString(const std::wstring& text) {
  std::string escaped;
  for (const wchar_t c : text) {
    if (c == L'(' || c == L')' || c == L'\\') escaped += '\\';
    escaped += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
  }
  return escaped;
}

std::string Content(const PdfPage& page) {
  std::string content = "0 0 0 RG 0 0 0 rg 0.5 w 1 J 1 j\n";
  if (page.clip.size() == 4)
    content += Number(page.clip[0]) + " " + Number(page.clip[1]) + " " + Number(page.clip[2]) + " " +
               Number(page.clip[3]) + " re W n\n";
  for (const PdfStroke& stroke : page.strokes) {
    if (stroke.points.size() < 4) continue;
    for (size_t i = 0; i + 1 < stroke.points.size(); i += 2)
      content += Number(stroke.points[i]) + " " + Number(stroke.points[i + 1]) + (i == 0 ? " m\n" : " l\n");
    content += stroke.closed ? "s\n" : "S\n";
  }
  for (const PdfText& text : page.texts) {
    const double turn = text.rotation * std::numbers::pi / 180.0;
    content += "BT /F1 " + Number(text.size) + " Tf " + Number(std::cos(turn)) + " " + Number(std::sin(turn)) + " " +
               Number(-std::sin(turn)) + " " + Number(std::cos(turn)) + " " + Number(text.x) + " " + Number(text.y) +
               " Tm (" + TextString(text.text) + ") Tj ET\n";
  }
  return content;
}

}  // namespace

std::string PdfDocument(const PdfPage& page) {
  const std::string content = Content(page);
  const std::string objects[] = {
      "<< /Type /Catalog /Pages 2 0 R >>",
      "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Number(page.width) + " " + Number(page.height) +
          "] /Resources << /Font << /F1 5 0 R >> >> /Contents 4 0 R >>",
      "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream",
      "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
  };
  std::string file = "%PDF-1.4\n";
  std::vector<size_t> offsets;
  for (size_t i = 0; i < std::size(objects); ++i) {
    offsets.push_back(file.size());
    file += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  const size_t table = file.size();
  file += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
  for (const size_t offset : offsets) {
    char entry[24];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
    file += entry;
  }
  file += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
          std::to_string(table) + "\n%%EOF\n";
  return file;
}

}  // namespace sim
