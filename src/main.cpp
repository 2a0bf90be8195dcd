// landscape: the demo. No arguments; reads its data below the working directory.
// Depends on: platform/SdlPlatform.h, director/Demo.h, shell/MainLoop.h.
#include "director/Demo.h"
#include "platform/SdlPlatform.h"
#include "shell/MainLoop.h"

int main() {
  platform::SdlPlatform platform;
  Demo demo(platform);
  return RunLandscape(demo);
}
