#include "app/SafeSave.h"

#include <QFile>
#include <utility>

#include "files/SafeFileWrite.h"

namespace orvo {
namespace {

FileWriter& writer() {
  static FileWriter installed;
  return installed;
}

}  // namespace

void setFileWriter(FileWriter installed) { writer() = std::move(installed); }

SaveOutcome saveFileSafely(const QString& path, const QByteArray& bytes) {
  // The file's name in the system's encoding, as QFile would open it.
  const QByteArray name = QFile::encodeName(path);
  const std::string_view data(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  const std::string target(name.constData(), static_cast<std::size_t>(name.size()));
  const std::optional<std::string> failure =
      writer() ? writer()(target, data) : files::writeFileSafely(target, data);
  if (!failure) return {true, {}};
  return {false, QString::fromLocal8Bit(failure->data(), static_cast<qsizetype>(failure->size()))};
}

}  // namespace orvo
