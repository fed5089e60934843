#include "app/ExplainPanel.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "app/CodeEditor.h"
#include "app/ConditionalBranches.h"
#include "app/LivePreview.h"
#include "app/RecordingFromLine.h"
#include "app/TextDecoding.h"

namespace orvo {
namespace {

enum Column { kStepColumn, kTextColumn };

// Where a step's item keeps its index among the line's steps.
constexpr int kStepIndexRole = Qt::UserRole;

const QString kChangedStyle = QStringLiteral("background:#ffe08a;");
const QString kRemovedStyle = QStringLiteral("background:#f6c6c6;text-decoration:line-through;");
const QString kBusyStyle = QStringLiteral("background:#cfe3ff;text-decoration:underline;");


// A text cut into preprocessing tokens and the blanks between them, so that
// a change is marked by whole tokens: identifiers and numbers (with their
// letters, digits, dots and underscores), string and character literals,
// runs of blanks, and single punctuation characters.
QStringList tokensOf(const QString& text) {
  QStringList tokens;
  qsizetype i = 0;
  const auto word = [](QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); };
  while (i < text.size()) {
    const QChar c = text[i];
    qsizetype end = i + 1;
    if (word(c)) {
      while (end < text.size() && (word(text[end]) || text[end] == QLatin1Char('.'))) ++end;
    } else if (c.isSpace()) {
      while (end < text.size() && text[end].isSpace()) ++end;
    } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
      while (end < text.size() && text[end] != c) end += text[end] == QLatin1Char('\\') ? 2 : 1;
      end = std::min(end + 1, text.size());
    }
    tokens << text.mid(i, end - i);
    i = end;
  }
  return tokens;
}

bool isIdentifier(const QString& token) {
  return !token.isEmpty() && (token[0].isLetter() || token[0] == QLatin1Char('_'));
}

// The index of the ")" that closes the "(" at `open`, or -1.
qsizetype closingParenthesis(const QStringList& tokens, qsizetype open) {
  int depth = 0;
  for (qsizetype i = open; i < tokens.size(); ++i) {
    if (tokens[i] == QLatin1String("(")) ++depth;
    if (tokens[i] == QLatin1String(")") && --depth == 0) return i;
  }
  return -1;
}

// The tokens of `after` that differ from `before`: the rest once their
// common leading and trailing tokens are taken off. A macro call that
// changed is marked whole, up to its closing parenthesis, even where its
// last tokens happen to end the result too.
struct Change {
  QStringList before;
  QStringList after;
  qsizetype prefix = 0;  // tokens
  qsizetype suffix = 0;
};
Change changeBetween(const QString& before, const QString& after) {
  Change change{tokensOf(before), tokensOf(after)};
  const QStringList& from = change.before;
  const QStringList& to = change.after;
  const qsizetype shorter = std::min(from.size(), to.size());
  while (change.prefix < shorter && from[change.prefix] == to[change.prefix]) ++change.prefix;
  while (change.suffix < shorter - change.prefix &&
         from[from.size() - 1 - change.suffix] == to[to.size() - 1 - change.suffix]) {
    ++change.suffix;
  }
  for (qsizetype i = change.prefix; i < from.size() - change.suffix; ++i) {
    if (!isIdentifier(from[i])) continue;
    qsizetype open = i + 1;
    while (open < from.size() && from[open].trimmed().isEmpty()) ++open;
    if (open >= from.size() || from[open] != QLatin1String("(")) continue;
    const qsizetype close = closingParenthesis(from, open);
    if (close >= from.size() - change.suffix) {
      change.suffix = std::min(from.size() - 1 - close, change.suffix);
    }
  }
  return change;
}

