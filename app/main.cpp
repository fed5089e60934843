// Program start: the application object, the main window and the event loop.
#include <QApplication>
#include <QIcon>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QTimer>
#include <exception>

#include "app/MainWindow.h"

namespace {

// Shows an exception that escapes an event handler in a message box and
// keeps the program running, instead of letting it end the process.
class OrvoApplication : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
      QMessageBox::critical(activeWindow(), applicationDisplayName(), QString::fromUtf8(e.what()));
    } catch (...) {
      QMessageBox::critical(activeWindow(), applicationDisplayName(), QString());
    }
    return false;
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  OrvoApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("orvo"));
  QApplication::setApplicationDisplayName(QStringLiteral("orvo"));
  // Lets the desktop match the window with the installed entry and icon.
  QApplication::setDesktopFileName(QStringLiteral("orvo"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("orvo")));
  QApplication::setApplicationVersion(QStringLiteral(ORVO_VERSION));

  QCommandLineParser arguments;
  arguments.setApplicationDescription(
      QStringLiteral("A tool for trying out the directives of the C and C++ preprocessor."));
  arguments.addHelpOption();
  arguments.addVersionOption();
  arguments.addPositionalArgument(QStringLiteral("file"),
                                  QStringLiteral("A file to open in the input area."),
                                  QStringLiteral("[file]"));
  arguments.process(application);

  Tfrm_orvo window;
  window.show();
  if (!arguments.positionalArguments().isEmpty()) {
    window.openFile(arguments.positionalArguments().front());
  }
  // Once the window shows: unsaved input a crashed window left is offered back.
  QTimer::singleShot(0, &window, &Tfrm_orvo::offerRecovery);
  return QApplication::exec();
}
