// The page address of the browser build: plain play, test and timing runs, and refusals.
#include <gtest/gtest.h>

#include "platform/web/WebOptions.h"

namespace {

using platform::ParseWebOptions;
using platform::WebMode;

TEST(WebOptionsTest, NoQueryIsPlayAtTheFirstWindowSize) {
  for (const char* query : {"", "?", "?&"}) {
    SCOPED_TRACE(query);
    const auto parsed = ParseWebOptions(query);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.options.mode, WebMode::kPlay);
    EXPECT_EQ(parsed.options.width, 1024);
    EXPECT_EQ(parsed.options.height, 768);
    EXPECT_TRUE(parsed.options.times.empty());
    EXPECT_FALSE(parsed.options.toEnd);
  }
}

TEST(WebOptionsTest, TestRunTakesRateSizeAndTimesInAnyOrder) {
  const auto parsed = ParseWebOptions("?times=0,200,185899&size=320x240&test&end&fps=5");
  ASSERT_TRUE(parsed.ok) << parsed.error;
  EXPECT_EQ(parsed.options.mode, WebMode::kTest);
  EXPECT_EQ(parsed.options.fps, 5);
  EXPECT_EQ(parsed.options.width, 320);
  EXPECT_EQ(parsed.options.height, 240);
  EXPECT_EQ(parsed.options.times, (std::vector<uint32_t>{0, 200, 185899}));
  EXPECT_TRUE(parsed.options.toEnd);
}

TEST(WebOptionsTest, ScriptedKeysComeInTimeOrderKeepingTheirOrderWithinATime) {
  const auto parsed = ParseWebOptions("?test&times=5000&keys=3000:KeyI,1000:F1,3000:ArrowLeft");
  ASSERT_TRUE(parsed.ok) << parsed.error;
  const auto& keys = parsed.options.keys;
  ASSERT_EQ(keys.size(), 3u);
  EXPECT_EQ(keys[0].timeMs, 1000u);
  EXPECT_EQ(keys[0].code, "F1");
  EXPECT_EQ(keys[1].code, "KeyI");
  EXPECT_EQ(keys[2].code, "ArrowLeft");
  EXPECT_EQ(keys[2].timeMs, 3000u);
}

TEST(WebOptionsTest, TimingRunNeedsNothingElse) {
  const auto parsed = ParseWebOptions("timing");
  ASSERT_TRUE(parsed.ok) << parsed.error;
  EXPECT_EQ(parsed.options.mode, WebMode::kTiming);
}

TEST(WebOptionsTest, MistakesAreRefusedWithTheReason) {
  const struct {
    const char* query;
    const char* reason;
  } cases[] = {
      {"?test", "needs \"times\""},
      {"?times=100", "belong to a test run"},
      {"?keys=100:F1", "belong to a test run"},
      {"?timing&end", "belong to a test run"},
      {"?test&times=1&end=1", "end=1"},
      {"?test&times=1&keys=100", "keys=100"},
      {"?test&times=1&keys=100:KeyI,", "keys=100:KeyI,"},
      {"?test&times=1&keys=100:Volume", "keys=100:Volume"},
      {"?test&times=1&keys=x:F1", "keys=x:F1"},
      {"?test&timing&times=1", "exclude each other"},
      {"?test=1&times=1", "take no value"},
      {"?test&times=100,100", "times=100,100"},
      {"?test&times=200,100", "times=200,100"},
      {"?test&times=185900", "times=185900"},
      {"?test&times=1,", "times=1,"},
      {"?test&times=-5", "times=-5"},
      {"?test&times=1&fps=0", "fps=0"},
      {"?test&times=1&fps=1001", "fps=1001"},
      {"?test&times=1&fps=5x", "fps=5x"},
      {"?size=320", "size=320"},
      {"?size=0x240", "size=0x240"},
      {"?size=320x4097", "size=320x4097"},
      {"?fps=5&fps=6", "given twice"},
      {"?volume=11", "volume=11"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.query);
    const auto parsed = ParseWebOptions(c.query);
    EXPECT_FALSE(parsed.ok);
    EXPECT_NE(parsed.error.find(c.reason), std::string::npos) << parsed.error;
  }
}

}  // namespace
