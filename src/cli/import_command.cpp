#include <unistd.h>

#include <cstdio>

#include "cli/commands.h"
#include "cli/data_error.h"
#include "stats/archive_import.h"
#include "store/handle.h"

namespace tessik {

namespace {

// A progress bar on standard error, redrawn when the percentage changes.
struct ProgressBar {
  int shown = -1;  // the percentage drawn

  void Show(off_t read, off_t total) {
    const int percent = total > 0 ? static_cast<int>(read * 100 / total) : 100;
    if (percent == shown) return;
    shown = percent;
    std::string bar(static_cast<size_t>(percent / 4), '#');
    bar.resize(25, '.');
    std::fprintf(stderr, "\rImporting [%s] %3d%%%s", bar.c_str(), percent,
                 percent == 100 ? "\n" : "");
  }
  // Ends the bar's line when the import stopped before its end.
  void End() const {
    if (shown >= 0 && shown < 100) std::fputc('\n', stderr);
  }
};

}  // namespace

void RunImport(const ImportOptions& options, std::ostream& out) {
  ArchiveImportRequest request{
      options.pgn,    options.directory,
      options.user,   options.player.empty() ? options.user : options.player,
      options.format, {}};
  ProgressBar bar;
  if (isatty(STDERR_FILENO) != 0) {
    request.progress = [&bar](off_t read, off_t total) { bar.Show(read, total); };
  }
  const ArchiveImportResult result = ImportArchive(request);
  bar.End();
  if (!result.error.empty()) throw DataError(result.error);
  auto left = [&result](LeftOut why) { return result.leftOut[static_cast<size_t>(why)]; };
  const int leftOut = left(LeftOut::NotTheUser) + left(LeftOut::NoResult) + left(LeftOut::Variant);
  out << "Read " << result.read << " games from " << options.pgn << ": " << result.added
      << " added, " << result.present << " already in the log, " << leftOut << " left out";
  if (leftOut > 0) {
    out << " (" << left(LeftOut::NotTheUser) << " not " << PrintableName(request.player) << "'s, "
        << left(LeftOut::NoResult) << " without a result, " << left(LeftOut::Variant)
        << " of a variant the log leaves out)";
  }
  out << "\n";
  if (result.added > 0) out << "The game log is " << result.logPath << "\n";
}

}  // namespace tessik
