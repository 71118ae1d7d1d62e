#pragma once
// Column names that configuration tables hold (ba_fieldremark.fname and its
// like) go into SQL text as names, where no quoting can make them safe: such a
// name must be a column of the table it describes, as the schema's catalog
// knows it, before any statement uses it.
#include <QString>

// The column of `table` the configured name stands for (surrounding blanks
// aside, any case), spelled as the catalog spells it. Anything else - an
// expression, two names, a column of another table - raises EDatabaseError
// with a message for the user, so nothing has been sent.
QString ConfiguredColumn(const QString& table, const QString& configuredName);
