// Flight: the landscape scene's camera flight along two Hermite curves, and its lasting state
#pragma once

#include "geometry/Camera.h"
#include "geometry/Octree.h"
#include "geometry/Vector.h"
#include "terrain/Terrain.h"

// The landscape scene's camera flight, back and forth along two cubic Hermite curves while the view turns
// slowly, and the state it keeps for the whole run.

// a t^3 + b t^2 + c t + d per axis.
struct FlightCurve {
  Vector3 a;
  Vector3 b;
  Vector3 c;
  Vector3 d;

  // Hermite form: from p0 (t = 0) to p1 (t = 1) with tangents t0 and t1 there.
  void Build(const Vector3& p0, const Vector3& p1, const Vector3& t0, const Vector3& t1);
  // The point at t, in single precision (w = 1).
  Vector4 Evaluate(float t) const;
};

// Owned by the program-wide state: phase and direction carry on across scenes and
// restarts; the curves are rebuilt by every start-up (BuildFlightCurves).
struct FlightState {
  float phase = 0.0f;      // curve parameter, in [0, 1) after each frame
  bool direction = false;  // false: out along curveA, true: back along curveB
  FlightCurve curveA;
  FlightCurve curveB;
};

inline constexpr float kFlightPhaseStep = 0.013f;

// The last start-up step: curve A, then curve B (same tangents, end points swapped).
void BuildFlightCurves(FlightState& flight);

// One frame: advance the phase, turn the camera 0.3 degrees, put it on the curve and
// draw the landscape from there.
void FlightScene(FlightState& flight, Camera& camera, Terrain& terrain, const OctreeDisplay& display);

// The camera part of a frame alone (no GL): what FlightScene does before drawing.
void AdvanceFlight(FlightState& flight, Camera& camera);
