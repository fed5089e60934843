// The main window with its message box and dialogs replaced, so that tests
// can drive it without a person, and its settings kept in a directory of
// the test's own.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

#include "app/CodeEditor.h"
#include "app/MainWindow.h"

struct ShownMessage {
  QString caption;
  QString text;
};

// Points the window's settings and its recovery files at a fresh temporary
// directory for the rest of the process, and empties the settings.
inline void useFreshSettings() {
  static QTemporaryDir directory;
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, directory.path());
  qputenv("XDG_STATE_HOME", QFile::encodeName(directory.filePath(QStringLiteral("state"))));
  QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("orvo"),
            QStringLiteral("orvo"))
      .clear();
}

class TestableWindow : public Tfrm_orvo {
 public:
  QList<ShownMessage> messages;
  QString nextOpenPath;  // what the open dialog answers; empty cancels
  QString nextSavePath;  // what the save dialog answers; empty cancels
  QString nextSaveInputPath;  // what the Save Input dialog answers; empty cancels
  SaveChoice nextSaveChoice = SaveChoice::Discard;  // the answer to "save the changes?"
  QStringList askedToSave;  // the names each such question named
  std::optional<QStringList> nextIncludeDirectories;  // the dialog's answer; none cancels
  std::optional<int> nextLineNumber;  // what Go to Line answers; none cancels
  RestoreChoice nextRestoreChoice = RestoreChoice::Later;  // the answer to the recovery offer
  QStringList askedToRestore;  // the owners each offer named

  orvo::CodeEditor* input() const {
    return findChild<orvo::CodeEditor*>(QStringLiteral("memo_Input"));
  }
  orvo::CodeEditor* output() const {
    return findChild<orvo::CodeEditor*>(QStringLiteral("memo_Output"));
  }
  QComboBox* examples() const { return findChild<QComboBox*>(QStringLiteral("cb_Examples")); }
  QString status() const { return findChild<QLabel*>(QStringLiteral("lbl_RunStatus"))->text(); }
  bool outputMarkedStale() const {
    return findChild<QLabel*>(QStringLiteral("lbl_Stale"))->isVisible();
  }
  QAction* action(const char* name) const {
    return findChild<QAction*>(QString::fromLatin1(name));
  }

  // Picks the list item at `index` as a person would.
  void pickExample(int index) {
    examples()->setCurrentIndex(index);
    emit examples()->activated(index);
  }

 public:
  using Tfrm_orvo::RestoreChoice;
  using Tfrm_orvo::SaveChoice;

 protected:
  void showMessage(const QString& caption, const QString& text) override {
    messages.append({caption, text});
  }
  QString chooseOpenFile() override { return nextOpenPath; }
  QString chooseSaveFile() override { return nextSavePath; }
  QString chooseSaveInputFile() override { return nextSaveInputPath; }
  SaveChoice askToSaveInput(const QString& name) override {
    askedToSave.append(name);
    return nextSaveChoice;
  }
  std::optional<QStringList> editIncludeDirectories(const QStringList&) override {
    return nextIncludeDirectories;
  }
  std::optional<int> askLineNumber(int, int) override { return nextLineNumber; }
  RestoreChoice askToRestore(const orvo::RecoveryRecord& record) override {
    askedToRestore.append(record.owner());
    return nextRestoreChoice;
  }
};
