// The CAD's command line as SendCommand feeds it: the text is read as
// inputs ended by a space or a carriage return, and the one command the
// pager sends, 'ZOOM W with two corners, is carried out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct ZoomCorners {
  double x1, y1, x2, y2;
};

class CommandLine {
 public:
  // Takes more typed text; returns the zoom windows it completed. Input
  // not yet ended waits for the next call, as at a real prompt.
  std::vector<ZoomCorners> Feed(std::wstring_view text);
  void Reset();

 private:
  enum class Prompt { Command, ZoomOption, FirstCorner, SecondCorner };

  void Enter(std::wstring_view input, std::vector<ZoomCorners>& zooms);

  Prompt FPrompt = Prompt::Command;
  std::wstring FPending;
  double FFirstX = 0.0, FFirstY = 0.0;
};

}  // namespace sim
