#include "app/AppSettings.h"

#include <algorithm>

namespace orvo {
namespace {

const QString kGeometry = QStringLiteral("window/geometry");
const QString kInputShare = QStringLiteral("window/inputShare");
const QString kInputShareSideBySide = QStringLiteral("window/inputShareSideBySide");
const QString kSideBySide = QStringLiteral("window/sideBySide");
const QString kZoom = QStringLiteral("editor/zoom");
const QString kLiveMode = QStringLiteral("preview/live");
const QString kLastDirectory = QStringLiteral("files/lastDirectory");
const QString kRecentFiles = QStringLiteral("files/recent");
const QString kIncludeDirectories = QStringLiteral("run/includeDirectories");

}  // namespace

AppSettings::AppSettings()
    : m_Settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("orvo"),
                 QStringLiteral("orvo")) {}

QByteArray AppSettings::windowGeometry() const { return m_Settings.value(kGeometry).toByteArray(); }
void AppSettings::setWindowGeometry(const QByteArray& geometry) {
  m_Settings.setValue(kGeometry, geometry);
}

std::optional<double> AppSettings::inputShare(bool sideBySide) const {
  bool ok = false;
  const double share =
      m_Settings.value(sideBySide ? kInputShareSideBySide : kInputShare).toDouble(&ok);
  // A share of nothing or everything would hide an area: not kept.
  if (!ok || !(share > 0.0 && share < 1.0)) return std::nullopt;
  return share;
}
void AppSettings::setInputShare(bool sideBySide, double share) {
  m_Settings.setValue(sideBySide ? kInputShareSideBySide : kInputShare, share);
}

bool AppSettings::sideBySide() const { return m_Settings.value(kSideBySide, false).toBool(); }
void AppSettings::setSideBySide(bool on) { m_Settings.setValue(kSideBySide, on); }

int AppSettings::zoom() const {
  return std::clamp(m_Settings.value(kZoom, 0).toInt(), kMinZoom, kMaxZoom);
}
void AppSettings::setZoom(int zoom) { m_Settings.setValue(kZoom, std::clamp(zoom, kMinZoom, kMaxZoom)); }

bool AppSettings::liveMode() const { return m_Settings.value(kLiveMode, true).toBool(); }
void AppSettings::setLiveMode(bool on) { m_Settings.setValue(kLiveMode, on); }

QString AppSettings::lastDirectory() const { return m_Settings.value(kLastDirectory).toString(); }
void AppSettings::setLastDirectory(const QString& directory) {
  m_Settings.setValue(kLastDirectory, directory);
}

QStringList AppSettings::recentFiles() const {
  QStringList files = m_Settings.value(kRecentFiles).toStringList();
  files.removeAll(QString());
  files.removeDuplicates();
  return files.mid(0, kMaxRecentFiles);
}
void AppSettings::addRecentFile(const QString& path) {
  QStringList files = recentFiles();
  files.removeAll(path);
  files.prepend(path);
  m_Settings.setValue(kRecentFiles, files.mid(0, kMaxRecentFiles));
}
void AppSettings::removeRecentFile(const QString& path) {
  QStringList files = recentFiles();
  files.removeAll(path);
  m_Settings.setValue(kRecentFiles, files);
}
void AppSettings::clearRecentFiles() { m_Settings.remove(kRecentFiles); }

QStringList AppSettings::includeDirectories() const {
  QStringList directories = m_Settings.value(kIncludeDirectories).toStringList();
  directories.removeAll(QString());
  return directories;
}
void AppSettings::setIncludeDirectories(const QStringList& directories) {
  m_Settings.setValue(kIncludeDirectories, directories);
}

bool AppSettings::panelOpen(const QString& name) const {
  return m_Settings.value(QStringLiteral("panels/") + name, false).toBool();
}
void AppSettings::setPanelOpen(const QString& name, bool open) {
  m_Settings.setValue(QStringLiteral("panels/") + name, open);
}

}  // namespace orvo
