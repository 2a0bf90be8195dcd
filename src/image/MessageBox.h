// MessageBox: how code below the shell shows message boxes without knowing the window system.
#pragma once

#include <functional>
#include <string>

// Who owns a box: no window at all, or the demo's main window.
enum class BoxOwner { kNone, kMainWindow };

// Win32 flag value for a box with a single OK button.
inline constexpr unsigned kMessageBoxOk = 0x0;

// Shows a modal box and returns the Win32 answer code. An empty function shows nothing. The director
// hands in one that reaches the platform's boxes; tests hand in one that records.
using ShowMessageBox =
    std::function<int(const std::string& text, const std::string& caption, unsigned flags, BoxOwner owner)>;

inline void ShowBox(const ShowMessageBox& show, const std::string& text, const std::string& caption,
                    BoxOwner owner) {
  if (show) show(text, caption, kMessageBoxOk, owner);
}
