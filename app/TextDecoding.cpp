#include "app/TextDecoding.h"

namespace orvo {

QString decodeText(std::string_view bytes, TextEncoding encoding) {
  const auto size = static_cast<qsizetype>(bytes.size());
  return encoding == TextEncoding::Latin1 ? QString::fromLatin1(bytes.data(), size)
                                          : QString::fromUtf8(bytes.data(), size);
}

}  // namespace orvo
