// orvo-lsp spoken to as an editor speaks to it: the real program started as a
// process, messages framed with Content-Length on its standard input and
// output.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "tests/support/Command.h"

namespace orvo::test {
namespace {

using nlohmann::json;
using namespace std::chrono_literals;

// Long enough for a cold start of the standard engine's worker on a loaded
// machine; the tests wait only as long as the answer takes.
constexpr auto kAnswerTimeout = 30s;

class LspProcess {
 public:
  LspProcess() {
    int toServer[2];
    int fromServer[2];
    if (pipe(toServer) != 0 || pipe(fromServer) != 0) throw std::runtime_error("pipe");
    m_Pid = fork();
    if (m_Pid == 0) {
      dup2(toServer[0], STDIN_FILENO);
      dup2(fromServer[1], STDOUT_FILENO);
      close(toServer[1]);
      close(fromServer[0]);
      execl(ORVO_LSP_BINARY, ORVO_LSP_BINARY, static_cast<char*>(nullptr));
      _exit(127);
    }
    close(toServer[0]);
    close(fromServer[1]);
    m_In = toServer[1];
    m_Out = fromServer[0];
  }
  ~LspProcess() {
    if (m_In >= 0) close(m_In);
    close(m_Out);
    if (m_Pid > 0 && !m_Reaped) {
      kill(m_Pid, SIGKILL);
      waitpid(m_Pid, nullptr, 0);
    }
  }

  void sendRaw(const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
      const ssize_t n = write(m_In, bytes.data() + written, bytes.size() - written);
      ASSERT_GT(n, 0);
      written += static_cast<std::size_t>(n);
    }
  }
  void sendBody(const std::string& body) {
    sendRaw("Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
  }
  void request(int id, const std::string& method, json params = json::object()) {
    sendBody(json{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}}.dump());
  }
  void notify(const std::string& method, json params = json::object()) {
    sendBody(json{{"jsonrpc", "2.0"}, {"method", method}, {"params", params}}.dump());
  }

