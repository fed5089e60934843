// The byte encoding of what passes between runStandardC and its worker
// process: numbers in the machine's own byte order (both ends are the same
// build), strings and lists with their length first. A reader checks every
// length against what is left, so a cut or garbled message is an error
// (WireError), never a read past the end.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "orvo/Diagnostic.h"
#include "orvo/Explanation.h"
#include "orvo/IncludedFile.h"
#include "orvo/Run.h"
#include "orvo/SourcePlace.h"

namespace orvo::standard {

struct WireError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class WireWriter {
 public:
  explicit WireWriter(std::string& out) : m_Out(out) {}

  void u8(std::uint8_t value) { m_Out.push_back(static_cast<char>(value)); }
  void i64(std::int64_t value) { raw(&value, sizeof value); }
  void u64(std::uint64_t value) { raw(&value, sizeof value); }
  void boolean(bool value) { u8(value ? 1 : 0); }
  void text(std::string_view value) {
    u64(value.size());
    m_Out.append(value.data(), value.size());
  }
  void texts(const std::vector<std::string>& values);

  void place(const SourcePlace& value);
  void optionalPlace(const std::optional<SourcePlace>& value);
  void diagnostic(const Diagnostic& value);
  void runError(const RunError& value);
  void options(const RunOptions& value);
  void result(const RunResult& value);

 private:
  void raw(const void* data, std::size_t size) {
    m_Out.append(static_cast<const char*>(data), size);
  }
  std::string& m_Out;
};

class WireReader {
 public:
  explicit WireReader(std::string_view in) : m_In(in) {}

  std::uint8_t u8();
  std::int64_t i64();
  std::uint64_t u64();
  int i32() { return static_cast<int>(i64()); }
  bool boolean() { return u8() != 0; }
  std::string text();
  std::vector<std::string> texts();

  SourcePlace place();
  std::optional<SourcePlace> optionalPlace();
  Diagnostic diagnostic();
  RunError runError();
  // Every field a standard run reads; the observer and the cancellation
  // flag stay with the caller.
  RunOptions options();
  RunResult result();

  bool atEnd() const { return m_At == m_In.size(); }
  std::size_t left() const { return m_In.size() - m_At; }

 private:
  // A count of items that each take at least one byte: never more than is left.
  std::size_t count();
  void raw(void* data, std::size_t size);

  std::string_view m_In;
  std::size_t m_At = 0;
};

}  // namespace orvo::standard
