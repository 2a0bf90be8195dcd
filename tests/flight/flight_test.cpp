// The flight: curve ends and tangents, the trips back and forth, the turn, and state across restarts
#include "director/Flight.h"

#include <gtest/gtest.h>

namespace {

using Point = std::array<float, 3>;
Point At(const FlightCurve& curve, float t) {
  const Vector4 p = curve.Evaluate(t);
  return {p.x, p.y, p.z};
}

// Both curves leave with the first tangent and arrive with the second, so B is a different arc from
// A, not A run backwards; their ends meet.
TEST(FlightCurve, EndPointsAndTangents) {
  FlightState flight;
  BuildFlightCurves(flight);
  const Point start{-70, -99, -120}, end{-20, -50, -100};
  const float h = 1.0f / 1024;
  for (const auto& [curve, from, to] :
       {std::tuple{&flight.curveA, start, end}, {&flight.curveB, end, start}}) {
    SCOPED_TRACE(curve == &flight.curveA ? "A" : "B");
    EXPECT_EQ(At(*curve, 0.0f), from);
    EXPECT_EQ(At(*curve, 1.0f), to);
    const Point p0 = At(*curve, 0.0f), p1 = At(*curve, h), q0 = At(*curve, 1.0f - h), q1 = At(*curve, 1.0f);
    const Point leave{-50, -40, -50}, arrive{-40, -40, -50};
    for (int k = 0; k < 3; ++k) {
      EXPECT_NEAR((p1[k] - p0[k]) / h, leave[k], 0.5) << k;
      EXPECT_NEAR((q1[k] - q0[k]) / h, arrive[k], 0.5) << k;
    }
  }
  EXPECT_NE(At(flight.curveA, 0.25f), At(flight.curveB, 0.75f));
}

// 0.013 a frame: trips of 77 frames, now and then 76 as the remainder carries over; each wrap lands
// just past the shared end on the other curve; the camera turns 0.3 degrees a frame and sits on the curve.
TEST(FlightScene, TripsTurnsAndCameraOnTheCurve) {
  FlightState flight;
  BuildFlightCurves(flight);
  Camera camera;
  camera.position.Set(1000.0f, 1000.0f, 1000.0f);  // what the movement keys did is replaced
  camera.angleY = 10.0f;
  AdvanceFlight(flight, camera);
  EXPECT_FLOAT_EQ(camera.angleY, 9.7f);
  EXPECT_EQ((Point{camera.position.x, camera.position.y, camera.position.z}), At(flight.curveA, 0.013f));
  std::vector<int> trips;
  int frames = 1;
  for (bool direction = false; trips.size() < 60;) {
    AdvanceFlight(flight, camera);
    ++frames;
    ASSERT_TRUE(flight.phase >= 0.0f && flight.phase < 1.0f) << flight.phase;
    if (flight.direction == direction) continue;
    direction = flight.direction;
    trips.push_back(frames);
    frames = 0;
    EXPECT_LT(flight.phase, 0.013f);
    const Point end = At(direction ? flight.curveA : flight.curveB, 1.0f);
    EXPECT_NEAR(camera.position.x, end[0], 60 * flight.phase + 1e-3);  // at most ~60 units per unit of phase
  }
  EXPECT_EQ(trips[0], 77);
  const auto shorter = std::count(trips.begin(), trips.end(), 76);
  EXPECT_EQ(std::count(trips.begin(), trips.end(), 77) + shorter, 60);
  EXPECT_GT(shorter, 0);
  EXPECT_LT(shorter, 30);
}

// Phase and direction belong to the programme-wide state: a restart rebuilds the curves and a new
// camera, and the flight goes on where it was.
TEST(FlightScene, RestartContinuesFromTheStoredPhaseAndDirection) {
  FlightState flight;
  BuildFlightCurves(flight);
  Camera camera;
  for (int i = 0; i < 100; ++i) AdvanceFlight(flight, camera);
  const float phase = flight.phase;
  ASSERT_TRUE(flight.direction);
  BuildFlightCurves(flight);
  Camera fresh;
  AdvanceFlight(flight, fresh);
  EXPECT_TRUE(flight.direction);
  EXPECT_NEAR(flight.phase, phase + 0.013f, 1e-6);
  EXPECT_EQ(fresh.position.x, flight.curveB.Evaluate(flight.phase).x);
}

}  // namespace
