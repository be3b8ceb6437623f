#include "view/fetch_dialog.h"

#include <QFormLayout>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <cstdlib>
#include <exception>

#include "base/text.h"
#include "fetch/account_name.h"
#include "fetch/fetch_error.h"
#include "store/handle.h"
#include "ui/host_text.h"

namespace tessik {

namespace {

// Text from the fetch's thread (a server's or libcurl's words, a path) as the dialog shows it.
QString Shown(std::string_view text) { return TextOfBytes(PrintableName(text)); }

}  // namespace

FetchDialog::FetchDialog(const LogPlace& place, QWidget* parent)
    : QDialog(parent),
      place_(place),
      server_(new QComboBox),
      account_(new QLineEdit),
      status_(new QLabel),
      busy_(new QProgressBar),
      progress_(new QPlainTextEdit),
      buttons_(new QDialogButtonBox),
      fetch_(buttons_->addButton(tr("&Fetch"), QDialogButtonBox::ActionRole)),
      cancel_(buttons_->addButton(QDialogButtonBox::Cancel)) {
  setWindowTitle(tr("Fetch games"));
  for (Server online : {Server::Lichess, Server::ChessCom}) {
    server_->addItem(TextOfBytes(ServerName(online)), static_cast<int>(online));
  }
  server_->setAccessibleName(tr("Server"));
  account_->setAccessibleName(tr("Account"));
  account_->setMaxLength(30);
  account_->setValidator(
      new QRegularExpressionValidator(QRegularExpression("[A-Za-z0-9_-]{1,30}"), account_));
  status_->setTextFormat(Qt::PlainText);
  status_->setWordWrap(true);
  status_->setText(
      tr("The account's finished games come into %1, as tessik-stats fetch brings them. "
         "Cancel stops the download; the games it has stored stay, and the next fetch goes on "
         "from there.")
          .arg(place.user.empty() ? tr("a database of its own")
                                  : tr("the database of %1").arg(TextOfBytes(place.user))));
  busy_->setRange(0, 0);  // the count of games to come is not known
  busy_->setAccessibleName(tr("Fetching"));
  busy_->setVisible(false);
  progress_->setReadOnly(true);
  progress_->setAccessibleName(tr("Progress"));
  progress_->setMaximumBlockCount(1000);
  fetch_->setDefault(true);

  auto* form = new QFormLayout;
  form->addRow(tr("&Server:"), server_);
  form->addRow(tr("&Account:"), account_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(status_);
  layout->addWidget(busy_);
  layout->addWidget(progress_);
  layout->addWidget(buttons_);
  connect(fetch_, &QPushButton::clicked, this, &FetchDialog::Start);
  connect(buttons_, &QDialogButtonBox::rejected, this, &FetchDialog::reject);
  resize(520, 360);
}

void FetchDialog::reject() {
  if (worker_.joinable()) {
    worker_.request_stop();
    status_->setText(tr("Stopping\u2026"));
    return;
  }
  // Games fetched by a fetch that was stopped are shown all the same.
  if (!user_.empty()) {
    accept();
  } else {
    QDialog::reject();
  }
}

void FetchDialog::Start() {
  const std::string account = BytesOfText(account_->text());
  if (!IsAccountName(account)) {
    status_->setText(tr("Name the account: letters, digits, _ and -, 1 to 30 characters."));
    account_->setFocus();
    return;
  }
  FetchRequest request;
  request.server = static_cast<Server>(server_->currentData().toInt());
  request.account = account;
  const char* token = std::getenv(kLichessTokenVariable);
  if (request.server == Server::Lichess && token != nullptr) request.token = token;
  request.progress = [this](std::string_view line) {
    QMetaObject::invokeMethod(
        this, [this, text = Shown(line)] { progress_->appendPlainText(text); },
        Qt::QueuedConnection);
  };
  request.committed = [this](const FetchResult& kept) {
    QMetaObject::invokeMethod(
        this, [this, kept] { ShowKept(kept); }, Qt::QueuedConnection);
  };
  const std::string user = place_.user.empty() ? account : place_.user;
  status_->setText(tr("Fetching\u2026"));
  progress_->clear();
  SetRunning(true);
  worker_ = std::jthread([this, request, user, database = place_.database](std::stop_token stop) {
    FetchRequest asked = request;
    asked.stop = stop;
    FetchResult kept;
    asked.committed = [&kept, &request](const FetchResult& sofar) {
      kept = sofar;
      request.committed(sofar);
    };
    QString words;
    Outcome outcome = Outcome::Done;
    try {
      RecordDatabase db(DatabasePlaceOf(database, user), true);
      kept = FetchIntoDatabase(db, asked);
      words = Shown(FetchSummary(asked.server, asked.account, kept));
    } catch (const FetchStopped&) {
      outcome = Outcome::Stopped;
    } catch (const std::exception& failure) {
      outcome = Outcome::Failed;
      words = Shown(failure.what());
    }
    QMetaObject::invokeMethod(
        this,
        [this, words, outcome, kept, user] {
          worker_.join();
          if (kept.added > 0) user_ = user;
          Ended(outcome, words, kept);
        },
        Qt::QueuedConnection);
  });
}

void FetchDialog::Ended(Outcome outcome, const QString& words, const FetchResult& kept) {
  SetRunning(false);
  if (outcome == Outcome::Done && !user_.empty()) {
    accept();
    return;
  }
  const QString stored = TextOfBytes(GamesText(kept.added));
  if (outcome == Outcome::Stopped) {
    status_->setText(tr("Stopped: %1 stored; the next fetch goes on from there.").arg(stored));
  } else if (outcome == Outcome::Failed && kept.added > 0) {
    status_->setText(tr("%1 (%2 stored before it)").arg(words, stored));
  } else {
    status_->setText(words);
  }
}

void FetchDialog::ShowKept(const FetchResult& kept) {
  status_->setText(tr("Fetching\u2026 %1 stored so far.").arg(TextOfBytes(GamesText(kept.added))));
}

void FetchDialog::SetRunning(bool running) {
  server_->setEnabled(!running);
  account_->setEnabled(!running);
  fetch_->setEnabled(!running);
  busy_->setVisible(running);
  if (running) cancel_->setFocus();
}

}  // namespace tessik
