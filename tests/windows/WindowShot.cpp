#include "WindowShot.h"

#include <wincodec.h>

#include <stdexcept>
#include <string>

#include "cad/ComPtr.h"
#include "win/Handles.h"

namespace {

void Check(HRESULT result, const char* what) {
  if (FAILED(result)) throw std::runtime_error(std::string("screenshot: ") + what + " failed");
}

// A copy of the screen's area in a bitmap of its own.
UniqueBitmap CopyScreen(const RECT& area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  const UniqueWindowDc screen = ClientDc(nullptr);
  const UniqueMemoryDc memory(CreateCompatibleDC(screen.Get().dc));
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get().dc, width, height));
  bool copied = false;
  {
    const UniqueSelection select = SelectInto(memory.Get(), bitmap.Get());
    copied = BitBlt(memory.Get(), 0, 0, width, height, screen.Get().dc, area.left, area.top, SRCCOPY) != FALSE;
  }
  if (!copied) throw std::runtime_error("screenshot: BitBlt failed");
  return bitmap;
}

}  // namespace

void SaveScreenShot(const RECT& area, const std::wstring& path) {
  const UniqueBitmap bitmap = CopyScreen(area);
  ComPtr<IWICImagingFactory> factory;
  Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.Put())),
        "the imaging factory");
  ComPtr<IWICBitmap> source;
  Check(factory->CreateBitmapFromHBITMAP(bitmap.Get(), nullptr, WICBitmapIgnoreAlpha, source.Put()), "the bitmap");
  ComPtr<IWICStream> stream;
  Check(factory->CreateStream(stream.Put()), "the stream");
  Check(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE), "opening the file");
  ComPtr<IWICBitmapEncoder> encoder;
  Check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Put()), "the PNG encoder");
  Check(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache), "the encoder");
  ComPtr<IWICBitmapFrameEncode> frame;
  Check(encoder->CreateNewFrame(frame.Put(), nullptr), "the frame");
  Check(frame->Initialize(nullptr), "the frame");
  Check(frame->WriteSource(source.Get(), nullptr), "writing the pixels");
  Check(frame->Commit(), "the frame");
  Check(encoder->Commit(), "the file");
}

void PaintNow(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void SaveWindowShot(HWND window, const std::wstring& path) {
  PaintNow(window);
  RECT area{};
  GetWindowRect(window, &area);
  SaveScreenShot(area, path);
}

void SaveDesktopShot(const std::wstring& path) {
  SaveScreenShot(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, path);
}
