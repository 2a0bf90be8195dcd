// Drawing the landscape: GL state, the visible list, the render flags, the sky cube, whole frames
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "support/GLTest.h"
#include "support/TerrainFiles.h"
#include "terrain/Skybox.h"
#include "terrain/Terrain.h"

namespace {

using testsupport::LandscapeFiles;
using testsupport::LandscapeRig;
using testsupport::ScopedChdir;

class TerrainDraw : public testsupport::GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.0, 0.1, 200.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
  }
  void TearDown() override {
    chdir_.reset();
    GLTest::TearDown();
  }
  void UseFiles(const LandscapeFiles& files) {
    dir_ = testsupport::ScratchDir();
    testsupport::WriteLandscapeFiles(dir_, files);
    chdir_ = std::make_unique<ScopedChdir>(dir_);
  }
  std::array<unsigned char, 4> Pixel(const std::vector<unsigned char>& pixels, int x, int y) const {
    const size_t at = (static_cast<size_t>(y) * width_ + x) * 4;
    return {pixels[at], pixels[at + 1], pixels[at + 2], pixels[at + 3]};
  }
  std::filesystem::path dir_;
  std::unique_ptr<ScopedChdir> chdir_;
};

// Every piece of GL state Terrain::Draw touches, read back.
struct GLStateSnapshot {
  std::vector<GLboolean> enabled;
  std::vector<GLint> ints;
  std::vector<GLfloat> matrices;
  bool operator==(const GLStateSnapshot&) const = default;
};

GLStateSnapshot Snapshot() {
  GLStateSnapshot s;
  for (GLenum cap : {GL_DEPTH_TEST, GL_CULL_FACE, GL_LIGHTING, GL_TEXTURE_2D, GL_BLEND, GL_LINE_SMOOTH,
                     GL_FOG, GL_VERTEX_ARRAY, GL_COLOR_ARRAY}) {
    s.enabled.push_back(glIsEnabled(cap));
  }
  for (GLenum name : {GL_SHADE_MODEL, GL_FRONT_FACE, GL_CULL_FACE_MODE, GL_BLEND_SRC, GL_BLEND_DST,
                      GL_LINE_SMOOTH_HINT, GL_TEXTURE_BINDING_2D, GL_MATRIX_MODE, GL_POLYGON_MODE}) {
    GLint v[2] = {0, 0};
    glGetIntegerv(name, v);
    s.ints.insert(s.ints.end(), v, v + 2);
  }
  GLint env = 0;
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
  s.ints.push_back(env);
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  s.matrices.assign(m, m + 16);
  glGetFloatv(GL_PROJECTION_MATRIX, m);
  s.matrices.insert(s.matrices.end(), m, m + 16);
  return s;
}

// Unusual starting state, so that "restored" cannot mean "reset to defaults".
void SetOddState() {
  glEnable(GL_FOG);
  glEnable(GL_LIGHTING);
  glShadeModel(GL_FLAT);
  glFrontFace(GL_CW);
  glCullFace(GL_FRONT);
  glBlendFunc(GL_ONE, GL_ONE);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
  glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
  glTranslatef(1.0f, 2.0f, 3.0f);
}

