// orvo-pp --trace and --trace=json: the steps of a run on standard error,
// with the output on standard output unchanged.
#include <gtest/gtest.h>

#include <algorithm>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/Command.h"

namespace orvo::test {
namespace {

const std::string kPp = ORVO_PP_BINARY;

const std::string kStrings =
    "#define xstr(s) str(s)\n#define str(s) #s\n#define foo 4\nstr (foo)\nxstr (foo)\n"
    "#if foo > 9\nno\n#endif\n";

std::vector<nlohmann::json> JsonLines(const std::string& text) {
  std::vector<nlohmann::json> objects;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) objects.push_back(nlohmann::json::parse(line));
  return objects;
}

TEST(OrvoPpTrace, ReadableTraceShowsEachCallFromTextToResult) {
  const CommandResult plain = runCommand(kPp, kStrings);
  const CommandResult r = runCommand(kPp + " --trace", kStrings);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, plain.out);
  for (const char* expected : {
           "<stdin>:2:9: #define str(s) #s\n",
           "<stdin>:4:1: str (foo) → \"foo\"\n  arguments: [foo]\n  substituted: \"foo\"\n",
           "<stdin>:5:1: xstr (foo) → str(4) → \"4\"\n  arguments: [foo]\n"
           "  substituted: str(foo)\n  pass 1: foo → 4  (expanded foo)\n"
           "  <stdin>:5:1: str(4) → \"4\"\n",
           "  whole result: str(4) → \"4\"  (expanded str)\n",
           "<stdin>:6:1: #if foo > 9  [foo=1] → 0: not taken, lines 7-7 skipped\n"}) {
    EXPECT_NE(r.err.find(expected), std::string::npos) << expected << "\nin:\n" << r.err;
  }
}

TEST(OrvoPpTrace, JsonTraceIsOneDocumentedObjectPerLine) {
  const CommandResult r = runCommand(kPp + " --trace=json", kStrings + "#define a\xff 1\n");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<nlohmann::json> events = JsonLines(r.err);
  ASSERT_FALSE(events.empty());
  const nlohmann::json* call = nullptr;
  const nlohmann::json* conditional = nullptr;
  for (const nlohmann::json& event : events) {
    ASSERT_TRUE(event.contains("event")) << event;
    if (event["event"] == "call" && event["name"] == "xstr") call = &event;
    if (event["event"] == "conditional") conditional = &event;
  }
  ASSERT_NE(call, nullptr);
  EXPECT_EQ((*call)["text"], "xstr (foo)");
  EXPECT_EQ((*call)["arguments"], nlohmann::json::array({"foo"}));
  EXPECT_EQ((*call)["file"], "<stdin>");
  EXPECT_EQ((*call)["line"], 5);
  EXPECT_EQ((*call)["column"], 1);
  EXPECT_EQ((*call)["end"].get<int>() - (*call)["begin"].get<int>(), 10);
  EXPECT_EQ((*call)["depth"], 1);
  EXPECT_EQ((*call)["parent"], 0);
  ASSERT_NE(conditional, nullptr);
  EXPECT_EQ((*conditional)["expression"], "foo > 9");
  EXPECT_EQ((*conditional)["value"], 0);
  EXPECT_EQ((*conditional)["names"], nlohmann::json({{"foo", 1}}));
  EXPECT_EQ((*conditional)["taken"], false);
  EXPECT_EQ((*conditional)["skipped"], nlohmann::json::array({7, 7}));
}

TEST(OrvoPpTrace, JsonTraceCarriesTheNotesOfEachMessage) {
  const CommandResult r =
      runCommand(kPp + " --trace=json --no-caret", "#define O 1\n#define O 2\n");
  ASSERT_EQ(r.status, 0) << r.err;
  // The message itself follows the trace, as orvo-pp prints it.
  const std::string printed = "<stdin>:2:9: warning: \"O\" redefined\n"
                              "<stdin>:1:9: note: previous definition is here\n";
  ASSERT_TRUE(r.err.ends_with(printed)) << r.err;
  const std::vector<nlohmann::json> events =
      JsonLines(r.err.substr(0, r.err.size() - printed.size()));
  const auto notes = std::find_if(events.begin(), events.end(),
                                  [](const nlohmann::json& e) { return e["event"] == "notes"; });
  ASSERT_NE(notes, events.end()) << r.err;
  EXPECT_EQ((*notes)["text"], "\"O\" redefined");
  EXPECT_EQ((*notes)["line"], 2);
  ASSERT_EQ((*notes)["notes"].size(), 1u);
  EXPECT_EQ((*notes)["notes"][0]["text"], "previous definition is here");
  EXPECT_EQ((*notes)["notes"][0]["line"], 1);
  EXPECT_EQ((*notes)["notes"][0]["column"], 9);
}

TEST(OrvoPpTrace, UnknownFormatIsAUsageError) {
  const CommandResult r = runCommand(kPp + " --trace=xml", "x\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("unknown trace format 'xml'"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace orvo::test
