// The run's in-memory output: a stream buffer that collects what the
// preprocessor writes, refuses to grow past a size limit, and ends the run
// when it is asked to.
#pragma once

#include <atomic>
#include <cstddef>
#include <streambuf>
#include <string>

namespace orvo {

class OutputBuffer : public std::streambuf {
 public:
  explicit OutputBuffer(std::size_t maxBytes, const std::atomic<bool>* cancelRequested = nullptr)
      : m_MaxBytes(maxBytes), m_CancelRequested(cancelRequested) {}

  const std::string& text() const { return m_Text; }
  std::string take() { return std::move(m_Text); }
  void reserve(std::size_t n) { m_Text.reserve(n); }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;

 private:
  // Throws when the text would grow past the limit or the run is to end;
  // the stream passes the exception on to the code that wrote.
  void reserveFor(std::size_t n) const;

  std::size_t m_MaxBytes;
  const std::atomic<bool>* m_CancelRequested;
  std::string m_Text;
};

}  // namespace orvo
