// Saves of the window: the output and the input are written by the same
// writer as orvo-pp's -o (files/SafeFileWrite.h): a temporary file in the
// same folder, synced and renamed over the target, so a failure leaves the
// old file whole; a read-only file is refused; links are written through.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orvo {

struct SaveOutcome {
  bool saved = false;
  QString reason;  // what went wrong, as the system says it; empty when saved
};

SaveOutcome saveFileSafely(const QString& path, const QByteArray& bytes);

// Writes the bytes of a save and returns the reason of a failure; tests put
// in one whose device fails. An empty function restores the real writer.
using FileWriter =
    std::function<std::optional<std::string>(const std::string& path, std::string_view bytes)>;
void setFileWriter(FileWriter writer);

}  // namespace orvo
