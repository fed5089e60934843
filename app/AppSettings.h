// What the window remembers between starts, kept with QSettings in an INI
// file of the user's configuration ("orvo/orvo.ini").
#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <optional>

namespace orvo {

class AppSettings {
 public:
  // How many recently opened files the File menu offers.
  static constexpr int kMaxRecentFiles = 8;
  // The editors' zoom steps; a stored value outside them is clamped.
  static constexpr int kMinZoom = -10;
  static constexpr int kMaxZoom = 20;

  AppSettings();

  QByteArray windowGeometry() const;
  void setWindowGeometry(const QByteArray& geometry);
  // The input area's share of the two text areas, per arrangement (above
  // the output, or beside it); nothing until the user left one.
  std::optional<double> inputShare(bool sideBySide) const;
  void setInputShare(bool sideBySide, double share);
  // Input and output side by side instead of one above the other.
  bool sideBySide() const;
  void setSideBySide(bool on);

  // Zoom steps of both editors; 0 is the normal size.
  int zoom() const;
  void setZoom(int zoom);

  // Preprocess as you type; on until the user turns it off.
  bool liveMode() const;
  void setLiveMode(bool on);

  // Where the open and save dialogs start; empty at first.
  QString lastDirectory() const;
  void setLastDirectory(const QString& directory);

  // Most recent first, without duplicates, at most kMaxRecentFiles.
  QStringList recentFiles() const;
  void addRecentFile(const QString& path);
  void removeRecentFile(const QString& path);
  void clearRecentFiles();

  // Extra directories searched by #include, in order, before the directory
  // of the opened file.
  QStringList includeDirectories() const;
  void setIncludeDirectories(const QStringList& directories);

  // ---- Explorer panels ----
  // Whether the panel of that object name ("ExplainDock", "MacrosDock")
  // was left open; closed at first.
  bool panelOpen(const QString& name) const;
  void setPanelOpen(const QString& name, bool open);

 private:
  QSettings m_Settings;
};

}  // namespace orvo
