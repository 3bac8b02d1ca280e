// A simulated CAD running under the default ProgID, with a pager view that
// records what the page commands write, for tests of the page commands.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "cad/TargetCad.h"
#include "pages/PageCommands.h"
#include "pages/Pages.h"
#include "pages/SheetNames.h"
#include "pages/Waku.h"
#include "sim/SimCad.h"

// The code of the AutomationError the call throws, Ok when it throws none.
inline HResult CodeOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const AutomationError& error) {
    return error.Code();
  }
  return hresult::Ok;
}

class RecordingView : public PagerView {
 public:
  std::wstring layer = L"KESTRA";
  bool upperLeft = false;
  std::wstring blocks;
  std::vector<std::wstring> tags;
  std::wstring titles;
  bool byName = false;
  std::vector<std::wstring> statuses;

  std::wstring LayerName() const override { return layer; }
  bool UpperLeft() const override { return upperLeft; }
  std::wstring PageStatus() const override { return Status(); }
  std::wstring BlockPattern() const override { return blocks; }
  std::vector<std::wstring> NameTags() const override { return tags; }
  std::wstring TitleBlockPattern() const override { return titles; }
  bool OrderByName() const override { return byName; }
  void SetPageStatus(const std::wstring& text) override { statuses.push_back(text); }
  std::wstring Status() const { return statuses.empty() ? std::wstring() : statuses.back(); }
};

// A steady clock that moves on by step at every reading; still by default.
struct SteppingClock {
  std::chrono::milliseconds step{0};
  std::chrono::steady_clock::time_point time{};
};

class SimCadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Pages.Clear();
    TargetProgId = kDefaultProgId;
    objects.Run(TargetProgId, cad);
  }
  void TearDown() override {
    Pages.Clear();
    TargetProgId.clear();
  }

  void Get() {
    GetCommand(view, {objects, windows}, [this] { return clock.time += clock.step; });
  }
  void Next() { StepCommand(view, {objects, windows}, StepDirection::Forward); }
  void Previous() { StepCommand(view, {objects, windows}, StepDirection::Backward); }
  // Pages no Get leaves, made the current drawing's.
  void SetCurrentPages(TWakuList frames, std::vector<PageName> names) {
    Pages.Got(Pages.CurrentIdentity(), std::move(frames), std::move(names), view.upperLeft, cad.WindowHandle());
  }

  sim::SimCad cad;
  sim::SimObjectTable objects;
  sim::SimWindowControl windows{cad};
  RecordingView view;
  SteppingClock clock;
};
