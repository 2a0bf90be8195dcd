// Flight: Hermite curves and the per-frame flight step
#include "director/Flight.h"

namespace {

const Vector3 kStart{-70.0f, -99.0f, -120.0f};
const Vector3 kEnd{-20.0f, -50.0f, -100.0f};
const Vector3 kStartTangent{-50.0f, -40.0f, -50.0f};
const Vector3 kEndTangent{-40.0f, -40.0f, -50.0f};
constexpr float kYawPerFrame = 0.3f;

// One axis of the Hermite coefficients, in double, rounded on store.
void BuildAxis(double p0, double p1, double t0, double t1, float& a, float& b, float& c, float& d) {
  a = static_cast<float>(2.0 * p0 - 2.0 * p1 + t0 + t1);
  b = static_cast<float>(3.0 * p1 - 3.0 * p0 - 2.0 * t0 - t1);
  c = static_cast<float>(t0);
  d = static_cast<float>(p0);
}

float EvaluateAxis(float a, float b, float c, float d, float t) {
  const float t2 = t * t;
  const float t3 = t2 * t;
  return a * t3 + b * t2 + c * t + d;
}

}  // namespace

void FlightCurve::Build(const Vector3& p0, const Vector3& p1, const Vector3& t0, const Vector3& t1) {
  BuildAxis(p0.x, p1.x, t0.x, t1.x, a.x, b.x, c.x, d.x);
  BuildAxis(p0.y, p1.y, t0.y, t1.y, a.y, b.y, c.y, d.y);
  BuildAxis(p0.z, p1.z, t0.z, t1.z, a.z, b.z, c.z, d.z);
}

Vector4 FlightCurve::Evaluate(float t) const {
  Vector4 point;
  point.x = EvaluateAxis(a.x, b.x, c.x, d.x, t);
  point.y = EvaluateAxis(a.y, b.y, c.y, d.y, t);
  point.z = EvaluateAxis(a.z, b.z, c.z, d.z, t);
  return point;
}

void BuildFlightCurves(FlightState& flight) {
  flight.curveA.Build(kStart, kEnd, kStartTangent, kEndTangent);
  flight.curveB.Build(kEnd, kStart, kStartTangent, kEndTangent);
}

void AdvanceFlight(FlightState& flight, Camera& camera) {
  flight.phase += kFlightPhaseStep;
  if (flight.phase >= 1.0f) {
    flight.direction = !flight.direction;
    flight.phase -= 1.0f;
  }
  const Vector4 point = (flight.direction ? flight.curveB : flight.curveA).Evaluate(flight.phase);
  camera.Yaw(kYawPerFrame);
  camera.position.Set(point.x, point.y, point.z);
  camera.Update();
}

void FlightScene(FlightState& flight, Camera& camera, Terrain& terrain, const OctreeDisplay& display) {
  AdvanceFlight(flight, camera);
  DrawLandscape(terrain, camera, display);
}
