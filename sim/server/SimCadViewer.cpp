#include "sim/server/SimCadViewer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "cad/ComError.h"
#include "cad/Wildcard.h"
#include "sim/Geometry.h"
#include "sim/SimCadState.h"

namespace {

constexpr UINT kBusyMessage = WM_APP + 1;

constexpr wchar_t kClassName[] = L"SimCadViewer";
constexpr COLORREF kBackground = RGB(33, 40, 48);
constexpr COLORREF kEntity = RGB(150, 160, 172);
constexpr COLORREF kFrame = RGB(255, 184, 28);
constexpr COLORREF kText = RGB(236, 240, 244);
constexpr wchar_t kTextFace[] = L"Tahoma";  // the pager's face
constexpr double kSmallestText = 3.0;       // pixels
constexpr COLORREF kViewBox = RGB(64, 196, 255);
constexpr COLORREF kOverviewBack = RGB(24, 29, 35);
constexpr COLORREF kStatusBack = RGB(18, 21, 26);
constexpr COLORREF kStatusText = RGB(214, 220, 226);
constexpr int kStatusHeight = 26;
constexpr int kOverviewWidth = 200;
constexpr int kGap = 10;

// Drawing units to pixels, y upward in the drawing and downward on screen.
struct Mapping {
  double centreX, centreY, scale;
  double pixelX, pixelY;

  POINT ToPixel(double x, double y) const {
    // GDI wants coordinates well inside 32 bits, however far the zoom goes.
    const auto clamp = [](double v) { return static_cast<LONG>(std::clamp(v, -1.0e7, 1.0e7)); };
    return POINT{clamp(pixelX + (x - centreX) * scale), clamp(pixelY - (y - centreY) * scale)};
  }
};

// The world box around the centre fills the area, with a margin so that
// lines on the box's edge stay visible.
Mapping Fit(double centreX, double centreY, double width, double height, const RECT& area, double margin) {
  const double areaWidth = std::max<LONG>(area.right - area.left, 1);
  const double areaHeight = std::max<LONG>(area.bottom - area.top, 1);
  const double scale =
      std::min(areaWidth / std::max(width, 1e-9), areaHeight / std::max(height, 1e-9)) * (1.0 - margin);
  return Mapping{centreX, centreY, scale, area.left + areaWidth / 2.0, area.top + areaHeight / 2.0};
}

bool IsFrame(const sim::Entity& entity, const FrameMarks& marks) {
  if (entity.IsBlockReference()) return !marks.blocks.empty() && WildcardMatch(marks.blocks, entity.blockName);
  return entity.IsPolyline() && sim::SameName(entity.layer, marks.layer);
}

// Block references are drawn with their block's geometry as placed.
void DrawEntities(HDC dc, const sim::Drawing& drawing, const Mapping& mapping, const FrameMarks& marks, HPEN framePen,
                  HPEN entityPen) {
  std::vector<POINT> points;
  for (const sim::Entity& entity : drawing.entities) {
    const UniqueSelection selected = SelectInto(dc, IsFrame(entity, marks) ? framePen : entityPen);
    sim::ForEachOutline(drawing, entity, [&](const std::vector<double>& values, bool closed) {
      points.clear();
      for (size_t i = 0; i + 1 < values.size(); i += 2) points.push_back(mapping.ToPixel(values[i], values[i + 1]));
      if (closed) points.push_back(points.front());
      Polyline(dc, points.data(), static_cast<int>(points.size()));
    });
  }
}

// One line of a text, upright whichever way its baseline runs: a text
// turned past a quarter turn is drawn half a turn back, ending where it
// would have started, so it covers the same stretch of its baseline.
void DrawTextLine(HDC dc, const std::wstring& line, POINT at, int pixels, double rotation) {
  double angle = std::remainder(rotation, 360.0);  // -180..180
  const bool reversed = angle > 90.0 || angle < -90.0;
  if (reversed) angle = std::remainder(angle + 180.0, 360.0);
  LOGFONTW face{};
  face.lfHeight = -pixels;
  face.lfEscapement = face.lfOrientation = static_cast<LONG>(std::lround(angle * 10.0));
  face.lfWeight = FW_NORMAL;
  face.lfCharSet = DEFAULT_CHARSET;
  face.lfQuality = ANTIALIASED_QUALITY;
  lstrcpynW(face.lfFaceName, kTextFace, LF_FACESIZE);
  const UniqueFont font(CreateFontIndirectW(&face));
  const UniqueSelection selected = SelectInto(dc, font.Get());
  SetTextAlign(dc, TA_BASELINE | TA_NOUPDATECP | (reversed ? TA_RIGHT : TA_LEFT));
  TextOutW(dc, at.x, at.y, line.c_str(), static_cast<int>(line.size()));
}

// Texts of TEXT entities and attributes at their place and height; the
// lines of a multi-line text one below the other, as far apart as the CAD
// sets them by default.
void DrawLabels(HDC dc, const sim::Drawing& drawing, const Mapping& mapping, const RECT& area) {
  constexpr double kDegree = 3.14159265358979323846 / 180.0;
  constexpr double kLineSpacing = 5.0 / 3.0;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kText);
  for (const sim::Entity& entity : drawing.entities) {
    sim::ForEachLabel(drawing, entity, [&](const sim::Label& label) {
      const double pixels = label.height * mapping.scale;
      // Too small to read, or so large that one glyph fills the window.
      if (!(pixels >= kSmallestText && pixels <= 4.0 * (area.bottom - area.top))) return;
      const double side = label.mirrored ? -1.0 : 1.0;
      const double downX = side * std::sin(label.rotation * kDegree),
                   downY = -side * std::cos(label.rotation * kDegree);
      size_t start = 0;
      for (int line = 0; start <= label.text.size(); ++line) {
        const size_t end = std::min(label.text.find(L"\r\n", start), label.text.size());
        const double offset = line * kLineSpacing * label.height;
        const POINT at = mapping.ToPixel(label.x + offset * downX, label.y + offset * downY);
        // A line whose start lies this far outside cannot reach into the area.
        const double reach = pixels * static_cast<double>(end - start + 1);
        if (at.x > area.left - reach && at.x < area.right + reach && at.y > area.top - reach &&
            at.y < area.bottom + reach) {
          std::wstring shown = label.text.substr(start, end - start);
          std::replace(shown.begin(), shown.end(), L'\t', L' ');  // a TAB has no glyph of its own
          DrawTextLine(dc, shown, at, static_cast<int>(std::lround(pixels)), label.rotation);
        }
        start = end + 2;
      }
    });
  }
}

