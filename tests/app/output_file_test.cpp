#include "app/output_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

namespace lw {
namespace {

std::string ReadAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class OutputFileTest : public ::testing::Test {
 protected:
  std::filesystem::path path_ = std::filesystem::temp_directory_path() /
                                ("lw_out_" + std::to_string(::getpid()) + "_" +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
  void TearDown() override { std::filesystem::remove(path_); }
};

TEST_F(OutputFileTest, AppendsLinesWithoutTruncating) {
  { std::ofstream(path_, std::ios::binary) << "old"; }
  EXPECT_TRUE(AppendLine(path_, "\xBA\xEC"));  // GBK bytes as they are
  EXPECT_TRUE(AppendLine(path_, ""));
  EXPECT_EQ(ReadAll(path_), "old\xBA\xEC\r\n\r\n");
}

TEST_F(OutputFileTest, CreatesTheFileAndFailsQuietlyWhenItCannot) {
  EXPECT_TRUE(AppendLine(path_, "a"));
  EXPECT_EQ(ReadAll(path_), "a\r\n");
  EXPECT_FALSE(AppendLine(std::filesystem::temp_directory_path(), "a"));
  EXPECT_FALSE(AppendLine("/nonexistent-folder/x.txt", "a"));
}

TEST_F(OutputFileTest, ConcurrentWritersNeverInterleaveWithinALine) {
  const std::string line(500, 'w');
  std::vector<std::thread> writers;
  for (int t = 0; t < 4; ++t) {
    writers.emplace_back([&, t] {
      for (int i = 0; i < 200; ++i)
        AppendLine(path_, line + std::to_string(t));
    });
  }
  for (auto& w : writers)
    w.join();
  std::istringstream in(ReadAll(path_));
  std::string got;
  int lines = 0;
  while (std::getline(in, got)) {
    ++lines;
    ASSERT_EQ(got.size(), line.size() + 2);  // the word, its writer's digit and the CR
    ASSERT_EQ(got.substr(0, line.size()), line);
    ASSERT_EQ(got.back(), '\r');
  }
  EXPECT_EQ(lines, 800);
}

}  // namespace
}  // namespace lw
