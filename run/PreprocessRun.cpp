#include "orvo/Run.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <new>
#include <ostream>
#include <string>

#include "run/CommandLineMacros.h"
#include "run/MessageExplanations.h"
#include "run/MessageSeverity.h"
#include "run/OutputBuffer.h"
#include "run/RecordingPlugin.h"
#include "run/SourceRegistry.h"
#include "run/SourceTracker.h"
#include "run/RunTracer.h"

#include "grammar/Cpreprocess_fileParser.h"
#include "orvo/Run.h"
#include "runtime/ParseStatePlugin.h"
#include "scan/MatcherChoice.h"

namespace orvo {

static_assert(kMaxInputBytes == orvo::kMaxInputBytes,
              "the public input limit is the parser's own");

namespace {

// Enough for the error's place, its line text (at most 4 KiB) and its notes,
// with room to spare; untouched, it costs a run address space, not memory.
constexpr std::size_t kPlacingReserveBytes = std::size_t{1} << 20;

RunError errorFrom(ErrorClass errorClass, const orvo::CVL_Message& message) {
  return RunError{errorClass, message.text(), message.begin(), message.end()};
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

// The run itself; runPreprocessor adds the last resort for memory running
// out while the result is collected.
RunResult runChecked(std::string_view input, const RunOptions& options) {
  RunResult result;
  if (input.size() > orvo::kMaxInputBytes) {
    result.error = RunError{ErrorClass::Message,
                            "input too large: more than " +
                                std::to_string(orvo::kMaxInputBytes) + " bytes",
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
  const SourceId mainSource = sources.addMain(options.inputName, input);
  SourceTracker tracker(sources, mainSource);
  RecordingPlugin plugin(&out, tracker);
  tracker.setNoteSink(
      [&plugin](std::string text, RawPlace place) { plugin.addNote(std::move(text), place); });
  plugin.m_bRaiseErrors = true;
  plugin.m_SourceDir = options.sourceDir;
  // The include line reads the directories as one text, a directory a line.
  for (const std::string& directory : options.includeDirectories)
    plugin.m_IncludePaths.append(directory).append("\n");
  std::unique_ptr<RunTracer> tracer;
  if (options.observer != nullptr)
    tracer = std::make_unique<RunTracer>(*options.observer, options.inputName, input, plugin,
                                         tracker, mainSource);
  // The parser outlives the parse, so that the explorer can read its
  // tables when the run ends, after an error too.
  std::optional<orvo::Cpreprocess_fileParser> parser;
  // The parser reads the caller's text in place: it outlives the parse, and
  // a copy would cost as much memory again as the input.
  bool outOfMemory = false;
  // Address space held back for placing the error when memory runs out:
  // the macro table freed then lies in small blocks the allocator may not
  // hand out again for the place's line and notes.
  auto placingReserve = std::make_unique_for_overwrite<char[]>(kPlacingReserveBytes);
  try {
    parser.emplace();
    parser->setOutputLimit(options.maxOutputBytes);
    parser->setExpansionBudget(options.maxExpansionParses, options.maxExpandedBytes);
    parser->m_bFastPaths = options.mode == Mode::Fast;
    parser->setCancelFlag(options.cancelRequested, kCancelledText);
    if (applyCommandLineMacros(*parser, options.commandLineMacros, result)) {
      parser->m_pSourceTrail = &tracker;
      if (tracer) {
        tracer->attach(*parser);
        parser->m_pTrace = tracer.get();
      }
      parser->parse(input.data(), input.data() + input.size(), &plugin);
    }
  } catch (const orvo::CVL_ErrorExpected& e) {
    result.error = errorFrom(ErrorClass::Expected, e);
  } catch (const orvo::CVL_ErrorUnexpected& e) {
    result.error = errorFrom(ErrorClass::Unexpected, e);
  } catch (const orvo::CVL_ParseError& e) {
    result.error = errorFrom(ErrorClass::Parse, e);
  } catch (const orvo::CVL_Message& e) {
    result.error = errorFrom(ErrorClass::Message, e);
  } catch (const std::bad_alloc&) {
    result.error = RunError{ErrorClass::Standard, kOutOfMemoryText, 0, 0};
    outOfMemory = true;
  } catch (const std::exception& e) {
    result.error = RunError{ErrorClass::Standard, e.what(), 0, 0};
  }
  if (outOfMemory && parser) {
    // The macro table can hold most of what the run took: it goes before
    // anything of the result is allocated, and with it the explanation,
    // whose final macro table it is.
    tracer.reset();
    parser.reset();
    placingReserve.reset();
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
  result.includedFiles = sources.includedFiles();
  // Messages about -D and -U entries are in already, ahead of the input's.
  result.diagnostics.reserve(result.diagnostics.size() + plugin.recorded().size());
  for (const RecordedMessage& message : plugin.recorded()) {
    result.diagnostics.push_back(
        Diagnostic{severityOfMessage(message.kind, message.place.inMacroText), message.text,
                   placeFrom(sources, message.place), message.place.inMacroText,
                   notesOf(sources, message.text, message.place, message.notes)});
  }
  if (tracer) result.explanation = tracer->finish(result.error ? &*result.error : nullptr);
  return result;
}

}  // namespace

Mode modeFromEnvironment() {
  return orvo::EnvironmentAsksForReference() ? Mode::Reference : Mode::Fast;
}

RunResult runPreprocessor(std::string_view input, const RunOptions& options) {
  // The scanners of this thread match as the mode says, for this run.
  const orvo::LibraryMatchingScope matching(options.mode == Mode::Reference);
  try {
    return runChecked(input, options);
  } catch (const std::bad_alloc&) {
    // Memory ran out again while the result was collected; everything the
    // run held is freed by now, so the bare error fits.
    RunResult result;
    result.error = RunError{ErrorClass::Standard, kOutOfMemoryText, 0, 0};
    return result;
  }
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
