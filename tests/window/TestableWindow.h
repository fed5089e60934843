// The main window with its message box and file dialogs replaced, so that
// tests can drive it without a person.
#pragma once

#include <QComboBox>
#include <QPlainTextEdit>
#include <QString>
#include <QStringList>

#include "app/MainWindow.h"

struct ShownMessage {
  QString caption;
  QString text;
};

class TestableWindow : public Tfrm_orvo {
 public:
  QList<ShownMessage> messages;
  QString nextOpenPath;  // what the open dialog answers; empty cancels
  QString nextSavePath;  // what the save dialog answers; empty cancels

  QPlainTextEdit* input() const { return findChild<QPlainTextEdit*>(QStringLiteral("memo_Input")); }
  QPlainTextEdit* output() const {
    return findChild<QPlainTextEdit*>(QStringLiteral("memo_Output"));
  }
  QComboBox* examples() const { return findChild<QComboBox*>(QStringLiteral("cb_Examples")); }

  // Picks the list item at `index` as a person would.
  void pickExample(int index) {
    examples()->setCurrentIndex(index);
    emit examples()->activated(index);
  }

 protected:
  void showMessage(const QString& caption, const QString& text) override {
    messages.append({caption, text});
  }
  QString chooseOpenFile() override { return nextOpenPath; }
  QString chooseSaveFile() override { return nextSavePath; }
};
