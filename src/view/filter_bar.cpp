#include "view/filter_bar.h"

#include <QHBoxLayout>
#include <QLabel>

#include "stats/utc_time.h"
#include "ui/host_text.h"

namespace tessik {

namespace {

// An item's data is the tessik-stats option it stands for; "" for every game.
const char* const kRange = "range";  // the period between the two dates

QString TitleCase(std::string_view name) {
  QString text = TextOfBytes(name);
  if (!text.isEmpty()) text[0] = text[0].toUpper();
  return text;
}

QString DateOption(const QDate& date) { return date.toString(Qt::ISODate); }

}  // namespace

FilterBar::FilterBar(QWidget* parent)
    : QWidget(parent),
      period_(AddChoice(tr("&Period:"), tr("Period"))),
      from_(new QDateEdit),
      to_(new QDateEdit),
      server_(AddChoice(tr("&Server:"), tr("Server"))),
      kind_(AddChoice(tr("&Kind:"), tr("Time class or rating type"))),
      colour_(AddChoice(tr("&Colour:"), tr("Colour"))),
      rated_(AddChoice(tr("&Rated:"), tr("Rated or unrated"))) {
  period_->addItem(tr("All time"), QString());
  period_->addItem(tr("Last 30 days"), QStringLiteral("--since 30d"));
  period_->addItem(tr("Last 12 months"), QStringLiteral("--since 12m"));
  period_->addItem(tr("Dates\u2026"), QString::fromLatin1(kRange));
  auto* row = static_cast<QHBoxLayout*>(layout());
  const QDate today = QDate::currentDate();
  for (auto [edit, name, date] :
       {std::tuple{from_, tr("From"), today.addYears(-1)}, std::tuple{to_, tr("To"), today}}) {
    edit->setAccessibleName(name);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setCalendarPopup(true);
    edit->setDate(date);
    edit->setVisible(false);
    row->insertWidget(2 + (edit == to_ ? 1 : 0), edit);
    connect(edit, &QDateEdit::dateChanged, this, &FilterBar::Changed);
  }
  connect(period_, &QComboBox::currentIndexChanged, this, [this] {
    const bool range = period_->currentData().toString() == QLatin1String(kRange);
    from_->setVisible(range);
    to_->setVisible(range);
  });

  server_->addItem(tr("All servers"), QString());
  for (Server server : kServers) {
    server_->addItem(TextOfBytes(ServerName(server)),
                     QStringLiteral("--server ") + TextOfBytes(ServerName(server)));
  }
  kind_->addItem(tr("All games"), QString());
  for (TimeClass timeClass : kTimeClasses) {
    kind_->addItem(TitleCase(TimeClassName(timeClass)),
                   QStringLiteral("--class ") + TextOfBytes(TimeClassName(timeClass)));
  }
  kind_->insertSeparator(kind_->count());
  for (RatingType type : EveryRatingType()) {
    kind_->addItem(tr("%1 (%2's rating type)")
                       .arg(TitleCase(RatingTypeName(type)), TextOfBytes(ServerName(Server::Host))),
                   QStringLiteral("--type ") + TextOfBytes(RatingTypeName(type)));
  }
  colour_->addItem(tr("Both colours"), QString());
  colour_->addItem(tr("White"), QStringLiteral("--colour white"));
  colour_->addItem(tr("Black"), QStringLiteral("--colour black"));
  rated_->addItem(tr("Rated and unrated"), QString());
  rated_->addItem(tr("Rated"), QStringLiteral("--rated"));
  rated_->addItem(tr("Unrated"), QStringLiteral("--unrated"));
  row->addStretch(1);
}

QComboBox* FilterBar::AddChoice(const QString& label, const QString& accessibleName) {
  auto* row = qobject_cast<QHBoxLayout*>(layout());
  if (row == nullptr) {
    row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
  }
  auto* choice = new QComboBox;
  choice->setAccessibleName(accessibleName);
  auto* caption = new QLabel(label);
  caption->setBuddy(choice);
  row->addWidget(caption);
  row->addWidget(choice);
  connect(choice, &QComboBox::currentIndexChanged, this, &FilterBar::Changed);
  return choice;
}

QString FilterBar::OptionsText() const {
  QStringList options;
  for (const QComboBox* choice : {period_, server_, kind_, colour_, rated_}) {
    const QString option = choice->currentData().toString();
    if (option == QLatin1String(kRange)) {
      options << QStringLiteral("--since ") + DateOption(from_->date())
              << QStringLiteral("--until ") + DateOption(to_->date());
    } else if (!option.isEmpty()) {
      options << option;
    }
  }
  return options.join(' ');
}

GameFilter FilterBar::Filter(int64_t now) const {
  GameFilter filter;
  const QStringList words = OptionsText().split(' ', Qt::SkipEmptyParts);
  for (qsizetype i = 0; i < words.size(); ++i) {
    const QString& option = words[i];
    const std::string value = i + 1 < words.size() ? BytesOfText(words[i + 1]) : std::string();
    if (option == "--since" || option == "--until") {
      const std::optional<TimeSpan> span = ParseTimeSpan(value, now);
      if (span && option == "--since") filter.since = span->first;
      if (span && option == "--until") filter.until = span->end;  // the day itself included
    } else if (option == "--server") {
      filter.server = ServerNamed(value);
    } else if (option == "--class") {
      for (TimeClass timeClass : kTimeClasses) {
        if (TimeClassName(timeClass) == value) filter.timeClass = timeClass;
      }
    } else if (option == "--type") {
      for (RatingType type : EveryRatingType()) {
        if (RatingTypeName(type) == value) filter.types = type;
      }
    } else if (option == "--colour") {
      filter.white = value == "white";
    } else if (option == "--rated" || option == "--unrated") {
      filter.rated = option == "--rated";
    }
  }
  return filter;
}

}  // namespace tessik
