#include "view/table_cells.h"

#include <QHeaderView>

namespace tessik {

QStandardItem* Cell(const QString& text, const QVariant& value) {
  auto* cell = new QStandardItem(text);
  cell->setData(value, Qt::UserRole);
  cell->setEditable(false);
  if (value.isValid() && value.typeId() != QMetaType::QString) {
    cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  return cell;
}

QStandardItem* NumberCell(int value) { return Cell(QString::number(value), value); }

QStandardItem* PercentCell(std::optional<int> value) {
  return value ? Cell(QString::number(*value) + "%", *value) : Cell(QString());
}

QString RatingText(int rating) {
  return rating > 0 ? QString::number(rating) : QStringLiteral("?");
}

void SetUpTable(QTableView* table, QAbstractItemModel* model, const QString& accessibleName) {
  table->setModel(model);
  table->setAccessibleName(accessibleName);
  table->verticalHeader()->hide();
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Tab goes on to the next control, as everywhere else; the arrow keys move in the table.
  table->setTabKeyNavigation(false);
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
}

}  // namespace tessik
