#include "plot/PlotOffer.h"

#include <exception>

#include "common/AsciiCase.h"
#include "pages/DocumentIdentity.h"

namespace {

std::vector<std::wstring> Names(const Variant& value) {
  std::vector<std::wstring> names;
  for (const Variant& element : value.AsArray().elements) names.push_back(element.Deref().AsString());
  return names;
}

DispatchPtr ActiveLayoutOf(DispatchObject& application) {
  return GetObjectValue(*GetObjectValue(application, L"ActiveDocument"), L"ActiveLayout");
}

std::vector<MediaChoice> MediaOfCurrentDevice(DispatchObject& layout) {
  std::vector<MediaChoice> media;
  for (std::wstring& name : Names(CallMethod(layout, L"GetCanonicalMediaNames"))) {
    const Variant argument[] = {Variant(name)};
    std::wstring shown = CallMethod(layout, L"GetLocaleMediaName", argument).AsString();
    media.push_back({std::move(name), std::move(shown)});
  }
  return media;
}

void SwitchDevice(DispatchObject& layout, const std::wstring& device) {
  SetValue(layout, L"ConfigName", Variant(device));
  CallMethod(layout, L"RefreshPlotDeviceInfo");
}

}  // namespace

PlotOffer ReadPlotOffer(DispatchObject& application) {
  PlotOffer offer;
  const DispatchPtr document = GetObjectValue(application, L"ActiveDocument");
  offer.identity = ReadIdentity(*document);
  const DispatchPtr layout = GetObjectValue(*document, L"ActiveLayout");
  offer.devices = Names(CallMethod(*layout, L"GetPlotDeviceNames"));
  offer.currentDevice = GetValue(*layout, L"ConfigName").AsString();
  offer.currentMedia = GetValue(*layout, L"CanonicalMediaName").AsString();
  offer.styleTables = Names(CallMethod(*layout, L"GetPlotStyleTableNames"));
  offer.currentStyle = GetValue(*layout, L"StyleSheet").AsString();
  return offer;
}

std::vector<MediaChoice> ReadDeviceMedia(DispatchObject& application, const std::wstring& device, const CadWork& run) {
  DispatchPtr layout;
  std::wstring kept;
  bool switched = false;
  std::vector<MediaChoice> media;
  std::exception_ptr failure;
  run([&] {
    try {
      layout = ActiveLayoutOf(application);
      kept = GetValue(*layout, L"ConfigName").AsString();
      if (kept == device) {
        media = MediaOfCurrentDevice(*layout);
        return;
      }
      switched = true;
      SwitchDevice(*layout, device);
      media = MediaOfCurrentDevice(*layout);
    } catch (...) {
      failure = std::current_exception();
    }
  });
  run([&] {
    try {
      if (switched) SwitchDevice(*layout, kept);
    } catch (...) {
      layout.reset();
      throw;
    }
    layout.reset();
  });
  if (failure) std::rethrow_exception(failure);
  return media;
}

std::wstring FirstPdfDevice(const std::vector<std::wstring>& devices) {
  for (const std::wstring& device : devices)
    if (UpperAscii(device).find(L"PDF") != std::wstring::npos) return device;
  return {};
}
