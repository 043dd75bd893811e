#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fileio/replacement_file.h"
#include "fileio/whole_file.h"

namespace counterpal {
namespace {

namespace fs = std::filesystem;

// A fresh folder per test, removed with everything in it.
class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("counterpal-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string path(const std::string& name) const { return (folder_ / name).string(); }

  void put(const std::string& name, const ByteBuffer& bytes) const {
    std::ofstream(path(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }

  ByteBuffer contentsOf(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return ByteBuffer(std::istreambuf_iterator<char>(in), {});
  }

  std::vector<std::string> names() const {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder_))
      found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    return found;
  }

  fs::path folder_;
};

// Bytes that text-mode I/O would turn, drop or stop at, then every byte value.
ByteBuffer awkwardBytes() {
  ByteBuffer bytes = {0x0D, 0x0A, 0x0A, 0x1A, 0x00, 0xFF, 0x20, 0x09, 0x1A};
  for (int value = 0; value < 256; ++value) bytes.push_back(static_cast<std::uint8_t>(value));
  return bytes;
}

TEST_F(FileTest, ReadTakesEveryByteUnchanged) {
  const ByteBuffer lengths[] = {{}, awkwardBytes(), ByteBuffer(200000, 0x1A)};
  for (const ByteBuffer& expected : lengths) {
    put("in.bin", expected);
    const InputFile in = openForReading(path("in.bin").c_str());
    ASSERT_TRUE(in);
    ByteBuffer buffer = {1, 2, 3};
    EXPECT_TRUE(readWholeFile(in.get(), buffer));
    EXPECT_EQ(expected, buffer);
  }
}

TEST_F(FileTest, OpenFailsForAMissingFile) {
  EXPECT_FALSE(openForReading(path("missing").c_str()));
}

#ifndef _WIN32
TEST_F(FileTest, ReadOfAFolderFails) {
  const InputFile in = openForReading(folder_.string().c_str());
  ASSERT_TRUE(in) << "POSIX opens a folder for reading; the read is what fails";
  ByteBuffer buffer;
  EXPECT_FALSE(readWholeFile(in.get(), buffer));
}
#endif

TEST_F(FileTest, CommittedFileReplacesTheTargetWithExactlyTheBuffer) {
  put("out.bmp", {9, 9, 9, 9, 9, 9, 9, 9});
  ReplacementFile output(path("out.bmp"));
  ASSERT_TRUE(output.isOpen());
  ASSERT_TRUE(writeWholeBuffer(awkwardBytes(), output.stream()));
  EXPECT_EQ(ByteBuffer(8, 9), contentsOf("out.bmp")) << "the target is untouched until commit";
  ASSERT_TRUE(output.commit());
  EXPECT_EQ(awkwardBytes(), contentsOf("out.bmp"));
  EXPECT_EQ(std::vector<std::string>{"out.bmp"}, names());
}

TEST_F(FileTest, UncommittedFileLeavesNothingBehind) {
  put("out.bmp", {1, 2, 3});
  {
    ReplacementFile output(path("out.bmp"));
    ASSERT_TRUE(output.isOpen());
    ASSERT_TRUE(writeWholeBuffer(awkwardBytes(), output.stream()));
  }
  EXPECT_EQ((ByteBuffer{1, 2, 3}), contentsOf("out.bmp"));
  EXPECT_EQ(std::vector<std::string>{"out.bmp"}, names());

  { ReplacementFile absent(path("new.bmp")); }
  EXPECT_EQ(std::vector<std::string>{"out.bmp"}, names()) << "no target is created";
}

TEST_F(FileTest, NeverTakesOverAFileOfTheUsers) {
  put("out.bmp.0.tmp", {7});
  put("out.bmp.1.tmp", {8});
  ReplacementFile output(path("out.bmp"));
  ASSERT_TRUE(output.isOpen());
  ASSERT_TRUE(writeWholeBuffer(ByteBuffer{5}, output.stream()));
  ASSERT_TRUE(output.commit());
  EXPECT_EQ(ByteBuffer{7}, contentsOf("out.bmp.0.tmp"));
  EXPECT_EQ(ByteBuffer{8}, contentsOf("out.bmp.1.tmp"));
  EXPECT_EQ(ByteBuffer{5}, contentsOf("out.bmp"));
  EXPECT_EQ((std::vector<std::string>{"out.bmp", "out.bmp.0.tmp", "out.bmp.1.tmp"}), names());
}

TEST_F(FileTest, NoNewFileInAFolderThatIsNotThere) {
  ReplacementFile output(path("no-such-folder/out.bmp"));
  EXPECT_FALSE(output.isOpen());
}

}  // namespace
}  // namespace counterpal
