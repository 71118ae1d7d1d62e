#pragma once
// Checks that ask the database whether something exists (a code already
// taken, a record in use): the query runs on a dataset made for the purpose,
// which is freed again, and any row answers yes.
#include <QString>
#include <QVariantHash>

namespace md::ui {

// Opens the query through the open-query routine; true when it returns a row.
bool QueryReturnsRow(const QString& sql);
// The same for a statement of our own, with ":name" parameters.
bool QueryReturnsRow(const QString& sql, const QVariantHash& params);

}  // namespace md::ui