TEST_F(TerrainDraw, EveryFlagCombinationLeavesGLStateAsFound) {
  UseFiles({});
  LandscapeRig rig;
  Terrain terrain;
  ASSERT_TRUE(terrain.Build(kHeightmapPath, rig.context));
  SetOddState();
  Camera camera;
  for (int combo = 0; combo < 16; ++combo) {
    terrain.flags = RenderFlags{(combo & 1) != 0, (combo & 2) != 0, (combo & 4) != 0, (combo & 8) != 0};
    rig.display.ShowOctreeBounds = terrain.flags.showOctree;
    const GLStateSnapshot before = Snapshot();
    terrain.Draw(camera, rig.display);
    EXPECT_EQ(Snapshot(), before) << combo;
    // The one state left as the flag chose it.
    EXPECT_EQ(glIsEnabled(GL_TEXTURE_COORD_ARRAY), terrain.flags.texturing ? GL_TRUE : GL_FALSE);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
}

TEST_F(TerrainDraw, VisibleListFollowsTheView) {
  UseFiles({});
  LandscapeRig rig;
  Terrain terrain;
  ASSERT_TRUE(terrain.Build(kHeightmapPath, rig.context));
  Camera camera;
  // High above the middle, looking straight down: the whole grid is in view.
  camera.position.Set(-12.8f, -60.0f, -12.8f);
  camera.angleX = 90.0f;
  DrawLandscape(terrain, camera, rig.display);
  EXPECT_EQ(terrain.Visible().Count(), 3 * terrain.Octree().CountTriangles());
  // The same place looking straight up: nothing.
  camera.angleX = -90.0f;
  DrawLandscape(terrain, camera, rig.display);
  EXPECT_EQ(terrain.Visible().Count(), 0);
}

TEST_F(TerrainDraw, TogglesFlipFlagsAndOctreeDisplay) {
  Terrain terrain;
  OctreeDisplay display;
  EXPECT_TRUE(terrain.flags.texturing && terrain.flags.solidFill && terrain.flags.smoothShading);
  EXPECT_FALSE(terrain.flags.showOctree);
  terrain.ToggleTexturing();
  terrain.ToggleSolidFill();
  terrain.ToggleSmoothShading();
  EXPECT_FALSE(terrain.flags.texturing || terrain.flags.solidFill || terrain.flags.smoothShading);
  terrain.ToggleOctreeDisplay(display);
  EXPECT_TRUE(terrain.flags.showOctree && display.ShowOctreeBounds);
  terrain.ToggleOctreeDisplay(display);
  EXPECT_FALSE(terrain.flags.showOctree || display.ShowOctreeBounds);
}

// Six flat-coloured face pictures, one per face, to tell the faces apart on screen.
std::vector<std::string> WriteFaces(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  for (int i = 0; i < 6; ++i) {
    testsupport::BmpRecipe recipe;
    recipe.width = recipe.height = 4;
    recipe.pixel = [i](int, int, int c) {
      return static_cast<unsigned char>(c == 0 ? 40 * i + 10 : c == 1 ? 7 : 99);
    };
    names.push_back((dir / ("face" + std::to_string(i) + ".bmp")).string());
    testsupport::WriteFile(names.back(), testsupport::MakeBmp(recipe));
  }
  return names;
}

TEST_F(TerrainDraw, SkyCubeShowsEachFaceInItsDirection) {
  Skybox sky;
  ASSERT_TRUE(sky.Load(WriteFaces(testsupport::ScratchDir()), {}));
  EXPECT_EQ(sky.halfSize, 20.0f);
  struct View {
    float pitch, yaw;
    int face;
  };
  // Looking along -z, +z, -x, +x, up, down.
  const View views[6] = {{0, 0, 2}, {0, 180, 0}, {0, -90, 1}, {0, 90, 3}, {-90, 0, 4}, {90, 0, 5}};
  for (const View& view : views) {
    Camera camera;
    camera.angleX = view.pitch;
    camera.angleY = view.yaw;
    camera.position.Set(50.0f, -7.0f, 3.0f);  // never moves the sky
    glClear(GL_COLOR_BUFFER_BIT);
    sky.Draw(camera);
    const auto pixels = ReadPixels();
    // The stored first byte (blue) is shown as red.
    EXPECT_EQ(Pixel(pixels, width_ / 2, height_ / 2)[0], 40 * view.face + 10) << view.face;
    EXPECT_EQ(Pixel(pixels, width_ / 2, height_ / 2)[2], 99);
  }
}

TEST_F(TerrainDraw, SkyCubeIsSixQuadsWithWholeTextureEach) {
  Skybox sky;
  ASSERT_TRUE(sky.Load(WriteFaces(testsupport::ScratchDir()), {}));
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-20, 20, -20, 20, -20, 20);  // nothing clipped: window x = (x / 20 + 1) x 128
  glMatrixMode(GL_MODELVIEW);
  Camera camera;
  const auto feedback = testsupport::CaptureFeedback([&] { sky.Draw(camera); });
  // The quads' corners in units of the half edge, in drawing order.
  const float corners[6][4][3] = {{{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}},
                                  {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1}},
                                  {{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}},
                                  {{1, -1, -1}, {1, -1, 1}, {1, 1, 1}, {1, 1, -1}},
                                  {{1, 1, 1}, {-1, 1, 1}, {-1, 1, -1}, {1, 1, -1}},
                                  {{1, -1, 1}, {-1, -1, 1}, {-1, -1, -1}, {1, -1, -1}}};
  const float texCoords[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  // GL hands each quad back as polygons (Mesa: two triangles); per vertex x, y, z,
  // r, g, b, a, s, t, r, q in window coordinates.
  std::vector<std::vector<std::array<float, 5>>> polygons;
  for (size_t at = 0; at < feedback.size();) {
    ASSERT_EQ(feedback[at], static_cast<float>(GL_POLYGON_TOKEN));
    const int n = static_cast<int>(feedback[at + 1]);
    at += 2;
    polygons.emplace_back();
    for (int v = 0; v < n; ++v, at += 11) {
      polygons.back().push_back(
          {feedback[at], feedback[at + 1], feedback[at + 2], feedback[at + 7], feedback[at + 8]});
    }
  }
  ASSERT_EQ(polygons.size() % 6, 0u);
  const size_t perQuad = polygons.size() / 6;
  for (int quad = 0; quad < 6; ++quad) {
    std::set<int> seen;
    for (size_t p = quad * perQuad; p < (quad + 1) * perQuad; ++p) {
      for (const auto& v : polygons[p]) {
        int match = -1;
        for (int c = 0; c < 4; ++c) {
          const float* k = corners[quad][c];
          if (std::abs(v[0] - (k[0] * 10 / 20 + 1) * 128) < 1e-3 &&
              std::abs(v[1] - (k[1] * 10 / 20 + 1) * 128) < 1e-3 &&
              std::abs(v[2] - (1 - k[2] * 10 / 20) / 2) < 1e-4 && v[3] == texCoords[c][0] &&
              v[4] == texCoords[c][1]) {
            match = c;
          }
        }
        EXPECT_GE(match, 0) << "quad " << quad;
        seen.insert(match);
      }
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3})) << "quad " << quad;
  }
  // And the state it changed is back.
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_TRUE(glIsEnabled(GL_DITHER));
  GLint bound = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, 0);
}

