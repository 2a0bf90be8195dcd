// Demo: construction of the program-wide objects.
#include "director/Demo.h"

Demo::Demo(platform::Platform& platformIn) : platform(platformIn), music(platformIn.Sound()) {}

ShowMessageBox Demo::MessageBoxes() {
  return [this](const std::string& text, const std::string& caption, unsigned flags, BoxOwner owner) {
    const platform::WindowHandle window = owner == BoxOwner::kMainWindow ? shell.MainWindow : 0;
    return platform.MessageBox(window, text, caption, flags);
  };
}
