// Torus: allocation, the per-frame mesh build and immediate-mode drawing.
// Vector operations are done per component in double and rounded to float whenever a
// vector is stored, as each step of the build stores its result.
// Dependencies: geometry/Vector.h, terrain/Jpeg.h, GL.
#include "effects/Torus.h"

#include <cmath>
#include <new>

#include "terrain/Jpeg.h"

namespace {

constexpr float kInitStep = 0.1f;
constexpr int kInitCount = 62;
constexpr double kInverseTwoPi = 1 / 6.28318530717;  // deliberately not 1 / (2 pi) to all digits

Vector3 Make(double x, double y, double z) {
  Vector3 v;
  v.Set(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
  return v;
}

Vector3 Add(const Vector3& a, const Vector3& b) {
  return Make(static_cast<double>(a.x) + b.x, static_cast<double>(a.y) + b.y, static_cast<double>(a.z) + b.z);
}
Vector3 Sub(const Vector3& a, const Vector3& b) {
  return Make(static_cast<double>(a.x) - b.x, static_cast<double>(a.y) - b.y, static_cast<double>(a.z) - b.z);
}
Vector3 Scale(const Vector3& a, double s) { return Make(a.x * s, a.y * s, a.z * s); }
Vector3 Cross(const Vector3& a, const Vector3& b) {
  return Make(static_cast<double>(a.y) * b.z - static_cast<double>(a.z) * b.y,
              static_cast<double>(a.z) * b.x - static_cast<double>(a.x) * b.z,
              static_cast<double>(a.x) * b.y - static_cast<double>(a.y) * b.x);
}

int Wrap(int i, int n) { return (i % n + n) % n; }

}  // namespace

bool Torus::Init(GLenum polygonMode) {
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
  if (strips_ && normals_ && path_ && texCoords_ && vertices_) return true;
  // All or nothing: the build and draw steps test only the vertex array.
  strips_.reset(), normals_.reset(), path_.reset(), texCoords_.reset(), vertices_.reset();
  return false;
}

void Torus::BuildPath(float p, float q) {
  if (!Allocated()) return;
  float t = 0;
  for (int i = 0; i < ringCount_; ++i) {
    const double s = std::sin(static_cast<double>(q) * t);
    const float r = static_cast<float>((s + 2) * 0.5 + 5);
    path_[i] = Make(r * std::cos(static_cast<double>(p) * t), r * s, r * std::sin(static_cast<double>(p) * t));
    t += pathStep_;  // summed, so t carries float rounding like the original curve
  }
}

void Torus::BuildTube() {
  if (!Allocated()) return;
  for (int i = 0; i < ringCount_; ++i) {
    const Vector3& here = path_[i];
    const Vector3& next = path_[i + 1 < ringCount_ ? i + 1 : 0];
    const Vector3 tangent = Sub(next, here);
    const Vector3 sum = Add(here, next);
    Vector3 a = Cross(tangent, sum);  // normal of the plane through the origin and the segment
    Vector3 b = Cross(a, tangent);    // in that plane, across the segment
    a.Normalize();
    b.Normalize();
    const float rho = static_cast<float>(std::sin(tubePhase_ + (6 * i) * kInverseTwoPi) + 1.5);
    float angle = 0;
    for (int j = 0; j < sideCount_; ++j) {
      const Vector3 offset = Add(Scale(a, std::cos(angle)), Scale(b, std::sin(angle)));
      vertices_[i * sideCount_ + j] = Add(here, Scale(offset, rho));
      angle += angleStep_;
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
  // The six vertices sharing an edge with (i, j) in the strips, in turning order around it.
  static constexpr int kNeighbours[6][2] = {{1, 0}, {0, 1}, {-1, 1}, {-1, 0}, {0, -1}, {1, -1}};
  // The normal is the sum of the six fan triangles' cross products (each partial sum stored
  // as float), normalised. The plain sum of the edge vectors, negated, is no normal here:
  // where the wave makes the tube thinner than its neighbouring rings it points into the
  // tube, on about half of the surface.
  for (int i = 0; i < ringCount_; ++i) {
    for (int j = 0; j < sideCount_; ++j) {
      const Vector3& v = vertices_[i * sideCount_ + j];
      Vector3 edges[6];
      for (int k = 0; k < 6; ++k) {
        const int ni = Wrap(i + kNeighbours[k][0], ringCount_);
        const int nj = Wrap(j + kNeighbours[k][1], sideCount_);
        edges[k] = Sub(vertices_[ni * sideCount_ + nj], v);
      }
      Vector3 sum;
      for (int k = 0; k < 6; ++k) sum = Add(sum, Cross(edges[k], edges[(k + 1) % 6]));
      sum.Normalize();
      normals_[i * sideCount_ + j] = sum;
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
  glBindTexture(GL_TEXTURE_2D, texture_);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexImage2D(GL_TEXTURE_2D, 0, 4, static_cast<GLsizei>(w), static_cast<GLsizei>(h), 0, GL_RGBA,
               GL_UNSIGNED_BYTE, pixels.get());
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
