// The writing side: frame conversion, PNG files, the frame queue, box answers and the progress line
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <thread>

#include "CaptureTestSupport.h"
#include "capture/FrameConvert.h"
#include "capture/FrameQueue.h"
#include "capture/MessageBoxes.h"
#include "capture/PngFile.h"
#include "capture/ProgressBar.h"
#include "support/Scratch.h"

namespace {

// RGBA bottom-up test frame: red = x, green = y counted from the bottom, blue = 7, alpha = 200.
std::vector<uint8_t> GradientFrame(int width, int height) {
  std::vector<uint8_t> rgba;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) rgba.insert(rgba.end(), {uint8_t(x), uint8_t(y), 7, 200});
  return rgba;
}

// BT.601 limited range, from its definition (luma 16..235, chroma 16..240 around 128).
std::array<double, 3> Bt601(double r, double g, double b) {
  const double y = 0.299 * r + 0.587 * g + 0.114 * b;
  return {16 + 219 * y / 255, 128 + 224 * (b - y) / (1.772 * 255), 128 + 224 * (r - y) / (1.402 * 255)};
}

TEST(FrameConvertTest, YuvIsBt601UprightAndStaysInsideOddSizedPlanes) {
  // The colour of the upper two rows and of the bottom row of a 3 x 3 frame.
  const std::array<uint8_t, 6> cases[] = {{0, 0, 0, 0, 0, 0},           {255, 255, 255, 255, 255, 255},
                                          {255, 0, 0, 255, 0, 0},       {0, 255, 0, 0, 255, 0},
                                          {0, 0, 255, 0, 0, 255},       {128, 128, 128, 128, 128, 128},
                                          {200, 120, 40, 200, 120, 40}, {255, 255, 255, 255, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c));
    std::vector<uint8_t> rgba;  // bottom row first
    for (int i = 0; i < 9; ++i)
      rgba.insert(rgba.end(), {c[i < 3 ? 3 : 0], c[i < 3 ? 4 : 1], c[i < 3 ? 5 : 2], 255});
    // Planes of 3 x 3 and 2 x 2, each followed by guard bytes that must stay untouched.
    std::vector<uint8_t> y(9 + 4, 7), u(4 + 4, 7), v(4 + 4, 7);
    capture::ToI420(rgba.data(), 3, 3, {y.data(), u.data(), v.data(), 3, 2});
    const auto top = Bt601(c[0], c[1], c[2]), bottom = Bt601(c[3], c[4], c[5]);
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(y[i], (i < 6 ? top : bottom)[0], 1.0) << i;
    // The chroma of rows 0-1 comes from the top colour; the last row and column pair with themselves.
    for (int i = 0; i < 4; ++i) {
      EXPECT_NEAR(u[i], (i < 2 ? top : bottom)[1], 1.0) << i;
      EXPECT_NEAR(v[i], (i < 2 ? top : bottom)[2], 1.0) << i;
    }
    for (const auto* plane : {&y, &u, &v})
      EXPECT_EQ(std::vector<uint8_t>(plane->end() - 4, plane->end()), std::vector<uint8_t>(4, 7));
  }
}

TEST(FrameConvertTest, RgbIsUprightAndSmallerFramesAreCentredOnBlackLargerOnesCropped) {
  std::vector<uint8_t> rgb(3 * 2 * 3, 99);
  capture::ToRgb(GradientFrame(3, 2).data(), 3, 2, rgb.data());
  // Top row first: green (y from the bottom) is 1 in the first output row; alpha dropped.
  EXPECT_EQ(rgb, (std::vector<uint8_t>{0, 1, 7, 1, 1, 7, 2, 1, 7, 0, 0, 7, 1, 0, 7, 2, 0, 7}));
  std::vector<uint8_t> out(4 * 4 * 4, 99);
  capture::CentreFrame(GradientFrame(2, 2).data(), 2, 2, 4, 4, out.data());
  // Both bottom row first: a black border round the frame, whose bottom-left lands at (1, 1).
  std::vector<uint8_t> centred(4 * 4 * 4, 0);
  for (int i = 0; i < 4; ++i)
    std::copy_n(&GradientFrame(2, 2)[size_t(i) * 4], 4, &centred[size_t((i / 2 + 1) * 4 + i % 2 + 1) * 4]);
  EXPECT_EQ(out, centred);
  std::vector<uint8_t> crop(2 * 2 * 4);
  capture::CentreFrame(GradientFrame(6, 6).data(), 6, 6, 2, 2, crop.data());
  // The middle 2 x 2: x 2..3, y 2..3 from the bottom.
  EXPECT_EQ(crop, (std::vector<uint8_t>{2, 2, 7, 200, 3, 2, 7, 200, 2, 3, 7, 200, 3, 3, 7, 200}));
}

