// terrain_bench: the landscape build from a 256 x 256 heightmap
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>

#include "platform/HeadlessGL.h"
#include "support/Scratch.h"
#include "support/TerrainFiles.h"
#include "terrain/Terrain.h"
#include "terrain/internal/HeightTools.h"

// BM_LandscapeBuild is the whole build without file reading (mesh, normals, height scaling, texture blend and
// upload, octree, lighting, client arrays); BM_LandscapeFiles is the file reading it leaves out (heightmap,
// five layers, six sky faces); BM_Generate is both together, as start-up runs it. Target for
// BM_LandscapeBuild: under 30 ms.

namespace {

unsigned char Height(int c, int r) {
  const double h = 128.0 + 60.0 * std::sin(c * 0.05) * std::cos(r * 0.07) + 50.0 * std::sin((c + r) * 0.021);
  return static_cast<unsigned char>(std::fmin(255.0, std::fmax(0.0, h)));
}

// A GL context and the data files in a folder of their own, made the working directory.
struct Fixture {
  Fixture() {
    platform::HeadlessGLOptions options;
    ok = gl.Create(options);
    const auto dir = std::filesystem::temp_directory_path() / "landscape_terrain_bench";
    std::filesystem::remove_all(dir);
    testsupport::LandscapeFiles files;
    files.size = 256;
    files.height = Height;
    files.skySize = 256;
    testsupport::WriteLandscapeFiles(dir, files);
    chdir = std::make_unique<testsupport::ScopedChdir>(dir);
    heights.resize(256 * 256);
    for (int r = 0; r < 256; ++r) {
      for (int c = 0; c < 256; ++c) heights[static_cast<size_t>(r) * 256 + c] = Height(c, r);
    }
  }
  platform::HeadlessGL gl;
  bool ok = false;
  std::unique_ptr<testsupport::ScopedChdir> chdir;
  std::vector<unsigned char> heights;
  Console console;
  OctreeDisplay display;
  LandscapeContext context{console, display, {}};
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

const std::string kLayers[5] = {"data/gfx/large/tex0.bmp", "data/gfx/large/tex1.bmp",
                                "data/gfx/large/tex1.bmp", "data/gfx/large/tex2.bmp",
                                "data/gfx/large/tex3.bmp"};

void BM_LandscapeBuild(benchmark::State& state) {
  Fixture& f = Shared();
  if (!f.ok) return state.SkipWithError("no GL context");
  Image layers[5];
  for (int k = 0; k < 5; ++k) layers[k].LoadBitmap(kLayers[k], {});
  Terrain terrain;
  std::vector<unsigned char> scaled(256 * 256);
  for (auto _ : state) {
    terrain.BuildMesh(f.heights.data(), 256, 256, f.console);
    ScaleHeights(f.heights.data(), 256, 256, scaled.data(), 256, 256);
    terrain.ComposeTexture(layers, scaled.data(), 256, 256);
    terrain.BuildOctree(f.context);
    terrain.BakeLighting(f.console);
    benchmark::DoNotOptimize(terrain.Arrays().ColourArray().data());
  }
  state.counters["triangles"] = terrain.TriangleCount();
  state.counters["leaf_entries"] = terrain.VisibleCapacity();
}
BENCHMARK(BM_LandscapeBuild)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The build's steps one by one, to see where its time goes.
void BM_Step(benchmark::State& state) {
  Fixture& f = Shared();
  if (!f.ok) return state.SkipWithError("no GL context");
  Image layers[5];
  for (int k = 0; k < 5; ++k) layers[k].LoadBitmap(kLayers[k], {});
  Terrain terrain;
  terrain.BuildMesh(f.heights.data(), 256, 256, f.console);
  terrain.BuildOctree(f.context);
  for (auto _ : state) {
    switch (state.range(0)) {
      case 0:
        terrain.BuildMesh(f.heights.data(), 256, 256, f.console);
        break;
      case 1:
        terrain.CalculateNormals();
        break;
      case 2:
        terrain.ComposeTexture(layers, f.heights.data(), 256, 256);
        break;
      case 3:
        terrain.BuildOctree(f.context);
        break;
      case 4:
        terrain.BakeLighting(f.console);
        break;
    }
  }
  static const char* const kNames[] = {"mesh+normals", "normals", "texture", "octree", "lighting+arrays"};
  state.SetLabel(kNames[state.range(0)]);
}
BENCHMARK(BM_Step)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_LandscapeFiles(benchmark::State& state) {
  Shared();
  for (auto _ : state) {
    Image heightmap(kHeightmapPath, {});
    Image layers[5];
    for (int k : {0, 2, 1, 3, 4}) layers[k].LoadBitmap(kLayers[k], {});
    for (const std::string& name : SkyboxFiles()) {
      Image face(name, {});
      benchmark::DoNotOptimize(face.Pixels());
    }
    benchmark::DoNotOptimize(heightmap.Pixels());
  }
}
BENCHMARK(BM_LandscapeFiles)->Unit(benchmark::kMillisecond);

void BM_Generate(benchmark::State& state) {
  Fixture& f = Shared();
  if (!f.ok) return state.SkipWithError("no GL context");
  Terrain terrain;
  for (auto _ : state) {
    if (!terrain.Build(kHeightmapPath, f.context)) return state.SkipWithError("build failed");
  }
}
BENCHMARK(BM_Generate)->Unit(benchmark::kMillisecond);

}  // namespace
