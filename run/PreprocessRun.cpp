#include "run/PreprocessRun.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <ostream>
#include <string>

#include "run/OutputBuffer.h"
#include "run/RunTracer.h"

#include "grammar/Cpreprocess_fileParser.h"
#include "runtime/InputLimits.h"
#include "runtime/ParseStatePlugin.h"

namespace orvo {
namespace {

RunError errorFrom(ErrorClass errorClass, const zemra::CVL_Message& message) {
  return RunError{errorClass, message.text(), message.begin(), message.end()};
}

}  // namespace

RunResult runPreprocessor(std::string_view input, const RunOptions& options) {
  RunResult result;
  if (input.size() > zemra::kMaxInputBytes) {
    result.error = RunError{ErrorClass::Message,
                            "input too large: more than " +
                                std::to_string(zemra::kMaxInputBytes) + " bytes",
                            0, 0};
    return result;
  }
  OutputBuffer buffer(options.maxOutputBytes);
  // Most text comes out about as long as it went in; room for that up front
  // spares copying the output each time it outgrows its buffer.
  buffer.reserve(std::min(input.size(), options.maxOutputBytes));
  std::ostream out(&buffer);
  // Let a refusal of the buffer reach the run instead of only failing the stream.
  out.exceptions(std::ios::badbit);
  zemra::CVL_ParseStatePlugin plugin(&out);
  plugin.m_bRaiseErrors = true;
  plugin.m_SourceDir = options.sourceDir;
  plugin.m_IncludePaths = options.includePaths;
  std::unique_ptr<RunTracer> tracer;
  if (options.observer != nullptr)
    tracer = std::make_unique<RunTracer>(*options.observer, options.inputName, input, plugin);
  // The parser reads the caller's text in place: it outlives the parse, and
  // a copy would cost as much memory again as the input.
  try {
    zemra::Cpreprocess_fileParser parser;
    if (tracer) {
      tracer->attach(parser);
      parser.m_pTrace = tracer.get();
    }
    parser.parse(input.data(), input.data() + input.size(), &plugin);
  } catch (const zemra::CVL_ErrorExpected& e) {
    result.error = errorFrom(ErrorClass::Expected, e);
  } catch (const zemra::CVL_ErrorUnexpected& e) {
    result.error = errorFrom(ErrorClass::Unexpected, e);
  } catch (const zemra::CVL_ParseError& e) {
    result.error = errorFrom(ErrorClass::Parse, e);
  } catch (const zemra::CVL_Message& e) {
    result.error = errorFrom(ErrorClass::Message, e);
  } catch (const std::exception& e) {
    result.error = RunError{ErrorClass::Standard, e.what(), 0, 0};
  }
  if (result.ok()) result.output = buffer.take();
  result.messages.assign(plugin.messagesBegin(), plugin.messagesEnd());
  if (tracer) result.explanation = tracer->finish(result.error ? &*result.error : nullptr);
  return result;
}

std::string convertLineEnds(std::string_view text) {
  if (text.find('\n') == std::string_view::npos) return std::string(text);
  std::string result;
  result.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n') {
      result += "\r\n";
    } else if (c == '\r') {
      // A CR keeps the character after it as it is: CR LF stays one pair.
      result += c;
      if (i + 1 < text.size()) result += text[++i];
    } else {
      result += c;
    }
  }
  return result;
}

}  // namespace orvo
