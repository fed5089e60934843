#include "run/OutputBuffer.h"

#include "orvo/Run.h"
#include "base/Message.h"

namespace orvo {

void OutputBuffer::reserveFor(std::size_t n) const {
  if (m_CancelRequested != nullptr && m_CancelRequested->load(std::memory_order_relaxed)) {
    throw orvo::CVL_Message(kCancelledText);
  }
  if (n > m_MaxBytes - m_Text.size()) {
    const std::string text =
        "output exceeds the limit of " + std::to_string(m_MaxBytes) + " bytes";
    throw orvo::CVL_Message(text.c_str());
  }
}

OutputBuffer::int_type OutputBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  reserveFor(1);
  m_Text.push_back(traits_type::to_char_type(c));
  return c;
}

std::streamsize OutputBuffer::xsputn(const char* s, std::streamsize n) {
  reserveFor(static_cast<std::size_t>(n));
  m_Text.append(s, static_cast<std::size_t>(n));
  return n;
}

}  // namespace orvo
