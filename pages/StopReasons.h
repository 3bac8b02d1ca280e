// The reasons the page commands give when they end without showing a page.
#pragma once

#include <string>

std::wstring NotRunningReason(const std::wstring& appName);
std::wstring NoDrawingReason(const std::wstring& appName);
// The target's ProgID is registered by no program on this computer.
std::wstring UnregisteredReason(const std::wstring& appName, const std::wstring& progId);
// Get selected nothing: on the layer, nor among the frame blocks when a
// block pattern is set.
std::wstring NothingSelectedReason(const std::wstring& layer, const std::wstring& blockPattern);
// Get selected entities on the layer, none of them a frame.
std::wstring NoFrameAmongReason(const std::wstring& layer);
std::wstring CentreOnNoPageReason();
// Get showed a page, leaving out references it could not read.
std::wstring UnreadReferencesReason(int count);
std::wstring NoPagesReason();
