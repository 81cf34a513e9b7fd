// What following a change of the displays costs: re-placing 200 windows,
// three quarters of them parked, against one switch's collection and
// arrangement of the same 200, on the fake desktop in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#include "desktops/window_parking.h"
#include "ratio_reporter.h"
#include "tests/support/fake/fake_desktop.h"

namespace {

constexpr int kWindows = 200;
constexpr std::int32_t kWidth = 1920;
constexpr std::int32_t kHeight = 1080;
const platform::Rect kPrimary{0, 0, kWidth, kHeight};
const platform::Rect kSecond{kWidth, 0, kWidth + 1280, 1024};

// 200 windows spread over the four desktops, each on one of two monitors.
struct Desk {
  Desk() : desktop(kWidth, kHeight) {
    desktop.UseMonitors({{kPrimary, kPrimary}, {kSecond, kSecond}});
    const std::int32_t span = kSecond.right;
    for (int i = 0; i < kWindows; ++i) {
      const std::int32_t left = (i % 2 == 0 ? 100 : kWidth + 100) + (i % 4) * span + i;
      desktop.AddWindow("W", platform::Rect{left, 50 + i, left + 640, 530 + i});
    }
  }
  platform::FakeDesktop desktop;
};

void BM_SwitchArrangement(benchmark::State& state) {
  Desk desk;
  desktops::WindowParking parking{desk.desktop};
  int shown = 0;
  for (auto _ : state) {
    parking.CollectWindows();
    parking.SetArrangedDesktop(shown);
    shown = desktops::WrapDesktop(shown + 1);
    parking.ArrangeWindows(shown);
    desk.desktop.moves.clear();
    desk.desktop.log.clear();
  }
}
BENCHMARK(BM_SwitchArrangement);

// Each round the second monitor goes or comes back, so every parked window
// moves.
void BM_DisplayChangeReplacement(benchmark::State& state) {
  Desk desk;
  desktops::WindowParking parking{desk.desktop};
  bool both = true;
  for (auto _ : state) {
    both = !both;
    if (both) {
      desk.desktop.UseMonitors({{kPrimary, kPrimary}, {kSecond, kSecond}});
    } else {
      desk.desktop.UseMonitors({{kPrimary, kPrimary}});
    }
    benchmark::DoNotOptimize(parking.FollowDisplays().moved);
    desk.desktop.moves.clear();
    desk.desktop.log.clear();
  }
}
BENCHMARK(BM_DisplayChangeReplacement);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (reporter.times.size() < 2) return 0;  // a filter ran only one
  std::printf("\nratio (same run, 200 windows, fake desktop):\n");
  std::printf("  display change re-placement / one switch's arrangement = %.2fx\n",
              reporter.Ratio("BM_DisplayChangeReplacement", "BM_SwitchArrangement"));
  return 0;
}
