#include "app/SafeSave.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace orvo {
namespace {

SaveFileFactory& factory() {
  static SaveFileFactory made;
  return made;
}

std::unique_ptr<QSaveFile> makeSaveFile(const QString& path) {
  if (factory()) return factory()(path);
  return std::make_unique<QSaveFile>(path);
}

}  // namespace

void setSaveFileFactory(SaveFileFactory made) { factory() = std::move(made); }

SaveOutcome saveFileSafely(const QString& path, const QByteArray& bytes) {
  std::unique_ptr<QSaveFile> file = makeSaveFile(path);
  // Unbuffered, so that a device that fills up fails the write itself and
  // not only a flush hidden in commit(), which some Qt versions ignore.
  if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    return {false, file->errorString()};
  }
  const auto fail = [&file] {
    // The reason is read before cancelling, which may replace it.
    const QString reason = file->errorString();
    file->cancelWriting();
    return SaveOutcome{false, reason};
  };
  if (file->write(bytes) != bytes.size() || !file->flush()) return fail();
  if (file->handle() >= 0 && ::fsync(file->handle()) != 0) {
    const QString reason = QString::fromLocal8Bit(std::strerror(errno));
    file->cancelWriting();
    return {false, reason};
  }
  if (!file->commit()) return {false, file->errorString()};
  return {true, {}};
}

}  // namespace orvo
