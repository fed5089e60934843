// The server: reads framed messages, dispatches each by method, answers
// requests and sends notifications (diagnostics, log messages). Requests
// are answered in order on the reading thread; runs happen on the
// scheduler's worker.
#pragma once

#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "lsp/DocumentStore.h"
#include "lsp/MessageFraming.h"
#include "lsp/RunScheduler.h"

namespace orvo::lsp {

// The JSON-RPC and protocol error codes the server answers with.
namespace error_code {
inline constexpr int kParseError = -32700;
inline constexpr int kInvalidRequest = -32600;
inline constexpr int kMethodNotFound = -32601;
inline constexpr int kInvalidParams = -32602;
inline constexpr int kInternalError = -32603;
inline constexpr int kServerNotInitialized = -32002;
}  // namespace error_code

class LanguageServer {
 public:
  LanguageServer(std::istream& in, std::ostream& out,
                 std::chrono::milliseconds debounce = kDefaultDebounce);
  // Serves until `exit` or the end of input; the process's exit status:
  // 0 after shutdown, 1 otherwise.
  int serve();

 private:
  // Handles one message; false once `exit` arrived.
  bool handle(const nlohmann::json& message);
  nlohmann::json request(const std::string& method, const nlohmann::json& params);
  void notification(const std::string& method, const nlohmann::json& params);

  nlohmann::json initialize(const nlohmann::json& params);
  void applySettings(const nlohmann::json& settings);

  void reply(const nlohmann::json& id, nlohmann::json result);
  void replyError(const nlohmann::json& id, int code, const std::string& message);
  void notify(const std::string& method, nlohmann::json params);
  // window/logMessage with the protocol's type (1 error ... 4 log).
  void log(int type, const std::string& text);

  std::istream& m_In;
  MessageWriter m_Writer;
  DocumentStore m_Documents;
  RunSettings m_Settings;
  bool m_Initialized = false;
  bool m_ShutDown = false;
  std::unique_ptr<RunScheduler> m_Scheduler;  // last: its worker calls back into the server
};

}  // namespace orvo::lsp
