#include "driver/program.h"

#include <gtest/gtest.h>

namespace counterpal {
namespace {

TEST(ProgramFolder, IsEverythingUpToTheLastBackslash) {
  EXPECT_EQ("D:\\games\\tools\\", programFolder("D:\\games\\tools\\tool.exe"));
  EXPECT_EQ("..\\tool\\", programFolder("..\\tool\\counterpal"));
  EXPECT_EQ("\\", programFolder("\\counterpal"));
  EXPECT_EQ("a/b\\", programFolder("a/b\\c/counterpal"));
  EXPECT_EQ("", programFolder("counterpal.exe"));
  EXPECT_EQ("", programFolder("./build/counterpal")) << "a forward slash is no separator";
  EXPECT_EQ("", programFolder(""));
}

TEST(OutputPathFor, PutsTheNameRightAfterTheProgramFolder) {
  EXPECT_EQ("D:\\games\\counter_NEW.bmp", outputPathFor("D:\\games\\tool.exe", "counter_NEW.bmp"));
  EXPECT_EQ("counter_NEW.bmp", outputPathFor("build/counterpal", "counter_NEW.bmp"));
}

}  // namespace
}  // namespace counterpal
