// The whole programme on the generated data: every scene in its window, and no scene at the mercy of another
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>

#include "Pictures.h"
#include "director/Timeline.h"

using namespace platform;
using namespace e2e;

namespace {

struct SceneFigures {
  int frames = 0;
  double minLit = 1.0, maxLit = 0.0;
  std::array<double, 3> mean{};  // summed over the frames
  std::set<size_t> pictures;     // distinct frames
};

// Which scene a frame shows comes from its time (the scene windows have their own tests); what it shows is
// checked here.
TEST(Programme, RunsEverySceneInItsWindowAndEndsAt185900) {
  testsupport::ScopedChdir cwd(CopyRunFolder());
  DemoRun run;  // 5 frames per second of programme time
  std::map<Scene, SceneFigures> scenes;
  run.afterPresent = [&](const PresentedFrame& f) {
    const Figures fig = Measure(run.os.ReadPixels());
    SceneFigures& s = scenes[SceneAt(f.t)];
    ++s.frames;
    s.minLit = std::min(s.minLit, fig.lit);
    s.maxLit = std::max(s.maxLit, fig.lit);
    for (int c = 0; c < 3; ++c) s.mean[c] += fig.mean[c];
    s.pictures.insert(fig.hash);
    EXPECT_EQ(run.os.Sound().PlayingChannels(), 1) << f.t;
    // A push without its pop in any scene overflows a stack within the run.
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << f.t;
  };
  EXPECT_EQ(run.Run(kWidth, kHeight), 0);
  EXPECT_TRUE(run.BoxLines().empty()) << ::testing::PrintToString(run.BoxLines());
  // Frames at 0, 200, ..., 185800 were presented; the one at 185900 was drawn, not shown.
  ASSERT_EQ(run.frames.size(), 930u);
  // The credits: the backdrop comes into view, then the text runs.
  EXPECT_GT(scenes[Scene::kCredits].maxLit, 0.5);
  EXPECT_GT(scenes[Scene::kCredits].pictures.size(), 10u);
  // Tunnels, flight and the solid torus over its background fill the frame (up to the dark parts of their
  // pictures); the wireframe torus in its cloud leaves much of the black. All move on every frame.
  for (Scene scene :
       {Scene::kTunnel, Scene::kWireTorus, Scene::kFlight, Scene::kSecondTunnel, Scene::kSolidTorus}) {
    SCOPED_TRACE(static_cast<int>(scene));
    const SceneFigures& s = scenes[scene];
    EXPECT_GT(s.minLit, scene == Scene::kWireTorus ? 0.05 : 0.75);
    EXPECT_TRUE(scene != Scene::kWireTorus || s.maxLit < 0.8) << s.maxLit;
    EXPECT_EQ(s.pictures.size(), static_cast<size_t>(s.frames));
  }
  // The second tunnel wears the other picture.
  const SceneFigures &tunnel1 = scenes[Scene::kTunnel], &tunnel2 = scenes[Scene::kSecondTunnel];
  double apart = 0.0;
  for (int c = 0; c < 3; ++c)
    apart += std::abs(tunnel1.mean[c] / tunnel1.frames - tunnel2.mean[c] / tunnel2.frames);
  EXPECT_GT(apart, 15.0);
  // The farewell's backdrop is in place (its text is still in its leading blanks at this frame rate).
  EXPECT_GT(scenes[Scene::kFarewell].minLit, 0.5);
  // The music plays on after the window has gone, until the program-wide objects go (the music stream's own
  // tests show what its end closes).
  EXPECT_EQ(run.os.Sound().PlayingChannels(), 1);
}

// Each scene sets up the GL state it draws with: every frame looks the same whether it starts from what the
// frame before left or from the state start-up left, restored before each frame.
TEST(Programme, NoSceneDrawsWithWhatTheSceneBeforeLeftBehind) {
  testsupport::ScopedChdir cwd(CopyRunFolder());
  std::vector<size_t> pictures[2];
  for (bool restore : {false, true}) {
    DemoRun run;
    run.timeOf = testsupport::Visit({0, 200, 19000, 19200, 47000, 47200, 75000, 75200, 102000, 102200, 130000,
                                     130200, 158000, 158200, 185900});
    // Start-up leaves the modelview matrix current, where the pushes end.
    run.beforeFrame = [restore](uint64_t i) {
      if (!restore) return;
      if (i != 0) {  // back to the state saved before the first frame
        for (GLenum stack : {GL_PROJECTION, GL_TEXTURE, GL_MODELVIEW}) glMatrixMode(stack), glPopMatrix();
        glPopAttrib();
        glPopClientAttrib();
      }
      // The tunnel is meant to wear the tint its jet left.
      glPushAttrib(GL_ALL_ATTRIB_BITS & ~GL_CURRENT_BIT);
      glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
      for (GLenum stack : {GL_PROJECTION, GL_TEXTURE, GL_MODELVIEW}) glMatrixMode(stack), glPushMatrix();
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
