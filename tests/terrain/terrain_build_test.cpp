// The landscape build: mesh, progress lines, normals, shades, height tools and texture synthesis
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "support/GLTest.h"
#include "support/TerrainFiles.h"
#include "terrain/Terrain.h"
#include "terrain/internal/HeightTools.h"

namespace {

using testsupport::LandscapeFiles;
using testsupport::LandscapeRig;
using testsupport::ScopedChdir;

class TerrainBuild : public testsupport::GLTest {
 protected:
  // A scratch folder holding the demo's data files, made the working directory.
  void UseFiles(const LandscapeFiles& files) {
    dir_ = testsupport::ScratchDir();
    testsupport::WriteLandscapeFiles(dir_, files);
    chdir_ = std::make_unique<ScopedChdir>(dir_);
  }
  void TearDown() override {
    chdir_.reset();
    GLTest::TearDown();
  }
  std::filesystem::path dir_;
  std::unique_ptr<ScopedChdir> chdir_;
};

std::vector<unsigned char> Flat(int width, int depth, unsigned char h) {
  return std::vector<unsigned char>(static_cast<size_t>(width) * depth, h);
}

TEST_F(TerrainBuild, TwoByTwoGridMakesTwoCounterClockwiseTriangles) {
  LandscapeRig rig;
  Terrain terrain;
  const unsigned char heights[4] = {0, 255, 10, 20};
  terrain.Generate(heights, 2, 2, rig.context);
  ASSERT_EQ(terrain.Vertices().size(), 4u);
  ASSERT_EQ(terrain.TriangleCount(), 2);
  const auto& t = terrain.Triangles();
  EXPECT_EQ((std::vector<uint32_t>{t[0].a, t[0].b, t[0].c, t[0].number}),
            (std::vector<uint32_t>{0, 2, 1, 0}));
  EXPECT_EQ((std::vector<uint32_t>{t[1].a, t[1].b, t[1].c, t[1].number}),
            (std::vector<uint32_t>{3, 1, 2, 1}));
  const auto& v = terrain.Vertices();
  EXPECT_EQ(v[0].position.y, 0.0f);
  EXPECT_EQ(v[1].position.y, 14.94140625f);
  EXPECT_EQ(v[1].position.x, 1.6f);
  EXPECT_EQ(v[2].position.z, 1.6f);
  EXPECT_EQ(v[3].s, 0.5f);  // the last column never reaches 1
  EXPECT_EQ(v[3].t, 0.5f);
  // Both face normals point up.
  EXPECT_GT(t[0].normal.y, 0.0f);
  EXPECT_GT(t[1].normal.y, 0.0f);
}

TEST_F(TerrainBuild, FullSizeHeightmapGivesTheGridAndOctreeSizes) {
  UseFiles({});
  LandscapeRig rig;
  Terrain terrain;
  const auto heights = Flat(256, 256, 40);
  ASSERT_TRUE(terrain.Generate(heights.data(), 256, 256, rig.context));
  EXPECT_EQ(terrain.Vertices().size(), 65536u);
  EXPECT_EQ(terrain.TriangleCount(), 130050);
  EXPECT_EQ(terrain.WorldWidth(), 409.6f);
  EXPECT_EQ(terrain.WorldDepth(), 409.6f);
  ASSERT_NE(terrain.Octree().GetCube(), nullptr);
  EXPECT_EQ(terrain.Octree().GetCube()->size, 409.6f);
  // Straddling triangles count once per leaf that holds them.
  EXPECT_GT(terrain.VisibleCapacity(), terrain.TriangleCount());
  EXPECT_EQ(terrain.VisibleCapacity(), terrain.Octree().CountTriangles());
  EXPECT_EQ(terrain.Visible().CapacityTriangles(), terrain.VisibleCapacity());
  EXPECT_EQ(terrain.Sun().x, 204.8f);
  EXPECT_EQ(terrain.Sun().y, 150.0f);
  EXPECT_EQ(terrain.Sun().w, 1.0f);
  EXPECT_TRUE(rig.boxes.boxes.empty());
}

TEST_F(TerrainBuild, ProgressLinesComeInOrderWithTheirCounts) {
  UseFiles({});
  LandscapeRig rig;
  Terrain terrain;
  const auto heights = Flat(17, 17, 0);
  ASSERT_TRUE(terrain.Generate(heights.data(), 17, 17, rig.context));
  const std::vector<std::string> expected = {
      "Initiating Landscape",
      "Calculating Normals",
      "Generating Texture",
      "Generating Octree",
      "Number of Triangles in Landscape is 512",
      "Added " + std::to_string(terrain.Octree().CountTriangles()) + " Triangles to Octree",
      "Setting up Sun and Calculating Lightning",
      "Making OpenGL Arrays",
      "Creating Skybox",
      "Landscape Generation Completed, Enjoy!"};
  EXPECT_EQ(rig.lines, expected);
}

TEST_F(TerrainBuild, DegenerateSizesFailOrMakeNoTriangles) {
  UseFiles({});
  LandscapeRig rig;
  Terrain terrain;
  const auto heights = Flat(5, 1, 0);
  EXPECT_FALSE(terrain.Generate(heights.data(), 0, 5, rig.context));
  EXPECT_EQ(rig.lines, std::vector<std::string>{"Initiating Landscape"});
  EXPECT_FALSE(terrain.Generate(nullptr, 5, 5, rig.context));
  EXPECT_TRUE(terrain.Generate(heights.data(), 5, 1, rig.context));
  EXPECT_EQ(terrain.TriangleCount(), 0);
  EXPECT_EQ(terrain.Vertices().size(), 5u);
}

TEST_F(TerrainBuild, HeightmapFileMustBeEightBit) {
  UseFiles({});
  LandscapeRig rig;
  Terrain terrain;
  EXPECT_TRUE(terrain.Build(kHeightmapPath, rig.context));
  EXPECT_EQ(terrain.Width(), 17);
  testsupport::BmpRecipe colour;
  testsupport::WriteFile(dir_ / "colour.bmp", testsupport::MakeBmp(colour));
  EXPECT_FALSE(terrain.Build("colour.bmp", rig.context));
  EXPECT_TRUE(rig.boxes.boxes.empty());  // a wrong depth has no box of its own
  EXPECT_FALSE(terrain.Build("missing.bmp", rig.context));
  ASSERT_EQ(rig.boxes.boxes.size(), 1u);
  EXPECT_EQ(rig.boxes.boxes[0], "Error Loading Bitmap|An error occured while opening missing.bmp");
}

// A restart builds again on the same object: everything is replaced and consistent
// with the new mesh (ASan/LSan would see a leak or a read of the old arrays).
TEST_F(TerrainBuild, RebuildReplacesMeshOctreeAndIndexStorage) {
  UseFiles({});
  LandscapeRig rig;
  Terrain terrain;
  const auto big = Flat(40, 30, 9);
  ASSERT_TRUE(terrain.Generate(big.data(), 40, 30, rig.context));
  rig.display.HideEmptyOctreeNodes = true;
  const auto small = Flat(9, 12, 200);
  ASSERT_TRUE(terrain.Generate(small.data(), 9, 12, rig.context));
  EXPECT_FALSE(rig.display.HideEmptyOctreeNodes);
  EXPECT_EQ(terrain.Vertices().size(), 108u);
  EXPECT_EQ(terrain.TriangleCount(), 16 * 11);
  EXPECT_EQ(terrain.Visible().CapacityTriangles(), terrain.Octree().CountTriangles());
  EXPECT_EQ(terrain.Arrays().PositionArray().size(), 108u * 3);
  // Every triangle the tree holds is one of the new mesh's.
  std::set<const TerrainTriangle*> held;
  std::function<void(const OctreeNode&)> walk = [&](const OctreeNode& node) {
    for (const TerrainTriangle* t : node.Triangles()) held.insert(t);
    if (node.HasChildren()) {
      for (int k = 0; k < 8; ++k) walk(node.Child(k));
    }
  };
  walk(terrain.Octree());
  EXPECT_EQ(held.size(), terrain.Triangles().size());
  for (const TerrainTriangle* t : held) {
    EXPECT_GE(t, terrain.Triangles().data());
    EXPECT_LT(t, terrain.Triangles().data() + terrain.Triangles().size());
  }
}

TEST_F(TerrainBuild, FailedBuildLeavesNothingDangling) {
  LandscapeFiles files;
  files.writeSky = false;
  UseFiles(files);
  LandscapeRig rig;
  Terrain terrain;
  const auto heights = Flat(17, 17, 0);
  EXPECT_FALSE(terrain.Generate(heights.data(), 17, 17, rig.context));
  EXPECT_EQ(rig.lines.back(), "Creating Skybox");
  ASSERT_EQ(rig.boxes.boxes.size(), 1u);
  EXPECT_EQ(rig.boxes.boxes[0],
            "Error Loading Bitmap|An error occured while opening data/gfx/skybox/sky.bmp");
  // A second failing build, earlier this time (no layers and a zero size), still draws.
  EXPECT_FALSE(terrain.Generate(heights.data(), 17, 0, rig.context));
  Camera camera;
  camera.Update();
  terrain.Draw(camera, rig.display);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Flat ground: normals straight up, the vertex under the sun at 155, border at 50.
TEST_F(TerrainBuild, FlatTerrainLightsCentreBrightestAndBorderAtBase) {
  UseFiles({});
  LandscapeRig rig;
  Terrain terrain;
  const auto heights = Flat(256, 256, 77);
  terrain.Generate(heights.data(), 256, 256, rig.context);
  const auto& v = terrain.Vertices();
  auto shade = [&](int c, int r) { return v[static_cast<size_t>(r) * 256 + c].colour[0]; };
  EXPECT_EQ(shade(128, 128), 155);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(shade(i, 0), 50);
    EXPECT_EQ(shade(i, 255), 50);
    EXPECT_EQ(shade(0, i), 50);
    EXPECT_EQ(shade(255, i), 50);
  }
  // Falls off with the distance from the sun's foot.
  EXPECT_GE(shade(128, 128), shade(160, 128));
  EXPECT_GT(shade(160, 128), shade(250, 128));
  EXPECT_GT(shade(250, 128), 50);
  for (const TerrainVertex& vertex : v) {
    ASSERT_EQ(vertex.colour[0], vertex.colour[1]);
    ASSERT_EQ(vertex.colour[0], vertex.colour[2]);
  }
  const auto& n = v[static_cast<size_t>(100) * 256 + 37].normal;
  EXPECT_EQ(n.x, 0.0f);
  EXPECT_EQ(n.y, 1.0f);
  EXPECT_EQ(n.z, 0.0f);
  EXPECT_EQ(v[0].normal.y, 0.0f);  // border normals stay zero
  for (const TerrainTriangle& t : terrain.Triangles()) ASSERT_EQ(t.normal.y, 1.0f);
  // The colour array carries the shade with alpha 255.
  const auto& colours = terrain.Arrays().ColourArray();
  const size_t centre = (static_cast<size_t>(128) * 256 + 128) * 4;
  EXPECT_EQ((std::vector<unsigned char>(colours.begin() + centre, colours.begin() + centre + 4)),
            (std::vector<unsigned char>{155, 155, 155, 255}));
}

TEST_F(TerrainBuild, TwoRowTerrainHasOnlyBaseShades) {
  UseFiles({});
  LandscapeRig rig;
  Terrain terrain;
  std::vector<unsigned char> heights(2 * 30);
  for (size_t i = 0; i < heights.size(); ++i) heights[i] = static_cast<unsigned char>(i * 37);
  terrain.Generate(heights.data(), 30, 2, rig.context);
  for (const TerrainVertex& v : terrain.Vertices()) ASSERT_EQ(v.colour[0], 50);
}

// A cliff in the far corner facing away from the sun would need a shade below 0: it
// is black, not wrapped round to a bright value.
TEST_F(TerrainBuild, SlopesTurnedFarFromTheSunClampAtBlack) {
  UseFiles({});
  LandscapeRig rig;
  Terrain terrain;
  std::vector<unsigned char> heights(256 * 256);
  for (int r = 0; r < 256; ++r) {
    for (int c = 0; c < 256; ++c)
      heights[r * 256 + c] = static_cast<unsigned char>(std::min(255, 64 * (c + r)));
  }
  terrain.Generate(heights.data(), 256, 256, rig.context);
  const TerrainVertex& cliff = terrain.Vertices()[257];
  Vector3 toSun{terrain.Sun().x - cliff.position.x, terrain.Sun().y - cliff.position.y,
                terrain.Sun().z - cliff.position.z};
  toSun.Normalize();
  const double cosine = toSun.x * cliff.normal.x + toSun.y * cliff.normal.y + toSun.z * cliff.normal.z;
  ASSERT_LT(50 + static_cast<int>(cosine * 105), 0);  // the case that used to wrap
  EXPECT_EQ(cliff.colour[0], 0);
  EXPECT_GT(terrain.Vertices()[128 * 256 + 128].colour[0], 100);
}

TEST(LayerWeights, TentsAroundEverySixtyFourthHeight) {
  std::vector<float> w(5 * 256, -1.0f);
  BuildLayerWeights(64, w.data());
  auto at = [&](int k, int h) { return w[static_cast<size_t>(k) * 256 + h]; };
  EXPECT_EQ(at(0, 0), 1.0f);
  for (int k = 1; k < 5; ++k) EXPECT_EQ(at(k, 0), 0.0f);
  EXPECT_EQ(at(1, 100), 28.0f / 64);
  EXPECT_EQ(at(2, 100), 36.0f / 64);
  EXPECT_EQ(at(3, 255), 1.0f / 64);
  EXPECT_EQ(at(4, 255), 63.0f / 64);
  for (int h = 0; h < 256; ++h) {
    float sum = 0.0f;
    for (int k = 0; k < 5; ++k) sum += at(k, h);
    ASSERT_EQ(sum, 1.0f) << h;
  }
  std::vector<float> untouched(4, -1.0f);
  BuildLayerWeights(0, untouched.data());
  EXPECT_EQ(untouched[0], -1.0f);
  std::vector<float> fine(257 * 256);
  BuildLayerWeights(1, fine.data());
  EXPECT_EQ(fine[256 * 256 + 255], 0.0f);
  EXPECT_EQ(fine[7 * 256 + 7], 1.0f);
}

TEST(HeightScaler, CopiesEqualSizesAndAveragesDownAndUp) {
  std::vector<unsigned char> src(256 * 256);
  for (size_t i = 0; i < src.size(); ++i) src[i] = static_cast<unsigned char>(i * 7 + i / 256);
  std::vector<unsigned char> out(256 * 256);
  ScaleHeights(src.data(), 256, 256, out.data(), 256, 256);
  EXPECT_EQ(out, src);
  // 512 wide alternating 0/255 columns average to 128 (127.5 rounded).
  std::vector<unsigned char> stripes(512 * 4);
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 512; ++c) stripes[r * 512 + c] = c % 2 ? 255 : 0;
  }
  std::vector<unsigned char> half(256 * 2);
  ScaleHeights(stripes.data(), 512, 4, half.data(), 256, 2);
  for (unsigned char v : half) ASSERT_EQ(v, 128);
  // 2 x 2 up to 4 x 4: each quarter takes its sample; rows keep their order.
  const unsigned char quad[4] = {10, 20, 30, 40};
  unsigned char up[16];
  ScaleHeights(quad, 2, 2, up, 4, 4);
  EXPECT_EQ(up[0], 10);
  EXPECT_EQ(up[3], 20);
  EXPECT_EQ(up[12], 30);
  EXPECT_EQ(up[15], 40);
  // 3 columns to 2: the middle sample is shared half and half.
  const unsigned char three[3] = {0, 100, 200};
  unsigned char two[2];
  ScaleHeights(three, 3, 1, two, 2, 1);
  EXPECT_EQ(two[0], 33);   // (0 + 0.5 x 100) / 1.5
  EXPECT_EQ(two[1], 167);  // (0.5 x 100 + 200) / 1.5
}

