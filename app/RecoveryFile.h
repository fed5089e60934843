// Keeps typed work safe from a crash, as editors keep swap files: a few
// seconds after the input changes, its text goes to a recovery file in the
// user's state directory ($XDG_STATE_HOME/orvo, by default
// ~/.local/state/orvo), written safely (a temporary file, synced, then
// renamed); a clean exit or a save removes it. Each window keeps a file of
// its own and holds a lock file beside it while it runs, so a recovery file
// whose lock is free was left by a window that died: the next start offers
// it back (leftOver()).
//
// Files are written and removed on a thread of their own, in the order
// asked, so a large input never makes typing wait for the disk.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/RecoveryRecord.h"

namespace orvo {

class RecoveryFile : public QObject {
  Q_OBJECT

 public:
  // How long after a change the text is written. Typing on writes it at
  // most this often, so no more than this much typing is ever lost.
  static constexpr int kDelayMs = 2000;

  // `snapshot` gives the text to keep, or nothing when there is nothing
  // unsaved (the file is then removed); it is called on this thread.
  explicit RecoveryFile(std::function<std::optional<RecoveryRecord>()> snapshot,
                        QObject* parent = nullptr);
  // Waits for writes under way; the file itself is left for discard() to
  // remove, so a window torn down without a clean close keeps it.
  ~RecoveryFile() override;

  // The folder recovery files live in.
  static QString directory();

  // The input changed: keep it within kDelayMs.
  void inputChanged();
  // Nothing is unsaved any more (a save, a clean exit): removes the file
  // now, after any write under way.
  void discard();
  // Writes what is unsaved now, without the delay, and waits until it is on
  // the disk.
  void flush();

  // This window's recovery file (it exists only while text is unsaved).
  QString path() const { return m_Path; }

  // A recovery file left by a window that is no longer running, held by
  // this process while it is offered so that no other window offers it too.
  struct LeftOver {
    QString path;
    RecoveryRecord record;
    std::unique_ptr<QLockFile> lock;
  };
  // The files left by windows that ended without a clean close, newest
  // first; files another running window holds, or that cannot be read, are
  // not listed.
  static std::vector<LeftOver> leftOver();
  // Removes a left-over file once its text was restored or given up.
  static void remove(LeftOver& leftOver);

 signals:
  // Writing the file failed; `reason` is the system's.
  void writeFailed(const QString& reason);

 private:
  void write();

  std::function<std::optional<RecoveryRecord>()> m_Snapshot;
  QString m_Path;
  std::unique_ptr<QLockFile> m_Lock;
  QTimer m_Timer;
  // One thread: writes and removals happen in the order they were asked.
  QThreadPool m_Pool;
  bool m_Reported = false;  // a failure is reported once, not every write
};

}  // namespace orvo
