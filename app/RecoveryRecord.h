// What a recovery file holds: the input's bytes as the input area has them,
// with what they were (a file and its line ends, an example, untitled text),
// their encoding and when they were kept. The file starts with a few lines
// of "key: value" a person can read, then an empty line, then the bytes
// exactly, so a text editor opens it too.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

#include "app/CodeEditor.h"
#include "app/InputDocument.h"

namespace orvo {

struct RecoveryRecord {
  InputDocument document = InputDocument::welcome();
  TextEncoding encoding = TextEncoding::Utf8;
  QByteArray text;  // line ends CR LF, as in the input area
  QDateTime kept;   // when the text was written to the file

  QByteArray encode() const;
  // Nothing when `bytes` is no recovery file of this version or is cut short.
  static std::optional<RecoveryRecord> decode(const QByteArray& bytes);

  // Whose text this was, for the question that offers it back: the file's
  // path, "the example NAME" or "untitled input".
  QString owner() const;
};

}  // namespace orvo
