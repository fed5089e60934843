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

QString stopPlaceText(const RunError& error, const CodeEditor& input) {
  if (error.place && !error.place->inMainInput && error.place->known())
    return sourcePlaceText(*error.place);
  return inputPlaceText(error, input);
}

namespace {

// A note's own place in the words of its message's: "line 2, column 5" in
// the input, "FILE:2:5" elsewhere.
QString notePlaceText(const SourcePlace& place) {
  if (place.inMainInput)
    return QObject::tr("line %1, column %2").arg(place.line).arg(place.column);
  return sourcePlaceText(place);
}

}  // namespace

QString withNotes(const QString& text, const std::vector<DiagnosticNote>& notes) {
  QString shown = text;
  for (const DiagnosticNote& note : notes) {
    const QString noteText = QString::fromUtf8(note.text);
    shown += QLatin1Char('\n') +
             (note.place && note.place->known()
                  ? QObject::tr("note: %1: %2").arg(notePlaceText(*note.place), noteText)
                  : QObject::tr("note: %1").arg(noteText));
  }
  return shown;
}

QString runErrorText(const RunError& error, const CodeEditor& input) {
  const QString text = QString::fromUtf8(error.text);
  QString shown;
  if (error.place && !error.place->inMainInput && error.place->known()) {
    const SourcePlace& place = *error.place;
    shown = QStringLiteral("%1: %2").arg(sourcePlaceText(place), text);
    const QString chain = includeChainText(place);
    if (!chain.isEmpty()) shown += QStringLiteral("\n  ") + QString(chain).replace("\n", "\n  ");
  } else {
    const QString place = inputPlaceText(error, input);
    shown = place.isEmpty() ? text : QStringLiteral("%1: %2").arg(place, text);
  }
  return withNotes(shown, error.notes);
}

}  // namespace orvo
