#pragma once
// The console report of a benchmark run that also keeps each benchmark's
// time, so that the figures can be printed as ratios of the same run.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace bench {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) times[run.benchmark_name()] = run.GetAdjustedRealTime();
  }
  double Ratio(const std::string& a, const std::string& b) { return times.at(a) / times.at(b); }
  std::map<std::string, double> times;
};

}  // namespace bench
