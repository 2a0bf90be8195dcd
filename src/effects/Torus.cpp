// Torus: allocation, the per-frame mesh build and immediate-mode drawing
#include "effects/Torus.h"

#include <GL/gl.h>

#include <cmath>
#include <new>

#include "image/Jpeg.h"
#include "image/Texture.h"

// Vector operations are done per component in double and rounded to float whenever a vector is stored, as
// each step of the build stores its result.

static_assert(Torus::kFillMode == GL_FILL);

namespace {

constexpr float kInitStep = 0.1f;
constexpr int kInitCount = 62;
constexpr double kInverseTwoPi = 1 / 6.28318530717;  // deliberately not 1 / (2 pi) to all digits

}  // namespace

bool Torus::Init(unsigned int polygonMode) {
  polygonMode_ = polygonMode;
  pathStep_ = angleStep_ = kInitStep;
  ringCount_ = sideCount_ = kInitCount;
  Allocate();
  BuildPath(p_, q_);
  BuildTube();
  BuildStrips();
  BuildTexCoords();
  BuildNormals();
  return LoadTexture("textures/torus.jpg", 256, 256);
}

bool Torus::Allocate() {
  // A second Init (window re-creation) replaces, and so releases, the previous arrays.
  const size_t count = static_cast<size_t>(ringCount_) * sideCount_;
  strips_.reset(new (std::nothrow) unsigned[static_cast<size_t>(sideCount_) * StripLength()]());
  normals_.reset(new (std::nothrow) Vector3[count]);
  path_.reset(new (std::nothrow) Vector3[ringCount_]);
  texCoords_.reset(new (std::nothrow) float[2 * count]());
  vertices_.reset(new (std::nothrow) Vector3[count]);
  sideCos_.reset(new (std::nothrow) double[sideCount_]());
  sideSin_.reset(new (std::nothrow) double[sideCount_]());
  faceNormals_.reset(new (std::nothrow) Vector3[2 * count]);
  if (strips_ && normals_ && path_ && texCoords_ && vertices_ && sideCos_ && sideSin_ && faceNormals_)
    return true;
  // All or nothing: the build and draw steps test only the vertex array.
  strips_.reset(), normals_.reset(), path_.reset(), texCoords_.reset(), vertices_.reset();
  sideCos_.reset(), sideSin_.reset(), faceNormals_.reset();
  return false;
}

void Torus::BuildPath(float p, float q) {
  if (!Allocated()) return;
  float t = 0;
  for (int i = 0; i < ringCount_; ++i) {
    const double s = std::sin(static_cast<double>(q) * t);
    const float r = static_cast<float>((s + 2) * 0.5 + 5);
    path_[i].Set(static_cast<float>(r * std::cos(static_cast<double>(p) * t)), static_cast<float>(r * s),
                 static_cast<float>(r * std::sin(static_cast<double>(p) * t)));
    t += pathStep_;  // summed, not i * pathStep: t carries the rounding of the float sums
  }
}

void Torus::BuildTube() {
  if (!Allocated()) return;
  // Every ring uses the same angles (summed in float from 0 by angleStep): their cosines
  // and sines are taken once per build instead of once per vertex.
  float angle = 0;
  for (int j = 0; j < sideCount_; ++j) {
    sideCos_[j] = std::cos(angle);
    sideSin_[j] = std::sin(angle);
    angle += angleStep_;
  }
  for (int i = 0; i < ringCount_; ++i) {
    const Vector3& here = path_[i];
    const Vector3& next = path_[i + 1 < ringCount_ ? i + 1 : 0];
    const Vector3 tangent = Subtract(next, here);
    const Vector3 sum = Add(here, next);
    Vector3 a = Cross(tangent, sum);  // normal of the plane through the origin and the segment
    Vector3 b = Cross(a, tangent);    // in that plane, across the segment
    a.Normalize();
    b.Normalize();
    const float rho = static_cast<float>(std::sin(tubePhase_ + (6 * i) * kInverseTwoPi) + 1.5);
    for (int j = 0; j < sideCount_; ++j) {
      const Vector3 offset = Add(Scale(a, sideCos_[j]), Scale(b, sideSin_[j]));
      vertices_[i * sideCount_ + j] = Add(here, Scale(offset, rho));
    }
  }
  tubePhase_ = static_cast<float>(tubePhase_ + 0.1);
}

void Torus::BuildStrips() {
  if (!Allocated()) return;
  for (int j = 0; j < sideCount_; ++j) {
    unsigned* strip = &strips_[static_cast<size_t>(j) * StripLength()];
    const unsigned next = j + 1 < sideCount_ ? j + 1 : 0;
    for (int i = 0; i <= ringCount_; ++i) {
      const unsigned ring = i < ringCount_ ? static_cast<unsigned>(i * sideCount_) : 0u;  // closes the tube
      strip[2 * i] = ring + j;
      strip[2 * i + 1] = ring + next;
    }
  }
}