class TextureSynthesis : public testsupport::GLTest {
 protected:
  // Five layer files of flat colours (blue, green, red as stored); an empty entry is not written.
  std::array<std::string, 5> WriteLayers(const std::vector<std::array<unsigned char, 3>>& colours,
                                         int size = 256) {
    const auto dir = testsupport::ScratchDir();
    std::array<std::string, 5> paths;
    for (size_t k = 0; k < 5; ++k) {
      paths[k] = (dir / ("layer" + std::to_string(k) + ".bmp")).string();
      if (k >= colours.size()) continue;
      testsupport::BmpRecipe recipe;
      recipe.width = recipe.height = size;
      const auto colour = colours[k];
      recipe.pixel = [colour](int, int, int c) { return colour[static_cast<size_t>(c)]; };
      testsupport::WriteFile(paths[k], testsupport::MakeBmp(recipe));
    }
    return paths;
  }
  // Synthesises over heights that run 0, 32, 64, 128, 192, 255 along the first row and
  // returns the first six texels, red-first, read back from the GL texture.
  std::vector<std::array<int, 3>> Synthesize(Terrain& terrain, const std::array<std::string, 5>& paths,
                                             testsupport::BoxRecorder& boxes, bool* ok = nullptr) {
    std::vector<unsigned char> heights(256 * 256, 0);
    const unsigned char probe[6] = {0, 32, 64, 128, 192, 255};
    std::copy(probe, probe + 6, heights.begin());
    const bool result = terrain.SynthesizeTexture(paths.data(), heights.data(), 256, 256, boxes.Show());
    if (ok != nullptr) *ok = result;
    std::vector<unsigned char> texels(256 * 256 * 3);
    terrain.GroundTexture().Bind();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    Texture::Unbind();
    std::vector<std::array<int, 3>> first(6);
    for (int i = 0; i < 6; ++i) first[i] = {texels[i * 3], texels[i * 3 + 1], texels[i * 3 + 2]};
    return first;
  }
};

