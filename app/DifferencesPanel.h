// The Differences list: each place where the main engine's result and
// standard C's differ, with the reason; activating one asks the window to
// show its input place and both output lines.
#pragma once

#include <QListWidget>
#include <vector>

#include "orvo/Comparison.h"

namespace orvo {

class DifferencesPanel : public QListWidget {
  Q_OBJECT

 public:
  explicit DifferencesPanel(QWidget* parent = nullptr);

  void showDifferences(const std::vector<compare::Difference>& differences);
  const std::vector<compare::Difference>& differences() const { return m_Differences; }

 signals:
  void differenceActivated(const orvo::compare::Difference& difference);

 private:
  std::vector<compare::Difference> m_Differences;
};

}  // namespace orvo
