// ParticleSystem: emitter presets, the free-list pool, birth, motion, death and drawing
#include "particles/ParticleSystem.h"

#include <GL/gl.h>

#include <cmath>
#include <new>

#include "image/Jpeg.h"
#include "image/Texture.h"

// Random quantities are base + variation * r with the arithmetic in double; values are rounded to float where
// they are stored in a record.

namespace {

constexpr int kMaxParticles = 4000;
constexpr float kPi = 3.1415927f;
constexpr float kHalfPi = 1.5707964f;
constexpr float kFiveDegrees = 0.08726646f;
constexpr float kTwentyDegrees = 0.34906584f;

// base + variation * r, component-wise in double, each component rounded to float.
Vector3 Vary(const Vector3& base, const Vector3& variation, double r) {
  Vector3 v;
  v.x = static_cast<float>(variation.x * r + base.x);
  v.y = static_cast<float>(variation.y * r + base.y);
  v.z = static_cast<float>(variation.z * r + base.z);
  return v;
}

}  // namespace

ParticleSystem::ParticleSystem(ParticlePreset preset, RuntimeRand& rand) : preset_(preset), rand_(rand) {}

double ParticleSystem::RandomFactor() { return 1.0 - (rand_.Next() % 100) * static_cast<double>(0.02f); }

bool ParticleSystem::Init() {
  // A restart rebuilds everything: no particle survives and the old records are released.
  freeList_ = nullptr;
  pool_.reset();
  poolSize_ = 0;
  emitter_.reset(new (std::nothrow) ParticleEmitter());
  if (!emitter_) return false;
  ApplyPreset(preset_);

  const size_t count = static_cast<size_t>(emitter_->maxParticles) + 1;
  pool_.reset(new (std::nothrow) Particle[count]);
  if (!pool_) return false;
  poolSize_ = count;
  for (size_t i = 0; i + 1 < count; ++i) pool_[i].next = &pool_[i + 1];
  freeList_ = &pool_[0];
  return LoadTexture("textures/particle.jpg");
}

void ParticleSystem::ApplyPreset(ParticlePreset preset) {
  ParticleEmitter& e = *emitter_;
  e.live = nullptr;
  e.liveCount = 0;
  e.maxParticles = kMaxParticles;
  switch (preset) {
    case ParticlePreset::kDrift:
      e.spawnBase = 3, e.spawnVariation = 1;
      e.lifeBase = 580, e.lifeVariation = 10;
      e.startColourBase.Set(1, 1, 1), e.startColourVariation.Set(0, 0, 0);
      e.endColourBase.Set(1, 1, 1), e.endColourVariation.Set(0, 0, 0);
      e.origin.Set(0, 0, 0), e.acceleration.Set(0, 0, 0);
      e.yawBase = 0, e.yawVariation = kPi;
      e.elevationBase = 0, e.elevationVariation = kPi;
      e.speedBase = 0.01f, e.speedVariation = 0.01f;
      e.halfSize = 0.1f;
      break;
    case ParticlePreset::kFountain:
      e.spawnBase = 3, e.spawnVariation = 1;
      e.lifeBase = 430, e.lifeVariation = 20;
      e.startColourBase.Set(1, 1, 1), e.startColourVariation.Set(0.1f, 0.1f, 0.1f);
      e.endColourBase.Set(1, 1, 1), e.endColourVariation.Set(0.1f, 0.1f, 0.1f);
      e.origin.Set(0, 15, 0), e.acceleration.Set(0.00001f, -0.001f, 0);
      e.yawBase = 0, e.yawVariation = kPi;
      e.elevationBase = 0, e.elevationVariation = 0;
      e.speedBase = 0.1f, e.speedVariation = 0.05f;
      e.halfSize = 1.5f;
      break;
    case ParticlePreset::kJet:
      e.spawnBase = 3, e.spawnVariation = 1;
      e.lifeBase = 30, e.lifeVariation = 20;
      e.startColourBase.Set(1, 0, 0), e.startColourVariation.Set(0.1f, 0.1f, 0.1f);
      e.endColourBase.Set(1, 1, 0), e.endColourVariation.Set(0.1f, 0.1f, 0.1f);
      e.origin.Set(0, 0, 0), e.acceleration.Set(0, 0, 0);
      e.yawBase = kHalfPi, e.yawVariation = kFiveDegrees;
      e.elevationBase = 0, e.elevationVariation = kTwentyDegrees;
      e.speedBase = 0.1f, e.speedVariation = 0.05f;
      e.halfSize = 0.5f;
      break;
    default:  // unknown presets keep the emitter as allocated
      break;
  }
}

