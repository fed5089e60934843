#include "app/RecoveryRecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QList>
#include <QUrl>

namespace orvo {
namespace {

// The first line names the format; a later version that cannot be read the
// same way gets another number.
constexpr char kFormatLine[] = "orvo recovery file 1";

QString tr(const char* text) { return QCoreApplication::translate("RecoveryRecord", text); }

QByteArray kindName(InputDocument::Kind kind) {
  switch (kind) {
    case InputDocument::Kind::File:
      return "file";
    case InputDocument::Kind::Example:
      return "example";
    case InputDocument::Kind::Welcome:
    case InputDocument::Kind::Untitled:
      break;
  }
  return "untitled";
}

}  // namespace

QByteArray RecoveryRecord::encode() const {
  QByteArray name;
  if (document.isFile()) name = document.path().toUtf8();
  if (document.kind() == InputDocument::Kind::Example) name = document.exampleName().toUtf8();
  QByteArray bytes = kFormatLine;
  bytes += "\nkind: " + kindName(document.kind());
  // Percent-encoded: a path may hold any byte but NUL, line breaks too.
  bytes += "\nname: " + name.toPercentEncoding("/ ");
  bytes += "\nline-ends: ";
  bytes += document.lineEnds() == LineEndStyle::Lf ? "lf" : "crlf";
  bytes += "\nencoding: ";
  bytes += encoding == TextEncoding::Latin1 ? "latin-1" : "utf-8";
  bytes += "\nkept: " + kept.toUTC().toString(Qt::ISODate).toLatin1();
  bytes += "\nbytes: " + QByteArray::number(text.size());
  bytes += "\n\n";
  bytes += text;
  return bytes;
}

std::optional<RecoveryRecord> RecoveryRecord::decode(const QByteArray& bytes) {
  const qsizetype headerEnd = bytes.indexOf("\n\n");
  if (headerEnd < 0) return std::nullopt;
  const QList<QByteArray> lines = bytes.left(headerEnd).split('\n');
  if (lines.isEmpty() || lines.front() != kFormatLine) return std::nullopt;
  QByteArray kind, name, lineEnds, encoding, kept, size;
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const qsizetype colon = lines[i].indexOf(": ");
    if (colon < 0) return std::nullopt;
    const QByteArray key = lines[i].left(colon);
    const QByteArray value = lines[i].mid(colon + 2);
    if (key == "kind") kind = value;
    else if (key == "name") name = QByteArray::fromPercentEncoding(value);
    else if (key == "line-ends") lineEnds = value;
    else if (key == "encoding") encoding = value;
    else if (key == "kept") kept = value;
    else if (key == "bytes") size = value;
  }
  bool sizeRead = false;
  const qlonglong expected = size.toLongLong(&sizeRead);
  const qsizetype textStart = headerEnd + 2;
  if (!sizeRead || expected != bytes.size() - textStart) return std::nullopt;

  RecoveryRecord record;
  const LineEndStyle style = lineEnds == "lf" ? LineEndStyle::Lf : LineEndStyle::CrLf;
  if (kind == "file" && !name.isEmpty()) {
    record.document = InputDocument::file(QString::fromUtf8(name), style);
  } else if (kind == "example" && !name.isEmpty()) {
    record.document = InputDocument::example(QString::fromUtf8(name));
  } else if (kind != "untitled") {
    return std::nullopt;
  }
  record.encoding = encoding == "latin-1" ? TextEncoding::Latin1 : TextEncoding::Utf8;
  record.kept = QDateTime::fromString(QString::fromLatin1(kept), Qt::ISODate);
  record.text = bytes.mid(textStart);
  return record;
}

QString RecoveryRecord::owner() const {
  switch (document.kind()) {
    case InputDocument::Kind::File:
      return QDir::toNativeSeparators(document.path());
    case InputDocument::Kind::Example:
      return tr("the example %1").arg(document.exampleName());
    case InputDocument::Kind::Welcome:
    case InputDocument::Kind::Untitled:
      break;
  }
  return tr("untitled input");
}

}  // namespace orvo
