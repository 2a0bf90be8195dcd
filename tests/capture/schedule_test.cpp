// Frame schedule and key script: which frame is drawn and written when, and the keys before it
#include <gtest/gtest.h>

#include "capture/FrameSchedule.h"
#include "capture/KeyScript.h"
#include "capture/VirtualKeys.h"

namespace {

using capture::FrameSchedule;
using capture::KeyScript;

TEST(FrameScheduleTest, FrameTimesAreFlooredMilliseconds) {
  const FrameSchedule at60{60, 0, 185900};
  EXPECT_EQ(at60.TimeOf(0), 0);
  EXPECT_EQ(at60.TimeOf(1), 16);
  EXPECT_EQ(at60.TimeOf(2), 33);
  EXPECT_EQ(at60.TimeOf(3), 50);
  EXPECT_EQ(at60.TimeOf(11153), 185883);
  EXPECT_EQ(at60.EndFrame(), 11154);  // the whole programme: 11154 frames
  EXPECT_EQ(at60.WrittenFrameCount(), 11154);
  const FrameSchedule at7{7, 0, 1000};
  EXPECT_EQ(at7.TimeOf(1), 142);
  EXPECT_EQ(at7.TimeOf(6), 857);
  EXPECT_EQ(at7.EndFrame(), 7);
}

TEST(FrameScheduleTest, FirstFrameAtOrAfterMatchesTheFrameTimes) {
  for (int fps : {1, 7, 24, 25, 30, 60, 144, 1000}) {
    const FrameSchedule s{fps, 0, 0};
    for (int64_t ms = 0; ms < 3000; ++ms) {
      const int64_t k = s.FirstFrameAtOrAfter(ms);
      ASSERT_GE(s.TimeOf(k), ms) << fps << " fps, " << ms << " ms";
      if (k > 0) {
        ASSERT_LT(s.TimeOf(k - 1), ms) << fps << " fps, " << ms << " ms";
      }
    }
  }
}

TEST(FrameScheduleTest, WrittenRangeIsHalfOpen) {
  const FrameSchedule s{10, 75000, 76000};
  EXPECT_EQ(s.FirstWrittenFrame(), 750);
  EXPECT_EQ(s.EndFrame(), 760);
  EXPECT_EQ(s.WrittenFrameCount(), 10);
  EXPECT_FALSE(s.IsWritten(749));
  EXPECT_TRUE(s.IsWritten(750));
  EXPECT_TRUE(s.IsWritten(759));
  EXPECT_FALSE(s.IsWritten(760));
  // A range between two frames writes nothing.
  EXPECT_EQ((FrameSchedule{10, 101, 199}.WrittenFrameCount()), 0);
  // Frames straddling: at 60 fps 16 ms is frame 1, 17 ms rounds up to frame 2 (33 ms).
  const FrameSchedule odd{60, 17, 34};
  EXPECT_EQ(odd.FirstWrittenFrame(), 2);
  EXPECT_EQ(odd.EndFrame(), 3);
}

TEST(VirtualKeysTest, NamesAndAliases) {
  EXPECT_EQ(capture::FindVirtualKey("P"), 0x50);
  EXPECT_EQ(capture::FindVirtualKey("p"), 0x50);
  EXPECT_EQ(capture::FindVirtualKey("7"), 0x37);
  EXPECT_EQ(capture::FindVirtualKey("F1"), 0x70);
  EXPECT_EQ(capture::FindVirtualKey("f24"), 0x87);
  EXPECT_EQ(capture::FindVirtualKey("F25"), -1);
  EXPECT_EQ(capture::FindVirtualKey("F0"), -1);
  EXPECT_EQ(capture::FindVirtualKey("ESCAPE"), 0x1B);
  EXPECT_EQ(capture::FindVirtualKey("VK_ESCAPE"), 0x1B);
  EXPECT_EQ(capture::FindVirtualKey("esc"), 0x1B);
  EXPECT_EQ(capture::FindVirtualKey("LEFT"), 0x25);
  EXPECT_EQ(capture::FindVirtualKey("Down"), 0x28);
  EXPECT_EQ(capture::FindVirtualKey("INSERT"), 0x2D);
  EXPECT_EQ(capture::FindVirtualKey("DELETE"), 0x2E);
  EXPECT_EQ(capture::FindVirtualKey("NUMPAD9"), 0x69);
  EXPECT_EQ(capture::FindVirtualKey("NUMPAD10"), -1);
  EXPECT_EQ(capture::FindVirtualKey("MENU"), 0x12);
  EXPECT_EQ(capture::FindVirtualKey(""), -1);
  EXPECT_EQ(capture::FindVirtualKey("VK_"), -1);
  EXPECT_EQ(capture::FindVirtualKey("PP"), -1);
}

TEST(KeyScriptTest, ParsesNamesAndCodes) {
  std::vector<capture::KeyPress> presses;
  std::string error;
  ASSERT_TRUE(capture::ParseKeyList("80000:P,100:0x70,5:80,0:5,7:LEFT", &presses, &error)) << error;
  ASSERT_EQ(presses.size(), 5u);
  EXPECT_EQ(presses[0].timeMs, 80000);
  EXPECT_EQ(presses[0].code, 'P');
  EXPECT_EQ(presses[1].code, 0x70);
  EXPECT_EQ(presses[2].code, 80);   // two or more digits: a code
  EXPECT_EQ(presses[3].code, '5');  // one digit: the digit key
  EXPECT_EQ(presses[4].code, 0x25);
  // A bad entry anywhere adds nothing and names the entry.
  EXPECT_FALSE(capture::ParseKeyList("1:P,2:ZZ", &presses, &error));
  EXPECT_NE(error.find("2:ZZ"), std::string::npos);
  EXPECT_EQ(presses.size(), 5u);
}

TEST(KeyScriptTest, DownBeforeTheFirstFrameAtOrAfterUpBeforeTheNext) {
  const FrameSchedule s{10, 0, 185900};  // frames every 100 ms
  const KeyScript script({{250, 'P'}, {300, 'I'}, {0, 0x1B}}, s);
  const auto before0 = script.MessagesBefore(0);
  ASSERT_EQ(before0.size(), 1u);
  EXPECT_EQ(before0[0].message, capture::kWmKeyDown);
  EXPECT_EQ(before0[0].wParam, 0x1Bu);
  const auto before1 = script.MessagesBefore(1);
  ASSERT_EQ(before1.size(), 1u);
  EXPECT_EQ(before1[0].message, capture::kWmKeyUp);
  EXPECT_EQ(before1[0].lParam & (intptr_t{1} << 31), intptr_t{1} << 31);  // transition bit of a key-up
  EXPECT_TRUE(script.MessagesBefore(2).empty());
  // 250 and 300 both land on frame 3 (300 ms): both down together, both up before frame 4.
  const auto before3 = script.MessagesBefore(3);
  ASSERT_EQ(before3.size(), 2u);
  EXPECT_EQ(before3[0].wParam, static_cast<uintptr_t>('P'));
  EXPECT_EQ(before3[1].wParam, static_cast<uintptr_t>('I'));
  EXPECT_EQ(before3[0].message, capture::kWmKeyDown);
  const auto before4 = script.MessagesBefore(4);
  ASSERT_EQ(before4.size(), 2u);
  EXPECT_EQ(before4[0].message, capture::kWmKeyUp);
  EXPECT_EQ(before4[1].message, capture::kWmKeyUp);
  EXPECT_TRUE(script.MessagesBefore(5).empty());
}

TEST(KeyScriptTest, BackToBackPressesComeUpBeforeGoingDownAgain) {
  const FrameSchedule s{60, 0, 185900};
  const KeyScript script({{16, 'P'}, {17, 'P'}}, s);  // frames 1 (16 ms) and 2 (33 ms)
  const auto before2 = script.MessagesBefore(2);
  ASSERT_EQ(before2.size(), 2u);
  EXPECT_EQ(before2[0].message, capture::kWmKeyUp);
  EXPECT_EQ(before2[1].message, capture::kWmKeyDown);
}

TEST(KeyScriptTest, F10AndAltAreSystemKeys) {
  const FrameSchedule s{10, 0, 185900};
  const KeyScript script({{0, 0x79}, {0, 0x12}, {0, 'A'}}, s);
  const auto down = script.MessagesBefore(0);
  ASSERT_EQ(down.size(), 3u);
  EXPECT_EQ(down[0].message, capture::kWmSysKeyDown);
  EXPECT_EQ(down[1].message, capture::kWmSysKeyDown);
  EXPECT_EQ(down[2].message, capture::kWmKeyDown);
  const auto up = script.MessagesBefore(1);
  EXPECT_EQ(up[0].message, capture::kWmSysKeyUp);
  EXPECT_EQ(up[2].message, capture::kWmKeyUp);
}

}  // namespace
