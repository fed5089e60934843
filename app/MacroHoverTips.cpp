#include "app/MacroHoverTips.h"

#include <QStringList>

#include "app/CodeEditor.h"
#include "app/RunErrorText.h"
#include "app/TextDecoding.h"

namespace orvo {
namespace {

QString definitionText(const std::string& name, MacroKind kind,
                       const std::vector<std::string>& parameters, const std::string& replacement,
                       TextEncoding encoding) {
  const auto text = [encoding](const std::string& bytes) { return decodeText(bytes, encoding); };
  QString head = text(name);
  if (kind == MacroKind::FunctionLike) {
    QStringList names;
    for (const std::string& parameter : parameters) names << text(parameter);
    head += QStringLiteral("(%1)").arg(names.join(QStringLiteral(", ")));
  }
  if (kind == MacroKind::Predefined) {
    return QObject::tr("%1 (predefined) %2").arg(head, text(replacement));
  }
  return QStringLiteral("#define %1 %2").arg(head, text(replacement)).trimmed();
}

}  // namespace

MacroHoverTips::MacroHoverTips(CodeEditor* input, QObject* parent)
    : QObject(parent), m_Input(input) {
  connect(m_Input, &QsciScintillaBase::SCN_DWELLSTART, this, &MacroHoverTips::dwellStarted);
}

void MacroHoverTips::setRun(std::shared_ptr<const StepRecording> steps,
                            std::vector<MacroEntry> macros) {
  m_Steps = std::move(steps);
  m_Macros = std::move(macros);
}

QString MacroHoverTips::tipAt(int position) const {
  if (position < 0) return {};
  const long start = m_Input->SendScintilla(QsciScintillaBase::SCI_WORDSTARTPOSITION, position, true);
  const long end = m_Input->SendScintilla(QsciScintillaBase::SCI_WORDENDPOSITION, position, true);
  if (end <= start) return {};
  const std::string word = m_Input->bytes().mid(start, end - start).toStdString();
  const int line = m_Input->lineOfByte(static_cast<int>(start)) + 1;

  QStringList tips;
  // The definitions in force at the line: the last of each kind made
  // before it (in an included file or above it in the input) and not
  // removed by an #undef since.
  bool mentioned = false;
  if (m_Steps) {
    const MacroDefinedEvent* latest[3] = {nullptr, nullptr, nullptr};
    const auto before = [line](const SourcePlace& place) {
      return !place.inMainInput || place.line <= line;
    };
    const auto& undefinitions = m_Steps->undefinitions;
    auto undefinition = undefinitions.begin();
    const auto undefineUpTo = [&](std::size_t definitionCount) {
      for (; undefinition != undefinitions.end() && undefinition->first <= definitionCount;
           ++undefinition) {
        const MacroUndefinedEvent& event = undefinition->second;
        if (event.name != word || !before(event.place)) continue;
        if (event.removedPredefined) latest[static_cast<int>(MacroKind::Predefined)] = nullptr;
        if (event.removedObjectLike) latest[static_cast<int>(MacroKind::ObjectLike)] = nullptr;
      }
    };
    const auto& definitions = m_Steps->definitions;
    for (std::size_t i = 0; i < definitions.size(); ++i) {
      undefineUpTo(i);
      const MacroDefinedEvent& event = definitions[i];
      if (event.name != word) continue;
      if (!before(event.place)) break;
      latest[static_cast<int>(event.kind)] = &event;
      mentioned = true;
    }
    undefineUpTo(definitions.size());
    for (const MacroDefinedEvent* event : latest) {
      if (event == nullptr) continue;
      tips << tr("%1\ndefined at %2")
                  .arg(definitionText(event->name, event->kind, event->parameters,
                                      event->replacement, m_Input->encoding()),
                       sourcePlaceText(event->place));
    }
  }
  // A name defined nowhere above: the table at the end of the run (a
  // predefined macro, or one defined further down).
  if (!mentioned) {
    for (const MacroEntry& macro : m_Macros) {
      if (macro.name != word) continue;
      QString tip = definitionText(macro.name, macro.kind, macro.parameters, macro.replacement,
                                   m_Input->encoding());
      if (macro.definedAt.known())
        tip += tr("\ndefined at %1").arg(sourcePlaceText(macro.definedAt));
      tips << tip;
    }
  }
  return tips.join(QStringLiteral("\n\n"));
}

void MacroHoverTips::dwellStarted(int position, int x, int y) {
  const QString tip = tipAt(position);
  if (tip.isEmpty()) return;
  m_Input->showHoverTip(m_Input->viewport()->mapToGlobal(QPoint(x, y)), tip);
}

}  // namespace orvo