void DrawViewBox(HDC dc, const sim::View& view, const Mapping& mapping, HPEN pen) {
  const POINT lowerLeft = mapping.ToPixel(view.centreX - view.width / 2, view.centreY - view.height / 2);
  const POINT upperRight = mapping.ToPixel(view.centreX + view.width / 2, view.centreY + view.height / 2);
  const UniqueSelection selectedPen = SelectInto(dc, pen);
  const UniqueSelection noFill = SelectInto(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, lowerLeft.x, upperRight.y, lowerLeft.x + std::max<LONG>(upperRight.x - lowerLeft.x, 2),
            upperRight.y + std::max<LONG>(lowerLeft.y - upperRight.y, 2));
}

void FillArea(HDC dc, const RECT& area, COLORREF colour) {
  const UniqueBrush brush(CreateSolidBrush(colour));
  FillRect(dc, &area, brush.Get());
}

std::wstring StatusText(const sim::SimCad& cad) {
  const sim::View view = cad.CurrentView();
  wchar_t text[160];
  std::swprintf(text, std::size(text), L"centre %.3f, %.3f    height %.3f    width %.3f    ", view.centreX,
                view.centreY, view.height, view.width);
  const auto& journal = cad.Journal();
  return text + (journal.empty() ? std::wstring(L"no calls yet") : L"last: " + sim::Describe(journal.back()));
}

bool SameView(const sim::View& a, const sim::View& b) {
  return a.centreX == b.centreX && a.centreY == b.centreY && a.height == b.height && a.width == b.width;
}

HFONT CreateMessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  return CreateFontIndirectW(&metrics.lfMessageFont);
}

void RegisterViewerClass(WNDPROC windowProc) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), kClassName, &windowClass)) return;
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_CROSS);
  windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassExW(&windowClass)) throw ComError(HRESULT_FROM_WIN32(GetLastError()));
}

}  // namespace

SimCadViewer::SimCadViewer(const sim::SimCad& cad, FrameMarks frameMarks)
    : FCad(cad), FFrameMarks(std::move(frameMarks)), FFont(CreateMessageFont()), FShownView(cad.CurrentView()) {
  RegisterViewerClass(&SimCadViewer::WindowProc);
  CreateWindowExW(0, kClassName, L"simcad", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 960, 680, nullptr,
                  nullptr, GetModuleHandleW(nullptr), this);
  if (!FWindow) throw ComError(HRESULT_FROM_WIN32(GetLastError()));
}

SimCadViewer::~SimCadViewer() {
  if (FWindow) DestroyWindow(FWindow);
}

void SimCadViewer::Show(bool minimized) {
  ShowWindow(FWindow, minimized ? SW_SHOWMINNOACTIVE : SW_SHOWNORMAL);
  UpdateWindow(FWindow);
}

void SimCadViewer::ShowDrawing(const std::wstring& drawingName) {
  SetWindowTextW(FWindow, (L"simcad \u2014 " + drawingName).c_str());
  FShownView = FCad.CurrentView();
  FShownCalls = FCad.Journal().size();
  InvalidateRect(FWindow, nullptr, FALSE);
}

