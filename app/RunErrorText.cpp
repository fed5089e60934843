#include "app/RunErrorText.h"

#include <QObject>
#include <QStringList>

#include "app/CodeEditor.h"

namespace orvo {

QString sourcePlaceText(const SourcePlace& place) {
  return QStringLiteral("%1:%2:%3")
      .arg(QString::fromStdString(place.file))
      .arg(place.line)
      .arg(place.column);
}

QString includeChainText(const SourcePlace& place) {
  QStringList lines;
  for (auto step = place.includedFrom.rbegin(); step != place.includedFrom.rend(); ++step) {
    lines << QObject::tr("included from %1, line %2")
                 .arg(QString::fromStdString(step->file))
                 .arg(step->line);
  }
  return lines.join(QLatin1Char('\n'));
}

QString inputPlaceText(const RunError& error, const CodeEditor& input) {
  if (error.place && error.place->inMainInput && error.place->known()) {
    return QObject::tr("line %1, column %2").arg(error.place->line).arg(error.place->column);
  }
  if (!error.place && error.hasPosition()) {
    const int line = input.lineOfByte(error.begin);
    const long lineStart =
        input.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    return QObject::tr("line %1, column %2").arg(line + 1).arg(error.begin - lineStart + 1);
  }
  return {};
}

QString runErrorText(const RunError& error, const CodeEditor& input) {
  const QString text = QString::fromUtf8(error.text);
  if (error.place && !error.place->inMainInput && error.place->known()) {
    const SourcePlace& place = *error.place;
    QString shown = QStringLiteral("%1: %2").arg(sourcePlaceText(place), text);
    const QString chain = includeChainText(place);
    if (!chain.isEmpty()) shown += QStringLiteral("\n  ") + QString(chain).replace("\n", "\n  ");
    return shown;
  }
  const QString place = inputPlaceText(error, input);
  return place.isEmpty() ? text : QStringLiteral("%1: %2").arg(place, text);
}

}  // namespace orvo
