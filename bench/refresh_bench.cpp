// RefreshCalendar on the model, with the platform faked, against the same
// output written without any date logic. Each figure is the median of
// repeated runs; the lines "median <name> <ns> <ns>" are for scripts/bench.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "app/calendar_app.h"
#include "app/calendar_grid.h"
#include "base/decimal.h"
#include "tests/support/app_fakes.h"
#include "tests/support/fake_registry.h"

namespace mivra {
namespace {

constexpr int kRepetitions = 15;

// The shell is not what is measured: a notification area that only counts.
class CountingTray : public TrayArea {
public:
    long calls = 0;
    bool Notify(NotifyOp, const NotifyRecord&) override {
        ++calls;
        return true;
    }
};

struct Rig {
    ModuleState state;
    test::FakeClock clock;
    test::EnglishText text;
    CountingTray tray;
    test::FakeIcons icons;
    test::FakeWindow window;
    test::FakeOptions options;
    FakeRegistry registry;
    CalendarApp app{state, {clock, text, tray, icons, window, options, registry}};
    Rig() { app.Startup(); }
};

void RefreshCalendar(benchmark::State& s) {
    Rig rig;
    for (auto _ : s) {
        rig.app.RefreshCalendar();
        benchmark::DoNotOptimize(rig.app.Label(LabelId::lblDay0).caption.data());
    }
}

// A held step label: one month per tick, forward then back, so the run never
// reaches the end of the range.
void MonthStep(benchmark::State& s) {
    Rig rig;
    bool forward = true;
    for (auto _ : s) {
        rig.app.CurrentButton = forward ? L"lblMonthNext" : L"lblMonthPrev";
        forward = !forward;
        rig.app.OnButtonScrollTimer();
        benchmark::DoNotOptimize(rig.app.Label(LabelId::lblDay0).caption.data());
    }
}

// The baseline: what RefreshCalendar writes (title, 42 captions and colour
// pairs, the tip, the tray picture), from tables worked out beforehand, so
// the difference is the date logic and the calls through the interfaces.
void OutputOnly(benchmark::State& s) {
    test::EnglishText text;
    const Date first = test::D(2000, 10, 1), today = test::D(2000, 10, 15);
    const auto cells = *GridDates(10, 2000);
    std::array<int, kGridCells> days{};
    std::array<Color, kGridCells> fore{}, back{};
    for (int c = 0; c < kGridCells; ++c) {
        days[c] = cells[c].Day();
        const CellKind k = ClassifyCell(c, cells[c], 10, today);
        const Settings& colors = kDefaultSettings;
        fore[c] = k == CellKind::Today        ? colors.CalendarColor
                  : k == CellKind::OtherMonth ? kOtherMonthTextColor
                                              : kDayTextColor;
        back[c] = k == CellKind::Today ? colors.LabelColor : colors.CalendarColor;
    }
    std::array<LabelState, kLabelCount> labels;
    NotifyRecord record;
    for (auto _ : s) {
        labels[Index(LabelId::lblMonth)].caption = text.MonthYear(first);
        for (int c = 0; c < kGridCells; ++c) {
            auto& l = labels[Index(Day(c))];
            l.caption = DecimalW(days[c]);
            l.fore = fore[c];
            l.back = back[c];
        }
        record.hIcon = 1000 + today.Day();
        labels[Index(LabelId::lblToday)].tooltip =
            L"Jump to Today (" + text.ShortDate(today) + L")";
        benchmark::DoNotOptimize(labels.data());
        benchmark::DoNotOptimize(record);
        benchmark::ClobberMemory();
    }
}

BENCHMARK(RefreshCalendar)->Repetitions(kRepetitions)->Unit(benchmark::kNanosecond);
BENCHMARK(MonthStep)->Repetitions(kRepetitions)->Unit(benchmark::kNanosecond);
BENCHMARK(OutputOnly)->Repetitions(kRepetitions)->Unit(benchmark::kNanosecond);

// The console table as usual, plus one plain line per median: wall-clock
// and CPU time of the thread, in nanoseconds.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    // No colours: the lines are read by a script.
    MedianReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
                medians_.push_back(r.run_name.function_name + " " +
                                   std::to_string(r.GetAdjustedRealTime()) + " " +
                                   std::to_string(r.GetAdjustedCPUTime()));
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const auto& m : medians_)
            std::printf("median %s\n", m.c_str());
    }

private:
    std::vector<std::string> medians_;
};

} // namespace
} // namespace mivra

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    mivra::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
