// Platform: the backend-independent part of the message queue.
#include "platform/Platform.h"

namespace platform {

bool Platform::PeekMessage(Message& message) {
  PumpEvents();
  if (!queue_.empty()) {
    message = queue_.front();
    queue_.pop_front();
    return true;
  }
  if (quitPosted_) {
    quitPosted_ = false;
    message = Message{0, WM_QUIT, static_cast<uintptr_t>(quitCode_), 0};
    return true;
  }
  return false;
}

void Platform::PostQuitMessage(int exitCode) {
  quitPosted_ = true;
  quitCode_ = exitCode;
}

intptr_t Platform::DefWindowProc(const Message& message) {
  if (message.message == WM_SYSKEYDOWN && message.wParam == VK_F4 && (message.lParam & KF_ALTDOWN_BIT) != 0) {
    PostMessage({message.window, WM_SYSCOMMAND, SC_CLOSE, 0});
  } else if (message.message == WM_SYSCOMMAND && (message.wParam & 0xFFF0) == SC_CLOSE) {
    PostMessage({message.window, WM_CLOSE, 0, 0});
  }
  return 0;
}

}  // namespace platform
