#include "standard/WireFormat.h"

#include <cstring>

namespace orvo::standard {

void WireWriter::texts(const std::vector<std::string>& values) {
  u64(values.size());
  for (const std::string& value : values) text(value);
}

void WireWriter::place(const SourcePlace& value) {
  text(value.file);
  i64(value.line);
  i64(value.column);
  i64(value.begin);
  i64(value.end);
  text(value.lineText);
  u64(value.includedFrom.size());
  for (const IncludeStep& step : value.includedFrom) {
    text(step.file);
    i64(step.line);
    i64(step.column);
  }
  boolean(value.inMainInput);
}

void WireWriter::optionalPlace(const std::optional<SourcePlace>& value) {
  boolean(value.has_value());
  if (value) place(*value);
}

void WireWriter::diagnostic(const Diagnostic& value) {
  u8(static_cast<std::uint8_t>(value.severity));
  text(value.text);
  optionalPlace(value.place);
  boolean(value.inMacroText);
  u64(value.notes.size());
  for (const DiagnosticNote& note : value.notes) {
    text(note.text);
    optionalPlace(note.place);
  }
}

void WireWriter::runError(const RunError& value) {
  u8(static_cast<std::uint8_t>(value.errorClass));
  text(value.text);
  i64(value.begin);
  i64(value.end);
  boolean(value.fromCommandLine);
  optionalPlace(value.place);
  u64(value.notes.size());
  for (const DiagnosticNote& note : value.notes) {
    text(note.text);
    optionalPlace(note.place);
  }
}

void WireWriter::options(const RunOptions& value) {
  text(value.sourceDir);
  texts(value.includeDirectories);
  u64(value.maxOutputBytes);
  u64(value.commandLineMacros.size());
  for (const CommandLineMacro& macro : value.commandLineMacros) {
    u8(static_cast<std::uint8_t>(macro.kind));
    text(macro.text);
  }
  i64(value.maxExpansionParses);
  u64(value.maxExpandedBytes);
  u8(static_cast<std::uint8_t>(value.mode));
  text(value.inputName);
}

void WireWriter::result(const RunResult& value) {
  text(value.output);
  boolean(value.error.has_value());
  if (value.error) runError(*value.error);
  u64(value.includedFiles.size());
  for (const IncludedFile& file : value.includedFiles) {
    text(file.name);
    text(file.path);
    u8(static_cast<std::uint8_t>(file.status));
  }
  boolean(value.explanation.has_value());
  if (value.explanation) {
    const RunExplanation& explanation = *value.explanation;
    texts(explanation.files);
    u64(explanation.lineMap.size());
    for (const LineOrigin& origin : explanation.lineMap) {
      i64(origin.file);
      i64(origin.firstLine);
      i64(origin.lastLine);
    }
    u64(explanation.skipped.size());
    for (const SkippedLines& lines : explanation.skipped) {
      i64(lines.file);
      i64(lines.firstLine);
      i64(lines.lastLine);
    }
    u64(explanation.macros.size());
    for (const MacroEntry& entry : explanation.macros) {
      text(entry.name);
      u8(static_cast<std::uint8_t>(entry.kind));
      texts(entry.parameters);
      text(entry.replacement);
      place(entry.definedAt);
    }
  }
  u64(value.diagnostics.size());
  for (const Diagnostic& each : value.diagnostics) diagnostic(each);
}

void WireReader::raw(void* data, std::size_t size) {
  if (m_In.size() - m_At < size) throw WireError("message cut short");
  std::memcpy(data, m_In.data() + m_At, size);
  m_At += size;
}

std::uint8_t WireReader::u8() {
  std::uint8_t value = 0;
  raw(&value, sizeof value);
  return value;
}

std::int64_t WireReader::i64() {
  std::int64_t value = 0;
  raw(&value, sizeof value);
  return value;
}

std::uint64_t WireReader::u64() {
  std::uint64_t value = 0;
  raw(&value, sizeof value);
  return value;
}

std::size_t WireReader::count() {
  const std::uint64_t value = u64();
  if (value > m_In.size() - m_At) throw WireError("list longer than its message");
  return static_cast<std::size_t>(value);
}

std::string WireReader::text() {
  const std::size_t size = count();
  std::string value(m_In.substr(m_At, size));
  m_At += size;
  return value;
}

std::vector<std::string> WireReader::texts() {
  std::vector<std::string> values(count());
  for (std::string& value : values) value = text();
  return values;
}

SourcePlace WireReader::place() {
  SourcePlace value;
  value.file = text();
  value.line = i32();
  value.column = i32();
  value.begin = i32();
  value.end = i32();
  value.lineText = text();
  value.includedFrom.resize(count());
  for (IncludeStep& step : value.includedFrom) {
    step.file = text();
    step.line = i32();
    step.column = i32();
  }
  value.inMainInput = boolean();
  return value;
}

std::optional<SourcePlace> WireReader::optionalPlace() {
  if (!boolean()) return std::nullopt;
  return place();
}

Diagnostic WireReader::diagnostic() {
  Diagnostic value;
  value.severity = static_cast<Severity>(u8());
  value.text = text();
  value.place = optionalPlace();
  value.inMacroText = boolean();
  value.notes.resize(count());
  for (DiagnosticNote& note : value.notes) {
    note.text = text();
    note.place = optionalPlace();
  }
  return value;
}

RunError WireReader::runError() {
  RunError value;
  value.errorClass = static_cast<ErrorClass>(u8());
  value.text = text();
  value.begin = i32();
  value.end = i32();
  value.fromCommandLine = boolean();
  value.place = optionalPlace();
  value.notes.resize(count());
  for (DiagnosticNote& note : value.notes) {
    note.text = text();
    note.place = optionalPlace();
  }
  return value;
}

RunOptions WireReader::options() {
  RunOptions value;
  value.sourceDir = text();
  value.includeDirectories = texts();
  value.maxOutputBytes = u64();
  value.commandLineMacros.resize(count());
  for (CommandLineMacro& macro : value.commandLineMacros) {
    macro.kind = static_cast<CommandLineMacro::Kind>(u8());
    macro.text = text();
  }
  value.maxExpansionParses = i32();
  value.maxExpandedBytes = u64();
  value.mode = static_cast<Mode>(u8());
  value.inputName = text();
  return value;
}

RunResult WireReader::result() {
  RunResult value;
  value.output = text();
  if (boolean()) value.error = runError();
  value.includedFiles.resize(count());
  for (IncludedFile& file : value.includedFiles) {
    file.name = text();
    file.path = text();
    file.status = static_cast<IncludedFile::Status>(u8());
  }
  if (boolean()) {
    RunExplanation explanation;
    explanation.files = texts();
    explanation.lineMap.resize(count());
    for (LineOrigin& origin : explanation.lineMap) {
      origin.file = i32();
      origin.firstLine = i32();
      origin.lastLine = i32();
    }
    explanation.skipped.resize(count());
    for (SkippedLines& lines : explanation.skipped) {
      lines.file = i32();
      lines.firstLine = i32();
      lines.lastLine = i32();
    }
    explanation.macros.resize(count());
    for (MacroEntry& entry : explanation.macros) {
      entry.name = text();
      entry.kind = static_cast<MacroKind>(u8());
      entry.parameters = texts();
      entry.replacement = text();
      entry.definedAt = place();
    }
    value.explanation = std::move(explanation);
  }
  value.diagnostics.resize(count());
  for (Diagnostic& each : value.diagnostics) each = diagnostic();
  return value;
}

}  // namespace orvo::standard
