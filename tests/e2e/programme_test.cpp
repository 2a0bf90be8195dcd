// The whole programme on the generated data: every scene in its window, and no scene at the mercy of another
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "Pictures.h"
#include "director/Timeline.h"

using namespace platform;
using namespace e2e;

namespace {

struct SceneFigures {
  int frames = 0;
  int32_t first = -1, last = -1;
  double minLit = 1.0, maxLit = 0.0, red = 0.0, green = 0.0, blue = 0.0;
  std::set<uint64_t> pictures;  // distinct frames
};

TEST(Programme, RunsEverySceneInItsWindowAndEndsAt185900) {
  testsupport::ScopedChdir cwd(CopyRunFolder());
  DemoRun run;  // 5 frames per second of programme time
  std::map<Scene, SceneFigures> scenes;
  std::vector<Scene> order;
  Figures first;
  run.afterPresent = [&](const PresentedFrame& f) {
    const Scene scene = SceneAt(f.t);
    if (order.empty() || order.back() != scene) order.push_back(scene);
    const Figures fig = Measure(run.os.ReadPixels());
    if (f.number == 1) first = fig;
    SceneFigures& s = scenes[scene];
    s.first = s.frames++ == 0 ? f.t : s.first;
    s.last = f.t;
    s.minLit = std::min(s.minLit, fig.lit);
    s.maxLit = std::max(s.maxLit, fig.lit);
    s.red += fig.red, s.green += fig.green, s.blue += fig.blue;
    s.pictures.insert(fig.hash);
    EXPECT_EQ(run.os.Sound().PlayingChannels(), 1) << f.t;
    // A push without its pop in any scene overflows a stack within the run.
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << f.t;
  };
  EXPECT_EQ(run.Run(kWidth, kHeight), 0);
  EXPECT_TRUE(run.BoxLines().empty()) << ::testing::PrintToString(run.BoxLines());
  // Frames at 0, 200, ..., 185800 were presented; the one at 185900 was drawn, not shown.
  ASSERT_EQ(run.frames.size(), 930u);
  EXPECT_EQ(order, (std::vector<Scene>{Scene::kCredits, Scene::kTunnel, Scene::kWireTorus, Scene::kFlight,
                                       Scene::kSecondTunnel, Scene::kSolidTorus, Scene::kFarewell}));
  EXPECT_EQ(scenes[Scene::kTunnel].first, 19000);
  EXPECT_EQ(scenes[Scene::kFlight].last, 101800);
  EXPECT_EQ(scenes[Scene::kFarewell].last, 185800);
  // The credits: the backdrop slides down into view, then the text runs.
  EXPECT_LT(first.lit, 0.25);
  EXPECT_GT(scenes[Scene::kCredits].maxLit, 0.5);
  EXPECT_GT(scenes[Scene::kCredits].pictures.size(), 10u);
  // Tunnels, flight and the solid torus over its background fill the frame (up to the dark parts of their
  // pictures); the wireframe torus in its cloud leaves much of the black. All move on every frame.
  for (Scene scene :
       {Scene::kTunnel, Scene::kWireTorus, Scene::kFlight, Scene::kSecondTunnel, Scene::kSolidTorus}) {
    SCOPED_TRACE(static_cast<int>(scene));
    const SceneFigures& s = scenes[scene];
    EXPECT_GT(s.minLit, scene == Scene::kWireTorus ? 0.05 : 0.75);
    EXPECT_LT(s.maxLit, scene == Scene::kWireTorus ? 0.8 : 1.01);
    EXPECT_EQ(s.pictures.size(), static_cast<size_t>(s.frames));
  }
  // The second tunnel wears the other picture.
  const SceneFigures &tunnel1 = scenes[Scene::kTunnel], &tunnel2 = scenes[Scene::kSecondTunnel];
  EXPECT_GT(std::abs(tunnel1.red / tunnel1.frames - tunnel2.red / tunnel2.frames) +
                std::abs(tunnel1.green / tunnel1.frames - tunnel2.green / tunnel2.frames) +
                std::abs(tunnel1.blue / tunnel1.frames - tunnel2.blue / tunnel2.frames),
            15.0);
  // The farewell's backdrop is in place (its text is still in its leading blanks at this frame rate).
  EXPECT_GT(scenes[Scene::kFarewell].minLit, 0.5);
  // The window goes first; the music plays on until the program-wide objects go.
  EXPECT_FALSE(run.os.HasWindow());
  EXPECT_FALSE(run.os.DisplayModeChanged());
  EXPECT_EQ(run.os.Sound().PlayingChannels(), 1);
  run.demo.reset();
  EXPECT_EQ(run.os.Sound().PlayingChannels(), 0);
  EXPECT_FALSE(run.os.Sound().IsInitialised());
}

// Each scene sets up the GL state it draws with: every frame looks the same whether it starts from what the
// frame before left or from the state start-up left, restored before each frame.
TEST(Programme, NoSceneDrawsWithWhatTheSceneBeforeLeftBehind) {
  testsupport::ScopedChdir cwd(CopyRunFolder());
  std::vector<uint64_t> pictures[2];
  for (bool restore : {false, true}) {
    DemoRun run;
    run.timeOf = testsupport::Visit({0, 200, 19000, 19200, 47000, 47200, 75000, 75200, 102000, 102200, 130000,
                                     130200, 158000, 158200, 185900});
    run.beforeFrame = [restore](uint64_t i) {
      if (!restore) return;
      if (i != 0) {  // back to the state saved before the first frame
        for (GLenum stack : {GL_PROJECTION, GL_TEXTURE, GL_MODELVIEW}) glMatrixMode(stack), glPopMatrix();
        glPopAttrib();
        glPopClientAttrib();
      }
      GLint mode = 0;
      glGetIntegerv(GL_MATRIX_MODE, &mode);
      glPushAttrib(GL_ALL_ATTRIB_BITS &
                   ~GL_CURRENT_BIT);  // the tunnel is meant to wear the tint its jet left
      glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
      for (GLenum stack : {GL_PROJECTION, GL_TEXTURE, GL_MODELVIEW}) glMatrixMode(stack), glPushMatrix();
      glMatrixMode(static_cast<GLenum>(mode));
    };
    run.afterPresent = [&](const PresentedFrame&) {
      pictures[restore].push_back(Measure(run.os.ReadPixels()).hash);
    };
    EXPECT_EQ(run.Run(kWidth, kHeight), 0);
  }
  ASSERT_EQ(pictures[0].size(), 14u);
  for (size_t i = 0; i < pictures[0].size(); ++i) EXPECT_EQ(pictures[0][i], pictures[1][i]) << "frame " << i;
}

}  // namespace
