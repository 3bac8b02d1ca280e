#include "win/MessageLoop.h"

bool PumpMessage(MSG& quit) {
  MSG message;
  const BOOL got = GetMessageW(&message, nullptr, 0, 0);
  if (got == 0 || got == -1) {
    quit = message;
    if (got == -1) quit.wParam = 1;
    return false;
  }
  HWND active = GetActiveWindow();
  if (active && IsDialogMessageW(active, &message)) return true;
  TranslateMessage(&message);
  DispatchMessageW(&message);
  return true;
}

int RunMessageLoop() {
  MSG quit{};
  while (PumpMessage(quit)) {
  }
  return static_cast<int>(quit.wParam);
}