// Names by programme time and repeatability are shown by the tool's own runs.
TEST(PngFileTest, KeepsThePixelsExactlyAndNamesTheFileItCannotWrite) {
  const auto path = (testsupport::ScratchDir() / "a.png").string();
  std::string rgb(37 * 11 * 3, 0), error;
  capture::ToRgb(GradientFrame(37, 11).data(), 37, 11, reinterpret_cast<uint8_t*>(rgb.data()));
  ASSERT_TRUE(capture::WritePng(path, 37, 11, reinterpret_cast<uint8_t*>(rgb.data()), &error));
  EXPECT_EQ(capturetest::DecodeRgb(path), rgb);  // of this size, exactly
  EXPECT_FALSE(
      capture::WritePng("/nonexistent-folder/x.png", 1, 1, reinterpret_cast<uint8_t*>(rgb.data()), &error));
  EXPECT_NE(error.find("/nonexistent-folder/x.png"), std::string::npos);
}

TEST(FrameQueueTest, WritesEveryFrameInOrderAndAFailureStopsTheProducer) {
  for (const int64_t failAt : {int64_t{1000}, int64_t{4}}) {
    SCOPED_TRACE(failAt);
    std::vector<int64_t> seen;
    capture::FrameQueue queue(2, [&](const capture::CapturedFrame& frame) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));  // a writer slower than the producer
      seen.push_back(frame.index * 1000 + frame.rgba[0]);
      return frame.index != failAt;
    });
    int64_t submitted = 0;
    for (capture::CapturedFrame* frame; submitted < 50 && (frame = queue.Acquire()) != nullptr; ++submitted) {
      frame->index = submitted;
      frame->rgba.assign(4, uint8_t(submitted % 7));
      queue.Submit(frame);
    }
    const bool ok = queue.Finish();
    EXPECT_EQ(std::pair(ok, queue.Finish()),
              std::pair(failAt == 1000, ok));           // a second Finish changes nothing
    ASSERT_EQ(seen.size(), failAt == 1000 ? 50u : 5u);  // nothing after the failing frame is written
    // Acquire gives null soon after a failure.
    EXPECT_TRUE(failAt == 1000 ? submitted == 50 : submitted < 50) << submitted;
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], int64_t(i) * 1000 + int64_t(i) % 7);
  }
}

TEST(MessageBoxTest, OkOrYesByDefaultNoOnRequestAndPrintedOnOneLine) {
  // Style bits, the answer wanted, the button: MB_OK | exclamation (an OK box has nothing else),
  // MB_YESNO, MB_YESNOCANCEL, MB_OKCANCEL, MB_RETRYCANCEL (retry would only fail again).
  const std::tuple<unsigned, bool, int> cases[] = {{0x30, false, 1}, {0x30, true, 1},  {0x34, false, 6},
                                                   {0x34, true, 7},  {0x23, false, 6}, {0x01, true, 2},
                                                   {0x05, false, 2}};
  for (const auto& [style, no, button] : cases)
    EXPECT_EQ(capture::AnswerMessageBox(style, no), button) << style << no;
  EXPECT_EQ(capture::FormatMessageBox("ERROR", "Program Will Now Close."),
            "ERROR: Program Will Now Close.\n");
}

TEST(ProgressTest, LineShowsFramesTimeRateAndTimeLeft) {
  const std::pair<std::string, std::vector<const char*>> cases[] = {
      {capture::FormatProgress({600, 1200, 10000, 20.0}, 10),
       {"[#####.....] ", "600/1200 frames", "t  10.000 s", "30.0 fps", "0:20 left"}},
      // More frames than planned (an F1 restart) keeps the bar full, not overflowing.
      {capture::FormatProgress({1300, 1200, 0, 10.0}, 10), {"[##########] ", "0:00 left"}},
      {capture::FormatProgress({0, 10, 0, 0.0}), {"--:-- left"}}};
  for (const auto& [line, parts] : cases)
    for (const char* part : parts) EXPECT_NE(line.find(part), std::string::npos) << line;
}

}  // namespace
