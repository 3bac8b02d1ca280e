// A one-page PDF of strokes and texts, as the simulated CAD plots a window.
#pragma once

#include <string>
#include <vector>

namespace sim {

struct PdfStroke {
  std::vector<double> points;  // x,y pairs in points from the page's lower left
  bool closed = false;
};

struct PdfText {
  std::wstring text;  // characters outside ASCII are written as '?'
  double x = 0.0, y = 0.0, size = 0.0;
  double rotation = 0.0;  // degrees, counter-clockwise
};

struct PdfPage {
  double width = 0.0, height = 0.0;  // points
  // What the strokes and texts are cut to: x, y, width, height; empty: the page.
  std::vector<double> clip;
  std::vector<PdfStroke> strokes;
  std::vector<PdfText> texts;
};

// The bytes of a PDF 1.4 file holding the page, its cross-reference table
// with the objects' real offsets.
std::string PdfDocument(const PdfPage& page);

}  // namespace sim
