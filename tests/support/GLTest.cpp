// Test support: the headless GL fixture and the scratch folders
#include "support/GLTest.h"

#include <GL/gl.h>

#include <cstdlib>
#include <fstream>

namespace testsupport {

void GLTest::SetUp() {
  platform::HeadlessGLOptions options;
  options.width = width_;
  options.height = height_;
  ASSERT_TRUE(gl_.Create(options)) << gl_.LastError();
}

void GLTest::TearDown() { gl_.Destroy(); }

std::vector<unsigned char> GLTest::ReadPixels() const {
  std::vector<unsigned char> pixels(static_cast<size_t>(width_) * height_ * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

std::vector<float> CaptureFeedback(const std::function<void()>& draw, size_t capacity) {
  std::vector<float> buffer(capacity);
  glFeedbackBuffer(static_cast<GLsizei>(capacity), GL_3D_COLOR_TEXTURE, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  const GLint used = glRenderMode(GL_RENDER);
  buffer.resize(used > 0 ? static_cast<size_t>(used) : 0);
  return buffer;
}

std::filesystem::path ScratchDir() {
  const char* root = std::getenv("LANDSCAPE_TEST_TMP");
  std::filesystem::path base =
      root != nullptr ? root : std::filesystem::temp_directory_path() / "landscape_tests";
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::filesystem::path dir = base;
  if (info != nullptr) dir /= std::string(info->test_suite_name()) + "." + info->name();
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

void WriteFile(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace testsupport
