// Whole files read and written by the window tests.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QIODevice>
#include <QString>

// The file's bytes, or "<unreadable>", which no expected content matches.
inline QByteArray readAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QByteArray("<unreadable>");
  return file.readAll();
}

inline bool writeAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
