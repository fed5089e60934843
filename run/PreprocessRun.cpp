#include "run/PreprocessRun.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <ostream>
#include <string>

#include "run/CommandLineMacros.h"
#include "run/MessageExplanations.h"
#include "run/OutputBuffer.h"
#include "run/RecordingPlugin.h"
#include "run/SourceRegistry.h"
#include "run/SourceTracker.h"
#include "run/RunTracer.h"

#include "grammar/Cpreprocess_fileParser.h"
#include "runtime/InputLimits.h"
#include "runtime/ParseStatePlugin.h"

namespace orvo {
namespace {

RunError errorFrom(ErrorClass errorClass, const zemra::CVL_Message& message) {
  return RunError{errorClass, message.text(), message.begin(), message.end()};
}

IncludedFile::Status statusOf(zemra::IncludeRecord::Status status) {
  switch (status) {
    case zemra::IncludeRecord::Status::Loaded:
      return IncludedFile::Status::Loaded;
    case zemra::IncludeRecord::Status::Unreadable:
      return IncludedFile::Status::Unreadable;
    case zemra::IncludeRecord::Status::NotFound:
      break;
  }
  return IncludedFile::Status::NotFound;
}

std::vector<IncludedFile> includedFilesOf(const zemra::Cpreprocess_fileParser& parser) {
  std::vector<IncludedFile> files;
  for (const zemra::IncludeRecord& record : parser.m_IncludeLog.records())
    files.push_back(IncludedFile{record.name, record.path, statusOf(record.status)});
  return files;
}

// Kind bytes of the runtime's messages.
constexpr unsigned char kWarningKind = 3;
constexpr unsigned char kErrorKind = 4;
constexpr unsigned char kParseErrorKind = 5;

// A syntax error in rescanned macro text keeps the rest of that text as it
// stands, so it is a note; in a source text it cut the parse of that text
// short, so it is an error.
Severity severityOf(const RecordedMessage& message) {
  switch (message.kind) {
    case kWarningKind:
      return Severity::Warning;
    case kErrorKind:
      return Severity::Error;
    case kParseErrorKind:
      return message.place.inMacroText ? Severity::Note : Severity::Error;
    default:
      return Severity::Note;
  }
}

std::optional<SourcePlace> placeFrom(const SourceRegistry& registry, const RawPlace& raw) {
  if (raw.source == kNoSource) return std::nullopt;
  return registry.place(raw.source, raw.begin, raw.end);
}

// The notes the engine attached, then the ones that explain the text.
std::vector<DiagnosticNote> notesOf(const SourceRegistry& registry, const std::string& text,
                                    const RawPlace& place,
                                    const std::vector<RecordedNote>& attached) {
  std::vector<DiagnosticNote> notes;
  for (const RecordedNote& note : attached)
    notes.push_back(DiagnosticNote{note.text, placeFrom(registry, note.place)});
  for (DiagnosticNote& note :
       explanationNotes(text, registry, place.source, place.begin, place.end, place.inMacroText))
    notes.push_back(std::move(note));
  return notes;
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
  OutputBuffer buffer(options.maxOutputBytes, options.cancelRequested);
  // Most text comes out about as long as it went in; room for that up front
  // spares copying the output each time it outgrows its buffer.
  buffer.reserve(std::min(input.size(), options.maxOutputBytes));
  std::ostream out(&buffer);
  // Let a refusal of the buffer reach the run instead of only failing the stream.
  out.exceptions(std::ios::badbit);
  SourceRegistry sources;
  SourceTracker tracker(sources, sources.addMain(options.inputName, input));
  RecordingPlugin plugin(&out, tracker);
  tracker.setNoteSink(
      [&plugin](std::string text, RawPlace place) { plugin.addNote(std::move(text), place); });
  plugin.m_bRaiseErrors = true;
  plugin.m_SourceDir = options.sourceDir;
  plugin.m_IncludePaths = options.includePaths;
  std::unique_ptr<RunTracer> tracer;
  if (options.observer != nullptr)
    tracer = std::make_unique<RunTracer>(*options.observer, options.inputName, input, plugin);
  // The parser outlives the parse, so that the files it included can be
  // listed after an error too.
  std::optional<zemra::Cpreprocess_fileParser> parser;
  // The parser reads the caller's text in place: it outlives the parse, and
  // a copy would cost as much memory again as the input.
  try {
    parser.emplace();
    parser->setOutputLimit(options.maxOutputBytes);
    parser->setExpansionBudget(options.maxExpansionParses, options.maxExpandedBytes);
    parser->m_bReadPlainTokens = options.readPlainTokens;
    if (applyCommandLineMacros(*parser, options.commandLineMacros, result)) {
      parser->m_pSourceTrail = &tracker;
      if (tracer) {
        tracer->attach(*parser);
        parser->m_pTrace = tracer.get();
      }
      parser->parse(input.data(), input.data() + input.size(), &plugin);
    }
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
  if (result.error && !result.error->fromCommandLine) {
    // A message built from a text alone carries no range of its own.
    const bool ownRange = result.error->errorClass != ErrorClass::Standard &&
                          (result.error->begin != 0 || result.error->end != 0);
    const RawPlace place =
        tracker.placeOfThrown(result.error->begin, result.error->end, ownRange);
    result.error->place = placeFrom(sources, place);
    result.error->notes = notesOf(sources, result.error->text, place, {});
  }
  if (result.ok()) result.output = buffer.take();
  if (parser) result.includedFiles = includedFilesOf(*parser);
  result.messages.assign(plugin.messagesBegin(), plugin.messagesEnd());
  result.diagnostics.reserve(plugin.recorded().size());
  for (const RecordedMessage& message : plugin.recorded()) {
    result.diagnostics.push_back(
        Diagnostic{severityOf(message), message.text, placeFrom(sources, message.place),
                   message.place.inMacroText,
                   notesOf(sources, message.text, message.place, message.notes)});
  }
  if (tracer) result.explanation = tracer->finish(result.error ? &*result.error : nullptr);
  return result;
}

bool RunResult::hasErrors() const {
  if (!ok()) return true;
  for (const Diagnostic& diagnostic : diagnostics)
    if (diagnostic.severity == Severity::Error) return true;
  return false;
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
