// The cells and tables of the view's tables: the text a user reads, and behind it the value a
// table sorts by and a test reads back.
#pragma once

#include <QStandardItem>
#include <QTableView>
#include <optional>

namespace tessik {

// A cell showing text, with value in its Qt::UserRole; not editable, right-aligned when value
// is a number.
QStandardItem* Cell(const QString& text, const QVariant& value = QVariant());
QStandardItem* NumberCell(int value);
// "47%"; empty, with no value, when unknown.
QStandardItem* PercentCell(std::optional<int> value);

// A rating as the view shows it: "?" when unknown (0).
QString RatingText(int rating);

// Makes table a read-only view of model that selects whole rows, its columns fitted to their
// contents, named for assistive tools.
void SetUpTable(QTableView* table, QAbstractItemModel* model, const QString& accessibleName);

}  // namespace tessik
