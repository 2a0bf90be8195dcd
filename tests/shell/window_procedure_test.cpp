// The window procedure's table and the projection of ResizeScene.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "platform/HeadlessPlatform.h"
#include "shell/internal/Window.h"
#include "support/GLTest.h"

using namespace platform;

namespace {

class WindowProcedureTest : public testsupport::GLTest {
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
  HeadlessPlatform os_;
  Demo demo_{os_};
};

TEST_F(WindowProcedureTest, KeysSetAndClearTheirFlagsOnly) {
  EXPECT_EQ(Send(WM_KEYDOWN, 'W'), 0);
  EXPECT_TRUE(demo_.shell.KeyDown['W']);
  Send(WM_KEYDOWN, 'W');  // auto-repeat: still down
  EXPECT_TRUE(demo_.shell.KeyDown['W']);
  Send(WM_KEYUP, 'W');
  EXPECT_FALSE(demo_.shell.KeyDown['W']);
  Send(WM_SYSKEYDOWN, 'W', KF_ALTDOWN_BIT);
  Send(WM_SYSKEYDOWN, VK_F10);
  EXPECT_FALSE(demo_.shell.KeyDown['W']);
  EXPECT_FALSE(demo_.shell.KeyDown[VK_F10]);
  Send(WM_KEYDOWN, 256);
  Send(WM_KEYDOWN, static_cast<uintptr_t>(-1));
  EXPECT_EQ(std::count(demo_.shell.KeyDown.begin(), demo_.shell.KeyDown.end(), true), 0);
}

TEST_F(WindowProcedureTest, ActivationFollowsTheMinimisedWordOnly) {
  Send(WM_ACTIVATE, WA_INACTIVE | (1u << 16));
  EXPECT_FALSE(demo_.shell.AppActive);
  Send(WM_ACTIVATE, WA_ACTIVE);
  EXPECT_TRUE(demo_.shell.AppActive);
  Send(WM_ACTIVATE, WA_INACTIVE);  // alt-tab away without minimising
  EXPECT_TRUE(demo_.shell.AppActive);
}

TEST_F(WindowProcedureTest, CloseQuitsAndSystemCommandsAreFiltered) {
  EXPECT_EQ(Send(WM_SYSCOMMAND, SC_SCREENSAVE), 0);
  EXPECT_EQ(Send(WM_SYSCOMMAND, SC_MONITORPOWER), 0);
  EXPECT_TRUE(Drain().empty());
  Send(WM_SYSCOMMAND, SC_CLOSE);  // the default procedure turns it into WM_CLOSE
  EXPECT_EQ(Drain(), std::vector<uint32_t>{WM_CLOSE});
  EXPECT_EQ(Send(WM_CLOSE), 0);
  os_.QueueKeyDown('A');
  Message message;
  ASSERT_TRUE(os_.PeekMessage(message));
  EXPECT_EQ(message.message, WM_KEYDOWN);  // the quit message waits for the rest
  ASSERT_TRUE(os_.PeekMessage(message));
  EXPECT_EQ(message.message, WM_QUIT);
  EXPECT_EQ(message.wParam, 0u);
  EXPECT_FALSE(os_.PeekMessage(message));
}

TEST_F(WindowProcedureTest, SizeSetsViewportAndHeightOverWidthProjection) {
  Send(WM_SIZE, 0, MakeLParam(1024, 768));
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 1024);
  EXPECT_EQ(viewport[3], 768);
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
  GLfloat projection[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  // f = cot(22.5 deg); x scale f / aspect with aspect = 768 / 1024 = 0.75.
  const double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
  EXPECT_NEAR(projection[0], f / 0.75, 1e-5);
  EXPECT_NEAR(projection[5], f, 1e-5);
  const double zNear = 0.10000000149011612, zFar = 200.0;
  EXPECT_NEAR(projection[10], (zFar + zNear) / (zNear - zFar), 1e-6);
  EXPECT_NEAR(projection[14], 2 * zFar * zNear / (zNear - zFar), 1e-6);
  GLfloat modelview[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
  EXPECT_EQ(modelview[0], 1.0f);
  EXPECT_EQ(modelview[12], 0.0f);
}

TEST_F(WindowProcedureTest, MinimisedSizeDoesNotFaultAndTheNextSizeRepairs) {
  ResizeScene(0, 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  ResizeScene(800, 600);
  GLfloat projection[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  EXPECT_NEAR(projection[0], (1.0 / std::tan(22.5 * M_PI / 180.0)) / 0.75, 1e-5);
}

}  // namespace
