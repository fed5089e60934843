#include "lsp/LanguageServer.h"

#include "lsp/Definition.h"
#include "lsp/Diagnostics.h"
#include "lsp/ExpandCallAction.h"
#include "lsp/Hover.h"
#include "lsp/References.h"
#include "lsp/SkippedBranches.h"

namespace orvo::lsp {

namespace {

// window/logMessage types.
constexpr int kLogError = 1;
constexpr int kLogInfo = 3;

// A request of a method this server does not offer.
struct UnknownMethod {
  std::string what;
};

// Full synchronisation: each change carries the whole text.
constexpr int kTextDocumentSyncFull = 1;

Position positionParam(const nlohmann::json& params) {
  const nlohmann::json& position = params.at("position");
  return Position{position.at("line").get<int>(), position.at("character").get<int>()};
}

std::string uriParam(const nlohmann::json& params) {
  return params.at("textDocument").at("uri").get<std::string>();
}

}  // namespace

LanguageServer::LanguageServer(std::istream& in, std::ostream& out, std::chrono::milliseconds debounce)
    : m_In(in), m_Writer(out) {
  m_Scheduler = std::make_unique<RunScheduler>(
      m_Documents,
      [this](const std::shared_ptr<const FinishedRun>& run) {
        log(kLogInfo, "ran " + run->uri + " version " + std::to_string(run->version));
        notify("textDocument/publishDiagnostics", diagnosticsParams(*run));
      },
      debounce);
}

int LanguageServer::serve() {
  for (;;) {
    ReadResult read = readMessage(m_In);
    if (std::holds_alternative<EndOfInput>(read)) break;
    if (const auto* error = std::get_if<FramingError>(&read)) {
      replyError(nullptr, error_code::kParseError, error->reason);
      continue;
    }
    const std::string& body = std::get<FramedMessage>(read).body;
    const nlohmann::json message = nlohmann::json::parse(body, nullptr, false);
    if (message.is_discarded()) {
      replyError(nullptr, error_code::kParseError, "the message is no valid JSON");
      continue;
    }
    if (!handle(message)) break;
  }
  m_Scheduler.reset();
  return m_ShutDown ? 0 : 1;
}

bool LanguageServer::handle(const nlohmann::json& message) {
  const bool validId = message.is_object() && message.contains("id") &&
                       (message["id"].is_number_integer() || message["id"].is_string());
  const nlohmann::json id = validId ? message["id"] : nlohmann::json(nullptr);
  if (!message.is_object() || !message.contains("method") || !message["method"].is_string()) {
    // A response to a request of ours (none is sent) is ignored; anything
    // else is no valid message.
    if (!(message.is_object() && message.contains("id") &&
          (message.contains("result") || message.contains("error"))))
      replyError(id, error_code::kInvalidRequest, "a message needs a \"method\" string");
    return true;
  }
  const std::string method = message["method"].get<std::string>();
  const nlohmann::json params = message.value("params", nlohmann::json::object());
  if (method == "exit") return false;
  const bool isRequest = message.contains("id");
  if (isRequest && !validId) {
    replyError(nullptr, error_code::kInvalidRequest, "a request id must be a number or a string");
    return true;
  }
  try {
    if (isRequest) {
      if (!m_Initialized && method != "initialize")
        replyError(id, error_code::kServerNotInitialized, "the server is not initialized yet");
      else if (m_Initialized && method == "initialize")
        replyError(id, error_code::kInvalidRequest, "initialize was already called");
      else if (m_ShutDown)
        replyError(id, error_code::kInvalidRequest, "the server is shut down");
      else
        reply(id, request(method, params));
    } else if (m_Initialized && !m_ShutDown) {
      notification(method, params);
    }
  } catch (const UnknownMethod& error) {
    if (isRequest) replyError(id, error_code::kMethodNotFound, error.what);
  } catch (const nlohmann::json::exception& error) {
    if (isRequest)
      replyError(id, error_code::kInvalidParams, method + ": invalid parameters: " + error.what());
    else
      log(kLogError, method + ": invalid parameters: " + error.what());
  } catch (const std::exception& error) {
    if (isRequest) replyError(id, error_code::kInternalError, method + ": " + error.what());
    else log(kLogError, method + ": " + error.what());
  }
  return true;
}

nlohmann::json LanguageServer::request(const std::string& method, const nlohmann::json& params) {
  if (method == "initialize") return initialize(params);
  if (method == "shutdown") {
    m_ShutDown = true;
    return nullptr;
  }
  if (method == "textDocument/hover") {
    const auto run = m_Scheduler->latest(uriParam(params));
    if (!run) return nullptr;
    const std::optional<std::string> text =
        hoverMarkdown(*run, positionParam(params));
    if (!text) return nullptr;
    return {{"contents", {{"kind", "markdown"}, {"value", *text}}}};
  }
  if (method == "textDocument/definition") {
    const auto run = m_Scheduler->latest(uriParam(params));
    if (!run) return nullptr;
    return definitionLocation(*run, positionParam(params));
  }
  if (method == "textDocument/references") {
    const auto run = m_Scheduler->latest(uriParam(params));
    if (!run) return nlohmann::json::array();
    return referenceLocations(*run, positionParam(params));
  }
  if (method == "textDocument/codeAction") {
    const std::string uri = uriParam(params);
    const auto run = m_Scheduler->latest(uri);
    const std::optional<Document> document = m_Documents.get(uri);
    if (!run || !document) return nlohmann::json::array();
    const nlohmann::json& start = params.at("range").at("start");
    return expandCallActions(*run, document->version,
                             Position{start.at("line").get<int>(), start.at("character").get<int>()});
  }
  if (method == "textDocument/semanticTokens/full") {
    const auto run = m_Scheduler->latest(uriParam(params));
    if (!run) return {{"data", nlohmann::json::array()}};
    return skippedBranchTokens(*run);
  }
  throw UnknownMethod{"unknown method: " + method};
}

void LanguageServer::notification(const std::string& method, const nlohmann::json& params) {
  if (method == "initialized" || method == "$/cancelRequest") return;  // requests are answered at once
  if (method == "textDocument/didOpen") {
    const nlohmann::json& document = params.at("textDocument");
    const std::string uri = document.at("uri").get<std::string>();
    m_Documents.open(Document{uri, document.at("text").get<std::string>(),
                              document.at("version").get<long>()});
    m_Scheduler->schedule(uri);
  } else if (method == "textDocument/didChange") {
    const std::string uri = uriParam(params);
    const nlohmann::json& changes = params.at("contentChanges");
    if (changes.empty()) return;
    if (changes.back().contains("range"))
      throw std::runtime_error("only whole-text changes are accepted (textDocumentSync 1)");
    if (m_Documents.change(uri, changes.back().at("text").get<std::string>(),
                           params.at("textDocument").at("version").get<long>()))
      m_Scheduler->schedule(uri);
  } else if (method == "textDocument/didClose") {
    const std::string uri = uriParam(params);
    m_Documents.close(uri);
    m_Scheduler->forget(uri);
    notify("textDocument/publishDiagnostics",
           {{"uri", uri}, {"diagnostics", nlohmann::json::array()}});
  } else if (method == "workspace/didChangeConfiguration") {
    const nlohmann::json settings = params.value("settings", nlohmann::json::object());
    applySettings(settings.is_object() && settings.contains("orvo") ? settings["orvo"] : settings);
  }
  // Other notifications ($/setTrace, didSave, ...) need nothing from this server.
}

nlohmann::json LanguageServer::initialize(const nlohmann::json& params) {
  m_Initialized = true;
  if (params.contains("initializationOptions") && params["initializationOptions"].is_object())
    applySettings(params["initializationOptions"]);
  return {{"capabilities",
           {{"textDocumentSync", {{"openClose", true}, {"change", kTextDocumentSyncFull}}},
            {"hoverProvider", true},
            {"definitionProvider", true},
            {"referencesProvider", true},
            {"codeActionProvider", true},
            {"semanticTokensProvider", {{"legend", skippedBranchesLegend()}, {"full", true}}}}},
          {"serverInfo", {{"name", "orvo-lsp"}}}};
}

void LanguageServer::applySettings(const nlohmann::json& settings) {
  if (!settings.is_object()) return;
  RunSettings next = m_Settings;
  next.bothEngines = settings.value("bothEngines", next.bothEngines);
  if (settings.contains("includeDirectories"))
    next.includeDirectories = settings["includeDirectories"].get<std::vector<std::string>>();
  if (settings.contains("defines")) {
    next.macros.clear();
    for (const std::string& text : settings["defines"].get<std::vector<std::string>>())
      next.macros.push_back(CommandLineMacro{CommandLineMacro::Kind::Define, text});
  }
  m_Settings = next;
  m_Scheduler->setSettings(std::move(next));
}

void LanguageServer::reply(const nlohmann::json& id, nlohmann::json result) {
  m_Writer.write(nlohmann::json{{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}}
                     .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

void LanguageServer::replyError(const nlohmann::json& id, int code, const std::string& message) {
  m_Writer.write(nlohmann::json{{"jsonrpc", "2.0"},
                                {"id", id},
                                {"error", {{"code", code}, {"message", message}}}}
                     .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

void LanguageServer::notify(const std::string& method, nlohmann::json params) {
  m_Writer.write(nlohmann::json{{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}}
                     .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

void LanguageServer::log(int type, const std::string& text) {
  notify("window/logMessage", {{"type", type}, {"message", text}});
}

}  // namespace orvo::lsp