// `tokens` as HTML with the tokens between prefix and suffix marked by
// `style`, and every other whole-token occurrence of `busy` names by
// `busyStyle`.
QString marked(const QStringList& tokens, qsizetype prefix, qsizetype suffix,
               const QString& style, const QStringList& busy = {},
               const QString& busyStyle = {}) {
  QString html;
  const qsizetype middleEnd = tokens.size() - suffix;
  for (qsizetype i = 0; i < tokens.size(); ++i) {
    if (i == prefix && prefix < middleEnd) html += QStringLiteral("<span style=\"%1\">").arg(style);
    const QString escaped = tokens[i].toHtmlEscaped();
    if (busy.contains(tokens[i])) {
      html += QStringLiteral("<span style=\"%1\">%2</span>").arg(busyStyle, escaped);
    } else {
      html += escaped;
    }
    if (i == middleEnd - 1 && prefix < middleEnd) html += QStringLiteral("</span>");
  }
  return html;
}

QString stepCaption(const RecordedStep& step, TextEncoding encoding) {
  const QString kind = QString::fromLatin1(RecordedStepKindName(step.kind));
  if (step.detail.empty()) return kind;
  return QStringLiteral("%1: %2").arg(kind, decodeText(step.detail, encoding));
}

QStringList busyNames(const RecordedStep& step, TextEncoding encoding) {
  QStringList names;
  for (const std::string& name : step.busy) names << decodeText(name, encoding);
  return names;
}

// Why each of `names` stayed as it stands, one sentence per name.
QStringList busyReasons(const QStringList& names) {
  QStringList reasons;
  for (const QString& name : names)
    reasons << QObject::tr("%1 is being expanded: a macro does not expand inside itself").arg(name);
  return reasons;
}

// The step's notes as sentences: a capital first, a full stop last.
QStringList stepNotes(const RecordedStep& step, TextEncoding encoding) {
  QStringList notes;
  for (const std::string& note : step.notes) {
    QString sentence = decodeText(note, encoding);
    if (sentence.isEmpty()) continue;
    sentence[0] = sentence[0].toUpper();
    if (!sentence.endsWith(QLatin1Char('.'))) sentence += QLatin1Char('.');
    notes << sentence;
  }
  return notes;
}

// The message of an error the run reported, for a sentence.
QString errorQuote(const MessageEvent& error, TextEncoding encoding) {
  return QStringLiteral("“%1”").arg(decodeText(error.text, encoding));
}

// The error `steps` recorded on 1-based `line` of the main input, the one
// that ended the run first.
const MessageEvent* errorOnLine(const StepRecording& steps, int line) {
  if (steps.endingError && steps.endingError->place.inMainInput &&
      steps.endingError->place.line == line)
    return &*steps.endingError;
  for (const MessageEvent& error : steps.errors)
    if (error.place.line == line) return &error;
  return nullptr;
}

}  // namespace

QString ExplainPanel::fromBytes(const std::string& text) const {
  return decodeText(text, m_Input->encoding());
}