TEST_F(TextureSynthesis, BlendsLayersByHeightRedFirstWithTruncation) {
  const auto paths =
      WriteLayers({{200, 201, 10}, {100, 100, 30}, {100, 100, 30}, {5, 6, 7}, {250, 240, 230}});
  Terrain terrain;
  testsupport::BoxRecorder boxes;
  bool ok = false;
  const auto t = Synthesize(terrain, paths, boxes, &ok);
  ASSERT_TRUE(ok);
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(terrain.GroundTexture().width, 256u);
  EXPECT_EQ(t[0], (std::array<int, 3>{10, 201, 200}));  // height 0: layer 0 exactly, red first
  EXPECT_EQ(t[1], (std::array<int, 3>{20, 150, 150}));  // 32: halfway, 150.5 truncated to 150
  EXPECT_EQ(t[2], (std::array<int, 3>{30, 100, 100}));  // 64: layer 1
  EXPECT_EQ(t[3], (std::array<int, 3>{30, 100, 100}));  // 128: layer 2
  EXPECT_EQ(t[4], (std::array<int, 3>{7, 6, 5}));       // 192: layer 3
  // 255: 1/64 of layer 3 plus 63/64 of layer 4, truncated.
  EXPECT_EQ(t[5], (std::array<int, 3>{static_cast<int>((7 + 63 * 230) / 64.0),
                                      static_cast<int>((6 + 63 * 240) / 64.0),
                                      static_cast<int>((5 + 63 * 250) / 64.0)}));
}

