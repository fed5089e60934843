#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "runtime/ParseStatePlugin.h"

namespace orvo {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class PluginOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("orvo_plugin_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string path(const char* name) const { return (dir_ / name).string(); }

  fs::path dir_;
  std::ostringstream out_;
};

TEST_F(PluginOutput, WritesToTheConstructionStreamOrStandardOutput) {
  CVL_ParseStatePlugin plugin(&out_);
  *plugin.out() << "text";
  EXPECT_EQ(out_.str(), "text");
  CVL_ParseStatePlugin standard(nullptr);
  EXPECT_EQ(standard.out(), &std::cout);
}

TEST_F(PluginOutput, RedirectsToAFileAndBack) {
  CVL_ParseStatePlugin plugin(&out_);
  *plugin.out() << "a";
  plugin.redirectOutput(path("f.txt"), false);
  *plugin.out() << "to file";
  plugin.closeOutput();
  *plugin.out() << "b";
  plugin.redirectOutputBinary(path("f.txt"), true);
  *plugin.out() << " appended";
  plugin.closeOutput();
  EXPECT_EQ(out_.str(), "ab");
  EXPECT_EQ(readFile(path("f.txt")), "to file appended");
}

TEST_F(PluginOutput, MissingDirectoryRaisesAndKeepsTheConstructionStream) {
  CVL_ParseStatePlugin plugin(&out_);
  plugin.redirectOutput(path("first.txt"), false);
  try {
    plugin.redirectOutput(path("missing/x.txt"), false);
    FAIL() << "no exception";
  } catch (const CVL_Message& message) {
    EXPECT_STREQ(message.text(), "cannot open file");
  }
  *plugin.out() << "here";
  EXPECT_EQ(out_.str(), "here");
  // A later redirection works again.
  plugin.redirectOutput(path("later.txt"), false);
  *plugin.out() << "later";
  plugin.closeOutput();
  EXPECT_EQ(readFile(path("later.txt")), "later");
}

TEST_F(PluginOutput, TwoRedirectsThenCloseRestoreTheConstructionStream) {
  CVL_ParseStatePlugin plugin(&out_);
  plugin.redirectOutput(path("one.txt"), false);
  *plugin.out() << "1";
  plugin.redirectOutput(path("two.txt"), false);
  *plugin.out() << "2";
  plugin.closeOutput();
  *plugin.out() << "3";
  EXPECT_EQ(readFile(path("one.txt")), "1");
  EXPECT_EQ(readFile(path("two.txt")), "2");
  EXPECT_EQ(out_.str(), "3");
}

TEST_F(PluginOutput, DestroyingWhileRedirectedClosesTheFileAndRestoresTheStream) {
  {
    CVL_ParseStatePlugin plugin(&out_);
    plugin.redirectOutput(path("f.txt"), false);
    *plugin.out() << "pending";
  }
  EXPECT_EQ(readFile(path("f.txt")), "pending");
  out_ << "after";
  EXPECT_EQ(out_.str(), "after");
}

TEST(PluginIndent, StackGivesTheIndentation) {
  CVL_ParseStatePlugin plugin(nullptr);
  EXPECT_EQ(plugin.indentation(), "");
  plugin.pushIndent(4);
  EXPECT_EQ(plugin.indentation(), "    ");
  plugin.pushRelativeIndent(2);
  EXPECT_EQ(plugin.indentation(), "      ");
  EXPECT_FALSE(plugin.popIndent());
  EXPECT_EQ(plugin.indentation(), "    ");
  plugin.pushIndent(0);
  EXPECT_EQ(plugin.indentation(), "");
  plugin.pushIndent(-3);
  EXPECT_EQ(plugin.indentation(), "");
  plugin.clearIndent();
  EXPECT_TRUE(plugin.popIndent());
  plugin.pushRelativeIndent(2);
  EXPECT_EQ(plugin.indentation(), "  ");
}

TEST(PluginState, ResetKeepsMessagesAndRaiseFlag) {
  CVL_ParseStatePlugin plugin(nullptr);
  plugin.setRaiseErrors(false);
  plugin.addMessage(CVL_Warning("w", 1, 2, "p", "e", 0));
  plugin.setSourcePath("src.c", false);
  plugin.setSourceDir("dir");
  plugin.setIncludePaths("inc");
  plugin.reset();
  EXPECT_FALSE(plugin.raiseErrors());
  ASSERT_TRUE(plugin.hasMessages());
  EXPECT_EQ(plugin.messagesBegin()->kind(), 3);
  EXPECT_STREQ(plugin.messagesBegin()->text(), "w");
  EXPECT_EQ(plugin.sourcePath(), "");
  EXPECT_TRUE(plugin.sourceFlag());
  EXPECT_EQ(plugin.sourceDir(), "");
  EXPECT_EQ(plugin.includePaths(), "");
}

TEST(PluginState, OwnsAnEmptyDynamicScanner) {
  CVL_ParseStatePlugin plugin(nullptr);
  ASSERT_NE(plugin.dynamicScanner(), nullptr);
  EXPECT_FALSE(plugin.dynamicScanner()->hasLevels());
  EXPECT_FALSE(plugin.addDynamicText("P", "text", 0));
}

}  // namespace
}  // namespace orvo