ExplainPanel::ExplainPanel(CodeEditor* input, QWidget* parent) : QWidget(parent), m_Input(input) {
  setObjectName(QStringLiteral("ExplainPanel"));
  m_Conditional = new QLabel(this);
  m_Conditional->setObjectName(QStringLiteral("lbl_Conditional"));
  m_Conditional->setWordWrap(true);
  m_Conditional->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_Note = new QLabel(this);
  m_Note->setObjectName(QStringLiteral("lbl_ExplainNote"));
  m_Note->setWordWrap(true);
  m_Note->hide();
  m_Record = new QPushButton(this);
  m_Record->setObjectName(QStringLiteral("pb_RecordFromLine"));
  m_Record->setToolTip(tr("Preprocess again, keeping the expansion steps and decisions from "
                          "this line on"));
  m_Record->hide();
  connect(m_Record, &QPushButton::clicked, this, &ExplainPanel::recordFromShownLine);

  m_Tree = new QTreeWidget(this);
  m_Tree->setObjectName(QStringLiteral("ExplainSteps"));
  m_Tree->setColumnCount(2);
  m_Tree->setHeaderLabels({tr("Step"), tr("Text")});
  m_Tree->setUniformRowHeights(true);
  m_Tree->header()->setSectionResizeMode(kStepColumn, QHeaderView::Interactive);
  m_Tree->header()->setStretchLastSection(true);
  m_Tree->setColumnWidth(kStepColumn, 300);
  connect(m_Tree, &QTreeWidget::itemClicked, this, &ExplainPanel::stepClicked);

  m_StepView = new QTextEdit(this);
  m_StepView->setObjectName(QStringLiteral("ExplainStepView"));
  m_StepView->setReadOnly(true);
  m_StepView->setLineWrapMode(QTextEdit::WidgetWidth);

  auto* split = new QSplitter(Qt::Horizontal, this);
  split->addWidget(m_Tree);
  split->addWidget(m_StepView);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(m_Conditional);
  layout->addWidget(m_Note);
  layout->addWidget(m_Record, 0, Qt::AlignLeft);
  layout->addWidget(split, 1);

  m_StepForward = new QAction(tr("Next Expansion Step"), this);
  m_StepForward->setObjectName(QStringLiteral("ac_StepForward"));
  m_StepForward->setShortcut(QKeySequence(Qt::Key_F10));
  m_StepForward->setToolTip(tr("Show the next expansion step of the line (F10)"));
  connect(m_StepForward, &QAction::triggered, this, &ExplainPanel::stepForward);
  m_StepBack = new QAction(tr("Previous Expansion Step"), this);
  m_StepBack->setObjectName(QStringLiteral("ac_StepBack"));
  m_StepBack->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10));
  m_StepBack->setToolTip(tr("Show the previous expansion step of the line (Shift+F10)"));
  connect(m_StepBack, &QAction::triggered, this, &ExplainPanel::stepBack);
  m_Tree->setToolTip(tr("Click a step to select its text in the input; F10 and Shift+F10 "
                        "walk through the steps"));
  showLines(0, 0);
}

std::vector<ExplainPanel::StepLines> ExplainPanel::linesOfSteps(const StepRecording* steps,
                                                                const CodeEditor& input) {
  std::vector<StepLines> lines;
  if (steps == nullptr) return lines;
  lines.reserve(steps->steps.size());
  for (const RecordedStep& step : steps->steps) {
    const SourcePlace& place = step.step.place;
    if (!place.inMainInput || !place.known()) {
      lines.push_back({0, 0});
      continue;
    }
    const int first = input.lineOfByte(place.begin) + 1;
    const int last = input.lineOfByte(std::max(place.begin, place.end - 1)) + 1;
    lines.push_back({first, std::max(first, last)});
  }
  return lines;
}

void ExplainPanel::setRun(std::shared_ptr<const StepRecording> steps) {
  m_Steps = std::move(steps);
  const QByteArray text = m_Input->bytes();
  m_Branches = findConditionalBranches(std::string_view(text.constData(), text.size()));
  m_StepLines = linesOfSteps(m_Steps.get(), *m_Input);
  m_LastRecordedLine = lastRecordedLine(m_Steps.get(), m_StepLines);
  updateNote();
  showAgain();
}

void ExplainPanel::updateNote() {
  QStringList note;
  if (m_Steps && m_Steps->firstLine > 1)
    note << tr("Steps were recorded from line %1 on.").arg(m_Steps->firstLine);
  if (m_Steps && m_Steps->truncated)
    note << tr("Steps stopped being kept at line %1: a run keeps at most %2 steps, definitions "
               "and decisions (and %3 MiB of their text), so that the window stays responsive.")
                .arg(m_LastRecordedLine)
                .arg(m_Steps->limit)
                .arg(kMaxRecordedBytes >> 20);
  if (m_Standard && m_Standard->truncated)
    note << tr("Standard C's steps stopped being kept at line %1.").arg(m_StandardLastRecordedLine);
  m_Note->setText(note.join(QLatin1Char(' ')));
  m_Note->setVisible(!note.isEmpty());
}

