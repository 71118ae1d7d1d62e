#pragma once
// What the database server contributes beside its tables: the schema script and
// its catalog, and the stored procedures, which are C++ functions reached only
// through "exec" text.
#include <QHash>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

#include "rowsink.h"
#include "tsql/catalog.h"

class TRemoteUdpConnection;

namespace md::data {

// One call of a stored procedure: its arguments, the connection to work on and
// where to put rows when the procedure returns some.
class ProcedureCall {
  public:
    ProcedureCall(TRemoteUdpConnection& connection, QVariantList args, RowSink* sink)
        : m_connection(connection), m_args(std::move(args)), m_sink(sink) {}

    TRemoteUdpConnection& connection() const { return m_connection; }
    const QVariantList& args() const { return m_args; }
    // Argument i as text; empty when missing or null.
    QString text(int i) const { return i < m_args.size() ? m_args[i].toString() : QString(); }
    // The caller wants rows; null when the call was executed, not opened.
    RowSink* sink() const { return m_sink; }

  private:
    TRemoteUdpConnection& m_connection;
    QVariantList m_args;
    RowSink* m_sink;
};

using Procedure = std::function<void(ProcedureCall&)>;

struct ServerObjects {
    QString schemaScript;  // the whole schema in T-SQL
    std::shared_ptr<const md::sql::Catalog> catalog;
    QHash<QString, Procedure> procedures;  // by lower-case name

    const Procedure* procedure(QStringView name) const;  // any case, "dbo." ignored
};

}  // namespace md::data