TEST_F(TextureSynthesis, LayersAreReadInTheirOwnOrderAndMissingOnesCountAsBlack) {
  const auto paths = WriteLayers({});  // none written
  Terrain terrain;
  testsupport::BoxRecorder boxes;
  bool ok = false;
  const auto t = Synthesize(terrain, paths, boxes, &ok);
  EXPECT_TRUE(ok);
  ASSERT_EQ(boxes.boxes.size(), 5u);
  const int order[5] = {0, 2, 1, 3, 4};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(boxes.boxes[i], "Error Loading Bitmap|An error occured while opening " + paths[order[i]]);
  }
  for (const auto& texel : t) EXPECT_EQ(texel, (std::array<int, 3>{0, 0, 0}));

  // Only layer 1 missing: height 32 keeps half of layer 0, height 64 is black.
  auto some = WriteLayers({{200, 100, 50}});
  const auto t2 = Synthesize(terrain, some, boxes);
  EXPECT_EQ(t2[0], (std::array<int, 3>{50, 100, 200}));
  EXPECT_EQ(t2[1], (std::array<int, 3>{25, 50, 100}));
  EXPECT_EQ(t2[2], (std::array<int, 3>{0, 0, 0}));
}

TEST_F(TextureSynthesis, TooSmallOrWrongDepthLayersAreNotRead) {
  auto paths = WriteLayers({{1, 2, 3}, {9, 9, 9}}, 16);  // 16 x 16: far too few bytes
  testsupport::BmpRecipe grey;
  grey.bits = 8;
  grey.width = grey.height = 256;
  testsupport::WriteFile(paths[2], testsupport::MakeBmp(grey));
  Terrain terrain;
  testsupport::BoxRecorder boxes;
  const auto t = Synthesize(terrain, paths, boxes);
  for (const auto& texel : t) EXPECT_EQ(texel, (std::array<int, 3>{0, 0, 0}));
  EXPECT_EQ(boxes.boxes.size(), 2u);  // layers 3 and 4 missing
  bool ok = true;
  EXPECT_FALSE(terrain.SynthesizeTexture(paths.data(), nullptr, 256, 256, boxes.Show()));
  (void)ok;
}

}  // namespace
