// Rescans return a text without parsing it when a pass could only copy it.
// These tests check the cases that must still be parsed, and run the pass's
// production over texts judged unchanged to see that it does give them back.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/GrammarNames.h"
#include "macros/PassWithoutParse.h"
#include "runtime/ParseStatePlugin.h"

namespace orvo {
namespace {

TEST(PassFixpoint, TellsWhichTextsAPassWouldChange) {
  const std::set<std::string, std::less<>> macros = {"M", "e5", "x", "1"};
  const auto expands = [&](std::string_view name) { return macros.count(name) != 0; };
  const struct {
    const char* text;
    bool kept;
  } cases[] = {
      {"((a) > (64) ? (a) : (64))", true},
      {"value_0 = \"64\" + 'c' - 1.5e+3f", true},
      {" leading blanks stay", true},
      {"M", false},                   // a macro name
      {"a + M", false},
      {"Mx", true},                   // a longer name is another name
      {"1.e5", false},                // the constant ends before the name "e5"
      {"1.5e+5x", false},             // ... and before "x"
      {"y+e5", false},                // no constant there, but checked alike
      {"e5", false},
      {"1 + 017", true},              // digits alone make a number, whatever is defined
      {"f(1)", false},                // a call
      {"f \t(1)", false},
      {"f\v(1)", false},
      {"(1) (2)", true},              // parentheses after no name
      {"a ", false},                  // trailing blanks go
      {"a\t", false},
      {"", false},
      {"a\\\nb", false},              // backslash, line break
      {"a\r\nb", false},
      {"# a", false},
      {"a /* c */", false},           // comments
      {"a // c", false},
      {"a / b * c", true},
      {"caf\xc3\xa9", false},         // bytes beyond ASCII
  };
  for (const auto& c : cases) EXPECT_EQ(PassKeepsText(c.text, expands), c.kept) << c.text;
}

// A parser with some macros defined, and the pass production run by hand.
class PassProduction : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string definitions =
        "#define OBJ 1\r\n#define EMPTY\r\n#define FN(a) a\r\n#define e5 5\r\n#define 1 one\r\n";
    m_Parser.parse(definitions.data(), definitions.data() + definitions.size(), &m_Plugin);
  }

  bool expands(std::string_view name) const {
    if (m_Parser.m_PredefinedMacros.find(name) != nullptr) return true;
    const node* record = m_Parser.m_ObjectMacros.find(name);
    return record != nullptr && record->id() == 0;
  }

  // What a pass leaves besides its output: the macros it made busy, in
  // order, and how many messages it recorded.
  struct SideEffects {
    std::vector<std::string> busy;
    int messages = 0;
    bool operator==(const SideEffects&) const = default;
  };

  // The output of the rescan production over `text`.
  std::string pass(const std::string& text, SideEffects& effects) {
    return run(text, effects, [&](CVL_ParseState& parent, RecordedMacros& recorded) {
      std::string output;
      CVL_SubParseState sub(text, parent);
      constexpr int kRescanStartScanner = 283;
      m_Parser.start(sub, kRescanStartScanner, prod::re_pp_tokens);
      m_Parser.re_pp_tokens(sub, 0, 0, output, recorded);
      // What no token took is kept, but blanks alone are dropped.
      const std::string unread = sub.matchText(-2);
      if (unread.find_first_not_of(" \t") != std::string::npos) output += unread;
      return output;
    });
  }

  // The output of a single rescan of `text`, shortcuts included.
  std::string rescanOnce(const std::string& text, SideEffects& effects) {
    return run(text, effects, [&](CVL_ParseState& parent, RecordedMacros& recorded) {
      return m_Parser.rescanOnce(parent, text, recorded);
    });
  }

  template <class Pass>
  std::string run(const std::string& text, SideEffects& effects, const Pass& onePass) {
    CVL_ParseState parent(text.data(), text.data() + text.size());
    parent.m_pPlugin = &m_Plugin;
    parent.m_fnSymbol = m_Parser.m_fnSymbol;
    m_Plugin.clearMessages();
    RecordedMacros recorded;
    const std::string output = onePass(parent, recorded);
    effects.busy.assign(recorded.begin(), recorded.end());
    effects.messages = static_cast<int>(m_Plugin.messagesEnd() - m_Plugin.messagesBegin());
    m_Parser.resetRecorded(recorded);
    return output;
  }

  // Texts from pieces that make names, numbers, literals and operators.
  static std::vector<std::string> GeneratedTexts(int count) {
    const std::vector<std::string> pieces = {
        "OBJ", "EMPTY", "FN", "e5", "__LINE__", "name", "x", "L", "_", "0", "1", "0x1F", "017",
        "1u", "5f", "1.5e+5", "2.", "e", "E", "+", "-", ".", "...", "->", "(", ")", ",", " ",
        "\t", "\v", "'a'", "'", "\"s\"", "\"", "*", "/", "%", "|", "&", "?", ":", "!", "<",
        ">", "=", "$", "@"};
    std::mt19937 random(20261210);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(1, 10);
    std::vector<std::string> texts;
    for (int n = 0; n < count; ++n) {
      std::string text;
      for (int i = length(random); i > 0; --i) text += pieces[pick(random)];
      texts.push_back(text);
    }
    return texts;
  }

  std::ostringstream m_Sink;
  CVL_ParseStatePlugin m_Plugin{&m_Sink};
  Cpreprocess_fileParser m_Parser;
};

TEST_F(PassProduction, GivesBackEveryTextJudgedUnchanged) {
  int kept = 0;
  for (const std::string& text : GeneratedTexts(4000)) {
    if (!PassKeepsText(text, [&](std::string_view name) { return expands(name); })) continue;
    ++kept;
    SideEffects effects;
    ASSERT_EQ(pass(text, effects), text);
    ASSERT_EQ(effects, SideEffects{}) << text;
  }
  // Enough texts were judged unchanged for the check to mean something.
  EXPECT_GT(kept, 400);
}

TEST_F(PassProduction, SubstitutesNamesAsTheProductionDoes) {
  int substituted = 0;
  for (const std::string& text : GeneratedTexts(4000)) {
    // A text of blanks alone is never parsed: nothing is read from it.
    if (text.find_first_not_of(" \t") == std::string::npos) continue;
    if (NamesAreWholeRuns(text)) ++substituted;
    SideEffects shortcut;
    SideEffects parsed;
    const std::string output = rescanOnce(text, shortcut);
    ASSERT_EQ(output, pass(text, parsed)) << text;
    ASSERT_EQ(shortcut, parsed) << text;
  }
  EXPECT_GT(substituted, 400);
}

}  // namespace
}  // namespace orvo
