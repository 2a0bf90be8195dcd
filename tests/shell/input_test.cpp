// Input: the window procedure's table, the keyboard controls it feeds, and the projection of a resize
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "platform/HeadlessPlatform.h"
#include "shell/internal/KeyboardControls.h"
#include "shell/internal/Window.h"
#include "support/GLTest.h"

using namespace platform;

namespace {

class Input : public testsupport::GLTest {
 protected:
  intptr_t Send(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0) {
    return WindowProcedure(demo_, Message{1, message, wParam, lParam});
  }
  std::vector<uint32_t> Drain() {
    std::vector<uint32_t> taken;
    Message message;
    while (os_.PeekMessage(message)) taken.push_back(message.message);
    return taken;
  }
  // One pass of the controls with `keys` freshly pressed.
  void Press(std::initializer_list<uint32_t> keys) {
    for (uint32_t vk : keys) Send(WM_KEYDOWN, vk);
    ApplyKeyboardControls(demo_);
  }
  HeadlessPlatform os_;
  Demo demo_{os_};
};

TEST_F(Input, KeysSetAndClearTheirFlagsOnly) {
  EXPECT_EQ(Send(WM_KEYDOWN, 'W'), 0);
  Send(WM_KEYDOWN, 'W');  // auto-repeat: still down
  EXPECT_TRUE(demo_.shell.KeyDown['W']);
  Send(WM_KEYUP, 'W');
  Send(WM_SYSKEYDOWN, 'W', KF_ALTDOWN_BIT);
  Send(WM_SYSKEYDOWN, VK_F10);
  Send(WM_KEYDOWN, 256);
  Send(WM_KEYDOWN, static_cast<uintptr_t>(-1));
  EXPECT_EQ(std::count(demo_.shell.KeyDown.begin(), demo_.shell.KeyDown.end(), true), 0);
}

TEST_F(Input, ActivationFollowsTheMinimisedWordOnly) {
  Send(WM_ACTIVATE, WA_INACTIVE | (1u << 16));
  EXPECT_FALSE(demo_.shell.AppActive);
  Send(WM_ACTIVATE, WA_ACTIVE);
  EXPECT_TRUE(demo_.shell.AppActive);
  Send(WM_ACTIVATE, WA_INACTIVE);  // alt-tab away without minimising
  EXPECT_TRUE(demo_.shell.AppActive);
}

TEST_F(Input, CloseQuitsAndSystemCommandsAreFiltered) {
  EXPECT_EQ(Send(WM_SYSCOMMAND, SC_SCREENSAVE), 0);
  EXPECT_EQ(Send(WM_SYSCOMMAND, SC_MONITORPOWER), 0);
  EXPECT_TRUE(Drain().empty());
  Send(WM_SYSCOMMAND, SC_CLOSE);  // the default procedure turns it into WM_CLOSE
  EXPECT_EQ(Drain(), std::vector<uint32_t>{WM_CLOSE});
  EXPECT_EQ(Send(WM_CLOSE), 0);
  EXPECT_EQ(Drain(), std::vector<uint32_t>{WM_QUIT});
}

// Toggles act once per key-down and clear it; P also shows the octree bounds; R hides empty nodes.
TEST_F(Input, TogglesFlipOncePerKeyDown) {
  const RenderFlags before = demo_.terrain.flags;
  const bool hideEmpty = demo_.octreeDisplay.HideEmptyOctreeNodes;
  Press({'P', 'I', 'U', 'Y', 'R'});
  ApplyKeyboardControls(demo_);  // no new key-down: no new flip
  const RenderFlags after = demo_.terrain.flags;
  EXPECT_NE(after.showOctree, before.showOctree);
  EXPECT_NE(after.solidFill, before.solidFill);
  EXPECT_NE(after.texturing, before.texturing);
  EXPECT_NE(after.smoothShading, before.smoothShading);
  EXPECT_NE(demo_.octreeDisplay.HideEmptyOctreeNodes, hideEmpty);
  EXPECT_EQ(demo_.octreeDisplay.ShowOctreeBounds, after.showOctree);
  EXPECT_EQ(std::count(demo_.shell.KeyDown.begin(), demo_.shell.KeyDown.end(), true), 0);
  Press({'P', 'R'});
  EXPECT_EQ(demo_.octreeDisplay.ShowOctreeBounds, before.showOctree);
  EXPECT_EQ(demo_.octreeDisplay.HideEmptyOctreeNodes, hideEmpty);
  EXPECT_EQ(demo_.terrain.flags.texturing, after.texturing);
}

// Camera keys act on every pass while held, each step followed by an update; opposite keys cancel.
TEST_F(Input, CameraKeysMatchACameraMovedByHand) {
  demo_.tunnel.TunnelSpeed = -0.05f;  // the tunnel may leave it small or negative
  const struct {
    std::initializer_list<uint32_t> keys;
    std::function<void(Camera&)> step;
  } cases[] = {{{VK_LEFT, VK_UP, VK_DELETE},
                [](Camera& c) { c.Yaw(3), c.Update(), c.Pitch(-3), c.Update(), c.Roll(3); }},
               {{VK_RIGHT, VK_LEFT, VK_INSERT, VK_DELETE}, [](Camera&) {}},
               {{'D', 'E'}, [](Camera& c) { c.MoveSideways(1), c.Update(), c.MoveUp(1); }},
               {{'W'}, [](Camera& c) { c.MoveForward(-0.05f); }},  // by the speed the tunnel left
               {{'X'}, [](Camera& c) { c.MoveForward(0.05f); }}};
  for (const auto& c : cases) {
    SCOPED_TRACE(*c.keys.begin());
    demo_.camera = Camera();
    demo_.camera.Update();
    Camera expected = demo_.camera;
    demo_.shell.KeyDown.fill(false);
    Press(c.keys);
    ApplyKeyboardControls(demo_);
    for (int pass = 0; pass < 2; ++pass) c.step(expected), expected.Update();
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(demo_.camera.matrix.m[i], expected.matrix.m[i]) << i;
    EXPECT_FLOAT_EQ(demo_.camera.position.x, expected.position.x);
    EXPECT_FLOAT_EQ(demo_.camera.position.y, expected.position.y);
    EXPECT_FLOAT_EQ(demo_.camera.position.z, expected.position.z);
    EXPECT_TRUE(demo_.shell.KeyDown[*c.keys.begin()]);
  }
}

// The projection every scene draws with: 45 degrees high, the window's aspect, near 0.1, far 200; a
// minimised window's zero height must not turn it into a division by zero.
TEST_F(Input, ResizeSetsTheProjectionAndSurvivesZeroHeight) {
  ResizeScene(0, 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  Send(WM_SIZE, 0, MakeLParam(1024, 768));
  GLfloat projection[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  const double f = 1.0 / std::tan(22.5 * M_PI / 180.0), zNear = 0.10000000149011612, zFar = 200.0;
  EXPECT_NEAR(projection[0], f / 0.75, 1e-5);
  EXPECT_NEAR(projection[5], f, 1e-5);
  EXPECT_NEAR(projection[10], (zFar + zNear) / (zNear - zFar), 1e-6);
  EXPECT_NEAR(projection[14], 2 * zFar * zNear / (zNear - zFar), 1e-6);
}

}  // namespace
