#include "view/stats_page.h"

namespace tessik {

StatsPage::StatsPage(QWidget* content, QWidget* parent)
    : QStackedWidget(parent), message_(new QLabel(this)) {
  message_->setObjectName("message");
  message_->setTextFormat(Qt::PlainText);
  message_->setAlignment(Qt::AlignCenter);
  message_->setWordWrap(true);
  message_->setMargin(24);
  addWidget(message_);
  addWidget(content);
}

std::any StatsPage::Figures(const StatsInput&) const { return {}; }

void StatsPage::ShowMessage(const QString& text) {
  message_->setText(text);
  setCurrentIndex(0);
}

void StatsPage::ShowContent() { setCurrentIndex(1); }

QChart* StatsPage::NewChart() const {
  auto* chart = new QChart;
  const bool dark = palette().color(QPalette::Window).lightnessF() < 0.5;
  chart->setTheme(dark ? QChart::ChartThemeDark : QChart::ChartThemeLight);
  return chart;
}

void StatsPage::ShowChart(QChartView* view, QChart* chart) {
  QChart* old = view->chart();
  view->setChart(chart);  // the view owns the new chart, and no longer the old one
  delete old;
  ShowContent();
}

QString StatsPage::Message() const { return currentIndex() == 0 ? message_->text() : QString(); }

}  // namespace tessik
