#include "app/ExampleFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/ExampleCatalogue.h"

namespace orvo {

std::string ExampleFolders::includeDirectoryOf(const QString& exampleName) {
  if (const auto written = m_Written.find(exampleName); written != m_Written.end())
    return written->second;
  std::string directory;
  for (const GroupExample& example : differenceExamples()) {
    if (example.includeFiles.empty() || QString::fromStdString(example.name) != exampleName)
      continue;
    if (!m_Root) m_Root = std::make_unique<QTemporaryDir>();
    if (!m_Root->isValid()) break;
    // One folder per example, so that no example finds another's files.
    const QString folder = m_Root->filePath(QStringLiteral("example-%1").arg(m_Written.size()));
    bool complete = true;
    for (const ExampleFile& file : example.includeFiles) {
      const QString path = QDir(folder).filePath(QString::fromStdString(file.path));
      QFile out(path);
      complete = complete && QDir().mkpath(QFileInfo(path).path()) &&
                 out.open(QIODevice::WriteOnly) &&
                 out.write(file.text.data(), static_cast<qint64>(file.text.size())) ==
                     static_cast<qint64>(file.text.size());
    }
    if (complete) directory = QFile::encodeName(folder).toStdString();
    break;
  }
  m_Written.emplace(exampleName, directory);
  return directory;
}

}  // namespace orvo
