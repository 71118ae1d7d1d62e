#pragma once
// SQL Server speaks T-SQL itself: a statement's text goes to it unchanged,
// except that ":name" parameters become the "?" placeholders of ODBC.
#include "tsql/translator.h"

namespace md::sql {

// The text with each ":name" replaced by "?"; the parameter index of every
// placeholder, in order, goes to placeholderOrder. A name used both inside and
// outside a where clause is two parameters (see Statement::params): an
// occurrence after the statement's "where" takes the where one.
QString passThroughText(const QString& tsql, const QVector<ParamRef>& params,
                        QVector<int>* placeholderOrder);

}  // namespace md::sql
