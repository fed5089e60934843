// The include directories examples bring with them: an example whose rule
// needs a header (an #include found in a subdirectory) has its files
// written, the first time it is shown, into a temporary folder that lives as
// long as the window, and that folder is searched while the example is the
// input.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <string>

namespace orvo {

class ExampleFolders {
 public:
  // The include directory of the example named `exampleName`, its files
  // written; empty for an example without files, or when they cannot be
  // written (the example then reports the missing file as any input would).
  std::string includeDirectoryOf(const QString& exampleName);

 private:
  std::unique_ptr<QTemporaryDir> m_Root;
  std::map<QString, std::string> m_Written;  // by example name
};

}  // namespace orvo