void SimCadViewer::Refresh() {
  const sim::View view = FCad.CurrentView();
  const size_t calls = FCad.Journal().size();
  if (!SameView(view, FShownView)) {
    InvalidateRect(FWindow, nullptr, FALSE);
  } else if (calls != FShownCalls) {
    const RECT status = StatusRect();
    InvalidateRect(FWindow, &status, FALSE);
  }
  FShownView = view;
  FShownCalls = calls;
}

void SimCadViewer::Close() { PostMessageW(FWindow, WM_CLOSE, 0, 0); }

void SimCadViewer::BusyFor(std::chrono::milliseconds duration) {
  PostMessageW(FWindow, kBusyMessage, static_cast<WPARAM>(duration.count()), 0);
}

LRESULT CALLBACK SimCadViewer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<SimCadViewer*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    created->FWindow = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* viewer = reinterpret_cast<SimCadViewer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!viewer) return DefWindowProcW(window, message, wParam, lParam);
  try {
    return viewer->HandleMessage(message, wParam, lParam);
  } catch (...) {
    // A failed repaint must not take the simulated CAD down.
    return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT SimCadViewer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: InvalidateRect(FWindow, nullptr, FALSE); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case kBusyMessage: Sleep(static_cast<DWORD>(wParam)); return 0;
    case WM_NCDESTROY: {
      const HWND window = std::exchange(FWindow, nullptr);
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      return DefWindowProcW(window, message, wParam, lParam);
    }
    default: return DefWindowProcW(FWindow, message, wParam, lParam);
  }
}

RECT SimCadViewer::StatusRect() const {
  RECT client{};
  GetClientRect(FWindow, &client);
  client.top = std::max(client.top, client.bottom - kStatusHeight);
  return client;
}

void SimCadViewer::Paint() {
  const ScopedPaint paint(FWindow);
  RECT client{};
  GetClientRect(FWindow, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  RECT model = client;
  model.bottom = std::max(model.top, model.bottom - kStatusHeight);
  RECT status = client;
  status.top = model.bottom;

  // Most calls change only the status line; the drawing is redrawn only
  // when the view or the drawing changed.
  const bool statusOnly = paint.Invalid().top >= status.top;
  const OffscreenCanvas canvas(paint.Dc(), statusOnly ? status : client);
  const HDC dc = canvas.Dc();
  if (!statusOnly) PaintModel(dc, model);
  PaintStatus(dc, statusOnly ? RECT{0, 0, status.right - status.left, status.bottom - status.top} : status);
  canvas.Present();
}

void SimCadViewer::PaintModel(HDC dc, const RECT& model) const {
  const sim::Drawing& drawing = FCad.CurrentDrawing();
  const sim::View view = FCad.CurrentView();
  FillArea(dc, model, kBackground);
  const UniquePen framePen(CreatePen(PS_SOLID, 2, kFrame));
  const UniquePen entityPen(CreatePen(PS_SOLID, 1, kEntity));
  {
    // The model area shows the view, as the CAD's own window does.
    const UniqueRegion clip(CreateRectRgnIndirect(&model));
    SelectClipRgn(dc, clip.Get());
    const Mapping mapping = Fit(view.centreX, view.centreY, view.width, view.height, model, 0.04);
    DrawEntities(dc, drawing, mapping, FFrameMarks, framePen.Get(), entityPen.Get());
    DrawLabels(dc, drawing, mapping, model);
    SelectClipRgn(dc, nullptr);
  }

  // The overview, once the view shows only part of the drawing: the whole
  // drawing and where the view lies in it.
  const sim::View extents = sim::Extents(drawing);
  const bool partial = view.width < extents.width || view.height < extents.height;
  if (!partial || model.right - model.left < 3 * kOverviewWidth || model.bottom - model.top < 200) return;
  const int height =
      std::clamp(static_cast<int>(kOverviewWidth * extents.height / std::max(extents.width, 1e-9)), 60, 180);
  // Top right, where drawings seldom have their title blocks.
  const RECT overview{model.right - kGap - kOverviewWidth, model.top + kGap, model.right - kGap,
                      model.top + kGap + height};
  FillArea(dc, overview, kOverviewBack);
  const UniqueRegion clip(CreateRectRgnIndirect(&overview));
  SelectClipRgn(dc, clip.Get());
  const Mapping mapping = Fit(extents.centreX, extents.centreY, extents.width, extents.height, overview, 0.1);
  const UniquePen thinFrame(CreatePen(PS_SOLID, 1, kFrame));
  DrawEntities(dc, drawing, mapping, FFrameMarks, thinFrame.Get(), entityPen.Get());
  const UniquePen viewPen(CreatePen(PS_SOLID, 1, kViewBox));
  DrawViewBox(dc, view, mapping, viewPen.Get());
  SelectClipRgn(dc, nullptr);
}

void SimCadViewer::PaintStatus(HDC dc, RECT status) const {
  FillArea(dc, status, kStatusBack);
  status.left += 8;
  status.right -= 8;
  const UniqueSelection font = SelectInto(dc, FFont.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kStatusText);
  const std::wstring text = StatusText(FCad);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &status,
            DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
}
