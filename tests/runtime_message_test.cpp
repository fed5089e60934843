#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "base/Message.h"
#include "runtime/ParseState.h"
#include "runtime/ParseStatePlugin.h"

namespace orvo {
namespace {

TEST(Message, LongTextKeepsItsFirst255Characters) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += static_cast<char>('a' + i % 26);
  const CVL_Message message(text.c_str());
  EXPECT_EQ(std::string(message.text()), text.substr(0, 255));
}

TEST(Message, TextAloneGivesDefaults) {
  const CVL_Message message("m");
  EXPECT_STREQ(message.symbol(), "unknown symbol");
  EXPECT_STREQ(message.production(), "unknown production");
  EXPECT_EQ(message.kind(), 0);
  EXPECT_EQ(message.begin(), 0);
  EXPECT_EQ(message.end(), 0);
}

TEST(Message, IncompleteCaughtAsParseErrorKeepsKindAndOffsets) {
  try {
    throw CVL_ErrorIncomplete("incomplete", 3, 7, "p", "e", 0);
  } catch (const CVL_ParseError& error) {
    EXPECT_EQ(error.kind(), 5);
    EXPECT_EQ(error.begin(), 3);
    EXPECT_EQ(error.end(), 7);
    EXPECT_STREQ(error.text(), "incomplete");
  }
}

// report() of a state over "abc" whose current token is "bc".
class Report : public ::testing::Test {
 protected:
  Report() : plugin_(&out_), state_(text_.data(), text_.data() + text_.size()) {
    state_.m_pPlugin = &plugin_;
    state_.m_Position.m_Current.m_pTokenBegin = text_.data() + 1;
    state_.m_Position.m_Current.m_pTokenEnd = text_.data() + 3;
  }

  std::ostringstream out_;
  CVL_ParseStatePlugin plugin_;
  const std::string text_ = "abc";
  CVL_ParseState state_;
};

TEST_F(Report, RecordsByKind) {
  plugin_.m_bRaiseErrors = false;
  struct Case {
    int kind;
    int storedKind;  // -1: nothing stored
  };
  for (const Case c : {Case{0, 0}, Case{2, -1}, Case{3, 3}, Case{4, 4}, Case{5, 5}, Case{6, -1}}) {
    plugin_.clearMessages();
    state_.m_Status = 0;
    state_.report("note", 4, 9, "prod", "elem", c.kind);
    if (c.storedKind < 0) {
      EXPECT_FALSE(plugin_.hasMessages()) << "kind " << c.kind;
      continue;
    }
    ASSERT_TRUE(plugin_.hasMessages()) << "kind " << c.kind;
    const CVL_Message& stored = *plugin_.messagesBegin();
    EXPECT_EQ(stored.kind(), c.storedKind);
    EXPECT_EQ(stored.begin(), 4);
    EXPECT_EQ(stored.end(), 9);
    EXPECT_STREQ(stored.production(), "prod");
    EXPECT_STREQ(stored.symbol(), "elem");
    EXPECT_EQ(state_.m_Status, c.kind == 5 ? parse_status::Unexpected : 0);
  }
}

TEST_F(Report, RaiseModeThrowsParseErrorAtTheCurrentToken) {
  try {
    state_.report("bad", 40, 50, "prod", "elem", 5);
    FAIL() << "no exception";
  } catch (const CVL_ParseError& error) {
    EXPECT_STREQ(error.text(), "bad");
    EXPECT_EQ(error.begin(), 1);
    EXPECT_EQ(error.end(), 3);
  }
  EXPECT_FALSE(plugin_.hasMessages());
}

TEST_F(Report, RaiseModeWarningIsRecorded) {
  state_.report("careful", 0, 1, nullptr, nullptr, 3);
  ASSERT_TRUE(plugin_.hasMessages());
  EXPECT_EQ(plugin_.messagesBegin()->kind(), 3);
}

TEST_F(Report, RaiseModeInErrorStateDoesNothing) {
  state_.m_Status = parse_status::Unexpected;
  EXPECT_NO_THROW(state_.report("bad", 0, 0, nullptr, nullptr, 5));
  EXPECT_FALSE(plugin_.hasMessages());
}

}  // namespace
}  // namespace orvo
