// ParticleSystem: textured, additively blended squares emitted from one point
#pragma once

#include <cstddef>
#include <memory>

#include "geometry/Vector.h"
#include "particles/RuntimeRand.h"

// Textured, additively blended squares emitted from one point, with three fixed looks (ParticlePreset).
// Particles move one step per Update, so their speed on screen follows the frame rate. The record pool is
// allocated once by Init and recycled through a free list; nothing allocates per frame.

// The three looks of a system. The numbers are those the looks have always been known by.
enum class ParticlePreset : int {
  kDrift = 0,     // slow white particles drifting out in all directions from the origin
  kFountain = 1,  // thrown out sideways from a point above the origin, then falling
  kJet = 2,       // a short-lived red-to-yellow jet along -X, fanned 20 degrees up and down
};

struct Particle {
  Particle* next = nullptr;  // live list: towards older particles; free list: next free record
  Particle* prev = nullptr;  // live list only: towards newer particles
  Vector3 position;
  Vector3 colour;       // red, green, blue; may leave [0, 1], handed to GL unchanged
  Vector3 colourDelta;  // added to colour each update
  Vector3 velocity;     // world units per update
  int life = 0;         // updates still to run
};

struct ParticleEmitter {
  Particle* live = nullptr;  // newest first, doubly linked
  int spawnBase = 0, spawnVariation = 0;
  int lifeBase = 0, lifeVariation = 0;
  Vector3 startColourBase, startColourVariation;
  Vector3 endColourBase, endColourVariation;
  Vector3 origin;
  Vector3 acceleration;
  float yawBase = 0, yawVariation = 0;              // radians about Y
  float elevationBase = 0, elevationVariation = 0;  // radians above the XZ plane
  float speedBase = 0, speedVariation = 0;          // distance per update at birth
  int liveCount = 0;
  int maxParticles = 0;
  float halfSize = 0;
};

class ParticleSystem {
 public:
  // The generator is the program's one runtime rand; it must outlive the system.
  ParticleSystem(ParticlePreset preset, RuntimeRand& rand);
  ParticleSystem(const ParticleSystem&) = delete;
  ParticleSystem& operator=(const ParticleSystem&) = delete;

  // Releases any previous emitter and pool, builds new ones from the preset and loads
  // "textures/particle.jpg". True when the texture was decoded and uploaded.
  bool Init();
  // A preset outside the three leaves the emitter as allocated.
  void ApplyPreset(ParticlePreset preset);
  bool LoadTexture(const char* fileName);

  void Spawn();
  void Step(Particle* p);
  void Update();
  // Draws in the current model-view space; leaves blending and texturing off and depth test on.
  void Draw();
  void Frame();

  ParticlePreset Preset() const { return preset_; }
  unsigned int Texture() const { return texture_; }
  const ParticleEmitter* Emitter() const { return emitter_.get(); }
  const Particle* FreeList() const { return freeList_; }
  size_t PoolSize() const { return poolSize_; }

 private:
  // One random factor: 1 - (rand mod 100) * 0.02f, one of 1.0, 0.98, ..., -0.98.
  double RandomFactor();

  ParticlePreset preset_;
  RuntimeRand& rand_;
  unsigned int texture_ = 0;  // GL texture name
  Particle* freeList_ = nullptr;
  std::unique_ptr<ParticleEmitter> emitter_;
  std::unique_ptr<Particle[]> pool_;
  size_t poolSize_ = 0;
};

// Gives each RGBA pixel alpha 0 where its red byte is 30 or less, else 128, so the
// additive blend drops the dark parts of the picture and adds the rest at half strength.
void SetParticleAlpha(unsigned char* rgba, size_t pixelCount);
