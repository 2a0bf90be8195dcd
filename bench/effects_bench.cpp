// Effects benchmarks: the torus's per-frame rebuild and one particle update
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include "effects/Torus.h"
#include "particles/ParticleSystem.h"
#include "particles/RuntimeRand.h"
#include "platform/HeadlessGL.h"

namespace {

void BM_TorusRebuild(benchmark::State& state) {
  platform::HeadlessGL gl;  // Init makes a texture name
  if (!gl.Create({64, 64, 32, 16})) {
    state.SkipWithError("no headless GL context");
    return;
  }
  float phase = 0;
  Torus torus(phase);
  torus.Init(GL_FILL);
  for (auto _ : state) {
    torus.Rebuild();
    benchmark::DoNotOptimize(torus.Normal(30, 30));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_TorusRebuild)->Unit(benchmark::kMicrosecond);

void BM_ParticleUpdateSteadyState(benchmark::State& state) {
  RuntimeRand rand;
  ParticleSystem cloud(ParticlePreset::kDrift, rand);
  cloud.Init();  // no picture needed: the update is pure CPU
  for (int i = 0; i < 1200; ++i) cloud.Update();
  for (auto _ : state) {
    cloud.Update();
    benchmark::ClobberMemory();
  }
  state.counters["live"] = cloud.Emitter()->liveCount;
}
BENCHMARK(BM_ParticleUpdateSteadyState)->Unit(benchmark::kMicrosecond);

}  // namespace