int ExplainPanel::lastRecordedLine(const StepRecording* steps,
                                   const std::vector<StepLines>& lines) {
  int last = 0;
  if (steps == nullptr) return last;
  for (const StepLines& step : lines) last = std::max(last, step.last);
  const auto note = [&last](const SourcePlace& place) {
    if (place.inMainInput) last = std::max(last, place.line);
  };
  for (const ConditionalEvent& event : steps->conditionals) note(event.place);
  for (const MacroDefinedEvent& event : steps->definitions) note(event.place);
  for (const auto& undefinition : steps->undefinitions) note(undefinition.second.place);
  for (const MessageEvent& event : steps->errors) note(event.place);
  return last;
}

void ExplainPanel::setStandardRun(std::shared_ptr<const StepRecording> steps) {
  m_Standard = std::move(steps);
  m_StandardStepLines = linesOfSteps(m_Standard.get(), *m_Input);
  m_StandardLastRecordedLine = lastRecordedLine(m_Standard.get(), m_StandardStepLines);
  updateNote();
  showAgain();
}

void ExplainPanel::showLines(int first, int last) {
  std::vector<const RecordedStep*> lineSteps;
  const auto addSteps = [&](const StepRecording* steps, const std::vector<StepLines>& lines) {
    if (steps == nullptr || first <= 0) return;
    for (std::size_t i = 0; i < steps->steps.size(); ++i) {
      if (lines[i].first <= last && first <= lines[i].last && lines[i].first > 0)
        lineSteps.push_back(&steps->steps[i]);
    }
  };
  addSteps(m_Steps.get(), m_StepLines);
  const std::size_t standardFrom = lineSteps.size();
  addSteps(m_Standard.get(), m_StandardStepLines);
  // Selecting a step's text moves the cursor within the same calls: keep
  // the step shown then.
  const bool same = lineSteps == m_LineSteps && !lineSteps.empty();
  m_First = first;
  m_Last = last;
  m_Conditional->setText(decisionText(first));
  offerRecording(first);
  if (same) return;
  m_LineSteps = std::move(lineSteps);
  m_StandardFrom = standardFrom;
  buildTree();
  m_Current = -1;
  if (!m_LineSteps.empty()) {
    m_StepView->setHtml(tr("<i>%1 steps. F10 shows the next one, Shift+F10 the one before.</i>")
                            .arg(m_LineSteps.size()));
  } else {
    m_StepView->setHtml(QStringLiteral("<i>%1</i>").arg(withoutStepsText(first).toHtmlEscaped()));
  }
  m_Changed.clear();
}

void ExplainPanel::buildTree() {
  m_Tree->clear();
  m_StepItems.clear();
  addStepItems(0, m_StandardFrom, nullptr);
  if (!m_Standard) return;
  auto* heading = new QTreeWidgetItem(m_Tree);
  heading->setText(kStepColumn, tr("Standard C"));
  heading->setData(kStepColumn, kStepIndexRole, -1);
  QFont bold = heading->font(kStepColumn);
  bold.setBold(true);
  heading->setFont(kStepColumn, bold);
  if (m_StandardFrom == m_LineSteps.size()) {
    const MessageEvent* error = errorOnLine(*m_Standard, m_First);
    if (notRecorded(*m_Standard, m_StandardLastRecordedLine, m_First)) {
      heading->setText(kTextColumn,
                       m_First < m_Standard->firstLine
                           ? tr("not recorded: steps were recorded from line %1 on")
                                 .arg(m_Standard->firstLine)
                           : tr("not recorded: steps stopped being kept at line %1")
                                 .arg(m_StandardLastRecordedLine));
    } else if (error != nullptr) {
      heading->setText(kTextColumn, tr("no macro expansions on this line; standard C reports the "
                                       "error %1 here")
                                        .arg(errorQuote(*error, m_Input->encoding())));
    } else {
      heading->setText(kTextColumn, tr("no macro expansions on this line"));
    }
  }
  heading->setExpanded(true);
  addStepItems(m_StandardFrom, m_LineSteps.size(), heading);
}