  // The next message from the server, or nullopt when none came in time.
  std::optional<json> next() {
    const auto deadline = std::chrono::steady_clock::now() + kAnswerTimeout;
    for (;;) {
      const std::size_t headerEnd = m_Buffer.find("\r\n\r\n");
      if (headerEnd != std::string::npos) {
        const std::string header = m_Buffer.substr(0, headerEnd);
        const std::size_t length = std::stoul(header.substr(header.find(':') + 1));
        if (m_Buffer.size() >= headerEnd + 4 + length) {
          json message = json::parse(m_Buffer.substr(headerEnd + 4, length));
          m_Buffer.erase(0, headerEnd + 4 + length);
          return message;
        }
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return std::nullopt;
      pollfd fd{m_Out, POLLIN, 0};
      if (poll(&fd, 1, static_cast<int>(left.count())) <= 0) return std::nullopt;
      char chunk[65536];
      const ssize_t n = read(m_Out, chunk, sizeof chunk);
      if (n <= 0) return std::nullopt;
      m_Buffer.append(chunk, static_cast<std::size_t>(n));
    }
  }
  // Reads until the answer to request `id`; other messages are kept in seen.
  json answer(int id) {
    for (;;) {
      std::optional<json> message = next();
      if (!message) {
        ADD_FAILURE() << "no answer to request " << id;
        return json();
      }
      if (message->contains("id") && (*message)["id"] == id && !message->contains("method"))
        return *message;
      seen.push_back(*message);
    }
  }
  // Reads until a notification of `method` (seen earlier or now) satisfies `match`.
  json waitFor(const std::string& method, const std::function<bool(const json&)>& match = {}) {
    for (std::size_t i = 0;; ++i) {
      if (i == seen.size()) {
        std::optional<json> message = next();
        if (!message) {
          ADD_FAILURE() << "no " << method << " came";
          return json();
        }
        seen.push_back(*message);
      }
      const json& message = seen[i];
      if (message.value("method", "") == method && (!match || match(message["params"])))
        return message["params"];
    }
  }
  // Closes standard input and returns the exit status.
  int finish() {
    close(m_In);
    m_In = -1;
    int status = 0;
    waitpid(m_Pid, &status, 0);
    m_Reaped = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  void initialize(json options = json::object()) {
    request(1, "initialize",
            {{"processId", nullptr}, {"capabilities", json::object()},
             {"initializationOptions", options}});
    const json reply = answer(1);
    ASSERT_TRUE(reply.contains("result")) << reply.dump();
    notify("initialized");
  }
  void open(const std::string& uri, const std::string& text, int version = 1) {
    notify("textDocument/didOpen",
           {{"textDocument", {{"uri", uri}, {"languageId", "c"}, {"version", version}, {"text", text}}}});
  }
  json diagnosticsOf(const std::string& uri, int version) {
    return waitFor("textDocument/publishDiagnostics", [&](const json& params) {
      return params["uri"] == uri && params.value("version", -1) == version;
    });
  }
  json at(int id, const std::string& method, const std::string& uri, int line, int character) {
    request(id, method,
            {{"textDocument", {{"uri", uri}}}, {"position", {{"line", line}, {"character", character}}}});
    return answer(id);
  }

  std::vector<json> seen;

 private:
  pid_t m_Pid = -1;
  bool m_Reaped = false;
  int m_In = -1;
  int m_Out = -1;
  std::string m_Buffer;
};

std::string uriOf(const std::filesystem::path& path) { return "file://" + path.string(); }

std::string hoverText(const json& reply) {
  if (!reply.contains("result") || reply["result"].is_null()) return {};
  return reply["result"]["contents"]["value"].get<std::string>();
}

const char* const kSource =
    "#define SQUARE(x) ((x) * (x))\n"     // 0
    "#define TWICE(x) SQUARE(x) + SQUARE(x)\n"
    "int a = TWICE(2);\n"                  // 2
    "#define LEVEL 2\n"
    "#if defined(SQUARE) && LEVEL > 3\n"   // 4
    "int b;\n"
    "#endif\n"
    "#include \"lib.h\"\n"                 // 7
    "int c = FROM_HEADER;\n";              // 8

TEST(LspServer, HoverShowsTheStepsDecisionsAndIncludesDefinitionFindsTheDefine) {
  TempDir dir;
  writeFile(dir.path() / "lib.h", "#define FROM_HEADER 42\n");
  const std::string uri = uriOf(dir.path() / "main.c");
  LspProcess server;
  server.initialize();
  server.open(uri, kSource);
  EXPECT_EQ(server.diagnosticsOf(uri, 1)["diagnostics"].size(), 0u);

  const std::string call = hoverText(server.at(10, "textDocument/hover", uri, 2, 10));
  EXPECT_NE(call.find("TWICE"), std::string::npos) << call;
  EXPECT_NE(call.find("**call**"), std::string::npos) << call;
  EXPECT_NE(call.find("  - **call** `SQUARE`"), std::string::npos) << "nested calls: " << call;
  EXPECT_NE(call.find("((2) * (2)) + ((2) * (2))"), std::string::npos) << "the result: " << call;

  const std::string decision = hoverText(server.at(11, "textDocument/hover", uri, 4, 1));
  EXPECT_NE(decision.find("skipped"), std::string::npos) << decision;
  EXPECT_NE(decision.find("| `LEVEL` | 2 |"), std::string::npos) << decision;

  const std::string include = hoverText(server.at(12, "textDocument/hover", uri, 7, 3));
  EXPECT_NE(include.find((dir.path() / "lib.h").string()), std::string::npos) << include;

  EXPECT_TRUE(hoverText(server.at(13, "textDocument/hover", uri, 2, 1)).empty())
      << "nothing to show on a plain keyword";

  const json inFile = server.at(14, "textDocument/definition", uri, 2, 9);
  EXPECT_EQ(inFile["result"]["uri"], uri);
  EXPECT_EQ(inFile["result"]["range"]["start"]["line"], 1);
  const json inHeader = server.at(15, "textDocument/definition", uri, 8, 10);
  EXPECT_EQ(inHeader["result"]["uri"], uriOf(dir.path() / "lib.h")) << inHeader.dump();
  EXPECT_EQ(inHeader["result"]["range"]["start"]["line"], 0);

  const json references = server.at(17, "textDocument/references", uri, 0, 10)["result"];
  ASSERT_EQ(references.size(), 4u) << "the define, two uses in TWICE, the #if: " << references.dump();
  EXPECT_EQ(references[3]["range"]["start"], json({{"line", 4}, {"character", 12}}));

  server.request(18, "textDocument/codeAction",
                 {{"textDocument", {{"uri", uri}}},
                  {"range", {{"start", {{"line", 2}, {"character", 9}}}, {"end", {{"line", 2}, {"character", 9}}}}},
                  {"context", {{"diagnostics", json::array()}}}});
  const json actions = server.answer(18)["result"];
  ASSERT_EQ(actions.size(), 1u) << actions.dump();
  EXPECT_EQ(actions[0]["title"], "Expand this macro call");
  const json edit = actions[0]["edit"]["changes"][uri][0];
  EXPECT_EQ(edit["newText"], "((2) * (2)) + ((2) * (2))");
  EXPECT_EQ(edit["range"]["start"], json({{"line", 2}, {"character", 8}}));
  EXPECT_EQ(edit["range"]["end"], json({{"line", 2}, {"character", 16}}));

  server.request(19, "textDocument/semanticTokens/full", {{"textDocument", {{"uri", uri}}}});
  EXPECT_EQ(server.answer(19)["result"]["data"], json({5, 0, 6, 0, 1}))
      << "the one skipped line, \"int b;\", as a dimmed token";

  server.request(16, "shutdown");
  EXPECT_TRUE(server.answer(16)["result"].is_null());
  server.notify("exit");
  EXPECT_EQ(server.finish(), 0);
}

TEST(LspServer, PublishesErrorsAndWarningsWithTheirNotes) {
  TempDir dir;
  const std::string uri = uriOf(dir.path() / "bad.c");
  LspProcess server;
  server.initialize();
  writeFile(dir.path() / "warns.h", "#warning from the header\n");
  server.open(uri, "#define A 1\n#define A 2\n#include \"warns.h\"\n#error stop here\n");
  const json diagnostics = server.diagnosticsOf(uri, 1)["diagnostics"];
  bool sawHeader = false;
  for (const json& d : diagnostics) {
    if (d["message"].get<std::string>().find("from the header") == std::string::npos) continue;
    sawHeader = true;
    EXPECT_EQ(d["range"]["start"]["line"], 2) << "at the #include that led there";
    EXPECT_NE(d["message"].get<std::string>().find("warns.h:1"), std::string::npos) << d.dump();
  }
  EXPECT_TRUE(sawHeader) << diagnostics.dump();
  bool sawError = false;
  bool sawRedefinition = false;
  for (const json& d : diagnostics) {
    const std::string message = d["message"];
    if (d["severity"] == 1 && message.find("stop here") != std::string::npos) {
      sawError = true;
      EXPECT_EQ(d["range"]["start"]["line"], 3);
    }
    if (d["severity"] == 2 && d["message"].get<std::string>().find("redefined") != std::string::npos) {
      sawRedefinition = true;
      EXPECT_EQ(d["range"]["start"]["line"], 1);
      ASSERT_TRUE(d.contains("relatedInformation")) << d.dump();
      EXPECT_EQ(d["relatedInformation"][0]["location"]["range"]["start"]["line"], 0) << d.dump();
    }
  }
  EXPECT_TRUE(sawError) << diagnostics.dump();
  EXPECT_TRUE(sawRedefinition) << diagnostics.dump();
}

TEST(LspServer, TakesIncludeDirectoriesAndMacrosFromCompileCommands) {
  TempDir dir;
  for (const char* folder : {"inc", "build", "src"}) std::filesystem::create_directory(dir.path() / folder);
  writeFile(dir.path() / "inc" / "config.h", "#define FROM_CONFIG 1\n");
  writeFile(dir.path() / "build" / "compile_commands.json",
            json::array({{{"directory", (dir.path() / "build").string()},
                          {"file", "../src/main.c"},
                          {"command", "cc -I ../inc -DLEVEL=5 -c ../src/main.c"}}})
                .dump());
  const std::string uri = uriOf(dir.path() / "src" / "main.c");
  LspProcess server;
  server.initialize();
  server.open(uri, "#include <config.h>\n#if LEVEL > 4 && FROM_CONFIG\n#endif\n");
  EXPECT_EQ(server.diagnosticsOf(uri, 1)["diagnostics"].size(), 0u);
  const std::string include = hoverText(server.at(2, "textDocument/hover", uri, 0, 3));
  EXPECT_NE(include.find((dir.path() / "inc" / "config.h").string()), std::string::npos) << include;
  const std::string decision = hoverText(server.at(3, "textDocument/hover", uri, 1, 2));
  EXPECT_NE(decision.find("| `LEVEL` | 5 |"), std::string::npos) << decision;
}

TEST(LspServer, BothEnginesShowOrvoBesideStandardC) {
  TempDir dir;
  const std::string uri = uriOf(dir.path() / "both.c");
  LspProcess server;
  server.initialize({{"bothEngines", true}});
  server.open(uri, "#define ONE 1\n#define ID(x) x + ONE\nint v = ID(7);\n");
  server.diagnosticsOf(uri, 1);
  const std::string hover = hoverText(server.at(2, "textDocument/hover", uri, 2, 9));
  EXPECT_NE(hover.find("— standard C"), std::string::npos) << hover;
  EXPECT_NE(hover.find("— orvo"), std::string::npos) << hover;
  EXPECT_NE(hover.find("**built**"), std::string::npos) << "orvo's run shows the text built: " << hover;
  EXPECT_NE(hover.find("**pass**"), std::string::npos) << "and its rescan passes: " << hover;
}

TEST(LspServer, AnswersMalformedInputWithProtocolErrorsAndGoesOn) {
  LspProcess server;
  server.request(1, "textDocument/hover", json::object());
  EXPECT_EQ(server.answer(1)["error"]["code"], -32002) << "before initialize";
  server.initialize();
  server.request(2, "initialize", {{"capabilities", json::object()}});
  EXPECT_EQ(server.answer(2)["error"]["code"], -32600) << "a second initialize";

  struct Case {
    std::string bytes;
    int code;
  };
  const std::vector<Case> cases = {
      {"Content-Length: 9\r\n\r\n{\"id\": 1,", -32700},        // bad JSON
      {"Content-Length: many\r\n\r\n", -32700},                 // bad header
      {"Content-Type: x\r\n\r\n", -32700},                      // no length
      {"Content-Length: 2\r\n\r\n[]", -32600},                  // no method
  };
  for (const Case& c : cases) {
    server.sendRaw(c.bytes);
    const std::optional<json> reply = server.next();
    ASSERT_TRUE(reply) << c.bytes;
    EXPECT_EQ((*reply)["error"]["code"], c.code) << c.bytes << " gave " << reply->dump();
    EXPECT_TRUE((*reply)["id"].is_null());
  }
  server.notify("$/cancelRequest", {{"id", 3}});
  server.notify("$/unknownNotification");
  server.request(7, "no/suchMethod");
  EXPECT_EQ(server.answer(7)["error"]["code"], -32601);
  server.request(8, "textDocument/hover", {{"textDocument", 3}});
  EXPECT_EQ(server.answer(8)["error"]["code"], -32602);
  server.request(9, "shutdown");
  EXPECT_TRUE(server.answer(9).contains("result")) << "the server still answers";
  server.notify("exit");
  EXPECT_EQ(server.finish(), 0);
}

TEST(LspServer, ExitWithoutShutdownOrEndOfInputReportsFailure) {
  LspProcess server;
  server.initialize();
  server.notify("exit");
  EXPECT_EQ(server.finish(), 1);
  LspProcess cut;
  cut.initialize();
  EXPECT_EQ(cut.finish(), 1);
}

TEST(LspServer, ABurstOfChangesCostsOneRunOfTheLastText) {
  TempDir dir;
  const std::string uri = uriOf(dir.path() / "typing.c");
  LspProcess server;
  server.initialize();
  server.open(uri, "int x;\n");
  constexpr int kChanges = 100;
  for (int version = 2; version <= kChanges + 1; ++version)
    server.notify("textDocument/didChange",
                  {{"textDocument", {{"uri", uri}, {"version", version}}},
                   {"contentChanges", {{{"text", "#error v" + std::to_string(version) + "\n"}}}}});
  const json last = server.diagnosticsOf(uri, kChanges + 1);
  EXPECT_NE(last["diagnostics"][0]["message"].get<std::string>().find("v101"), std::string::npos);
  int runs = 0;
  for (const json& message : server.seen)
    if (message.value("method", "") == "textDocument/publishDiagnostics") ++runs;
  EXPECT_EQ(runs, 1);
}

TEST(LspServer, AHostileMacroEndsWithAMessageAndTheServerStaysUp) {
#ifdef ORVO_SANITIZED
  GTEST_SKIP() << "a sanitized standard worker runs without its memory limit, which ends this input";
#endif
  TempDir dir;
  const std::string uri = uriOf(dir.path() / "bomb.c");
  LspProcess server;
  server.initialize();
  server.open(uri,
              "#define A(x) x x x x x x x x\n#define B(x) A(A(A(A(x))))\n"
              "#define C(x) B(B(B(B(x))))\nC(C(C(1)))\n");
  const json diagnostics = server.diagnosticsOf(uri, 1)["diagnostics"];
  ASSERT_FALSE(diagnostics.empty());
  EXPECT_EQ(diagnostics.back()["severity"], 1) << diagnostics.dump();
  server.request(5, "shutdown");
  EXPECT_TRUE(server.answer(5).contains("result"));
}

}  // namespace
}  // namespace orvo::test
