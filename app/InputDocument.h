// What the input area shows: the welcome text, a new empty text, a built-in
// example or a file, and how that file ends its lines. The window names it in its title
// and asks before modified input is replaced.
#pragma once

#include <QString>

#include "app/LineEnds.h"

namespace orvo {

class InputDocument {
 public:
  enum class Kind { Welcome, Untitled, Example, File };

  static InputDocument welcome() { return InputDocument(Kind::Welcome, {}); }
  // A new text (File ▸ New), not yet saved anywhere.
  static InputDocument untitled() { return InputDocument(Kind::Untitled, {}); }
  static InputDocument example(const QString& name) { return InputDocument(Kind::Example, name); }
  static InputDocument file(const QString& path, LineEndStyle lineEnds);

  Kind kind() const { return m_Kind; }
  bool isFile() const { return m_Kind == Kind::File; }
  // The file's path; empty unless a file is shown.
  QString path() const { return m_Kind == Kind::File ? m_Path : QString(); }
  // The example's name; empty unless an example is shown.
  QString exampleName() const { return m_Kind == Kind::Example ? m_Path : QString(); }
  LineEndStyle lineEnds() const { return m_LineEnds; }

  // The short name of what is shown: the file name, the example's name
  // with "(example)", or "Untitled" for a new text and edited welcome text.
  QString displayName(bool modified) const;
  // The window title: "*" in front while modified, then the name and the
  // program's name; the welcome text unchanged shows the program's name only.
  QString title(bool modified, const QString& program) const;

 private:
  InputDocument(Kind kind, const QString& nameOrPath) : m_Kind(kind), m_Path(nameOrPath) {}

  Kind m_Kind;
  QString m_Path;  // the path of a file, the name of an example
  LineEndStyle m_LineEnds = LineEndStyle::CrLf;
};

}  // namespace orvo