void ParticleSystem::Spawn() {
  if (!emitter_ || emitter_->liveCount >= emitter_->maxParticles || freeList_ == nullptr) return;
  ParticleEmitter& e = *emitter_;

  Particle* p = freeList_;
  freeList_ = p->next;
  p->prev = nullptr;
  p->next = e.live;
  if (e.live != nullptr) e.live->prev = p;
  e.live = p;

  p->life = static_cast<int>(e.lifeVariation * RandomFactor() + e.lifeBase);
  p->position = e.origin;
  p->colour = Vary(e.startColourBase, e.startColourVariation, RandomFactor());
  const Vector3 target = Vary(e.endColourBase, e.endColourVariation, RandomFactor());
  // A life of 0 or less is never stepped, so its colour delta is never used.
  const float k = p->life > 0 ? static_cast<float>(1.0 / p->life) : 0.0f;
  p->colourDelta.x = static_cast<float>((static_cast<double>(target.x) - p->colour.x) * k);
  p->colourDelta.y = static_cast<float>((static_cast<double>(target.y) - p->colour.y) * k);
  p->colourDelta.z = static_cast<float>((static_cast<double>(target.z) - p->colour.z) * k);

  const double yaw = e.yawVariation * RandomFactor() + e.yawBase;
  const double elevation = e.elevationVariation * RandomFactor() + e.elevationBase;
  p->velocity.x = static_cast<float>(-std::sin(yaw) * std::cos(elevation));
  p->velocity.y = static_cast<float>(std::sin(elevation));
  p->velocity.z = static_cast<float>(std::cos(yaw) * std::cos(elevation));
  const double speed = e.speedVariation * RandomFactor() + e.speedBase;
  p->velocity.x = static_cast<float>(p->velocity.x * speed);
  p->velocity.y = static_cast<float>(p->velocity.y * speed);
  p->velocity.z = static_cast<float>(p->velocity.z * speed);

  ++e.liveCount;
}

void ParticleSystem::Step(Particle* p) {
  ParticleEmitter& e = *emitter_;
  if (p->life > 0) {
    p->colour.x += p->colourDelta.x, p->colour.y += p->colourDelta.y, p->colour.z += p->colourDelta.z;
    p->position.x += p->velocity.x, p->position.y += p->velocity.y, p->position.z += p->velocity.z;
    p->velocity.x += e.acceleration.x, p->velocity.y += e.acceleration.y, p->velocity.z += e.acceleration.z;
    --p->life;
    return;
  }
  if (p->prev != nullptr) {
    p->prev->next = p->next;
  } else {
    e.live = p->next;
  }
  if (p->next != nullptr) p->next->prev = p->prev;
  p->prev = nullptr;
  p->next = freeList_;
  freeList_ = p;
  --e.liveCount;
}

void ParticleSystem::Update() {
  if (!emitter_) return;
  for (Particle* p = emitter_->live; p != nullptr;) {
    Particle* next = p->next;
    Step(p);
    p = next;
  }
  const int n = static_cast<int>(emitter_->spawnVariation * RandomFactor() + emitter_->spawnBase);
  for (int i = 0; i < n; ++i) Spawn();
}

void ParticleSystem::Draw() {
  glBindTexture(GL_TEXTURE_2D, texture_);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  if (emitter_) {
    const float h = emitter_->halfSize;
    for (const Particle* p = emitter_->live; p != nullptr; p = p->next) {
      const float x = p->position.x, y = p->position.y, z = p->position.z;
      glBegin(GL_TRIANGLE_STRIP);
      glColor3f(p->colour.x, p->colour.y, p->colour.z);
      glTexCoord2f(0, 0), glVertex3f(x - h, y - h, z);
      glTexCoord2f(1, 0), glVertex3f(x + h, y - h, z);
      glTexCoord2f(0, 1), glVertex3f(x - h, y + h, z);
      glTexCoord2f(1, 1), glVertex3f(x + h, y + h, z);
      glEnd();
    }
  }
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_DEPTH_TEST);
}

void ParticleSystem::Frame() {
  Update();
  Draw();
}

void SetParticleAlpha(unsigned char* rgba, size_t pixelCount) {
  for (size_t i = 0; i < pixelCount; ++i) rgba[4 * i + 3] = rgba[4 * i] <= 30 ? 0 : 128;
}

bool ParticleSystem::LoadTexture(const char* fileName) {
  texture_ = 0;  // a failed load leaves the system drawing with no texture
  unsigned width = 0, height = 0, bits = 0;
  const std::unique_ptr<unsigned char[]> pixels = LoadJpeg(fileName, width, height, bits);
  if (!pixels) return false;
  SetParticleAlpha(pixels.get(), static_cast<size_t>(width) * height);
  glGenTextures(1, &texture_);
  if (texture_ == 0) return false;
  UploadTexture(texture_, pixels.get(), static_cast<int>(width), static_cast<int>(height), TextureUpload{});
  return true;
}
