// Command line of the capture tool: defaults, every option, and the refusals.
#include <gtest/gtest.h>

#include "capture/CaptureOptions.h"

namespace {

using capture::ParseCaptureOptions;

TEST(CaptureOptionsTest, DefaultsRenderTheWholeProgrammeAt60FpsAndXga) {
  const auto parsed = ParseCaptureOptions({});
  ASSERT_TRUE(parsed.ok) << parsed.error;
  const auto& o = parsed.options;
  EXPECT_EQ(o.fps, 60);
  EXPECT_EQ(o.width, 1024);
  EXPECT_EQ(o.height, 768);
  EXPECT_EQ(o.fromMs, 0);
  EXPECT_EQ(o.toMs, 185900);
  EXPECT_TRUE(o.pngDir.empty());
  EXPECT_TRUE(o.videoFile.empty());
  EXPECT_EQ(o.crf, capture::kDefaultCrf);
  EXPECT_FALSE(o.answerNo);
  EXPECT_FALSE(o.quiet);
  EXPECT_EQ(o.Schedule().EndFrame(), 11154);
}

TEST(CaptureOptionsTest, EveryOptionInBothSpellings) {
  const auto parsed = ParseCaptureOptions({"--fps", "25", "--size=640x480", "--from", "75000", "--to=76000",
                                           "--png", "out dir", "--video=v.mp4", "--crf", "30", "--keys",
                                           "80000:P,81000:F1", "--keys=0:0x50", "--answer", "no", "--quiet"});
  ASSERT_TRUE(parsed.ok) << parsed.error;
  const auto& o = parsed.options;
  EXPECT_EQ(o.fps, 25);
  EXPECT_EQ(o.width, 640);
  EXPECT_EQ(o.height, 480);
  EXPECT_EQ(o.fromMs, 75000);
  EXPECT_EQ(o.toMs, 76000);
  EXPECT_EQ(o.pngDir, "out dir");
  EXPECT_EQ(o.videoFile, "v.mp4");
  EXPECT_EQ(o.crf, 30);
  ASSERT_EQ(o.keys.size(), 3u);  // --keys given twice adds up
  EXPECT_EQ(o.keys[0].timeMs, 80000);
  EXPECT_EQ(o.keys[0].code, 0x50);
  EXPECT_EQ(o.keys[1].code, 0x70);
  EXPECT_EQ(o.keys[2].timeMs, 0);
  EXPECT_TRUE(o.answerNo);
  EXPECT_TRUE(o.quiet);
}

TEST(CaptureOptionsTest, HelpWinsAndTheUsageNamesEveryOption) {
  const auto parsed = ParseCaptureOptions({"--fps", "30", "--help", "--bogus"});
  ASSERT_TRUE(parsed.ok);
  EXPECT_TRUE(parsed.options.help);
  const std::string usage = capture::CaptureUsage();
  for (const char* name :
       {"--fps", "--size", "--from", "--to", "--png", "--video", "--crf", "--keys", "--answer", "--quiet"}) {
    EXPECT_NE(usage.find(name), std::string::npos) << name;
  }
}

TEST(CaptureOptionsTest, BadInputIsRefusedWithAReason) {
  const std::vector<std::vector<std::string>> bad = {
      {"--fps", "0"},
      {"--fps", "1001"},
      {"--fps", "60x"},
      {"--fps"},
      {"--size", "1024"},
      {"--size", "0x768"},
      {"--size", "1024x768x2"},
      {"--size", "99999x10"},
      {"--from", "-1"},
      {"--to", "abc"},
      {"--from", "500", "--to", "500"},
      {"--from", "9000000000"},
      {"--png", ""},
      {"--crf", "52"},
      {"--crf", "-1"},
      {"--crf", "23.5"},
      {"--keys", "80000"},
      {"--keys", "x:P"},
      {"--keys", "100:NOPE"},
      {"--keys", "100:0x100"},
      {"--keys", "100:P,"},
      {"--answer", "maybe"},
      {"--bogus"},
      {"stray"},
      {"--video", "v.mp4", "--size", "641x480"},
  };
  for (const auto& args : bad) {
    const auto parsed = ParseCaptureOptions(args);
    EXPECT_FALSE(parsed.ok) << args[0] << " " << (args.size() > 1 ? args[1] : "");
    EXPECT_FALSE(parsed.error.empty());
  }
}

TEST(CaptureOptionsTest, OddSizesAreFineForPictures) {
  const auto parsed = ParseCaptureOptions({"--png", "out", "--size", "161x121"});
  ASSERT_TRUE(parsed.ok) << parsed.error;
  EXPECT_EQ(parsed.options.width, 161);
}

}  // namespace
