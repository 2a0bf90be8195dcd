// The capture tool's command line (defaults, both spellings, help, refusals), frame schedule and key script
#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <sstream>

#include "capture/CaptureOptions.h"
#include "capture/FrameSchedule.h"
#include "capture/KeyScript.h"
#include "capture/VirtualKeys.h"

namespace {

using capture::FrameSchedule;
using capture::KeyScript;
using capture::ParseCaptureOptions;

TEST(CaptureOptionsTest, DefaultsEveryOptionInBothSpellingsAndHelp) {
  const auto defaults = ParseCaptureOptions({});
  ASSERT_TRUE(defaults.ok) << defaults.error;
  const auto& d = defaults.options;
  EXPECT_EQ(std::tuple(d.fps, d.width, d.height, d.fromMs, d.toMs, d.crf, d.answerNo, d.quiet),
            std::tuple(60, 1024, 768, 0, 185900, capture::kDefaultCrf, false, false));
  const auto parsed = ParseCaptureOptions({"--fps", "25", "--size=640x480", "--from", "75000", "--to=76000",
                                           "--png", "out dir", "--video=v.mp4", "--crf", "30", "--keys",
                                           "80000:P,81000:F1", "--keys=0:0x50", "--answer", "no", "--quiet"});
  ASSERT_TRUE(parsed.ok) << parsed.error;
  const auto& o = parsed.options;
  EXPECT_EQ(std::tuple(o.fps, o.width, o.height, o.fromMs, o.toMs, o.pngDir, o.videoFile, o.crf, o.answerNo,
                       o.quiet),
            std::tuple(25, 640, 480, 75000, 76000, "out dir", "v.mp4", 30, true, true));
  ASSERT_EQ(o.keys.size(), 3u);  // --keys given twice adds up
  EXPECT_EQ(std::tuple(o.keys[0].timeMs, o.keys[0].code, o.keys[1].code, o.keys[2].timeMs),
            std::tuple(80000, 0x50, 0x70, 0));
  // Odd sizes are fine for pictures (only the video's chroma planes need even ones).
  EXPECT_TRUE(ParseCaptureOptions({"--png", "out", "--size", "161x121"}).ok);
  // --help wins over anything after it, and the usage names every option.
  const auto help = ParseCaptureOptions({"--fps", "30", "--help", "--bogus"});
  EXPECT_TRUE(help.ok && help.options.help);
  for (const char* name :
       {"--fps", "--size", "--from", "--to", "--png", "--video", "--crf", "--keys", "--answer", "--quiet"})
    EXPECT_NE(capture::CaptureUsage().find(name), std::string::npos) << name;
}

TEST(CaptureOptionsTest, BadInputIsRefusedWithAReason) {
  // One refused command line each, separated by semicolons.
  std::istringstream lines(
      "--fps 0;--fps 1001;--fps 60x;--fps;--size 1024;--size 0x768;--size 1024x768x2;--size 99999x10;"
      "--from -1;--to abc;--from 500 --to 500;--from 9000000000;--png=;--crf 52;--crf -1;--crf 23.5;"
      "--keys 80000;--keys x:P;--keys 100:NOPE;--keys 100:0x100;--keys 100:P,;--answer maybe;--bogus;stray;"
      "--video v.mp4 --size 641x480");
  for (std::string line; std::getline(lines, line, ';');) {
    std::istringstream words(line);
    const auto parsed = ParseCaptureOptions({std::istream_iterator<std::string>(words), {}});
    EXPECT_FALSE(parsed.ok) << line;
    EXPECT_FALSE(parsed.error.empty()) << line;
  }
}

TEST(FrameScheduleTest, FrameTimesAreFlooredMillisecondsAndTheWrittenRangeHalfOpen) {
  // The schedule, a frame and its time, the first frame written and the end of the written range.
  const std::tuple<FrameSchedule, int64_t, int64_t, int64_t, int64_t> cases[] = {
      {{60, 0, 185900}, 1, 16, 0, 11154},  // the whole programme: 11154 frames
      {{60, 0, 185900}, 3, 50, 0, 11154}, {{60, 0, 185900}, 11153, 185883, 0, 11154},
      {{7, 0, 1000}, 6, 857, 0, 7},       {{10, 75000, 76000}, 750, 75000, 750, 760},
      {{10, 101, 199}, 1, 100, 2, 2},  // a range between two frames writes nothing
      {{60, 17, 34}, 2, 33, 2, 3},     // 17 ms rounds up to the frame at 33 ms
  };
  for (const auto& [s, frame, timeMs, firstWritten, end] : cases) {
    SCOPED_TRACE(testing::Message() << s.fps << " fps, " << s.fromMs << " to " << s.toMs);
    EXPECT_EQ(s.TimeOf(frame), timeMs);
    EXPECT_EQ(std::tuple(s.FirstWrittenFrame(), s.EndFrame(), s.WrittenFrameCount()),
              std::tuple(firstWritten, end, end - firstWritten));
    for (int64_t k : {firstWritten - 1, firstWritten, end - 1, end})
      EXPECT_EQ(s.IsWritten(k), k >= firstWritten && k < end) << k;
  }
  for (int fps : {1, 7, 24, 25, 30, 60, 144, 1000}) {
    const FrameSchedule s{fps, 0, 0};
    for (int64_t ms = 0; ms < 3000; ++ms) {
      const int64_t k = s.FirstFrameAtOrAfter(ms);
      ASSERT_TRUE(s.TimeOf(k) >= ms && (k == 0 || s.TimeOf(k - 1) < ms)) << fps << " fps, " << ms << " ms";
    }
  }
}

TEST(VirtualKeysTest, NamesAndAliases) {
  const std::pair<const char*, int> cases[] = {
      {"P", 0x50},      {"p", 0x50},    {"7", 0x37},      {"F1", 0x70},        {"f24", 0x87},
      {"F25", -1},      {"F0", -1},     {"ESCAPE", 0x1B}, {"VK_ESCAPE", 0x1B}, {"esc", 0x1B},
      {"LEFT", 0x25},   {"Down", 0x28}, {"INSERT", 0x2D}, {"DELETE", 0x2E},    {"NUMPAD9", 0x69},
      {"NUMPAD10", -1}, {"MENU", 0x12}, {"", -1},         {"VK_", -1},         {"PP", -1}};
  for (const auto& [name, code] : cases) EXPECT_EQ(capture::FindVirtualKey(name), code) << name;
}

// The messages sent before a frame, as "down:80 up:80'" (' marks a key-up's transition bit).
std::string Messages(const KeyScript& script, int64_t frame) {
  std::string out;
  for (const auto& m : script.MessagesBefore(frame)) {
    const std::map<uint32_t, std::string> names = {{capture::kWmKeyDown, "down"},
                                                   {capture::kWmKeyUp, "up"},
                                                   {capture::kWmSysKeyDown, "sysdown"},
                                                   {capture::kWmSysKeyUp, "sysup"}};
    out += std::string(out.empty() ? "" : " ") + names.at(m.message) + ":" + std::to_string(m.wParam) +
           (m.lParam & (intptr_t{1} << 31) ? "'" : "");
  }
  return out;
}

TEST(KeyScriptTest, ListedKeysGoDownBeforeTheFirstFrameAtOrAfterTheirTimeAndUpBeforeTheNext) {
  // Frames per second, the key list, and the messages before frames 0, 1, ...
  const std::tuple<int, const char*, std::vector<std::string>> cases[] = {
      // At 10 fps 250 and 300 ms both land on frame 3: down together, up together.
      {10, "250:P,300:I,0:ESC", {"down:27", "up:27'", "", "down:80 down:73", "up:80' up:73'", ""}},
      // Frames 1 (16 ms) and 2 (33 ms): the key comes up before it goes down again.
      {60, "16:P,17:P", {"", "down:80", "up:80' down:80", "up:80'"}},
      // F10 and Alt are system keys. One digit is the digit key, more digits (or hex) a code.
      {10,
       "0:F10,0:MENU,0:A,0:5,0:80,0:0x25",
       {"sysdown:121 sysdown:18 down:65 down:53 down:80 down:37",
        "sysup:121' sysup:18' up:65' up:53' up:80' up:37'"}},
  };
  for (const auto& [fps, list, beforeFrame] : cases) {
    std::vector<capture::KeyPress> presses;
    std::string error;
    ASSERT_TRUE(capture::ParseKeyList(list, &presses, &error)) << error;
    const KeyScript script(presses, FrameSchedule{fps, 0, 185900});
    for (size_t k = 0; k < beforeFrame.size(); ++k)
      EXPECT_EQ(Messages(script, int64_t(k)), beforeFrame[k]) << list << ", frame " << k;
  }
  // A bad entry anywhere adds nothing and names the entry.
  std::vector<capture::KeyPress> presses;
  std::string error;
  EXPECT_FALSE(capture::ParseKeyList("1:P,2:ZZ", &presses, &error));
  EXPECT_TRUE(presses.empty() && error.find("2:ZZ") != std::string::npos) << error;
}

}  // namespace
