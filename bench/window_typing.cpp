// Interface-thread time per key press in the window: opens a 2 MB
// single-line file and a 500 KB realistic one as a user would, types
// characters at the end of each and then as many Backspaces, and measures
// for each key the time the window takes to handle it and paint (the live
// preview's run itself is on a worker thread and not counted; showing its
// result is, as "result" below). Prints the median and the slowest key of
// each.
//
// Usage: QT_QPA_PLATFORM=offscreen window_typing [KEYS]   (default 40)
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/CodeEditor.h"
#include "app/LivePreview.h"
#include "app/MainWindow.h"
#include "bench/RealisticInput.h"

namespace {

// Waits, handling events, until the live preview is idle.
void WaitForPreview(Tfrm_orvo& window) {
  while (window.livePreview().busy()) QTest::qWait(5);
  QApplication::processEvents();
}

// A 2 MB line of short declarations, the shape of a minified or generated file.
std::string LongLine(std::size_t size) {
  std::string line;
  line.reserve(size + 16);
  for (int i = 0; line.size() < size; ++i) line += "int v" + std::to_string(i) + " = 1; ";
  return line;
}

struct Figures {
  double medianMs = 0;
  double slowestMs = 0;
  double resultMs = 0;  // showing the live preview's result once
};

Figures MeasureTyping(Tfrm_orvo& window, const QString& path, const std::string& text, int keys) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return {};
  file.write(text.data(), static_cast<qint64>(text.size()));
  file.close();
  auto* input = window.findChild<orvo::CodeEditor*>(QStringLiteral("memo_Input"));
  // The earlier input's edits are no work to keep: no question.
  input->setModified(false);
  window.openFile(path);
  input->setFocus();
  // The widget the keys go to: the code editor or the one covering it.
  QWidget* typed = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : input;
  QTest::keyClick(typed, Qt::Key_End, Qt::ControlModifier);
  // Let the run over the loaded text finish and show first.
  WaitForPreview(window);

  std::vector<double> times;
  QElapsedTimer timer;
  for (int k = 0; k < 2 * keys; ++k) {
    timer.start();
    if (k < keys) {
      QTest::keyClick(typed, static_cast<char>('a' + k % 26));
    } else {
      QTest::keyClick(typed, Qt::Key_Backspace);
    }
    QApplication::processEvents();
    times.push_back(timer.nsecsElapsed() / 1e6);
  }
  Figures figures;
  std::sort(times.begin(), times.end());
  figures.medianMs = times[times.size() / 2];
  figures.slowestMs = times.back();
  // The run after the last key: the time from its end to the next idle
  // moment is the result's display on the interface thread.
  const auto connection = QObject::connect(&window.livePreview(), &orvo::LivePreview::finished,
                                           [&timer] { timer.start(); });
  WaitForPreview(window);
  figures.resultMs = timer.nsecsElapsed() / 1e6;
  QObject::disconnect(connection);
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int keys = std::max(5, argc > 1 ? std::atoi(argv[1]) : 40);
  // Settings of its own, so that no user's are read or changed.
  QTemporaryDir settings;
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
  Tfrm_orvo window;
  window.resize(1200, 800);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;

  std::printf("%-22s %10s %10s %10s\n", "input", "median ms", "slowest ms", "result ms");
  const struct {
    const char* name;
    std::string text;
  } inputs[] = {{"2 MB single line", LongLine(2 * 1000 * 1000)},
                {"500 KB realistic", orvo::bench::RealisticInput(500 * 1000)}};
  QTemporaryDir files;
  for (const auto& input : inputs) {
    const Figures figures =
        MeasureTyping(window, files.filePath(QStringLiteral("typed.c")), input.text, keys);
    std::printf("%-22s %10.1f %10.1f %10.1f\n", input.name, figures.medianMs, figures.slowestMs,
                figures.resultMs);
  }
  return 0;
}
