// The flight: curve ends and tangents, the trips back and forth, the turn, and state across restarts
#include "director/Flight.h"

#include <gtest/gtest.h>

namespace {

void ExpectPoint(const Vector4& p, float x, float y, float z) {
  EXPECT_EQ(p.x, x);
  EXPECT_EQ(p.y, y);
  EXPECT_EQ(p.z, z);
}

TEST(FlightCurve, EndPointsAndTangents) {
  FlightState flight;
  BuildFlightCurves(flight);
  ExpectPoint(flight.curveA.Evaluate(0.0f), -70, -99, -120);
  ExpectPoint(flight.curveA.Evaluate(1.0f), -20, -50, -100);
  ExpectPoint(flight.curveB.Evaluate(0.0f), -20, -50, -100);
  ExpectPoint(flight.curveB.Evaluate(1.0f), -70, -99, -120);
  // Coefficients of A per the Hermite form: a = 2P0 - 2P1 + T0 + T1, b = 3P1 - 3P0 - 2T0 - T1.
  EXPECT_EQ(flight.curveA.a.x, 2 * -70 - 2 * -20 + -50 + -40);
  EXPECT_EQ(flight.curveA.b.y, 3 * -50 - 3 * -99 - 2 * -40 - -40);
  EXPECT_EQ(flight.curveA.c.z, -50);
  EXPECT_EQ(flight.curveA.d.x, -70);
  // Both curves leave with T0 and arrive with T1, so B is a different arc, not A reversed.
  const float h = 1.0f / 1024;
  for (const FlightCurve* curve : {&flight.curveA, &flight.curveB}) {
    const Vector4 p0 = curve->Evaluate(0.0f), p1 = curve->Evaluate(h);
    EXPECT_NEAR((p1.x - p0.x) / h, -50, 0.5);
    EXPECT_NEAR((p1.y - p0.y) / h, -40, 0.5);
    const Vector4 q0 = curve->Evaluate(1.0f - h), q1 = curve->Evaluate(1.0f);
    EXPECT_NEAR((q1.x - q0.x) / h, -40, 0.5);
    EXPECT_NEAR((q1.z - q0.z) / h, -50, 0.5);
  }
  // Same position at t = 0.25 of A and 0.75 of B only if B were A reversed.
  EXPECT_NE(flight.curveA.Evaluate(0.25f).y, flight.curveB.Evaluate(0.75f).y);
}

TEST(FlightScene, TripsTakeSeventySevenOrSeventySixFrames) {
  FlightState flight;
  BuildFlightCurves(flight);
  Camera camera;
  std::vector<int> trips;
  int frames = 0;
  bool direction = flight.direction;
  for (int frame = 0; frame < 77 * 60; ++frame) {
    AdvanceFlight(flight, camera);
    ++frames;
    ASSERT_GE(flight.phase, 0.0f);
    ASSERT_LT(flight.phase, 1.0f);
    if (flight.direction != direction) {
      trips.push_back(frames);
      frames = 0;
      direction = flight.direction;
      // The wrapping frame is on the other curve just past the shared end point.
      const Vector4 end = direction ? flight.curveA.Evaluate(1.0f) : flight.curveB.Evaluate(1.0f);
      EXPECT_LT(flight.phase, 0.013f);
      // The curves move at most about 60 units per unit of phase near their ends.
      EXPECT_NEAR(camera.position.x, end.x, 60 * flight.phase + 1e-3);
      EXPECT_NEAR(camera.position.y, end.y, 60 * flight.phase + 1e-3);
    }
  }
  ASSERT_GT(trips.size(), 50u);
  EXPECT_EQ(trips[0], 77);
  int seventySix = 0;
  for (int trip : trips) {
    EXPECT_TRUE(trip == 77 || trip == 76) << trip;
    seventySix += trip == 76;
  }
  EXPECT_GT(seventySix, 0);
  EXPECT_LT(seventySix, static_cast<int>(trips.size()) / 2);
}

TEST(FlightScene, CameraTurnsAndSitsOnTheCurve) {
  FlightState flight;
  BuildFlightCurves(flight);
  Camera camera;
  camera.position.Set(1000.0f, 1000.0f, 1000.0f);  // what the movement keys did is replaced
  camera.angleY = 10.0f;
  AdvanceFlight(flight, camera);
  EXPECT_EQ(flight.phase, 0.013f);
  EXPECT_FALSE(flight.direction);
  EXPECT_FLOAT_EQ(camera.angleY, 9.7f);
  const Vector4 p = flight.curveA.Evaluate(0.013f);
  EXPECT_EQ(camera.position.x, p.x);
  EXPECT_EQ(camera.position.y, p.y);
  EXPECT_EQ(camera.position.z, p.z);
  // The camera matrix is rebuilt: column-major translation with no turn except the yaw.
  EXPECT_NE(camera.matrix.m[12], 0.0f);
  for (int i = 0; i < 9; ++i) AdvanceFlight(flight, camera);
  EXPECT_NEAR(camera.angleY, 7.0f, 1e-4);
}

// Phase and direction belong to the program-wide state: a restart rebuilds the curves
// and a new camera but the flight goes on where it was.
TEST(FlightScene, RestartContinuesFromTheStoredPhaseAndDirection) {
  FlightState flight;
  BuildFlightCurves(flight);
  Camera camera;
  for (int i = 0; i < 100; ++i) AdvanceFlight(flight, camera);
  const float phase = flight.phase;
  const bool direction = flight.direction;
  EXPECT_TRUE(direction);
  BuildFlightCurves(flight);
  Camera fresh;
  EXPECT_EQ(flight.phase, phase);
  EXPECT_EQ(flight.direction, direction);
  AdvanceFlight(flight, fresh);
  const Vector4 p = flight.curveB.Evaluate(flight.phase);
  EXPECT_EQ(fresh.position.x, p.x);
  EXPECT_NEAR(flight.phase, phase + 0.013f, 1e-6);
}

}  // namespace
