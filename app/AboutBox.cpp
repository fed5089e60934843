#include "app/AboutBox.h"

#include <Qsci/qsciglobal.h>

#include <QMessageBox>
#include <QtGlobal>
#include <boost/version.hpp>

namespace orvo {

QString aboutText() {
  const QString boost = QStringLiteral("%1.%2.%3")
                            .arg(BOOST_VERSION / 100000)
                            .arg(BOOST_VERSION / 100 % 1000)
                            .arg(BOOST_VERSION % 100);
  return QStringLiteral(
             "<h3>orvo %1</h3>"
             "<p>A tool for trying out the directives of the C and C++ preprocessor.</p>"
             "<p>Built with:</p><ul>"
             "<li>Qt %2 &mdash; GNU LGPL version 3</li>"
             "<li>QScintilla %3 &mdash; GNU GPL version 3</li>"
             "<li>Boost %4 (Regex, Filesystem, Lexical Cast) &mdash; Boost Software "
             "License 1.0</li>"
             "<li>Clang and LLVM %5 (the standard C engine's preprocessor) &mdash; Apache "
             "License 2.0 with LLVM Exceptions</li></ul>")
      .arg(QStringLiteral(ORVO_VERSION), QString::fromLatin1(qVersion()),
           QStringLiteral(QSCINTILLA_VERSION_STR), boost, QStringLiteral(ORVO_LLVM_VERSION));
}

void showAboutBox(QWidget* parent) {
  QMessageBox::about(parent, QObject::tr("About orvo"), aboutText());
}

}  // namespace orvo
