// The capture tool's command line: defaults, every option in both spellings, and the refusals
#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

#include "capture/CaptureOptions.h"

namespace {

using capture::ParseCaptureOptions;

TEST(CaptureOptionsTest, DefaultsAndEveryOptionInBothSpellings) {
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
  EXPECT_EQ(std::tuple(o.fps, o.width, o.height, o.fromMs, o.toMs, o.pngDir, o.videoFile, o.crf),
            std::tuple(25, 640, 480, 75000, 76000, "out dir", "v.mp4", 30));
  EXPECT_TRUE(o.answerNo && o.quiet);
  ASSERT_EQ(o.keys.size(), 3u);  // --keys given twice adds up
  EXPECT_EQ(std::tuple(o.keys[0].timeMs, o.keys[0].code, o.keys[1].code, o.keys[2].timeMs),
            std::tuple(80000, 0x50, 0x70, 0));
  // Odd sizes are fine for pictures (only the video's chroma planes need even ones).
  EXPECT_TRUE(ParseCaptureOptions({"--png", "out", "--size", "161x121"}).ok);
}

TEST(CaptureOptionsTest, HelpWinsAndTheUsageNamesEveryOption) {
  const auto parsed = ParseCaptureOptions({"--fps", "30", "--help", "--bogus"});
  EXPECT_TRUE(parsed.ok && parsed.options.help);
  for (const char* name :
       {"--fps", "--size", "--from", "--to", "--png", "--video", "--crf", "--keys", "--answer", "--quiet"}) {
    EXPECT_NE(capture::CaptureUsage().find(name), std::string::npos) << name;
  }
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

}  // namespace
