// BackgroundPanel: the picture turning behind the solid torus
#pragma once

#include <memory>

// A large square picture ("textures/bg1.jpg") turning slowly about the line of sight, drawn behind the solid
// torus with depth testing off.

class BackgroundPanel {
 public:
  // The three numbers are accepted for the program's construction call and not used.
  BackgroundPanel(int, int, int) {}
  BackgroundPanel(const BackgroundPanel&) = delete;
  BackgroundPanel& operator=(const BackgroundPanel&) = delete;

  // Creates the texture and uploads the decoded picture; a picture that cannot be decoded
  // gives an empty 0 x 0 texture and an untextured panel. Always true.
  bool LoadTexture();
  // One frame: turns by angleStep, then draws the quad 5 units in front of the eye.
  // Restores every attribute it changes.
  void Draw();

  const unsigned char* Pixels() const { return pixels_.get(); }
  unsigned int Texture() const { return texture_; }
  float Angle() const { return angle_; }
  float AngleStep() const { return angleStep_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  // The decoded RGBA picture is kept after upload; a reload replaces it, so at most one copy lives.
  std::unique_ptr<unsigned char[]> pixels_;
  unsigned int texture_ = 0;  // GL texture name
  float angle_ = 0;           // degrees about the view axis
  float angleStep_ = 1.0f;
  int width_ = 256;
  int height_ = 256;
};
