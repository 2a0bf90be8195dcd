// Keyboard controls: toggles act once per key-down, camera keys on every pass.
#include <gtest/gtest.h>

#include "platform/HeadlessPlatform.h"
#include "shell/internal/KeyboardControls.h"

using namespace platform;

namespace {

struct Keys {
  HeadlessPlatform os;
  Demo demo{os};
  void Hold(uint32_t vk) { demo.shell.KeyDown[vk] = true; }
};

TEST(KeyboardControls, HideEmptyNodesFlipsOncePerKeyDown) {
  Keys k;
  k.Hold('R');
  ApplyKeyboardControls(k.demo);
  EXPECT_TRUE(k.demo.octreeDisplay.HideEmptyOctreeNodes);
  EXPECT_FALSE(k.demo.shell.KeyDown['R']);
  ApplyKeyboardControls(k.demo);  // no new key-down: no new flip
  EXPECT_TRUE(k.demo.octreeDisplay.HideEmptyOctreeNodes);
  k.Hold('R');
  ApplyKeyboardControls(k.demo);
  EXPECT_FALSE(k.demo.octreeDisplay.HideEmptyOctreeNodes);
}

TEST(KeyboardControls, RenderTogglesActOnceAndOctreeBoundsFollowTheFlag) {
  Keys k;
  const RenderFlags before = k.demo.terrain.flags;
  for (uint32_t vk : {'P', 'I', 'U', 'Y'}) k.Hold(vk);  // several keys act in one pass
  ApplyKeyboardControls(k.demo);
  ApplyKeyboardControls(k.demo);
  const RenderFlags after = k.demo.terrain.flags;
  EXPECT_NE(after.showOctree, before.showOctree);
  EXPECT_NE(after.solidFill, before.solidFill);
  EXPECT_NE(after.texturing, before.texturing);
  EXPECT_NE(after.smoothShading, before.smoothShading);
  EXPECT_EQ(k.demo.octreeDisplay.ShowOctreeBounds, after.showOctree);
  for (uint32_t vk : {'P', 'I', 'U', 'Y'}) EXPECT_FALSE(k.demo.shell.KeyDown[vk]);
  k.Hold('P');
  ApplyKeyboardControls(k.demo);  // P twice: back where it was
  EXPECT_EQ(k.demo.terrain.flags.showOctree, before.showOctree);
  EXPECT_EQ(k.demo.octreeDisplay.ShowOctreeBounds, before.showOctree);
  EXPECT_EQ(k.demo.terrain.flags.texturing, after.texturing);
}

TEST(KeyboardControls, CameraKeysActEveryPassAndStayHeld) {
  Keys k;
  k.Hold(VK_LEFT);
  k.Hold(VK_UP);
  k.Hold(VK_DELETE);
  ApplyKeyboardControls(k.demo);
  ApplyKeyboardControls(k.demo);
  EXPECT_FLOAT_EQ(k.demo.camera.angleY, -6.0f);  // Yaw(3) twice: the angle goes down by 3 each
  EXPECT_FLOAT_EQ(k.demo.camera.angleX, 6.0f);   // Pitch(-3) twice
  EXPECT_FLOAT_EQ(k.demo.camera.angleZ, -6.0f);  // Roll(3) twice
  EXPECT_TRUE(k.demo.shell.KeyDown[VK_LEFT]);
  // Every step is followed by an update: the matrix matches a camera turned by hand.
  Camera expected;
  for (int i = 0; i < 2; ++i) {
    expected.Yaw(3.0f), expected.Update();
    expected.Pitch(-3.0f), expected.Update();
    expected.Roll(3.0f), expected.Update();
  }
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(k.demo.camera.matrix.m[i], expected.matrix.m[i]) << i;
}

TEST(KeyboardControls, OppositeKeysCancelAndMovesFollowTheBasis) {
  Keys k;
  k.Hold(VK_RIGHT);
  k.Hold(VK_LEFT);
  k.Hold(VK_INSERT);
  k.Hold(VK_DELETE);
  ApplyKeyboardControls(k.demo);
  EXPECT_FLOAT_EQ(k.demo.camera.angleY, 0.0f);
  EXPECT_FLOAT_EQ(k.demo.camera.angleZ, 0.0f);
  Keys m;
  m.demo.camera.Update();
  m.Hold('D');
  m.Hold('E');
  ApplyKeyboardControls(m.demo);
  Camera expected;
  expected.Update();
  expected.MoveSideways(1.0f), expected.Update();
  expected.MoveUp(1.0f), expected.Update();
  EXPECT_FLOAT_EQ(m.demo.camera.position.x, expected.position.x);
  EXPECT_FLOAT_EQ(m.demo.camera.position.y, expected.position.y);
  EXPECT_FLOAT_EQ(m.demo.camera.position.z, expected.position.z);
  EXPECT_NE(m.demo.camera.position.x + m.demo.camera.position.y + m.demo.camera.position.z, 0.0f);
}

TEST(KeyboardControls, ForwardAndBackStepByTheTunnelSpeed) {
  Keys k;
  k.demo.camera.Update();
  k.Hold('W');
  ApplyKeyboardControls(k.demo);
  Camera expected;
  expected.Update();
  expected.MoveForward(2.7f), expected.Update();
  EXPECT_FLOAT_EQ(k.demo.camera.position.z, expected.position.z);
  EXPECT_NE(k.demo.camera.position.z, 0.0f);
  k.demo.shell.KeyDown['W'] = false;
  k.demo.tunnel.TunnelSpeed = -0.05f;  // the tunnel may leave it small or negative
  k.Hold('X');
  ApplyKeyboardControls(k.demo);
  expected.MoveForward(0.05f), expected.Update();
  EXPECT_FLOAT_EQ(k.demo.camera.position.z, expected.position.z);
}

}  // namespace
