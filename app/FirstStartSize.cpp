#include "app/FirstStartSize.h"

#include <algorithm>

namespace orvo {

QSize firstStartSize(const QSize& available) {
  const auto share = [](int room, double fraction, int least) {
    return std::min(room, std::max(least, static_cast<int>(room * fraction)));
  };
  return {share(available.width(), kFirstStartWidthShare, kFirstStartMinWidth),
          share(available.height(), kFirstStartHeightShare, kFirstStartMinHeight)};
}

}  // namespace orvo
