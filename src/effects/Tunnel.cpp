// Tunnel: the ring table, the swaying view, the scrolling tube and the speed swing
#include "effects/Tunnel.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

namespace {

constexpr float kRingSpacing = -8;
constexpr float kRadius = 5;
constexpr float kScrollWrap = 8;  // the rings' spacing: jumping back by it is invisible
constexpr float kSlowLimit = 0.1f;
constexpr float kFastLimit = 1.0f;

}  // namespace

void Tunnel::Init() {
  Build(kRingSpacing, kRadius);
  glEnable(GL_TEXTURE_2D);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

void Tunnel::Build(float ringSpacing, float radius) {
  for (int r = 0; r < kRings; ++r) {
    for (int k = 0; k < kCorners; ++k) {
      const float a = static_cast<float>(k * static_cast<double>(TunnelDegToRad) * 45);
      Point& p = points_[kCorners * r + k];
      p.x = static_cast<float>(radius * std::cos(static_cast<double>(a)));
      p.y = static_cast<float>(radius * std::sin(static_cast<double>(a)));
      p.z = static_cast<float>(static_cast<double>(r) * ringSpacing);
    }
  }
}

void Tunnel::DrawQuad(int r, int k0, int k1) const {
  const Point& a = At(r, k0);
  const Point& b = At(r, k1);
  const Point& c = At(r + 1, k1);
  const Point& d = At(r + 1, k0);
  glTexCoord2f(0, 0), glVertex3f(a.x, a.y, a.z);
  glTexCoord2f(1, 0), glVertex3f(b.x, b.y, b.z);
  glTexCoord2f(1, 1), glVertex3f(c.x, c.y, c.z);
  glTexCoord2f(0, 1), glVertex3f(d.x, d.y, d.z);
}

void Tunnel::Draw(unsigned int texture) {
  glLoadIdentity();

  // Sway: the look-at centre circles at about a degree per frame sideways, half that up and down.
  const double c = static_cast<double>(3.14f) * static_cast<double>(1.0f / 180.0f);
  const float a = static_cast<float>(frameCount_ * c);
  const double b = (frameCount_ / 2) * c;
  gluLookAt(0, 0, -16, 5 * std::cos(static_cast<double>(a)), 5 * std::sin(b), -30,
            std::sin(static_cast<double>(a)), 1, 0);

  glTranslatef(0, 0, -8);
  glPushMatrix();
  glBindTexture(GL_TEXTURE_2D, texture);

  if (scroll_ > kScrollWrap) scroll_ -= kScrollWrap;  // exactly 8 stays
  scroll_ += TunnelSpeed;
  glTranslatef(0, 0, scroll_);

  glBegin(GL_QUADS);
  for (int r = 0; r < kRings - 1; ++r) {
    for (int k = 0; k < kCorners - 1; ++k) DrawQuad(r, k, k + 1);
  }
  for (int r = 0; r < kRings - 1; ++r) DrawQuad(r, kCorners - 1, 0);
  glEnd();

  glPopMatrix();
  glScalef(0.8f, 0.8f, 0.8f);  // stays for what the scene draws next

  UpdateSpeed();
  ++frameCount_;
}

void Tunnel::UpdateSpeed() {
  // At exactly 0.1 or 1.0, and between them, the acceleration stays as it is.
  if (TunnelSpeed < kSlowLimit) acceleration_ = static_cast<float>(acceleration_ + 0.0004);
  if (TunnelSpeed > kFastLimit) acceleration_ = static_cast<float>(acceleration_ - 0.00004);
  TunnelSpeed += acceleration_;
}