void ExplainPanel::addStepItems(std::size_t from, std::size_t to, QTreeWidgetItem* root) {
  const auto newItem = [&](QTreeWidgetItem* parent) {
    if (parent != nullptr) return new QTreeWidgetItem(parent);
    return root != nullptr ? new QTreeWidgetItem(root) : new QTreeWidgetItem(m_Tree);
  };
  // Expansion numbers are each engine's own: one map per engine.
  std::map<int, QTreeWidgetItem*> expansions;
  for (std::size_t i = from; i < to; ++i) {
    const RecordedStep& step = *m_LineSteps[i];
    QTreeWidgetItem* parent = nullptr;
    if (step.opensExpansion) {
      const auto enclosing = expansions.find(step.step.parent);
      auto* expansion = newItem(enclosing != expansions.end() ? enclosing->second : nullptr);
      expansion->setText(kStepColumn, fromBytes(step.before));
      expansion->setToolTip(kStepColumn, fromBytes(step.before));
      expansion->setExpanded(true);
      expansions[step.step.expansion] = expansion;
      parent = expansion;
    } else {
      const auto found = expansions.find(step.step.expansion);
      parent = found != expansions.end() ? found->second : nullptr;
    }
    auto* item = newItem(parent);
    item->setText(kStepColumn, stepCaption(step, m_Input->encoding()));
    item->setText(kTextColumn, fromBytes(step.after));
    // The columns cut long texts short; the tips hold them whole.
    QStringList tip{stepCaption(step, m_Input->encoding())};
    tip << busyReasons(busyNames(step, m_Input->encoding()));
    tip << stepNotes(step, m_Input->encoding());
    item->setToolTip(kStepColumn, tip.join(QLatin1Char('\n')));
    item->setToolTip(kTextColumn, fromBytes(step.after));
    item->setData(kStepColumn, kStepIndexRole, static_cast<int>(i));
    m_StepItems.push_back(item);
    if (step.kind == RecordedStep::Kind::Result && parent != nullptr) {
      parent->setText(kTextColumn, QStringLiteral("→ %1").arg(fromBytes(step.after)));
      parent->setToolTip(kTextColumn, fromBytes(step.after));
    }
  }
}

const ConditionalEvent* ExplainPanel::decisionOn(const StepRecording& steps,
                                                 int directiveLine) const {
  for (const ConditionalEvent& event : steps.conditionals)
    if (event.place.inMainInput && event.place.line == directiveLine) return &event;
  return nullptr;
}

QString ExplainPanel::standardDecisionText(int directiveLine) const {
  const ConditionalEvent* event = decisionOn(*m_Standard, directiveLine);
  if (event == nullptr)
    return tr("standard C: ") +
           missingDecision(*m_Standard, m_StandardLastRecordedLine, directiveLine);
  QString text = tr("standard C: ");
  if (const MessageEvent* error = errorOnLine(*m_Standard, directiveLine))
    text += tr("error %1, then ").arg(errorQuote(*error, m_Input->encoding()));
  return text + decisionWords(*event, true);
}

QString ExplainPanel::restOfLineText(const ConditionalEvent& event) const {
  // This preprocessor's condition can end before its line does (at a
  // function-like macro's name and its "(", for one); the rest is no part
  // of the condition.
  if (!event.place.inMainInput || event.expression.empty() || event.place.line <= 0 ||
      event.place.line > m_Input->lines())
    return {};
  const QString line = m_Input->text(event.place.line - 1).trimmed();
  const QString expression = fromBytes(event.expression);
  const qsizetype at = line.indexOf(expression);
  if (at < 0) return {};
  const QString rest = line.mid(at + expression.size()).trimmed();
  if (rest.isEmpty() || rest.startsWith(QLatin1String("//")) || rest.startsWith(QLatin1String("/*")) ||
      rest == QLatin1String("\\"))
    return {};
  return tr(" (the condition ends at %1: the rest of the line, %2, is no part of it)")
      .arg(QStringLiteral("`%1`").arg(expression), QStringLiteral("`%1`").arg(rest));
}

