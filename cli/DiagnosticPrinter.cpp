#include "cli/DiagnosticPrinter.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace orvo::cli {
namespace {

// The colours and the bold GCC uses for its diagnostics.
constexpr const char* kBold = "\033[1m";
constexpr const char* kReset = "\033[0m";
constexpr const char* kCaretColor = "\033[1;32m";

const char* severityColor(Severity severity) {
  switch (severity) {
    case Severity::Note:
      return "\033[1;36m";
    case Severity::Warning:
      return "\033[1;35m";
    case Severity::Error:
      return "\033[1;31m";
  }
  return kBold;
}

// Narrowest field for the line number in front of a source line.
constexpr int kMinGutterWidth = 5;

// Message and source texts come from the input: control bytes other than
// the tab are shown as '?', so they cannot drive the terminal and each byte
// stays one column wide under the caret.
std::string printable(std::string_view text) {
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  std::string shown(text);
  for (char& c : shown) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && c != '\t') || byte == 0x7f) c = '?';
  }
  return shown;
}

class Painter {
 public:
  explicit Painter(bool enabled) : m_Enabled(enabled) {}
  std::string operator()(const char* color, const std::string& text) const {
    return m_Enabled ? color + text + kReset : text;
  }

 private:
  bool m_Enabled;
};

void printSourceLine(std::ostream& out, const SourcePlace& place, const Painter& paint) {
  const std::string number = std::to_string(place.line);
  const int width = std::max<int>(kMinGutterWidth, static_cast<int>(number.size()));
  const std::string shown = printable(place.lineText);
  out << std::string(static_cast<std::size_t>(width) - number.size(), ' ') << number << " | "
      << shown << "\n";

  // Tabs are copied, so the caret lines up whatever the terminal's tab stops.
  const std::size_t column = static_cast<std::size_t>(std::max(place.column, 1) - 1);
  std::string indent;
  for (std::size_t i = 0; i < column; ++i)
    indent += i < shown.size() && shown[i] == '\t' ? '\t' : ' ';
  const std::size_t lineEnd = std::max(shown.size(), column + 1);
  const std::size_t rangeLength = static_cast<std::size_t>(std::max(place.end - place.begin, 1));
  const std::size_t marked = std::min(rangeLength, lineEnd - column);
  std::string marker(marked, '~');
  marker[0] = '^';
  out << std::string(static_cast<std::size_t>(width), ' ') << " | " << indent
      << paint(kCaretColor, marker) << "\n";
}

bool sameFile(const SourcePlace& a, const SourcePlace& b) {
  if (a.file != b.file || a.includedFrom.size() != b.includedFrom.size()) return false;
  for (std::size_t i = 0; i < a.includedFrom.size(); ++i) {
    const IncludeStep& x = a.includedFrom[i];
    const IncludeStep& y = b.includedFrom[i];
    if (x.file != y.file || x.line != y.line || x.column != y.column) return false;
  }
  return true;
}

bool samePlace(const SourcePlace& a, const SourcePlace& b) {
  return sameFile(a, b) && a.begin == b.begin && a.end == b.end;
}

}  // namespace

void DiagnosticPrinter::print(const Diagnostic& diagnostic) {
  const SourcePlace* const place = diagnostic.place ? &*diagnostic.place : nullptr;
  printOne(diagnostic.severity, diagnostic.text, place, m_Style.caret);
  const SourcePlace* shown = place;
  for (const DiagnosticNote& note : diagnostic.notes) {
    const SourcePlace* const at = note.place ? &*note.place : place;
    const bool repeated = at != nullptr && shown != nullptr && samePlace(*at, *shown);
    printOne(Severity::Note, note.text, at, m_Style.caret && !repeated);
    if (at != nullptr) shown = at;
  }
}

void DiagnosticPrinter::printOne(Severity severity, const std::string& message,
                                 const SourcePlace* place, bool caret) {
  std::ostream& out = m_Out;
  const Painter paint(m_Style.color);
  const std::string severityText = std::string(severityName(severity)) + ":";
  const std::string text = printable(message);
  if (place == nullptr) {
    out << "orvo-pp: " << paint(severityColor(severity), severityText) << " " << text << "\n";
    return;
  }
  if (!place->known()) {
    // A text that is no file, such as the command line: named, no line.
    out << paint(kBold, place->file + ":") << " " << paint(severityColor(severity), severityText)
        << " " << text << "\n";
    return;
  }
  if (!m_Last || !sameFile(*m_Last, *place)) {
    for (const IncludeStep& step : place->includedFrom)
      out << "In file included from " << step.file << ":" << step.line << ":\n";
  }
  m_Last = *place;
  out << paint(kBold, place->file + ":" + std::to_string(place->line) + ":" +
                          std::to_string(place->column) + ":")
      << " " << paint(severityColor(severity), severityText) << " " << text << "\n";
  // A place beyond the part of a very long line that was kept is not shown.
  const bool kept =
      static_cast<std::size_t>(std::max(place->column, 1) - 1) <= place->lineText.size();
  if (caret && kept) printSourceLine(out, *place, paint);
}

}  // namespace orvo::cli
