// The landscape: the build from the heightmap (mesh, progress, shades, texture), the sky box and the frame
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "support/GLTest.h"
#include "support/TerrainFiles.h"
#include "terrain/Terrain.h"
#include "terrain/internal/HeightTools.h"

namespace {

using testsupport::LandscapeFiles;
using Rgb = std::array<int, 3>;

// A GL context and a fresh working folder for the data files.
class Landscape : public testsupport::GLTest {
 protected:
  void Write(const LandscapeFiles& files = {}) { testsupport::WriteLandscapeFiles(".", files); }
  static void Perspective() {
    glMatrixMode(GL_PROJECTION);
    gluPerspective(45.0, 1.0, 0.1, 200.0);
    glMatrixMode(GL_MODELVIEW);
  }
  Rgb Pixel(int x, int y) {
    const auto pixels = ReadPixels();
    const unsigned char* p = PixelAt(pixels, x, y);
    return {p[0], p[1], p[2]};
  }
  testsupport::ScopedChdir dir_;
  testsupport::LandscapeRig rig_;
};

// Vertex (column c, row r) is number r x width + c at (1.6 c, height x 15/256, 1.6 r) with texture
// coordinates (c / width, r / depth); each cell gives two triangles, counter-clockwise from above.
TEST_F(Landscape, GridVerticesAndTriangles) {
  Terrain terrain;
  const unsigned char heights[4] = {0, 255, 10, 20};
  terrain.Generate(heights, 2, 2, rig_.context);
  const auto& v = terrain.Vertices();
  const auto& t = terrain.Triangles();
  ASSERT_EQ(terrain.TriangleCount(), 2);
  EXPECT_EQ((std::vector<uint32_t>{t[0].a, t[0].b, t[0].c, t[0].number, t[1].a, t[1].b, t[1].c, t[1].number}),
            (std::vector<uint32_t>{0, 2, 1, 0, 3, 1, 2, 1}));
  EXPECT_EQ((std::vector<float>{v[1].position.x, v[1].position.y, v[2].position.z, v[3].s, v[3].t}),
            (std::vector<float>{1.6f, 14.94140625f, 1.6f, 0.5f, 0.5f}));
  EXPECT_GT(std::min(t[0].normal.y, t[1].normal.y), 0.0f);
}

// Each client array goes to GL in the layout it is filled in (x y z, s t, RGBA bytes per vertex): every
// drawn corner carries its own position, texture coordinates and colour.
TEST_F(Landscape, VertexArraysDrawEachVertexWithItsOwnAttributes) {
  const unsigned all = kPositionArray | kColourArray | kTexCoordArray;
  VertexArrays arrays;
  arrays.Allocate(3, all);
  const float positions[9] = {-0.5f, -0.5f, 0, 0.5f, -0.5f, 0, -0.5f, 0.5f, 0};
  std::copy(positions, positions + 9, arrays.Positions());
  for (int i = 0; i < 6; ++i) arrays.TexCoords()[i] = (i % 2 ? 0.3f : 0.1f) * (i / 2);  // vertex i / 2
  for (int i = 0; i < 12; ++i)
    arrays.Colours()[i] = static_cast<unsigned char>(60 * (i / 4) + 10 * (i % 4) + 5);
  arrays.Enable(all);
  const uint32_t indices[3] = {0, 1, 2};
  const auto drawn =
      testsupport::CapturePolygons([&] { VertexArrays::DrawElements(indices, 3, GL_TRIANGLES); });
  ASSERT_EQ(drawn.size(), 1u);
  ASSERT_EQ(drawn[0].size(), 3u);
  for (const auto& v : drawn[0]) {
    const int i = v.x > 128 ? 1 : v.y > 128 ? 2 : 0;  // window corners (64, 64), (192, 64), (64, 192)
    SCOPED_TRACE(i);
    EXPECT_EQ((std::array<float, 2>{v.texCoord[0], v.texCoord[1]}),
              (std::array<float, 2>{0.1f * i, 0.3f * i}));
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(v.color[k] * 255, 60 * i + 10 * k + 5, 1e-3) << k;
  }
}

TEST_F(Landscape, BuildReportsEachStepRebuildsAndFailsOnBadSizesOrFiles) {
  Write();
  Terrain terrain;
  ASSERT_TRUE(terrain.Build(kHeightmapPath, rig_.context));
  EXPECT_EQ(rig_.lines,
            (std::vector<std::string>{
                "Initiating Landscape", "Calculating Normals", "Generating Texture", "Generating Octree",
                "Number of Triangles in Landscape is 512",
                "Added " + std::to_string(terrain.Octree().CountTriangles()) + " Triangles to Octree",
                "Setting up Sun and Calculating Lightning", "Making OpenGL Arrays", "Creating Skybox",
                "Landscape Generation Completed, Enjoy!"}));
  EXPECT_TRUE(rig_.boxes.boxes.empty());
  const std::vector<unsigned char> row(5, 0);
  EXPECT_TRUE(terrain.Generate(row.data(), 5, 1, rig_.context));  // one row: no triangles
  EXPECT_EQ(terrain.TriangleCount(), 0);
  EXPECT_TRUE(terrain.Generate(row.data(), 1, 5, rig_.context));
  rig_.lines.clear();
  EXPECT_FALSE(terrain.Generate(row.data(), 0, 5, rig_.context));
  EXPECT_EQ(rig_.lines, std::vector<std::string>{"Initiating Landscape"});
  EXPECT_FALSE(terrain.Generate(nullptr, 5, 5, rig_.context));
  testsupport::WriteFile("colour.bmp", testsupport::MakeBmp({}));
  EXPECT_FALSE(terrain.Build("colour.bmp", rig_.context));  // 24-bit: refused without a box of its own
  EXPECT_TRUE(rig_.boxes.boxes.empty());
  // A restart builds again on the same object; a build failing at the sky (or earlier) leaves a terrain
  // that still draws. ASan would see a read of the old arrays.
  const std::vector<unsigned char> big(40 * 30, 9), small(9 * 12, 200);
  ASSERT_TRUE(terrain.Generate(big.data(), 40, 30, rig_.context));
  rig_.display.HideEmptyOctreeNodes = true;
  ASSERT_TRUE(terrain.Generate(small.data(), 9, 12, rig_.context));
  EXPECT_FALSE(rig_.display.HideEmptyOctreeNodes);
  EXPECT_EQ(terrain.TriangleCount(), 16 * 11);
  EXPECT_EQ(terrain.Visible().CapacityTriangles(), terrain.Octree().CountTriangles());
  EXPECT_EQ(terrain.VisibleCapacity(), terrain.Octree().CountTriangles());
  EXPECT_EQ(terrain.Arrays().PositionArray().size(), 108u * 3);
  std::set<const TerrainTriangle*> held;
  std::function<void(const OctreeNode&)> walk = [&](const OctreeNode& node) {
    held.insert(node.Triangles().begin(), node.Triangles().end());
    for (int k = 0; node.HasChildren() && k < 8; ++k) walk(node.Child(k));
  };
  walk(terrain.Octree());
  EXPECT_EQ(held.size(), 176u);
  const TerrainTriangle* mesh = terrain.Triangles().data();
  EXPECT_TRUE(std::all_of(held.begin(), held.end(), [&](auto* t) { return t >= mesh && t < mesh + 176; }));
  std::filesystem::remove_all("data/gfx/skybox");
  EXPECT_FALSE(terrain.Generate(big.data(), 40, 30, rig_.context));
  EXPECT_EQ(rig_.boxes.boxes.size(), 1u);  // the sky's reader's, whose text the end-to-end runs check
  EXPECT_FALSE(terrain.Generate(big.data(), 40, 0, rig_.context));
  Camera camera;
  terrain.Draw(camera, rig_.display);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Flat ground: normals straight up (zero on the border), 50 on the border rising to 155 under the sun,
// which stands over the middle; the colour array carries the shade with alpha 255. A slope turned far
// from the sun clamps at black instead of wrapping round.
TEST_F(Landscape, SunShadesFallOffFromTheMiddleAndClampAtBlack) {
  Write();
  Terrain terrain;
  const std::vector<unsigned char> flat(64 * 64, 77);
  terrain.Generate(flat.data(), 64, 64, rig_.context);
  const auto shade = [&](int c, int r) { return terrain.Vertices()[r * 64 + c].colour[0]; };
  EXPECT_EQ((std::vector<float>{terrain.Sun().x, terrain.Sun().y, terrain.Sun().z}),
            (std::vector<float>{51.2f, 150.0f, 51.2f}));
  EXPECT_EQ((std::vector<int>{shade(0, 30), shade(63, 30), shade(30, 0), shade(30, 63), shade(32, 32)}),
            (std::vector<int>{50, 50, 50, 50, 155}));
  EXPECT_GT(shade(32, 32), shade(50, 40));
  EXPECT_GT(shade(50, 40), shade(62, 62));
  EXPECT_GT(shade(62, 62), 50);
  EXPECT_EQ(std::pair(terrain.Vertices()[0].normal.y, terrain.Vertices()[64 + 7].normal.y),
            std::pair(0.0f, 1.0f));
  const unsigned char* middle = terrain.Arrays().ColourArray().data() + (32 * 64 + 32) * 4;
  EXPECT_EQ(std::vector<int>(middle, middle + 4), (std::vector<int>{155, 155, 155, 255}));
  // Only a wide grid puts the sun far enough off to the side of a corner for the shade to go below 0.
  std::vector<unsigned char> cliff(256 * 256);
  for (int i = 0; i < 256 * 256; ++i)
    cliff[i] = static_cast<unsigned char>(std::min(255, 64 * (i % 256 + i / 256)));
  terrain.Generate(cliff.data(), 256, 256, rig_.context);
  EXPECT_EQ(terrain.Vertices()[257].colour[0], 0);
  EXPECT_GT(terrain.Vertices()[128 * 256 + 128].colour[0], 100);
}

TEST(HeightTools, LayerWeightsAreTentsThatSumToOneAndScalingAveragesBoxes) {
  std::vector<float> w(5 * 256, -1.0f);
  BuildLayerWeights(64, w.data());
  const auto at = [&](int k, int h) { return w[k * 256 + h]; };
  EXPECT_EQ((std::vector<float>{at(0, 0), at(1, 0), at(1, 100), at(2, 100), at(3, 255), at(4, 255)}),
            (std::vector<float>{1, 0, 28.0f / 64, 36.0f / 64, 1.0f / 64, 63.0f / 64}));
  for (int h = 0; h < 256; ++h) ASSERT_EQ(at(0, h) + at(1, h) + at(2, h) + at(3, h) + at(4, h), 1.0f) << h;
  BuildLayerWeights(0, w.data());  // no spacing: untouched
  EXPECT_EQ(at(0, 0), 1.0f);
  // Scaling copies equal sizes and averages boxes.
  const unsigned char three[3] = {0, 100, 200}, quad[4] = {10, 20, 30, 40};
  unsigned char two[2], up[16], same[4];
  ScaleHeights(three, 3, 1, two, 2, 1);  // the middle sample is shared half and half
  EXPECT_EQ((std::array<int, 2>{two[0], two[1]}), (std::array<int, 2>{33, 167}));
  ScaleHeights(quad, 2, 2, up, 4, 4);
  EXPECT_EQ((std::array<int, 4>{up[0], up[3], up[12], up[15]}), (std::array<int, 4>{10, 20, 30, 40}));
  ScaleHeights(quad, 2, 2, same, 2, 2);
  EXPECT_TRUE(std::equal(quad, quad + 4, same));
  const unsigned char stripes[8] = {0, 255, 0, 255, 0, 255, 0, 255};
  ScaleHeights(stripes, 4, 2, two, 2, 1);  // 127.5 rounds up
  EXPECT_EQ((std::array<int, 2>{two[0], two[1]}), (std::array<int, 2>{128, 128}));
}

// Layers are read 0, 2, 1, 3, 4; a missing, too small or non-24-bit one counts as black. Heights 0, 32, 64,
// 128, 192 and 255 along the first row blend them by the tents, truncated, red first.
TEST_F(Landscape, TextureBlendsTheLayersByHeight) {
  const Rgb colours[5] = {{200, 201, 10}, {100, 100, 30}, {100, 100, 30}, {5, 6, 7}, {250, 240, 230}};
  const std::string paths[5] = {"layer0.bmp", "layer1.bmp", "layer2.bmp", "layer3.bmp", "layer4.bmp"};
  const auto write = [&](int k, int size, uint16_t bits) {
    testsupport::BmpRecipe recipe{size, size, bits};
    recipe.pixel = [&, k](int, int, int c) { return static_cast<unsigned char>(colours[k][c]); };
    testsupport::WriteFile(paths[k], testsupport::MakeBmp(recipe));
  };
  std::vector<unsigned char> heights = {0, 32, 64, 128, 192, 255};
  heights.resize(256 * 256);
  Terrain terrain;
  const auto first = [&] {  // the first six texels
    EXPECT_TRUE(terrain.SynthesizeTexture(paths, heights.data(), 256, 256, rig_.boxes.Show()));
    std::vector<unsigned char> texels(256 * 256 * 3);
    terrain.GroundTexture().Bind();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    std::vector<Rgb> result;
    for (int i = 0; i < 6; ++i) result.push_back({texels[i * 3], texels[i * 3 + 1], texels[i * 3 + 2]});
    return result;
  };
  EXPECT_EQ(first(), std::vector<Rgb>(6, {0, 0, 0}));
  const std::string missing = "Error Loading Bitmap|An error occured while opening layer";
  EXPECT_EQ(rig_.boxes.boxes,
            (std::vector<std::string>{missing + "0.bmp", missing + "2.bmp", missing + "1.bmp",
                                      missing + "3.bmp", missing + "4.bmp"}));
  for (int k = 0; k < 5; ++k) write(k, 256, 24);
  const Rgb last = {(7 + 63 * 230) / 64, (6 + 63 * 240) / 64, (5 + 63 * 250) / 64};
  EXPECT_EQ(first(), (std::vector<Rgb>{
                         {10, 201, 200}, {20, 150, 150}, {30, 100, 100}, {30, 100, 100}, {7, 6, 5}, last}));
  write(1, 16, 24);
  write(2, 256, 8);
  EXPECT_EQ(first()[2], (Rgb{0, 0, 0}));
  EXPECT_EQ(first()[1], (Rgb{5, 100, 100}));  // half of layer 0, nothing of layer 1
  EXPECT_FALSE(terrain.SynthesizeTexture(paths, nullptr, 256, 256, {}));
}

// Each face of the sky cube, in its own colour, fills the view in its direction wherever the camera
// stands; loading stops at the first bad face.
TEST_F(Landscape, SkyShowsEachFaceInItsDirection) {
  std::vector<std::string> names;
  for (int i = 0; i < 6; ++i) {
    testsupport::BmpRecipe recipe;
    recipe.pixel = [i](int, int, int c) { return static_cast<unsigned char>(c == 0 ? 40 * i + 10 : 99); };
    names.push_back("face" + std::to_string(i) + ".bmp");
    testsupport::WriteFile(names.back(), testsupport::MakeBmp(recipe));
  }
  Skybox sky;
  ASSERT_TRUE(sky.Load(names, {}));
  Perspective();
  // Along each axis the middle shows the face in that direction (-z +z -x +x up down; blue shows as red);
  // towards each corner no clear colour shows anywhere: the cube is closed.
  // Pitch, yaw and the face in the middle (-1: a corner).
  const std::tuple<float, float, int> views[] = {
      {0, 0, 2},    {0, 180, 0},   {0, -90, 1},    {0, 90, 3},     {-90, 0, 4},
      {90, 0, 5},   {-35, 45, -1}, {-35, 135, -1}, {-35, -45, -1}, {-35, -135, -1},
      {35, 45, -1}, {35, 135, -1}, {35, -45, -1},  {35, -135, -1}};
  for (const auto& [pitch, yaw, face] : views) {
    SCOPED_TRACE(testing::Message() << pitch << " " << yaw);
    Camera camera;
    camera.angleX = pitch, camera.angleY = yaw;
    camera.position.Set(50.0f, -7.0f, 3.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    sky.Draw(camera);
    const auto pixels = ReadPixels();
    for (size_t i = 1; i < pixels.size(); i += 4) ASSERT_EQ(pixels[i], 99) << i / 4;
    if (face < 0) continue;
    EXPECT_EQ(Pixel(width_ / 2, height_ / 2), (Rgb{40 * face + 10, 99, 99}));
  }
  names[3] = "missing.bmp";
  Skybox bad;
  EXPECT_FALSE(bad.Load(names, rig_.boxes.Show()));
  EXPECT_EQ(rig_.boxes.boxes.size(), 1u);
  EXPECT_EQ(std::tuple(bad.faces[2].name != 0, bad.faces[4].name, bad.halfSize), std::tuple(true, 0u, 0.0f));
  EXPECT_FALSE(sky.Load({"", "a", "b", "c", "d", "e"}, {}));
  EXPECT_FALSE(sky.Load(std::vector<std::string>(5, names[0]), {}));
}

// A failed start-up shows the reader's box, then the main window's, and sets up no scene. Then the start-up
// entry, then flight-like frames from beyond the +z edge, 15 up, looking along -z and 20
// degrees down: the sky above, the ground below in layer 0 shaded 50 to 155 of 255
// (grey alone untextured), and the octree's boxes over it when shown; the visible list follows the view.
TEST_F(Landscape, StartUpThenFramesShowSkyAboveAndShadedGroundBelowThenRestartInANewContext) {
  Terrain terrain;
  Camera camera;
  EXPECT_FALSE(InitLandscape(terrain, camera, rig_.context));
  EXPECT_EQ(rig_.boxes.owners, (std::vector<BoxOwner>{BoxOwner::kNone, BoxOwner::kMainWindow}));
  EXPECT_EQ(camera.angleX, 0.0f);
  rig_.boxes.boxes.clear();
  Write({33});
  ASSERT_TRUE(InitLandscape(terrain, camera, rig_.context));
  EXPECT_TRUE(rig_.boxes.boxes.empty());
  EXPECT_EQ(std::vector<std::string>(rig_.lines.begin(), rig_.lines.begin() + 2),
            (std::vector<std::string>{"Welcome Aboard Brumlys' Landscape Engine", "- - - - - - - - - - -"}));
  Perspective();
  camera.position.Set(-26.0f, -15.0f, -60.0f);
  camera.angleX = 20.0f;
  camera.angleY = 0.0f;
  const auto frame = [&] {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawLandscape(terrain, camera, rig_.display);
    return Pixel(width_ / 2, 10);
  };
  const Rgb ground = frame();
  const Rgb sky{testsupport::SkyByte(false, 0), testsupport::SkyByte(false, 1),
                testsupport::SkyByte(false, 2)};
  EXPECT_EQ(Pixel(width_ / 2, height_ - 2), sky);
  const double shade = ground[0] / static_cast<double>(testsupport::LayerByte(0, 2));
  EXPECT_GE(shade, 50 / 255.0 - 0.02);
  EXPECT_LE(shade, 155 / 255.0 + 0.02);
  for (int c = 1; c < 3; ++c) EXPECT_NEAR(ground[c], testsupport::LayerByte(0, 2 - c) * shade, 2) << c;
  terrain.ToggleTexturing();
  const Rgb grey = frame();
  EXPECT_EQ(grey, (Rgb{grey[0], grey[0], grey[0]}));
  EXPECT_NEAR(grey[0], shade * 255, 3);
  const auto plain = ReadPixels();
  terrain.ToggleOctreeDisplay(rig_.display);
  frame();
  EXPECT_NE(ReadPixels(), plain);
  camera.position.Set(-26.4f, -60.0f, -26.4f);  // high above the middle: all of it below, none above
  for (const auto& [pitch, triangles] : {std::pair{90.0f, terrain.Octree().CountTriangles()}, {-90.0f, 0}}) {
    camera.angleX = pitch;
    frame();
    EXPECT_EQ(terrain.Visible().Count(), 3 * triangles) << pitch;
  }
  camera.position.Set(-26.4f, 10.0f, -26.4f);  // under the ground looking up: its back faces are culled
  frame();
  EXPECT_EQ(Pixel(width_ / 2, height_ / 2), sky);
  // F1 gives a new context where the old texture numbers may name other textures: the next start-up must
  // not delete them.
  const unsigned stale = terrain.GroundTexture().name;
  gl_.Destroy();
  ASSERT_TRUE(gl_.Create({width_, height_}));
  std::vector<GLuint> others(12);
  glGenTextures(12, others.data());
  for (GLuint name : others) {
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, others.data());
  }
  ASSERT_NE(std::find(others.begin(), others.end(), stale), others.end());
  ASSERT_TRUE(InitLandscape(terrain, camera, rig_.context));
  for (GLuint name : others) EXPECT_TRUE(glIsTexture(name)) << name;
  EXPECT_EQ(std::count(others.begin(), others.end(), terrain.GroundTexture().name), 0);
}

}  // namespace
