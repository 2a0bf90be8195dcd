// Terrain: the landscape built from an 8-bit heightmap and drawn each flight frame
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geometry/Camera.h"
#include "geometry/Octree.h"
#include "geometry/TerrainMesh.h"
#include "image/Image.h"
#include "image/MessageBox.h"
#include "image/Texture.h"
#include "terrain/Console.h"
#include "terrain/Skybox.h"

// The landscape built from an 8-bit heightmap (mesh, normals, baked sun shades, synthesised texture, octree,
// GL client arrays, sky box) and drawn each flight frame with one glDrawElements; InitLandscape and
// DrawLandscape are the start-up and per-frame entries.

// The sun of the lighting bake; only x, y, z are used.
struct SunLight {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float w = 0.0f;
};

// The four render switches the keyboard flips; they live as long as the terrain.
struct RenderFlags {
  bool texturing = true;
  bool solidFill = true;
  bool smoothShading = true;
  bool showOctree = false;
};

// ArrayMask bits of VertexArrays.
inline constexpr unsigned kPositionArray = 2;
inline constexpr unsigned kColourArray = 4;
inline constexpr unsigned kTexCoordArray = 8;

// The mesh copied into GL client arrays: positions (3 floats), grey shades (4 bytes),
// texture coordinates (2 floats) per vertex. The pointers go to GL once, at Allocate.
class VertexArrays {
 public:
  VertexArrays() = default;
  VertexArrays(const VertexArrays&) = delete;
  VertexArrays& operator=(const VertexArrays&) = delete;
  // Disables the arrays last enabled (so GL never keeps pointers into freed memory).
  ~VertexArrays();

  void Allocate(size_t vertexCount, unsigned mask);
  void Enable(unsigned mask);
  void Disable(unsigned mask);
  static bool DrawElements(const uint32_t* indices, int count, unsigned mode);

  float* TexCoords() { return texCoords_.data(); }
  float* Positions() { return positions_.data(); }
  unsigned char* Colours() { return colours_.data(); }
  const std::vector<float>& TexCoordArray() const { return texCoords_; }
  const std::vector<float>& PositionArray() const { return positions_; }
  const std::vector<unsigned char>& ColourArray() const { return colours_; }
  unsigned Mask() const { return mask_; }

 private:
  std::vector<float> texCoords_;
  std::vector<float> positions_;
  std::vector<unsigned char> colours_;
  unsigned mask_ = 0;
};

// What a landscape build reports to and resets; owned by the program-wide state.
struct LandscapeContext {
  Console& console;
  OctreeDisplay& octreeDisplay;
  ShowMessageBox showMessage;  // the platform's boxes; empty shows none
};

// File names of the build's data.
inline constexpr const char* kHeightmapPath = "data/terrain/TerrainData4.bmp";

class Terrain {
 public:
  Terrain() = default;
  Terrain(const Terrain&) = delete;
  Terrain& operator=(const Terrain&) = delete;

  // Reads the 8-bit heightmap and generates from it. False for an unreadable file or
  // another depth (only the reader's box, if any, is shown).
  bool Build(const std::string& path, LandscapeContext& context);
  // The whole build from width x depth height bytes, row after row; replaces whatever
  // an earlier build made. False at the failing step (zero size, a grid too large,
  // texture synthesis or sky box failing).
  bool Generate(const unsigned char* heights, int width, int depth, LandscapeContext& context);

  // The steps of Generate, in its order, public so that the build can be timed apart
  // from its file reading. BuildMesh: grid, triangles, normals (false for a zero or
  // too large size); BuildOctree: the tree and the visible list's capacity;
  // BakeLighting: the sun's shades and the GL client arrays.
  bool BuildMesh(const unsigned char* heights, int width, int depth, Console& console);
  void BuildOctree(LandscapeContext& context);
  void BakeLighting(Console& console);

  void CalculateNormals();
  void CalculateLighting();
  // Blends the five 24-bit layer pictures by the width x height heights into the
  // terrain texture. A layer that cannot be read (or is not a 24-bit picture of at
  // least width x height pixels) is not touched and counts as black.
  bool SynthesizeTexture(const std::string layerPaths[5], const unsigned char* heights, int width, int height,
                         const ShowMessageBox& showMessage);
  // The blend and upload of SynthesizeTexture from layers already read.
  bool ComposeTexture(const Image (&layers)[5], const unsigned char* heights, int width, int height);

  // One frame: render state from the flags, sky box, camera, frustum, octree walk,
  // one glDrawElements. Leaves GL state as found, except the texture-coordinate array.
  void Draw(Camera& camera, const OctreeDisplay& display);

  // Forgets the GL texture names of an earlier start-up without deleting them: they
  // went with that start-up's rendering context, and the same numbers may already
  // name another module's textures in the new one.
  void ForgetTextures();

  void ToggleTexturing() { flags.texturing = !flags.texturing; }
  void ToggleSolidFill() { flags.solidFill = !flags.solidFill; }
  void ToggleSmoothShading() { flags.smoothShading = !flags.smoothShading; }
  // The new value also goes to the octree display's ShowOctreeBounds.
  void ToggleOctreeDisplay(OctreeDisplay& display) {
    flags.showOctree = !flags.showOctree;
    display.ShowOctreeBounds = flags.showOctree;
  }

  const std::vector<TerrainVertex>& Vertices() const { return vertices_; }
  const std::vector<TerrainTriangle>& Triangles() const { return triangles_; }
  const OctreeNode& Octree() const { return octree_; }
  const IndexList& Visible() const { return visible_; }
  const VertexArrays& Arrays() const { return arrays_; }
  const Skybox& Sky() const { return sky_; }
  const Texture& GroundTexture() const { return texture_; }
  const SunLight& Sun() const { return sun_; }
  int Width() const { return width_; }
  int Depth() const { return depth_; }
  int TriangleCount() const { return triangleCount_; }
  int VisibleCapacity() const { return visibleCapacity_; }
  float WorldWidth() const { return worldWidth_; }
  float WorldDepth() const { return worldDepth_; }

  RenderFlags flags;

 private:
  void MakeGrid(const unsigned char* heights);
  void MakeTriangles();
  void FillArrays();

  SunLight sun_;
  Skybox sky_;
  VertexArrays arrays_;
  IndexList visible_;
  float scaleX_ = 1.6f;
  float scaleY_ = 0.05859375f;  // 15/256 height units per heightmap step
  float scaleZ_ = 1.6f;
  std::vector<TerrainTriangle> triangles_;
  std::vector<TerrainVertex> vertices_;
  int visibleCapacity_ = 0;
  int triangleCount_ = 0;
  int width_ = 0;
  int depth_ = 0;
  float worldWidth_ = 0.0f;
  float worldDepth_ = 0.0f;
  Texture texture_;
  OctreeNode octree_;
};

// The start-up entry: a cleared screen, the build from the heightmap file, and on
// success the scene's light, clear colour and the camera's first pose. On failure a
// box owned by the main window, "Could not generate landscape from heightmap info".
bool InitLandscape(Terrain& terrain, Camera& camera, LandscapeContext& context);

// The per-frame entry of the flight scene: base GL state, then Terrain::Draw.
void DrawLandscape(Terrain& terrain, Camera& camera, const OctreeDisplay& display);