QString ExplainPanel::decisionWords(const ConditionalEvent& event, bool standard) const {
  // What each name stands for: in this preprocessor a macro other than a
  // predefined one counts as 1 whatever its value; in standard C it is
  // its value.
  QStringList names;
  for (const auto& [name, value] : event.names)
    names << (standard ? tr("%1 is %2") : tr("%1 counts as %2")).arg(fromBytes(name)).arg(value);
  QString text;
  if (event.directive != "else") {
    text = names.isEmpty() ? tr("value %1").arg(event.value)
                           : tr("%1, so the value is %2")
                                 .arg(names.join(QStringLiteral(", ")))
                                 .arg(event.value);
    text += QStringLiteral(": ");
  }
  if (event.taken) return text + tr("taken");
  return text + (event.earlierBranchTaken ? tr("not taken, an earlier branch was taken")
                                          : tr("not taken"));
}

QString ExplainPanel::missingDecision(const StepRecording& steps, int lastRecordedLine,
                                      int directiveLine) const {
  // A branch the run skipped and that holds the directive.
  const ConditionalEvent* skipping = nullptr;
  for (const ConditionalEvent& event : steps.conditionals) {
    if (event.place.inMainInput && !event.taken && event.skippedFirstLine > 0 &&
        event.skippedFirstLine <= directiveLine && directiveLine <= event.skippedLastLine)
      skipping = &event;
  }
  if (skipping != nullptr) {
    return tr("not evaluated: it lies in lines %1–%2, which the #%3 on line %4 skipped")
        .arg(skipping->skippedFirstLine)
        .arg(skipping->skippedLastLine)
        .arg(QString::fromStdString(skipping->directive))
        .arg(skipping->place.line);
  }
  if (steps.endingError) {
    const MessageEvent& error = *steps.endingError;
    const QString quote = errorQuote(error, m_Input->encoding());
    if (error.place.inMainInput && error.place.line == directiveLine)
      return tr("not evaluated: the run stopped there with the error %1").arg(quote);
    if (error.place.inMainInput && error.place.known() && error.place.line < directiveLine)
      return tr("not evaluated: the run stopped before it, on line %1, with the error %2")
          .arg(error.place.line)
          .arg(quote);
    if (!error.place.inMainInput && !notRecorded(steps, lastRecordedLine, directiveLine)) {
      if (!error.place.known()) return tr("not evaluated: the run stopped with the error %1").arg(quote);
      return tr("not evaluated: the run stopped before it with the error %1 in %2, line %3")
          .arg(quote, fromBytes(error.place.file))
          .arg(error.place.line);
    }
  }
  if (directiveLine < steps.firstLine)
    return tr("not recorded: steps were recorded from line %1 on").arg(steps.firstLine);
  if (notRecorded(steps, lastRecordedLine, directiveLine))
    return tr("not recorded: steps stopped being kept at line %1, a limit that keeps the "
              "window responsive")
        .arg(lastRecordedLine);
  return tr("no decision was recorded for it");
}

bool ExplainPanel::notRecorded(const StepRecording& steps, int lastRecordedLine, int line) {
  if (line <= 0) return false;
  if (line < steps.firstLine) return true;
  // Items are kept in the order of the input: a line after the last kept
  // one lost its items to the limit.
  return steps.truncated && line > lastRecordedLine;
}

