// Camera: angle wrap, movement along the basis vectors, matrix rebuild and GL application
#include "geometry/Camera.h"

#include <GL/gl.h>

namespace {

// The difference is rounded to float before the wrap test, so a stored angle is always below 360.
float Turned(float angle, float delta) {
  float turned = angle - delta;
  if (turned >= 360.0f) turned -= 360.0f;
  return turned;
}

// The step vector is rounded to float per component before it is added.
void Move(Vector3& position, float step, const Vector4& axis) {
  const float dx = static_cast<float>(static_cast<double>(step) * axis.x);
  const float dy = static_cast<float>(static_cast<double>(step) * axis.y);
  const float dz = static_cast<float>(static_cast<double>(step) * axis.z);
  position.x += dx;
  position.y += dy;
  position.z += dz;
}

Matrix4 Rotation(float angleX, float angleY, float angleZ) {
  Matrix4 rx, ry, rz;
  rx.SetRotationX(angleX);
  ry.SetRotationY(angleY);
  rz.SetRotationZ(angleZ);
  return rx.Multiply(ry).Multiply(rz);
}

Vector4 Row(const Matrix4& m, int row) {
  return {m.m[4 * row], m.m[4 * row + 1], m.m[4 * row + 2], m.m[4 * row + 3]};
}

}  // namespace

void Camera::Pitch(float delta) { angleX = Turned(angleX, delta); }
void Camera::Yaw(float delta) { angleY = Turned(angleY, delta); }
void Camera::Roll(float delta) { angleZ = Turned(angleZ, delta); }

void Camera::MoveForward(float step) { Move(position, step, forward); }
void Camera::MoveSideways(float step) { Move(position, -step, right); }
void Camera::MoveUp(float step) { Move(position, -step, up); }

void Camera::Update() {
  Matrix4 translation;
  translation.m[3] = position.x;
  translation.m[7] = position.y;
  translation.m[11] = position.z;
  TakeMatrix(Rotation(angleX, angleY, angleZ).Multiply(translation));
}

void Camera::UpdateRotationOnly() { TakeMatrix(Rotation(angleX, angleY, angleZ)); }

void Camera::TakeMatrix(const Matrix4& rowMajor) {
  right = Row(rowMajor, 0);
  up = Row(rowMajor, 1);
  forward = Row(rowMajor, 2);
  matrix = rowMajor;
  matrix.Transpose();
}

void Camera::Apply() const {
  glMatrixMode(GL_MODELVIEW);
  glMultMatrixf(matrix.m);
}