TEST_F(TerrainDraw, SkyLoadStopsAtTheFirstBadFace) {
  auto names = WriteFaces(testsupport::ScratchDir());
  names[3] = "missing.bmp";
  testsupport::BoxRecorder boxes;
  Skybox sky;
  EXPECT_FALSE(sky.Load(names, boxes.Show()));
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_NE(sky.faces[2].name, 0u);
  EXPECT_EQ(sky.faces[4].name, 0u);
  EXPECT_EQ(sky.halfSize, 0.0f);
  EXPECT_FALSE(sky.Load({}, {}));
  EXPECT_FALSE(sky.Load({"", "a", "b", "c", "d", "e"}, {}));
}

// The start-up entry on a small landscape, then one flight-like frame: sky colour in
// the top rows, shaded, textured ground in the bottom ones.
TEST_F(TerrainDraw, LandscapeFrameShowsSkyAboveAndShadedGroundBelow) {
  LandscapeFiles files;
  files.size = 33;
  UseFiles(files);
  LandscapeRig rig;
  Terrain terrain;
  Camera camera;
  ASSERT_TRUE(InitLandscape(terrain, camera, rig.context));
  EXPECT_TRUE(rig.boxes.boxes.empty());
  EXPECT_EQ(rig.lines.front(), "Welcome Aboard Brumlys' Landscape Engine");
  EXPECT_EQ(rig.lines[1], "- - - - - - - - - - -");
  EXPECT_EQ(camera.angleX, 50.0f);
  EXPECT_EQ(camera.angleY, 20.0f);
  EXPECT_EQ(camera.position.x, -20.0f);
  GLfloat clear[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_EQ(clear[2], 0.5f);
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING) && glIsEnabled(GL_LIGHT0));

  // Beyond the +z edge, 15 units up, looking along -z and 20 degrees down.
  camera.position.Set(-26.0f, -15.0f, -60.0f);
  camera.angleX = 20.0f;
  camera.angleY = 0.0f;
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawLandscape(terrain, camera, rig.display);
  const auto pixels = ReadPixels();
  const auto sky = Pixel(pixels, width_ / 2, height_ - 2);
  EXPECT_EQ(sky[0], testsupport::SkyByte(false, 0));  // stored blue shown as red
  EXPECT_EQ(sky[1], testsupport::SkyByte(false, 1));
  EXPECT_EQ(sky[2], testsupport::SkyByte(false, 2));
  // Ground at height 0 is layer 0 (tex0) modulated by its shade (50..155 of 255).
  const auto ground = Pixel(pixels, width_ / 2, 10);
  for (int c = 0; c < 3; ++c) {
    const double texel = testsupport::LayerByte(0, 2 - c);
    EXPECT_GE(ground[c], texel * 50 / 255 - 2) << c;
    EXPECT_LE(ground[c], texel * 155 / 255 + 2) << c;
  }
  const double shade = ground[2] / static_cast<double>(testsupport::LayerByte(0, 0));
  EXPECT_NEAR(ground[0] / static_cast<double>(testsupport::LayerByte(0, 2)), shade, 0.05);
  EXPECT_GT(terrain.Visible().Count(), 0);

  // Untextured: the grey shade alone.
  terrain.ToggleTexturing();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawLandscape(terrain, camera, rig.display);
  const auto grey = Pixel(ReadPixels(), width_ / 2, 10);
  EXPECT_EQ(grey[0], grey[1]);
  EXPECT_EQ(grey[1], grey[2]);
  EXPECT_GE(grey[0], 50);
  EXPECT_LE(grey[0], 155);
}

