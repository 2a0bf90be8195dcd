// Input: the window procedure's key flags, the camera keys they feed, and the projection of a resize
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

// The toggles, Alt and F10 are shown on the flight's pictures by the e2e suite; close, Alt+F4 and the quit by
// the main loop's. The screen saver and monitor power filter is left out: the backends' default procedure
// ignores both commands, so its answer cannot show it.
class Input : public testsupport::GLTest {
 protected:
  intptr_t Send(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0) {
    return WindowProcedure(demo_, Message{1, message, wParam, lParam});
  }
  HeadlessPlatform os_;
  Demo demo_{os_};
};

TEST_F(Input, KeysSetAndClearTheirFlagsOnly) {
  Send(WM_KEYDOWN, 'W');
  Send(WM_KEYDOWN, 'W');  // auto-repeat: still down
  EXPECT_TRUE(demo_.shell.KeyDown['W']);
  Send(WM_KEYUP, 'W');
  for (uintptr_t outOfRange : {uintptr_t{256}, ~uintptr_t{0}}) Send(WM_KEYDOWN, outOfRange);
  EXPECT_EQ(std::count(demo_.shell.KeyDown.begin(), demo_.shell.KeyDown.end(), true), 0);
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
    for (uint32_t vk : c.keys) Send(WM_KEYDOWN, vk);
    for (int pass = 0; pass < 2; ++pass) ApplyKeyboardControls(demo_);
    for (int pass = 0; pass < 2; ++pass) c.step(expected), expected.Update();
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(demo_.camera.matrix.m[i], expected.matrix.m[i]) << i;
    EXPECT_FLOAT_EQ(demo_.camera.position.x, expected.position.x);
    EXPECT_FLOAT_EQ(demo_.camera.position.y, expected.position.y);
    EXPECT_FLOAT_EQ(demo_.camera.position.z, expected.position.z);
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