QString ExplainPanel::decisionText(int line) const {
  if (!m_Steps || line <= 0) return tr("No run to explain yet.");
  const ConditionalBranch* branch = innermostBranchAt(m_Branches, line);
  if (branch == nullptr) return tr("Line %1 is in no conditional.").arg(line);
  if (const ConditionalEvent* found = decisionOn(*m_Steps, branch->directiveLine)) {
    const ConditionalEvent& event = *found;
    QString text = QStringLiteral("#%1 %2")
                       .arg(QString::fromStdString(event.directive),
                            fromBytes(event.expression).trimmed())
                       .trimmed();
    text += tr(" (line %1): ").arg(event.place.line);
    if (m_Standard) {
      // Both decisions side by side, in the same words.
      return text + tr("this preprocessor: ") + decisionWords(event, false) +
             restOfLineText(event) + QStringLiteral("; ") +
             standardDecisionText(branch->directiveLine) + QLatin1Char('.');
    }
    text += decisionWords(event, false);
    text += restOfLineText(event);
    if (event.skippedFirstLine > 0 && event.skippedFirstLine == event.skippedLastLine)
      text += tr("; line %1 skipped").arg(event.skippedFirstLine);
    else if (event.skippedFirstLine > 0)
      text += tr("; lines %1–%2 skipped").arg(event.skippedFirstLine).arg(event.skippedLastLine);
    return text + QLatin1Char('.');
  }
  QString missing = tr("The conditional on line %1 was %2")
                        .arg(branch->directiveLine)
                        .arg(missingDecision(*m_Steps, m_LastRecordedLine, branch->directiveLine));
  if (m_Standard) missing += QStringLiteral("; ") + standardDecisionText(branch->directiveLine);
  return missing + QLatin1Char('.');
}

QString ExplainPanel::withoutStepsText(int line) const {
  if (m_Steps && line > 0) {
    if (m_Steps->endingError && m_Steps->endingError->place.inMainInput) {
      const MessageEvent& error = *m_Steps->endingError;
      const QString quote = errorQuote(error, m_Input->encoding());
      if (error.place.line == line)
        return tr("The run stopped on this line with the error %1: nothing here was expanded.")
            .arg(quote);
      if (error.place.known() && error.place.line < line)
        return tr("The run stopped on line %1 with the error %2, before this line: nothing "
                  "here was expanded.")
            .arg(error.place.line)
            .arg(quote);
    }
    // How to see them: the button when the panel can run again.
    const QString howToSee =
        m_RunInput ? tr("Record Steps from Line %1 runs again and keeps them from this line on.")
                         .arg(line)
                   : tr("To see them, preprocess a shorter input that holds this line.");
    if (line < m_Steps->firstLine)
      return tr("Steps were recorded from line %1 on, so this line's were not kept. %2")
          .arg(m_Steps->firstLine)
          .arg(howToSee);
    if (notRecorded(*m_Steps, m_LastRecordedLine, line))
      return tr("Steps stopped being kept at line %1 (a limit that keeps the window "
                "responsive), so this line's were not kept. %2")
          .arg(m_LastRecordedLine)
          .arg(howToSee);
  }
  return tr("No macro expansions on this line.");
}

void ExplainPanel::offerRecording(int line) {
  m_RecordLine = 0;
  if (m_RunInput && m_Steps && line > 0) {
    // Lines the recording did not reach, or a conditional whose decision
    // it did not keep.
    // The line where the recording stopped may have lost some of its steps.
    bool lost = notRecorded(*m_Steps, m_LastRecordedLine, line) ||
                (m_Steps->truncated && line >= m_LastRecordedLine) ||
                (m_Standard && notRecorded(*m_Standard, m_StandardLastRecordedLine, line));
    if (const ConditionalBranch* branch = innermostBranchAt(m_Branches, line)) {
      const int directive = branch->directiveLine;
      lost = lost ||
             (decisionOn(*m_Steps, directive) == nullptr &&
              notRecorded(*m_Steps, m_LastRecordedLine, directive)) ||
             (m_Standard && decisionOn(*m_Standard, directive) == nullptr &&
              notRecorded(*m_Standard, m_StandardLastRecordedLine, directive));
    }
    if (lost) m_RecordLine = line;
  }
  m_Record->setText(tr("Record Steps from Line %1").arg(m_RecordLine));
  m_Record->setVisible(m_RecordLine > 0);
}

void ExplainPanel::setRunInputSource(std::function<RunInput()> source) {
  m_RunInput = std::move(source);
  showAgain();
}

void ExplainPanel::showAgain() {
  const int first = m_First;
  const int last = m_Last;
  m_LineSteps.clear();
  m_First = m_Last = -1;
  showLines(first, last);
}

