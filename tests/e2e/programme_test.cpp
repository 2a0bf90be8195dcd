// The whole programme, start to end, on the generated data at 5 frames per second.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "E2E.h"

using namespace platform;
using e2e::DemoRun;
using e2e::Frame;

namespace {

struct SceneFigures {
  int frames = 0;
  int32_t first = -1, last = -1;
  double minLit = 1.0, maxLit = 0.0, meanLit = 0.0, meanWhite = 0.0, meanGrey = 0.0;
  double red = 0.0, green = 0.0, blue = 0.0;
  std::set<uint64_t> pictures;  // distinct frames
};

std::map<Scene, SceneFigures> Figures(const std::vector<Frame>& frames) {
  std::map<Scene, SceneFigures> figures;
  for (const Frame& f : frames) {
    SceneFigures& s = figures[f.scene];
    if (s.frames++ == 0) s.first = f.t;
    s.last = f.t;
    s.minLit = std::min(s.minLit, f.lit);
    s.maxLit = std::max(s.maxLit, f.lit);
    s.meanLit += f.lit;
    s.meanWhite += f.white;
    s.meanGrey += f.grey;
    s.red += f.red, s.green += f.green, s.blue += f.blue;
    s.pictures.insert(f.hash);
  }
  for (auto& [scene, s] : figures) {
    s.meanLit /= s.frames;
    s.meanWhite /= s.frames;
    s.meanGrey /= s.frames;
    s.red /= s.frames, s.green /= s.frames, s.blue /= s.frames;
  }
  return figures;
}

TEST(Programme, RunsEverySceneInItsWindowAndEndsAt185900) {
  const auto dir = e2e::CopyRunFolder();
  e2e::WorkingDirectory cwd(dir);
  DemoRun run;
  bool secondImageFromSwitch = true;
  bool musicPlayedThroughout = true;
  run.afterPresent = [&](const Frame& f) {
    const TimelineState& timeline = run.demo->timeline;
    const unsigned expected = f.t >= 102000 ? timeline.tunnelImage2 : timeline.tunnelImage1;
    if (timeline.tunnelTextureSlot != expected) secondImageFromSwitch = false;
    if (run.os.Sound().PlayingChannels() != 1) musicPlayedThroughout = false;
  };
  EXPECT_EQ(run.Run(), 0);

  // With every file in place the demo shows no box at all.
  EXPECT_TRUE(run.os.MessageBoxes().empty()) << ::testing::PrintToString(run.BoxLines());
  // 930 frames at 0, 200, ..., 185800 were presented; the one at 185900 was drawn, not shown.
  ASSERT_EQ(run.frames.size(), 930u);
  EXPECT_EQ(run.frames.back().t, 185800);
  EXPECT_EQ(run.os.FramesPresented(), 930u);
  EXPECT_TRUE(run.demo->shell.KeyDown[VK_ESCAPE]);
  EXPECT_NE(run.demo->timeline.tunnelImage1, run.demo->timeline.tunnelImage2);
  EXPECT_TRUE(secondImageFromSwitch);
  EXPECT_TRUE(musicPlayedThroughout);

  // Scenes follow each other in the order of the programme, each in its window.
  std::vector<Scene> order;
  for (const Frame& f : run.frames) {
    if (order.empty() || order.back() != f.scene) order.push_back(f.scene);
  }
  EXPECT_EQ(order, (std::vector<Scene>{Scene::kCredits, Scene::kTunnel, Scene::kWireTorus, Scene::kFlight,
                                       Scene::kSecondTunnel, Scene::kSolidTorus, Scene::kFarewell}));
  const auto figures = Figures(run.frames);
  EXPECT_EQ(figures.at(Scene::kTunnel).first, 19000);
  EXPECT_EQ(figures.at(Scene::kFlight).last, 101800);
  EXPECT_EQ(figures.at(Scene::kSecondTunnel).first, 102000);
  EXPECT_EQ(figures.at(Scene::kFarewell).last, 185800);

  for (const auto& [scene, s] : figures) {
    std::printf("scene %d: frames %d lit %.3f..%.3f white %.4f grey %.3f rgb %.1f %.1f %.1f distinct %zu\n",
                static_cast<int>(scene), s.frames, s.minLit, s.maxLit, s.meanWhite, s.meanGrey, s.red,
                s.green, s.blue, s.pictures.size());
  }
  // The credits: the backdrop slides down into view, then the text runs.
  const SceneFigures& credits = figures.at(Scene::kCredits);
  EXPECT_LT(run.frames.front().lit, 0.25);
  EXPECT_GT(credits.maxLit, 0.5);
  EXPECT_GT(credits.pictures.size(), 10u);
  // Tunnels, flight and the solid torus over its background fill the frame (up to the
  // dark parts of their pictures), and move on every frame.
  for (Scene scene : {Scene::kTunnel, Scene::kFlight, Scene::kSecondTunnel, Scene::kSolidTorus}) {
    SCOPED_TRACE(static_cast<int>(scene));
    EXPECT_GT(figures.at(scene).minLit, 0.75);
    EXPECT_EQ(figures.at(scene).pictures.size(), static_cast<size_t>(figures.at(scene).frames));
  }
  // The wireframe torus and its particle cloud leave much of the black clear colour.
  const SceneFigures& wire = figures.at(Scene::kWireTorus);
  EXPECT_GT(wire.minLit, 0.05);
  EXPECT_LT(wire.maxLit, 0.8);
  EXPECT_EQ(wire.pictures.size(), static_cast<size_t>(wire.frames));
  // The second tunnel wears the other picture.
  const SceneFigures& first = figures.at(Scene::kTunnel);
  const SceneFigures& second = figures.at(Scene::kSecondTunnel);
  EXPECT_GT(std::abs(first.red - second.red) + std::abs(first.green - second.green) +
                std::abs(first.blue - second.blue),
            15.0);
  // The farewell: the backdrop is in place (its text, one character every ten frames,
  // is still in its leading blanks at this frame rate).
  EXPECT_GT(figures.at(Scene::kFarewell).minLit, 0.5);

  // The window goes first; the music plays on until the program-wide objects go.
  EXPECT_FALSE(run.os.HasWindow());
  EXPECT_FALSE(run.os.DisplayModeChanged());
  EXPECT_EQ(run.os.Sound().PlayingChannels(), 1);
  EXPECT_TRUE(run.os.Sound().IsInitialised());
  run.EndProcess();
  EXPECT_EQ(run.os.Sound().PlayingChannels(), 0);
  EXPECT_FALSE(run.os.Sound().IsInitialised());
}

}  // namespace
