// When the live preview's output arrives, with the Standard C pane closed
// (the main engine alone) and open (both engines and their comparison on the
// same job): the time from the start of a run to the main result, and with
// the pane open also to the comparison. Prints the median of several rounds.
//
// Usage: live_preview_latency FILE [ROUNDS]   (default 5 rounds)
// The 2 MB workload: bench/generate_workload.py macros 2000000 FILE
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/LivePreview.h"

namespace {

struct Arrival {
  double mainMs = 0;
  double comparisonMs = 0;
};

double median(std::vector<double> values) {
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

Arrival measure(orvo::LivePreview& preview, bool withStandard) {
  preview.setWithStandard(withStandard);
  Arrival arrival;
  QElapsedTimer clock;
  QEventLoop loop;
  const auto mainArrived =
      QObject::connect(&preview, &orvo::LivePreview::finished, &loop, [&] {
        arrival.mainMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        if (!withStandard) loop.quit();
      });
  const auto comparisonArrived =
      QObject::connect(&preview, &orvo::LivePreview::compared, &loop, [&] {
        arrival.comparisonMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        loop.quit();
      });
  clock.start();
  preview.runNow();
  loop.exec();
  QObject::disconnect(mainArrived);
  QObject::disconnect(comparisonArrived);
  return arrival;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: live_preview_latency FILE [ROUNDS]\n");
    return 2;
  }
  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "live_preview_latency: cannot read %s\n", argv[1]);
    return 1;
  }
  const std::string input = file.readAll().toStdString();
  const int rounds = std::max(1, argc > 2 ? std::atoi(argv[2]) : 5);
  orvo::LivePreview preview([&input] { return orvo::RunInput{input, orvo::RunOptions{}}; });

  measure(preview, true);  // loads the standard engine and warms the caches
  std::vector<double> closedMain, openMain, openComparison;
  for (int round = 0; round < rounds; ++round) {
    closedMain.push_back(measure(preview, false).mainMs);
    const Arrival open = measure(preview, true);
    openMain.push_back(open.mainMs);
    openComparison.push_back(open.comparisonMs);
  }
  std::printf("%zu bytes, %d rounds, median ms\n", input.size(), rounds);
  std::printf("pane closed: output %.0f\n", median(closedMain));
  std::printf("pane open:   output %.0f, standard C and comparison %.0f\n", median(openMain),
              median(openComparison));
  return 0;
}
