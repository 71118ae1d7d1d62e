#pragma once
// A report window: a read-only list of one table in the grid, with find,
// print preview and spreadsheet export from the record editor.
#include <QList>
#include <QString>

#include "dicteditor.h"

struct TReportColumn {
    const char* field;
    const char* caption;
    int width;
    bool money;  // shown as 0.00 and summed; hidden from users who may not see prices
};

struct TReportDefinition {
    const char* name;     // "frm_re_client" ...
    const char* caption;  // the window caption and the printed title
    // The select without its restriction and order; the restriction follows
    // from the user's data scopes.
    const char* select;
    const char* orderBy;
    enum Scope { NoScope, ClientScope, BrandScope } scope;
    const char* scopeColumn;
    QList<TReportColumn> columns;
};

class Treport_frm : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    Treport_frm(const TReportDefinition& definition, QWidget* owner = nullptr);

    // The SQL text the report opens with, scope restriction included.
    static QString reportSql(const TReportDefinition& definition);

  protected:
    void FormCreate() override;

  private:
    const TReportDefinition& m_definition;
};
