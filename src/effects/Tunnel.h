// Tunnel: the octagonal textured tube the viewer flies through, and its speed swing
#pragma once

// An octagonal tube of 120 rings, textured quad by quad, through which the viewer flies while the view sways.
// Its speed (TunnelSpeed, also the step of the W and X camera keys) rises and falls by itself, so the flight
// never settles.

// The ring-angle factor: the float product of the floats 3.14 and 1/180. Deliberately
// coarser than the vector module's DegToRad; the tunnel's closing side is a little wider.
constexpr float TunnelDegToRad = 3.14f * (1.0f / 180.0f);

class Tunnel {
 public:
  static constexpr int kRings = 120;
  static constexpr int kCorners = 8;

  struct Point {
    float x = 0, y = 0, z = 0;
  };

  // Builds the rings 8 apart with radius 5; enables texturing and filled polygons.
  void Init();
  void Build(float ringSpacing, float radius);
  // One frame: loads its own view, draws the tube with `texture` (the tunnel texture slot),
  // leaves the sway, a (0, 0, -8) move and a 0.8 scale on the model-view matrix for what
  // the scene draws next, and updates TunnelSpeed.
  void Draw(unsigned int texture);
  // The speed swing of one frame (the last step of Draw): a speed below 0.1 speeds up
  // the acceleration by 0.0004, above 1.0 slows it by 0.00004; then the speed changes by it.
  void UpdateSpeed();

  const Point& At(int ring, int corner) const { return points_[kCorners * ring + corner]; }
  float Scroll() const { return scroll_; }
  float Acceleration() const { return acceleration_; }
  int FrameCount() const { return frameCount_; }
  void SetScroll(float scroll) { scroll_ = scroll; }

  // Program-wide: units per frame along the tunnel, negative while it runs backwards.
  float TunnelSpeed = 2.7f;

 private:
  void DrawQuad(int r, int k0, int k1) const;

  Point points_[kRings * kCorners];
  float scroll_ = 0;        // z offset of the whole tube; 8 is taken off whenever it exceeds 8
  float acceleration_ = 0;  // change of TunnelSpeed per frame
  int frameCount_ = 0;      // drives the sway
};
