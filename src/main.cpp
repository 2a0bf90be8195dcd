// landscape: the demo
#include "director/Demo.h"
#include "platform/SdlPlatform.h"
#include "shell/MainLoop.h"

// No arguments; reads its data below the working directory.

int main() {
  platform::SdlPlatform platform;
  Demo demo(platform);
  return RunLandscape(demo);
}