void ExplainPanel::recordFromShownLine() {
  if (!m_RunInput || m_First <= 0) return;
  RecordingStart start{m_First, {}};
  // The decisions of the conditionals the line lies in, made above it.
  for (const ConditionalBranch& branch : m_Branches) {
    if (branch.directiveLine > m_First) break;
    if (m_First <= branch.lastLine) start.conditionalLines.push_back(branch.directiveLine);
  }
  const bool withStandard = m_Standard != nullptr;
  std::optional<RecordedSteps> steps = recordStepsFrom(m_RunInput(), start, withStandard, this);
  if (!steps) return;
  if (withStandard) {
    m_Standard = std::move(steps->standard);
    m_StandardStepLines = linesOfSteps(m_Standard.get(), *m_Input);
    m_StandardLastRecordedLine = lastRecordedLine(m_Standard.get(), m_StandardStepLines);
  }
  setRun(std::move(steps->main));
}

void ExplainPanel::showStep(int index) {
  if (index < 0 || index >= stepCount()) return;
  m_Current = index;
  const RecordedStep& step = *m_LineSteps[index];
  const QString before = fromBytes(step.before);
  const QString after = fromBytes(step.after);
  const Change change = changeBetween(before, after);
  m_Changed = change.after.mid(change.prefix, change.after.size() - change.prefix - change.suffix)
                  .join(QString());
  const QStringList busy = busyNames(step, m_Input->encoding());
  QString html = tr("<b>Step %1 of %2%3</b> — %4")
                     .arg(index + 1)
                     .arg(stepCount())
                     .arg(isStandardStep(index) ? tr(", standard C") : QString())
                     .arg(stepCaption(step, m_Input->encoding()).toHtmlEscaped());
  // A call changes nothing yet: its text once; any other step from and to.
  if (step.kind == RecordedStep::Kind::Call) {
    html += QStringLiteral("<pre>%1</pre>").arg(after.toHtmlEscaped());
  } else {
    html += tr("<pre>from  %1\n  to  %2</pre>")
                .arg(marked(change.before, change.prefix, change.suffix, kRemovedStyle),
                     marked(change.after, change.prefix, change.suffix, kChangedStyle, busy,
                            kBusyStyle));
  }
  for (const QString& reason : busyReasons(busy))
    html += QStringLiteral("<p><span style=\"%1\">%2</span></p>")
                .arg(kBusyStyle, reason.toHtmlEscaped());
  for (const QString& note : stepNotes(step, m_Input->encoding()))
    html += QStringLiteral("<p>%1</p>").arg(note.toHtmlEscaped());
  m_StepView->setHtml(html);
  const QSignalBlocker quiet(m_Tree);
  m_Tree->setCurrentItem(m_StepItems[index]);
  m_Tree->scrollToItem(m_StepItems[index]);
}

void ExplainPanel::stepForward() { showStep(std::min(m_Current + 1, stepCount() - 1)); }

void ExplainPanel::stepBack() { showStep(std::max(m_Current - 1, 0)); }

void ExplainPanel::stepClicked(QTreeWidgetItem* item) {
  const QVariant index = item->data(kStepColumn, kStepIndexRole);
  // An expansion's own row shows its first step, the call.
  const QTreeWidgetItem* stepItem = index.isValid() || item->childCount() == 0 ? item : item->child(0);
  const int stepIndex = stepItem->data(kStepColumn, kStepIndexRole).toInt();
  if (stepIndex < 0 || stepIndex >= stepCount()) return;
  const SourcePlace& place = m_LineSteps[stepIndex]->step.place;
  showStep(stepIndex);
  if (place.inMainInput) m_Input->selectBytes(place.begin, place.end);
}

QString ExplainPanel::conditionalText() const { return m_Conditional->text(); }

QString ExplainPanel::stepViewText() const { return m_StepView->toPlainText(); }

QString ExplainPanel::noteText() const { return m_Note->isHidden() ? QString() : m_Note->text(); }

int ExplainPanel::offeredRecordingLine() const { return m_RecordLine; }

QString ExplainPanel::changedText() const { return m_Changed; }

}  // namespace orvo
