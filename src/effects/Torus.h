// Torus: a textured tube swept along a closed curve, rebuilt and drawn every frame
#pragma once

#include <cstddef>
#include <memory>

#include "geometry/Vector.h"

// A textured tube swept along a closed (p, q) curve, its thickness pulsing in a wave that runs along the
// tube, the whole object turning. The mesh (curve, tube, strip indices, texture coordinates, normals) is
// rebuilt on the CPU every frame and drawn in immediate mode as one triangle strip per side.

class Torus {
 public:
  // GL_FILL, spelled out so that GL stays out of this header: the polygon mode until Init sets one.
  static constexpr unsigned int kFillMode = 0x1B02;

  // tubePhase is the program-wide phase of the thickness wave, shared by every torus:
  // each tube build advances it by 0.1, whichever torus builds. It must outlive the torus.
  explicit Torus(float& tubePhase) : tubePhase_(tubePhase) {}
  Torus(const Torus&) = delete;
  Torus& operator=(const Torus&) = delete;

  // Sets the sizes, (re)allocates the arrays (releasing any previous ones), builds the mesh
  // once and loads "textures/torus.jpg". True when the texture was uploaded.
  bool Init(unsigned int polygonMode);
  bool Allocate();
  bool LoadTexture(const char* fileName, int width, int height);

  void BuildPath(float p, float q);
  void BuildTube();
  void BuildStrips();
  void BuildTexCoords();
  void BuildNormals();
  void Draw();
  // Rebuilds and draws the mesh on the current model-view matrix, turned by angle about
  // (1, 1, 0) and moved 16 back; restores GL state; turns by half a degree.
  void Frame();
  // The per-frame mesh rebuild without GL (path, tube, strips, texture coordinates, normals).
  void Rebuild();

  unsigned int PolygonMode() const { return polygonMode_; }
  int SideCount() const { return sideCount_; }
  int RingCount() const { return ringCount_; }
  float PathStep() const { return pathStep_; }
  float AngleStep() const { return angleStep_; }
  float Angle() const { return angle_; }
  float P() const { return p_; }
  float Q() const { return q_; }
  unsigned int Texture() const { return texture_; }
  bool Allocated() const { return vertices_ != nullptr; }
  int StripLength() const { return 2 * ringCount_ + 2; }

  // Arrays indexed as in the mesh: vertex (i, j) of ring i, side j at i * sideCount + j.
  const Vector3& PathPoint(int i) const { return path_[i]; }
  const Vector3& Vertex(int i, int j) const { return vertices_[i * sideCount_ + j]; }
  const Vector3& Normal(int i, int j) const { return normals_[i * sideCount_ + j]; }
  const float* TexCoord(int i, int j) const { return &texCoords_[2 * (i * sideCount_ + j)]; }
  const unsigned* Strip(int j) const { return &strips_[static_cast<size_t>(j) * StripLength()]; }

 private:
  float& tubePhase_;
  unsigned int polygonMode_ = kFillMode;  // GL polygon mode, front and back
  float pathStep_ = 0.001f;
  float angleStep_ = 0.001f;
  int sideCount_ = 0;
  int ringCount_ = 0;
  std::unique_ptr<Vector3[]> path_;
  std::unique_ptr<Vector3[]> vertices_;
  std::unique_ptr<Vector3[]> normals_;
  std::unique_ptr<float[]> texCoords_;  // (s, t) pairs
  unsigned int texture_ = 0;            // GL texture name
  std::unique_ptr<unsigned[]> strips_;  // sideCount strips of StripLength() indices, one after another
  std::unique_ptr<double[]> sideCos_;   // cos and sin of each side's angle, per tube build
  std::unique_ptr<double[]> sideSin_;
  std::unique_ptr<Vector3[]> faceNormals_;  // two triangles per quad, per normal build
  float angle_ = 0;                         // degrees
  float p_ = 1.0f;
  float q_ = 2.0f;
};
