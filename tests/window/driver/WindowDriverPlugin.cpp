// Drives the real orvo program from inside, as a person at the keyboard
// would, for tests that must end that program with a signal: loaded into it
// as a Qt generic plugin (QT_PLUGIN_PATH naming the folder above "generic",
// QT_QPA_GENERIC_PLUGINS=orvowindowdriver), so the program itself carries no
// test code. What it does is read from the environment:
//   ORVO_DRIVER_TYPE    text typed into the input area once it shows
//   ORVO_DRIVER_ANSWER  "restore": presses Restore in the recovery question
//   ORVO_DRIVER_REPORT  a file the driver rewrites with what it did and saw,
//                       one JSON object: "typed", "question", "input", "title"
#include <QApplication>
#include <QFile>
#include <QGenericPlugin>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <Qsci/qsciscintilla.h>

namespace {

constexpr int kPollMs = 50;

class WindowDriver : public QObject {
 public:
  WindowDriver() {
    m_ToType = qEnvironmentVariable("ORVO_DRIVER_TYPE");
    m_Answer = qEnvironmentVariable("ORVO_DRIVER_ANSWER");
    m_ReportPath = qEnvironmentVariable("ORVO_DRIVER_REPORT");
    connect(&m_Poll, &QTimer::timeout, this, &WindowDriver::step);
    m_Poll.start(kPollMs);
  }

 private:
  QsciScintilla* input() const {
    for (QWidget* widget : QApplication::allWidgets()) {
      if (widget->objectName() == QLatin1String("memo_Input") && widget->isVisible())
        return qobject_cast<QsciScintilla*>(widget);
    }
    return nullptr;
  }

  void step() {
    if (!m_Answer.isEmpty()) {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      auto* restore = box ? box->findChild<QPushButton*>(QStringLiteral("bt_Restore")) : nullptr;
      if (restore == nullptr) return;
      m_Report[QStringLiteral("question")] = box->text() + QLatin1Char('\n') + box->informativeText();
      m_Answer.clear();
      // Pressed once the question's own event loop runs.
      QTimer::singleShot(0, restore, [restore] { QTest::mouseClick(restore, Qt::LeftButton); });
      return;
    }
    QsciScintilla* editor = input();
    if (editor == nullptr || QApplication::activeModalWidget() != nullptr) return;
    if (!m_ToType.isEmpty()) {
      editor->setFocus();
      editor->selectAll();
      QTest::keyClicks(editor, m_ToType);
      m_Report[QStringLiteral("typed")] = m_ToType;
      m_ToType.clear();
    }
    m_Report[QStringLiteral("input")] = editor->text();
    m_Report[QStringLiteral("title")] = editor->window()->windowTitle();
    writeReport();
  }

  void writeReport() {
    const QByteArray json = QJsonDocument(m_Report).toJson();
    if (json == m_Written || m_ReportPath.isEmpty()) return;
    QFile file(m_ReportPath + QStringLiteral(".part"));
    if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size()) return;
    file.close();
    // Renamed into place, so the test never reads half a report.
    QFile::remove(m_ReportPath);
    if (file.rename(m_ReportPath)) m_Written = json;
  }

  QString m_ToType;
  QString m_Answer;
  QString m_ReportPath;
  QJsonObject m_Report;
  QByteArray m_Written;
  QTimer m_Poll;
};

class WindowDriverPlugin : public QGenericPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "WindowDriver.json")

 public:
  QObject* create(const QString& key, const QString&) override {
    if (key.compare(QLatin1String("orvowindowdriver"), Qt::CaseInsensitive) != 0) return nullptr;
    return new WindowDriver;
  }
};

}  // namespace

#include "WindowDriverPlugin.moc"
