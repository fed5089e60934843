#include "app/RecoveryFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <algorithm>

#include "files/SafeFileWrite.h"

namespace orvo {
namespace {

constexpr char kSuffix[] = ".recovery";
constexpr char kLockSuffix[] = ".lock";

QString lockPathOf(const QString& recoveryPath) {
  return recoveryPath.left(recoveryPath.size() - int(sizeof kSuffix - 1)) + kLockSuffix;
}

// A lock of a live window is never taken for stale by its age, however long
// that window runs; only a lock whose process is gone is.
std::unique_ptr<QLockFile> lockFor(const QString& lockPath) {
  auto lock = std::make_unique<QLockFile>(lockPath);
  lock->setStaleLockTime(0);
  return lock;
}

}  // namespace

RecoveryFile::RecoveryFile(std::function<std::optional<RecoveryRecord>()> snapshot,
                           QObject* parent)
    : QObject(parent), m_Snapshot(std::move(snapshot)) {
  m_Pool.setMaxThreadCount(1);
  m_Timer.setSingleShot(true);
  m_Timer.setInterval(kDelayMs);
  connect(&m_Timer, &QTimer::timeout, this, &RecoveryFile::write);
  const QString folder = directory();
  // Only its owner reads what was typed.
  if (QDir().mkpath(folder)) {
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                      QFileDevice::ExeOwner);
  }
  const QString name = QStringLiteral("input-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
  m_Path = QDir(folder).filePath(name + kSuffix);
  m_Lock = lockFor(lockPathOf(m_Path));
  // Without the lock a later start could take this window's file for one
  // left by a crash; the text is kept all the same.
  m_Lock->tryLock(0);
}

RecoveryFile::~RecoveryFile() { m_Pool.waitForDone(); }

QString RecoveryFile::directory() {
  QString state = qEnvironmentVariable("XDG_STATE_HOME");
  // The XDG rule: a relative path is to be ignored.
  if (state.isEmpty() || QDir::isRelativePath(state))
    state = QDir::homePath() + QStringLiteral("/.local/state");
  return QDir(state).filePath(QStringLiteral("orvo"));
}

void RecoveryFile::inputChanged() {
  // Started by the first change and not pushed back by later ones, so a
  // steady typist's work is kept every kDelayMs too.
  if (!m_Timer.isActive()) m_Timer.start();
}

void RecoveryFile::write() {
  m_Timer.stop();
  std::optional<RecoveryRecord> record = m_Snapshot();
  if (!record) {
    discard();
    return;
  }
  record->kept = QDateTime::currentDateTimeUtc();
  const QByteArray bytes = record->encode();
  const std::string path = QFile::encodeName(m_Path).toStdString();
  m_Pool.start([this, bytes, path] {
    const std::optional<std::string> failure =
        files::writeFileSafely(path, std::string_view(bytes.constData(), bytes.size()));
    if (!failure) return;
    const QString reason = QString::fromStdString(*failure);
    QMetaObject::invokeMethod(
        this,
        [this, reason] {
          if (m_Reported) return;
          m_Reported = true;
          emit writeFailed(reason);
        },
        Qt::QueuedConnection);
  });
}

void RecoveryFile::discard() {
  m_Timer.stop();
  const QString path = m_Path;
  m_Pool.start([path] { QFile::remove(path); });
}

void RecoveryFile::flush() {
  write();
  m_Pool.waitForDone();
}

std::vector<RecoveryFile::LeftOver> RecoveryFile::leftOver() {
  std::vector<LeftOver> found;
  const QDir folder(directory());
  for (const QFileInfo& info :
       folder.entryInfoList({QStringLiteral("*") + kSuffix}, QDir::Files, QDir::Time)) {
    std::unique_ptr<QLockFile> lock = lockFor(lockPathOf(info.filePath()));
    // Free (or stale: its process is gone) means no window keeps this file.
    if (!lock->tryLock(0)) continue;
    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly)) continue;
    std::optional<RecoveryRecord> record = RecoveryRecord::decode(file.readAll());
    if (!record) continue;
    found.push_back({info.filePath(), std::move(*record), std::move(lock)});
  }
  // A window killed while nothing was unsaved leaves only its lock; taking
  // it and letting it go removes it.
  for (const QFileInfo& info :
       folder.entryInfoList({QStringLiteral("*") + kLockSuffix}, QDir::Files)) {
    const QString recoveryPath =
        info.filePath().left(info.filePath().size() - int(sizeof kLockSuffix - 1)) + kSuffix;
    if (QFileInfo::exists(recoveryPath)) continue;
    const std::unique_ptr<QLockFile> lock = lockFor(info.filePath());
    if (lock->tryLock(0)) lock->unlock();
  }
  return found;
}

void RecoveryFile::remove(LeftOver& leftOver) {
  QFile::remove(leftOver.path);
  if (leftOver.lock) leftOver.lock->unlock();
}

}  // namespace orvo
