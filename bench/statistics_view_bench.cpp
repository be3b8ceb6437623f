// The statistics view opened on a heavy player's log of 1,000,000 games against 50,000
// opponents: from the log's file until every tab is drawn (off screen).
#include <benchmark/benchmark.h>

#include <QApplication>

#include "generated_log.h"
#include "record/record_source.h"
#include "view/statistics_view.h"

namespace {

constexpr int kGames = 1000000;
constexpr int kOpponents = 50000;

void BM_OpenStatisticsView(benchmark::State& state) {
  const GeneratedLogFolder folder(kGames, kOpponents);
  tessik::RecordSource source(
      {folder.directory.string(), "ann", (folder.directory / "ann.sqlite").string()});
  for (auto _ : state) {
    tessik::StatisticsView view(source);
    view.ShowFor("Player4242");
    for (int tab = 0; tab < view.tabs()->count(); ++tab) {  // drawn as the user turns to it
      view.tabs()->setCurrentIndex(tab);
      benchmark::DoNotOptimize(view.grab());
    }
  }
  state.counters["games"] = kGames;
}
BENCHMARK(BM_OpenStatisticsView)->Unit(benchmark::kMillisecond)->UseRealTime();

// The opponents table of the same log sorted by each column in turn, as a click on its header
// sorts it.
void BM_SortOpponents(benchmark::State& state) {
  const GeneratedLogFolder folder(kGames, kOpponents);
  tessik::RecordSource source(
      {folder.directory.string(), "ann", (folder.directory / "ann.sqlite").string()});
  tessik::StatisticsView view(source);
  view.ShowFor("");
  QTableView* table = view.opponents()->table();
  for (auto _ : state) {
    for (int column = 0; column < tessik::OpponentsTab::kColumns; ++column) {
      table->sortByColumn(column, Qt::AscendingOrder);
    }
  }
  state.counters["rows"] = table->model()->rowCount();
  state.counters["sorts"] = tessik::OpponentsTab::kColumns;
}
BENCHMARK(BM_SortOpponents)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // The off-screen platform's notes on what it cannot do (raise a window, ...) are no figures.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
