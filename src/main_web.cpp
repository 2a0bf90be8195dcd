// landscape (browser build): the demo in a page
//
// The page's address may ask for a test or timing run; the demo itself runs as natively, on the web platform.
#include "director/Demo.h"
#include "platform/web/WebPlatform.h"
#include "shell/MainLoop.h"

int main() {
  const platform::ParsedWebOptions parsed = platform::ParseWebOptions(platform::PageQuery());
  if (!parsed.ok) {
    platform::ShowPageProblem("This address asks for something the demo does not know: " + parsed.error +
                              ".");
    return 1;
  }
  platform::WebPlatform platform(parsed.options);
  int exitCode = 0;
  {
    // The demo goes first, so the music has stopped when the closing screen shows.
    Demo demo(platform);
    exitCode = RunLandscape(demo, {parsed.options.width, parsed.options.height});
  }
  platform.Finish(exitCode);
  return exitCode;
}
