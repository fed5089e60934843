#include "app/InputDocument.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace orvo {

InputDocument InputDocument::file(const QString& path, LineEndStyle lineEnds) {
  InputDocument document(Kind::File, path);
  document.m_LineEnds = lineEnds;
  return document;
}

QString InputDocument::displayName(bool modified) const {
  switch (m_Kind) {
    case Kind::File:
      return QFileInfo(m_Path).fileName();
    case Kind::Example:
      return QCoreApplication::translate("InputDocument", "%1 (example)").arg(m_Path);
    case Kind::Untitled:
      return QCoreApplication::translate("InputDocument", "Untitled");
    case Kind::Welcome:
      break;
  }
  return modified ? QCoreApplication::translate("InputDocument", "Untitled")
                  : QCoreApplication::translate("InputDocument", "Welcome");
}

QString InputDocument::title(bool modified, const QString& program) const {
  if (m_Kind == Kind::Welcome && !modified) return program;
  return QStringLiteral("%1%2 — %3")
      .arg(modified ? QStringLiteral("*") : QString(), displayName(modified), program);
}

}  // namespace orvo
