// "Fetch games": an account's games from lichess or chess.com into the user's database, as
// tessik-stats fetch brings them, with its progress in the window. The download runs on a thread
// of its own; Cancel stops it within about a second, and what it committed before stays.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <string>
#include <thread>

#include "fetch/fetch_into_database.h"
#include "record/log_place.h"

namespace tessik {

class FetchDialog : public QDialog {
  Q_OBJECT

 public:
  // A fetch into the database of place's user; without a user, into the account's own.
  explicit FetchDialog(const LogPlace& place, QWidget* parent = nullptr);

  // The user whose database the games went to; empty before any came. The dialog is accepted
  // once a fetch has stored games and ended, or is closed after a fetch stopped that stored some.
  const std::string& User() const { return user_; }
  QComboBox* server() const { return server_; }
  QLineEdit* account() const { return account_; }
  QPushButton* fetchButton() const { return fetch_; }
  QPushButton* cancelButton() const { return cancel_; }
  QLabel* status() const { return status_; }
  QPlainTextEdit* progress() const { return progress_; }

 protected:
  void reject() override;

 private:
  enum class Outcome { Done, Stopped, Failed };

  void Start();
  // What the fetch's thread ended with: its words (the summary, or what went wrong) and what it
  // stored. A fetch that stored games and ended well accepts the dialog.
  void Ended(Outcome outcome, const QString& words, const FetchResult& kept);
  void ShowKept(const FetchResult& kept);
  void SetRunning(bool running);

  LogPlace place_;
  std::string user_;
  QComboBox* server_;
  QLineEdit* account_;
  QLabel* status_;
  QProgressBar* busy_;
  QPlainTextEdit* progress_;
  QDialogButtonBox* buttons_;
  QPushButton* fetch_;
  QPushButton* cancel_;
  // The fetch under way. Declared last, it is stopped and joined first as the dialog goes, before
  // the widgets its thread posts to.
  std::jthread worker_;
};

}  // namespace tessik
