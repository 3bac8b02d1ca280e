#include "win/MessageLoop.h"

bool PumpMessage(MSG& quit, WindowAccelerators accelerators) {
  MSG message;
  const BOOL got = GetMessageW(&message, nullptr, 0, 0);
  if (got == 0 || got == -1) {
    quit = message;
    if (got == -1) quit.wParam = 1;
    return false;
  }
  if (accelerators.table && (message.hwnd == accelerators.window || IsChild(accelerators.window, message.hwnd)) &&
      TranslateAcceleratorW(accelerators.window, accelerators.table, &message))
    return true;
  HWND active = GetActiveWindow();
  if (active && IsDialogMessageW(active, &message)) return true;
  TranslateMessage(&message);
  DispatchMessageW(&message);
  return true;
}

int RunMessageLoop(WindowAccelerators accelerators) {
  MSG quit{};
  while (PumpMessage(quit, accelerators)) {
  }
  return static_cast<int>(quit.wParam);
}
