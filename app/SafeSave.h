// Writes a whole file so that it is either replaced completely or left as
// it was: the bytes go to a temporary file in the same folder, are pushed
// to the device and synced, and only then renamed over the target. On a
// failure the temporary file is removed and the reason is returned.
#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <functional>
#include <memory>

namespace orvo {

struct SaveOutcome {
  bool saved = false;
  QString reason;  // what went wrong, as the system says it; empty when saved
};

SaveOutcome saveFileSafely(const QString& path, const QByteArray& bytes);

// Makes the QSaveFile that saveFileSafely writes through; tests put in one
// whose device fails. An empty function restores the plain QSaveFile.
using SaveFileFactory = std::function<std::unique_ptr<QSaveFile>(const QString& path)>;
void setSaveFileFactory(SaveFileFactory factory);

}  // namespace orvo
