// The page address of the browser build: plain play, test and timing runs, and refusals.
#include <gtest/gtest.h>

#include "platform/web/WebOptions.h"

using namespace platform;

TEST(WebOptionsTest, PlayTestAndTimingRuns) {
  for (const char* query : {"", "?", "?&"}) {
    const auto [ok, o, error] = ParseWebOptions(query);
    EXPECT_EQ(std::tuple(ok, o.mode, o.width, o.height, o.times.size(), o.toEnd),
              std::tuple(true, WebMode::kPlay, 1024, 768, size_t{0}, false));
  }
  EXPECT_EQ(ParseWebOptions("timing").options.mode, WebMode::kTiming);
  // A test run takes its settings in any order; keys come in time order, in their order within a time.
  const auto [ok, o, error] = ParseWebOptions(
      "?times=0,200,185899&size=320x240&test&end&fps=5&keys=3000:KeyI,1000:F1,3000:ArrowLeft");
  EXPECT_EQ(std::tuple(ok, o.mode, o.fps, o.width, o.height, o.toEnd),
            std::tuple(true, WebMode::kTest, 5, 320, 240, true))
      << error;
  EXPECT_EQ(o.times, (std::vector<uint32_t>{0, 200, 185899}));
  std::string keys;
  for (const ScriptedKey& key : o.keys) keys += std::to_string(key.timeMs) + ":" + key.code + " ";
  EXPECT_EQ(keys, "1000:F1 3000:KeyI 3000:ArrowLeft ");
}

TEST(WebOptionsTest, MistakesAreRefusedWithTheReason) {
  // A test run's refused parameter is quoted; the other refusals say why.
  // clang-format off
  const char* const quoted[] = {
      "end=1", "keys=100", "keys=100:KeyI,", "keys=100:Volume", "keys=x:F1", "times=100,100", "times=200,100",
      "times=185900", "times=1,", "times=-5", "fps=0", "fps=1001", "fps=5x", "size=320", "size=0x240",
      "size=320x4097", "volume=11"};
  std::vector<std::pair<std::string, std::string>> cases = {
      {"?test", "needs \"times\""}, {"?times=100", "belong to a test run"},
      {"?keys=100:F1", "belong to a test run"}, {"?timing&end", "belong to a test run"},
      {"?test&timing&times=1", "exclude each other"}, {"?test=1&times=1", "take no value"},
      {"?fps=5&fps=6", "given twice"}};
  // clang-format on
  for (std::string p : quoted) cases.emplace_back("?test&" + p + "&times=1", p);
  for (const auto& [query, reason] : cases) {
    const auto [ok, o, error] = ParseWebOptions(query);
    EXPECT_TRUE(!ok && error.find(reason) != std::string::npos) << query << ": " << error;
  }
}
