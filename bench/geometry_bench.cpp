// Geometry benchmarks: the flight scene's per-frame visibility cost
#include <GL/gl.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "geometry/Camera.h"
#include "geometry/Frustum.h"
#include "geometry/Octree.h"
#include "geometry/TestGrid.h"
#include "platform/HeadlessGL.h"

// Target: under 0.2 ms per frame.

namespace {

// Rolling hills in 0..255, the shape of a real heightmap rather than a flat sheet.
int Height(int c, int r) {
  const double h = 128.0 + 60.0 * std::sin(c * 0.05) * std::cos(r * 0.07) + 50.0 * std::sin((c + r) * 0.021);
  return static_cast<int>(std::fmin(255.0, std::fmax(0.0, h)));
}

struct P3 {
  float x, y, z;
};

// The flight's cubic Hermite curve between two camera positions (the world translation, so the eye
// is at minus the point).
P3 Hermite(P3 p0, P3 p1, P3 t0, P3 t1, float t) {
  auto axis = [t](float a0, float a1, float d0, float d1) {
    const float a = 2 * a0 - 2 * a1 + d0 + d1, b = 3 * a1 - 3 * a0 - 2 * d0 - d1;
    return ((a * t + b) * t + d0) * t + a0;
  };
  return {axis(p0.x, p1.x, t0.x, t1.x), axis(p0.y, p1.y, t0.y, t1.y), axis(p0.z, p1.z, t0.z, t1.z)};
}

struct Pose {
  P3 position;
  float angleY;
};

// Frame k of the flight: 0.013 of curve parameter and 0.3 degrees of yaw per frame, starting from the
// landscape's initial pose (pitch 50, yaw 20); there and back along the two curves.
std::vector<Pose> FlightPoses() {
  const P3 a{-70, -99, -120}, b{-20, -50, -100}, ta{-50, -40, -50}, tb{-40, -40, -50};
  std::vector<Pose> poses;
  for (int k = 0; k < 154; k += 11) {
    const float phase = std::fmod(0.013f * (k + 1), 1.0f);
    const bool back = 0.013f * (k + 1) >= 1.0f;
    const P3 p = back ? Hermite(b, a, ta, tb, phase) : Hermite(a, b, ta, tb, phase);
    poses.push_back({p, 20.0f - 0.3f * (k + 1)});
  }
  return poses;
}

struct Scene {
  platform::HeadlessGL gl;
  testgrid::Grid grid = testgrid::MakeGrid(256, 256, Height);
  OctreeNode root;
  IndexList list;
  std::vector<Pose> poses = FlightPoses();
  bool ok = false;

  Scene() {
    ok = gl.Create({64, 48, 32, 16});
    if (!ok) return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 768.0 / 1024.0, 0.1f, 200.0);
    testgrid::BuildOctree(root, grid);
    list.Allocate(root.CountTriangles(), grid.triangles.data(), static_cast<int>(grid.triangles.size()));
  }
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

// One terrain frame's visibility work at one pose.
void VisibilityFrame(Scene& s, Camera& cam, const OctreeDisplay& display) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  cam.Update();
  cam.Apply();
  Frustum frustum;
  frustum.Update();
  s.list.Clear();
  s.root.CollectVisible(&frustum, s.list, display);
}

Camera CameraAt(const Pose& pose) {
  Camera cam;
  cam.angleX = 50.0f;
  cam.angleY = pose.angleY;
  cam.position.Set(pose.position.x, pose.position.y, pose.position.z);
  return cam;
}

void BM_FlightFrame(benchmark::State& state) {
  Scene& s = TheScene();
  if (!s.ok) {
    state.SkipWithError(s.gl.LastError().c_str());
    return;
  }
  const Pose& pose = s.poses[static_cast<size_t>(state.range(0))];
  Camera cam = CameraAt(pose);
  for (auto _ : state) {
    VisibilityFrame(s, cam, {});
    benchmark::DoNotOptimize(s.list.Count());
  }
  state.counters["triangles"] = s.list.Count() / 3;
  state.counters["eye_x"] = -pose.position.x;
  state.counters["eye_z"] = -pose.position.z;
}
BENCHMARK(BM_FlightFrame)->DenseRange(0, 13)->Unit(benchmark::kMicrosecond);

// The whole flight, pose after pose, as the scene would run it.
void BM_FlightSweep(benchmark::State& state) {
  Scene& s = TheScene();
  if (!s.ok) {
    state.SkipWithError(s.gl.LastError().c_str());
    return;
  }
  size_t i = 0;
  for (auto _ : state) {
    Camera cam = CameraAt(s.poses[i]);
    VisibilityFrame(s, cam, {});
    benchmark::DoNotOptimize(s.list.Count());
    i = (i + 1) % s.poses.size();
  }
}
BENCHMARK(BM_FlightSweep)->Unit(benchmark::kMicrosecond);

// The octree build over the whole grid, once per start-up (for reference).
void BM_OctreeBuild(benchmark::State& state) {
  const testgrid::Grid grid = testgrid::MakeGrid(256, 256, Height);
  OctreeNode root;
  for (auto _ : state) {
    testgrid::BuildOctree(root, grid);
    benchmark::DoNotOptimize(root.CountTriangles());
  }
}
BENCHMARK(BM_OctreeBuild)->Unit(benchmark::kMillisecond);

}  // namespace