TEST_F(TerrainDraw, InitLandscapeReportsAFailedBuildToTheMainWindow) {
  LandscapeFiles files;
  files.writeHeightmap = false;
  UseFiles(files);
  LandscapeRig rig;
  Terrain terrain;
  Camera camera;
  EXPECT_FALSE(InitLandscape(terrain, camera, rig.context));
  ASSERT_EQ(rig.boxes.boxes.size(), 2u);
  EXPECT_EQ(rig.boxes.boxes[0],
            "Error Loading Bitmap|An error occured while opening data/terrain/TerrainData4.bmp");
  EXPECT_EQ(rig.boxes.owners[0], BoxOwner::kNone);
  EXPECT_EQ(rig.boxes.boxes[1], "Error|Could not generate landscape from heightmap info");
  EXPECT_EQ(rig.boxes.owners[1], BoxOwner::kMainWindow);
  EXPECT_EQ(camera.angleX, 0.0f);  // no scene set-up after a failure
  // Drawing the half-built landscape is harmless.
  DrawLandscape(terrain, camera, rig.display);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace

namespace {

// F1 gives a new context; the previous start-up's texture numbers may already name
// someone else's texture there, which the rebuild must not delete.
TEST_F(TerrainDraw, RestartInANewContextLeavesOtherTexturesAlone) {
  UseFiles({});
  LandscapeRig rig;
  Terrain terrain;
  Camera camera;
  ASSERT_TRUE(InitLandscape(terrain, camera, rig.context));
  const unsigned staleGround = terrain.GroundTexture().name;
  gl_.Destroy();
  ASSERT_TRUE(gl_.Create({width_, height_}));
  std::vector<GLuint> others(12);
  glGenTextures(static_cast<GLsizei>(others.size()), others.data());
  for (GLuint name : others) {
    glBindTexture(GL_TEXTURE_2D, name);
    const unsigned char texel[3] = {1, 2, 3};
    glTexImage2D(GL_TEXTURE_2D, 0, 3, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
  }
  glBindTexture(GL_TEXTURE_2D, 0);
  ASSERT_NE(std::find(others.begin(), others.end(), staleGround), others.end());
  ASSERT_TRUE(InitLandscape(terrain, camera, rig.context));
  for (GLuint name : others) EXPECT_TRUE(glIsTexture(name)) << name;
  EXPECT_TRUE(glIsTexture(terrain.GroundTexture().name));
  EXPECT_EQ(std::count(others.begin(), others.end(), terrain.GroundTexture().name), 0);
}

}  // namespace
