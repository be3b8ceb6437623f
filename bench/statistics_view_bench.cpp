// tessik-statistics' view, off screen, on a heavy player's record of 1,000,000 games against
// 50,000 opponents: opened on the plug-in's log until its first tab is drawn; opened on a
// database of as many until every tab has been shown once in turn; and the opponents table
// sorted by each column.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <filesystem>

#include "figure_report.h"
#include "generated_database.h"
#include "generated_log.h"
#include "record/record_source.h"
#include "view/statistics_view.h"

namespace {

constexpr int kGames = 1000000;
constexpr int kOpponents = 50000;

// Opens the view on source and shows its first tab, or each tab in turn, as a user turning to it
// draws it.
void Open(benchmark::State& state, tessik::GameSource& source, bool everyTab) {
  for (auto _ : state) {
    tessik::StatisticsView view(source);
    view.ShowFor("Player4242");
    benchmark::DoNotOptimize(view.grab());
    for (int tab = 1; everyTab && tab < view.tabs()->count(); ++tab) {
      view.tabs()->setCurrentIndex(tab);
      benchmark::DoNotOptimize(view.grab());
    }
  }
  state.counters["games"] = kGames;
}

void BM_OpenOnTheLog(benchmark::State& state) {
  const GeneratedLogFolder folder(kGames, kOpponents);
  tessik::RecordSource source(
      {folder.directory.string(), "ann", (folder.directory / "none.sqlite").string()});
  Open(state, source, false);
}
BENCHMARK(BM_OpenOnTheLog)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EveryTabOnTheDatabase(benchmark::State& state) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("tessik-view-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  WriteGeneratedDatabase((folder / "ann.sqlite").string(), kGames, kOpponents);
  tessik::RecordSource source({folder.string(), "ann", (folder / "ann.sqlite").string()});
  Open(state, source, true);
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_EveryTabOnTheDatabase)->Unit(benchmark::kMillisecond)->UseRealTime();

// The opponents table of the same log sorted by each column in turn, as a click on its header
// sorts it.
void BM_SortOpponents(benchmark::State& state) {
  const GeneratedLogFolder folder(kGames, kOpponents);
  tessik::RecordSource source(
      {folder.directory.string(), "ann", (folder.directory / "ann.sqlite").string()});
  tessik::StatisticsView view(source);
  view.ShowFor("");
  view.tabs()->setCurrentWidget(view.opponents());  // a tab is filled when it is first shown
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
  return RunBenchmarksWithFigures(
      argc, argv,
      {{"the view on the log, until its first tab is drawn", "BM_OpenOnTheLog/real_time", "",
        AtMost(1000)},
       {"the view on the database, each tab shown once", "BM_EveryTabOnTheDatabase/real_time", "",
        AtMost(2000)},
       {"the opponents table sorted by one column", "BM_SortOpponents/real_time", "", AtMost(100),
        "", tessik::OpponentsTab::kColumns}});
}
