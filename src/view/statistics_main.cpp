// tessik-statistics: the statistics view as a program of its own, on the record tessik-stats
// reads (the plug-in's log and the database of fetched and imported games).
#include <QApplication>
#include <QCommandLineParser>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <optional>
#include <set>

#include "database/record_database.h"
#include "record/record_source.h"
#include "record/user_log.h"
#include "ui/host_text.h"
#include "ui/window_icon.h"
#include "view/fetch_dialog.h"
#include "view/statistics_view.h"

namespace {

// The user whose record to show: the one named, the only one there is, the one picked from
// those there are, or, when there is none, the one whose games were just fetched; none when none
// was picked or fetched.
std::optional<std::string> ChosenUser(const tessik::LogPlace& place) {
  if (!place.user.empty()) return place.user;
  const std::set<std::string> users = tessik::UsersWithARecord(place.directory);
  if (users.size() == 1) return *users.begin();
  if (users.empty()) {
    // A database named by --db or TESSIK_DB is read without a user.
    if (!place.database.empty() || !qEnvironmentVariableIsEmpty(tessik::kDatabaseVariable))
      return "";
    QMessageBox none(QMessageBox::Information, QObject::tr("Statistics"),
                     QObject::tr("No record of games here. The plug-in keeps a log in the folder "
                                 "it runs in (--dir names it); an account's games on lichess or "
                                 "chess.com can be fetched now, as tessik-stats fetch does."),
                     QMessageBox::Close);
    QPushButton* fetch = none.addButton(QObject::tr("&Fetch games\u2026"), QMessageBox::AcceptRole);
    none.setDefaultButton(fetch);
    none.exec();
    if (none.clickedButton() != fetch) return std::nullopt;
    tessik::FetchDialog dialog(place);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.User();
  }
  QStringList names;
  for (const std::string& user : users) names << tessik::TextOfBytes(user);
  bool picked = false;
  const QString name = QInputDialog::getItem(
      nullptr, QObject::tr("Statistics"), QObject::tr("Whose record?"), names, 0, false, &picked);
  if (!picked) return std::nullopt;
  return tessik::BytesOfText(name);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("tessik-statistics");
  QApplication::setWindowIcon(tessik::TessikIcon());
  QGuiApplication::setDesktopFileName("tessik-statistics");
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "The statistics of a player's record in a window: the plug-in's log and tessik-stats' "
      "database of games, as tessik-stats reads them.");
  parser.addHelpOption();
  const QCommandLineOption directory(
      "dir", "The folder the plug-in runs in (its log is in tessik/ there).", "DIR", ".");
  const QCommandLineOption user("user", "The player whose record to show.", "NAME");
  const QCommandLineOption database("db", "The database's file (else TESSIK_DB's, or the default).",
                                    "FILE");
  const QCommandLineOption opponent("opponent", "Opens the record against this player.", "NAME");
  parser.addOptions({directory, user, database, opponent});
  parser.process(application);

  tessik::LogPlace place{parser.value(directory).toStdString(),
                         tessik::BytesOfText(parser.value(user)),
                         parser.value(database).toStdString()};
  const std::optional<std::string> chosen = ChosenUser(place);
  if (!chosen) return 1;
  place.user = *chosen;
  tessik::RecordSource source(place);
  tessik::StatisticsView view(source);
  view.ShowFor(tessik::BytesOfText(parser.value(opponent)));
  return QApplication::exec();
}
