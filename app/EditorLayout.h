// How the two text areas share the window: one above the other or side by
// side (a View option kept across starts), with the split the user chose
// kept in proportion through resizes and restarts, each area never smaller
// than a few readable lines, and docked panels opened at a size that leaves
// the text areas room.
#pragma once

#include <QList>
#include <QObject>

class QAction;
class QDockWidget;
class QMainWindow;
class QSplitter;
class QWidget;

namespace orvo {

class AppSettings;
class CodeEditor;
class ProportionalSplitter;

class EditorLayout : public QObject {
  Q_OBJECT

 public:
  // Creates the splitter holding `inputArea` (which shows `input`) and
  // `output` (which shows `outputEditor`) in `window`. `settings` must
  // outlive this object.
  EditorLayout(QMainWindow* window, QWidget* inputArea, CodeEditor* input, QWidget* output,
               CodeEditor* outputEditor, AppSettings& settings);

  QSplitter* splitter() const;
  // The View menu's switch between the two arrangements.
  QAction* sideBySideAction() const { return m_SideBySide; }
  void setSideBySide(bool on);
  bool isSideBySide() const;

  // Docked panels of the window open at a share of it that leaves the text
  // areas room; panels side by side get equal widths.
  void manageDocks(const QList<QDockWidget*>& docks);
  // Keeps the split in the settings (the window is closing).
  void save();
  // Each area's least size: a few readable lines (and columns, side by
  // side) at the editors' zoom.
  void updateMinimumSize();

 private:
  void dockOpened(QDockWidget* dock);

  QMainWindow* m_Window;
  CodeEditor* m_Input;
  CodeEditor* m_OutputEditor;
  QWidget* m_Output;
  ProportionalSplitter* m_Splitter = nullptr;
  QAction* m_SideBySide = nullptr;
  QList<QDockWidget*> m_Docks;
  AppSettings& m_Settings;
};

}  // namespace orvo