void Torus::BuildTexCoords() {
  if (!Allocated()) return;
  for (int i = 0; i < ringCount_; ++i) {
    for (int j = 0; j < sideCount_; ++j) {
      float* st = &texCoords_[2 * (i * sideCount_ + j)];
      st[0] = static_cast<float>(2.0 * i / ringCount_);
      st[1] = static_cast<float>(2.0 * j / sideCount_);
    }
  }
}

void Torus::BuildNormals() {
  if (!Allocated()) return;
  // Each quad (i, j) of the strips is split along (i + 1, j)-(i, j + 1) into triangle A =
  // ((i, j), (i + 1, j), (i, j + 1)) and triangle B = ((i + 1, j), (i + 1, j + 1), (i, j + 1)).
  // Their cross products (along the path x around the tube: outwards, scaled by area) are
  // taken once per build, then each vertex sums the six triangles it belongs to (the ones
  // spanned by its six edge neighbours, wrapped on both seams) and normalises. The plain
  // sum of the six edges, negated, is no normal here: where the wave makes the tube thinner
  // than its neighbouring rings it points into the tube, on about half of the surface.
  for (int i = 0; i < ringCount_; ++i) {
    const int here = i * sideCount_;
    const int up = (i + 1 < ringCount_ ? i + 1 : 0) * sideCount_;
    for (int j = 0; j < sideCount_; ++j) {
      const int right = j + 1 < sideCount_ ? j + 1 : 0;
      const Vector3& v00 = vertices_[here + j];
      const Vector3& v10 = vertices_[up + j];
      const Vector3& v01 = vertices_[here + right];
      const Vector3& v11 = vertices_[up + right];
      faceNormals_[2 * (here + j)] = Cross(Subtract(v10, v00), Subtract(v01, v00));
      faceNormals_[2 * (here + j) + 1] = Cross(Subtract(v11, v01), Subtract(v11, v10));
    }
  }
  for (int i = 0; i < ringCount_; ++i) {
    const int here = i * sideCount_;
    const int down = (i > 0 ? i - 1 : ringCount_ - 1) * sideCount_;
    for (int j = 0; j < sideCount_; ++j) {
      const int left = j > 0 ? j - 1 : sideCount_ - 1;
      const Vector3* f = faceNormals_.get();
      Vector3 sum = f[2 * (here + j)];           // A of quad (i, j)
      sum = Add(sum, f[2 * (down + j)]);         // A of quad (i - 1, j)
      sum = Add(sum, f[2 * (down + j) + 1]);     // B of quad (i - 1, j)
      sum = Add(sum, f[2 * (down + left) + 1]);  // B of quad (i - 1, j - 1)
      sum = Add(sum, f[2 * (here + left)]);      // A of quad (i, j - 1)
      sum = Add(sum, f[2 * (here + left) + 1]);  // B of quad (i, j - 1)
      sum.Normalize();
      normals_[here + j] = sum;
    }
  }
}

void Torus::Draw() {
  glFrontFace(GL_CW);
  glBindTexture(GL_TEXTURE_2D, texture_);
  glEnable(GL_CULL_FACE);
  glEnable(GL_LIGHTING);
  glEnable(GL_TEXTURE_2D);
  glPolygonMode(GL_FRONT_AND_BACK, polygonMode_);
  glColor3f(0.7f, 0.7f, 0.7f);
  if (!Allocated()) return;
  for (int j = 0; j < sideCount_; ++j) {
    const unsigned* strip = Strip(j);
    glBegin(GL_TRIANGLE_STRIP);
    for (int n = 0; n < StripLength(); ++n) {
      const unsigned k = strip[n];
      glNormal3f(normals_[k].x, normals_[k].y, normals_[k].z);
      glTexCoord2fv(&texCoords_[2 * k]);
      glVertex3f(vertices_[k].x, vertices_[k].y, vertices_[k].z);
    }
    glEnd();
  }
}

bool Torus::LoadTexture(const char* fileName, int width, int height) {
  unsigned w = static_cast<unsigned>(width), h = static_cast<unsigned>(height), bits = 24;
  const std::unique_ptr<unsigned char[]> pixels = LoadJpeg(fileName, w, h, bits);  // overwrites all three
  texture_ = 0;
  glGenTextures(1, &texture_);
  // Without pixels the name stays without an image and the torus draws untextured.
  if (texture_ == 0 || !pixels) return false;
  UploadTexture(texture_, pixels.get(), static_cast<int>(w), static_cast<int>(h), TextureUpload{});
  return true;  // the pixels go with this scope: the object keeps no copy
}

void Torus::Rebuild() {
  BuildPath(p_, q_);
  BuildTube();
  BuildStrips();
  BuildTexCoords();
  BuildNormals();
}

void Torus::Frame() {
  glPushAttrib(0x000FFFFF);  // every attribute group of OpenGL 1.1
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glTranslatef(0, 0, -16);
  glRotatef(angle_, 1, 1, 0);
  Rebuild();
  Draw();
  glPopMatrix();
  glPopAttrib();
  angle_ = static_cast<float>(angle_ + 0.5);
}
