// The generator itself: every file the demo reads, and the same bytes from a second run
#include <gtest/gtest.h>

#include <cstdlib>

#include "RunFolder.h"
#include "support/GLTest.h"

using namespace assettest;

TEST(Generator, RunFolderHoldsEveryDataFile) {
  for (const std::string& name : DataFiles()) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(std::filesystem::is_regular_file(RunDir() / name));
    EXPECT_GT(std::filesystem::file_size(RunDir() / name), 1000u);
  }
}

TEST(Generator, SecondRunWritesIdenticalBytes) {
  std::filesystem::path scratch = testsupport::ScratchDir() / "run";
  std::string command = std::string("\"") + ASSETGEN_PATH + "\" \"" + scratch.string() + "\"";
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const std::string& name : DataFiles()) {
    SCOPED_TRACE(name);
    auto fresh = ReadAll(scratch / name), built = ReadAll(RunDir() / name);
    ASSERT_FALSE(fresh.empty());
    EXPECT_TRUE(fresh == built);
  }
}

TEST(Generator, RefusesBadArgumentsAndUnwritableFolders) {
  std::string tool = std::string("\"") + ASSETGEN_PATH + "\"";
  EXPECT_NE(std::system((tool + " 2>/dev/null").c_str()), 0);
  EXPECT_NE(std::system((tool + " --bogus x 2>/dev/null").c_str()), 0);
  // A file where a folder must go: the writers report the failure instead of claiming success.
  std::filesystem::path scratch = testsupport::ScratchDir();
  testsupport::WriteFile(scratch / "data", {1});
  EXPECT_NE(std::system((tool + " --no-music \"" + scratch.string() + "\" 2>/dev/null").c_str()), 0);
}
