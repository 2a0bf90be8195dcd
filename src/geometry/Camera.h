// Camera: the one free-flying camera, its model-view matrix and its basis vectors
#pragma once

#include "geometry/Vector.h"

// The one free-flying camera: a translation, three Euler angles in degrees, the model-view matrix built from
// them and the basis vectors the movement keys follow.

struct Camera {
  // Rows 2, 1, 0 of the row-major camera matrix. forward is the camera's own Z axis, which points
  // backwards out of the screen; the move operations' signs account for that.
  Vector4 forward{0.0f, 0.0f, 1.0f, 1.0f};
  Vector4 up{0.0f, 0.0f, 0.0f, 1.0f};
  Vector4 right{0.0f, 0.0f, 0.0f, 1.0f};
  Matrix4 matrix;       // column-major (GL order) after an update, ready for glMultMatrixf
  Vector3 position;     // translation applied to the world first: the eye is at minus this
  float angleX = 0.0f;  // pitch, degrees
  float angleY = 0.0f;  // yaw, degrees
  float angleZ = 0.0f;  // roll, degrees

  // Each subtracts delta (degrees) from its angle and wraps once at the top: a result >= 360 loses
  // 360. There is no wrap below 0; negative angles keep decreasing.
  void Pitch(float delta);
  void Yaw(float delta);
  void Roll(float delta);

  // Positive steps move the eye forward, to the right and upward. The basis vectors are those of the
  // last Update, so call Update afterwards.
  void MoveForward(float step);
  void MoveSideways(float step);
  void MoveUp(float step);

  // matrix = transpose(((Rx * Ry) * Rz) * T(position)); basis vectors from the rows before transposing.
  void Update();
  // The same without the translation (the sky turns with the camera but never moves).
  void UpdateRotationOnly();
  // glMatrixMode(GL_MODELVIEW), then multiplies matrix onto it.
  void Apply() const;

 private:
  void TakeMatrix(const Matrix4& rowMajor);
};
