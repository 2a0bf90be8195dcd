// Terrain: the build from the heightmap, step by step with its progress lines
#include "terrain/Terrain.h"

#include <algorithm>

#include "terrain/internal/HeightTools.h"

namespace {

// The texture synthesis works on the heights scaled to this size.
constexpr int kTextureSize = 256;
// Beyond this many vertices the grid's triangle count would not fit its int.
constexpr int64_t kMaxVertices = 1 << 24;

const std::string kLayerFiles[5] = {"data/gfx/large/tex0.bmp", "data/gfx/large/tex1.bmp",
                                    "data/gfx/large/tex1.bmp", "data/gfx/large/tex2.bmp",
                                    "data/gfx/large/tex3.bmp"};

}  // namespace

bool Terrain::Build(const std::string& path, LandscapeContext& context) {
  Image image;
  if (!image.LoadBitmap(path, context.showMessage) || image.Bits() != 8) return false;
  return Generate(image.Pixels(), static_cast<int>(image.Width()), static_cast<int>(image.Height()), context);
}

bool Terrain::Generate(const unsigned char* heights, int width, int depth, LandscapeContext& context) {
  if (!BuildMesh(heights, width, depth, context.console)) return false;
  Image original;
  original.SetPixels(heights, static_cast<uint32_t>(width), static_cast<uint32_t>(depth), 8);
  original.Save("data/original_hmap.bmp");
  std::vector<unsigned char> scaled(static_cast<size_t>(kTextureSize) * kTextureSize);
  ScaleHeights(heights, width, depth, scaled.data(), kTextureSize, kTextureSize);
  Image scaledImage;
  scaledImage.SetPixels(scaled.data(), kTextureSize, kTextureSize, 8);
  scaledImage.Save("data/scaled_heightmap.bmp");

  context.console.Print("Generating Texture");
  if (!SynthesizeTexture(kLayerFiles, scaled.data(), kTextureSize, kTextureSize, context.showMessage)) {
    return false;
  }
  BuildOctree(context);
  BakeLighting(context.console);

  context.console.Print("Creating Skybox");
  if (!sky_.Load(SkyboxFiles(), context.showMessage)) return false;
  context.console.Print("Landscape Generation Completed, Enjoy!");
  return true;
}

bool Terrain::BuildMesh(const unsigned char* heights, int width, int depth, Console& console) {
  console.Print("Initiating Landscape");
  if (width <= 0 || depth <= 0 || heights == nullptr) return false;
  if (static_cast<int64_t>(width) * depth > kMaxVertices) return false;
  // The old tree and visible list point into the mesh about to be replaced: drop them
  // first, so that a build failing half-way leaves nothing that reads freed memory.
  octree_.Clear();
  visible_.Allocate(0, nullptr, 0);
  visibleCapacity_ = 0;

  width_ = width;
  depth_ = depth;
  worldWidth_ = static_cast<float>(static_cast<double>(width) * scaleX_);
  worldDepth_ = static_cast<float>(static_cast<double>(depth) * scaleZ_);
  MakeGrid(heights);
  MakeTriangles();
  console.Print("Calculating Normals");
  CalculateNormals();
  return true;
}

void Terrain::BakeLighting(Console& console) {
  console.Print("Setting up Sun and Calculating Lightning");
  sun_ = SunLight{static_cast<float>(worldWidth_ * 0.5), 150.0f, static_cast<float>(worldDepth_ * 0.5), 1.0f};
  CalculateLighting();
  console.Print("Making OpenGL Arrays");
  FillArrays();
}

void Terrain::MakeGrid(const unsigned char* heights) {
  // A fresh vector: every vertex starts with colour 0 and normal (0, 0, 0, 1).
  std::vector<TerrainVertex>(static_cast<size_t>(width_) * depth_).swap(vertices_);
  size_t i = 0;
  for (int r = 0; r < depth_; ++r) {
    for (int c = 0; c < width_; ++c, ++i) {
      TerrainVertex& v = vertices_[i];
      v.position.x = static_cast<float>(c * static_cast<double>(scaleX_));
      v.position.y = static_cast<float>(heights[i] * static_cast<double>(scaleY_));
      v.position.z = static_cast<float>(r * static_cast<double>(scaleZ_));
      v.s = static_cast<float>(static_cast<double>(c) / width_);
      v.t = static_cast<float>(static_cast<double>(r) / depth_);
    }
  }
}

void Terrain::MakeTriangles() {
  triangleCount_ = (2 * width_ - 2) * (depth_ - 1);
  std::vector<TerrainTriangle>(static_cast<size_t>(std::max(triangleCount_, 0))).swap(triangles_);
  const uint32_t w = static_cast<uint32_t>(width_);
  for (int r = 0; r + 1 < depth_; ++r) {
    for (int c = 0; c + 1 < width_; ++c) {
      const uint32_t i = static_cast<uint32_t>(r) * w + static_cast<uint32_t>(c);
      const uint32_t k = static_cast<uint32_t>(r) * (w - 1) + static_cast<uint32_t>(c);
      TerrainTriangle& first = triangles_[2 * k];
      first.a = i;
      first.b = i + w;
      first.c = i + 1;
      first.number = 2 * k;
      TerrainTriangle& second = triangles_[2 * k + 1];
      second.a = i + w + 1;
      second.b = i + 1;
      second.c = i + w;
      second.number = 2 * k + 1;
    }
  }
}

void Terrain::BuildOctree(LandscapeContext& context) {
  context.console.Print("Generating Octree");
  Cube root;
  root.size = std::max({worldDepth_, static_cast<float>(256.0 * scaleY_), worldWidth_});
  context.octreeDisplay.HideEmptyOctreeNodes = false;
  std::vector<const TerrainTriangle*> pointers(triangles_.size());
  for (size_t i = 0; i < triangles_.size(); ++i) pointers[i] = &triangles_[i];
  octree_.Build(pointers, root, vertices_);
  context.console.Print("Number of Triangles in Landscape is %d", triangleCount_);
  visibleCapacity_ = octree_.CountTriangles();
  context.console.Print("Added %d Triangles to Octree", visibleCapacity_);
  visible_.Allocate(visibleCapacity_, triangles_.data(), triangleCount_);
}

void Terrain::FillArrays() {
  arrays_.Allocate(vertices_.size(), kPositionArray | kColourArray | kTexCoordArray);
  float* positions = arrays_.Positions();
  unsigned char* colours = arrays_.Colours();
  float* texCoords = arrays_.TexCoords();
  for (const TerrainVertex& v : vertices_) {
    *positions++ = v.position.x;
    *positions++ = v.position.y;
    *positions++ = v.position.z;
    *colours++ = v.colour[0];
    *colours++ = v.colour[2];
    *colours++ = v.colour[1];
    *colours++ = 255;
    *texCoords++ = v.s;
    *texCoords++ = v.t;
  }
  arrays_.Enable(kPositionArray | kColourArray | kTexCoordArray);
}
