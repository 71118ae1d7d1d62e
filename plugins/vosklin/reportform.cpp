#include "reportform.h"

#include "grid.h"
#include "remoteudpdataset.h"
#include "sharedvalues.h"

Treport_frm::Treport_frm(const TReportDefinition& definition, QWidget* owner)
    : Tbase_frmDictMdi(owner), m_definition(definition) {
    setObjectName(QString::fromUtf8(definition.name));
    setWindowTitle(QString::fromUtf8(definition.caption));
    resize(900, 560);
    DBmaster_table->SetSQL(reportSql(definition));
    DBmaster_table->SetRTSQL(DBmaster_table->SQL());

    const bool pricesShown = md::Shared().PriceVisible;
    bool first = true;
    for (const TReportColumn& column : definition.columns) {
        if (column.money && !pricesShown) continue;
        TGridColumn& c = cxGrid1DBTableView1->AddColumn(QString::fromUtf8(column.field),
                                                        QString::fromUtf8(column.caption));
        c.width(column.width);
        if (column.money) c.currency().footer(TSummaryKind::Sum, QStringLiteral("合计：0.00"));
        if (first) c.footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
        first = false;
    }
    cxGrid1DBTableView1->Options().Footer = true;
    cxGrid1DBTableView1->Options().ColumnSorting = true;
    cxGrid1DBTableView1->ApplyOptions();

    // Read only: nothing to add, change or delete.
    HideActions({append_action, edit_action, post_action, cacel_action, del_action});
    ShowActions({find_action, print_action});
}

QString Treport_frm::reportSql(const TReportDefinition& definition) {
    const md::SharedValues& shared = md::Shared();
    const QString column = QString::fromUtf8(definition.scopeColumn ? definition.scopeColumn : "");
    QString sql = QString::fromUtf8(definition.select) + QStringLiteral(" where 1=1");
    if (definition.scope == TReportDefinition::ClientScope) {
        sql += md::ClientScopeCondition(column);
    } else if (definition.scope == TReportDefinition::BrandScope && !shared.BrandScopeAll &&
               !shared.BrandScopeList.isEmpty()) {
        sql += QStringLiteral(" and ") + column + QStringLiteral(" in(") + shared.BrandScopeList +
               QStringLiteral(")");
    }
    return sql + QStringLiteral(" order by ") + QString::fromUtf8(definition.orderBy);
}

void Treport_frm::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    DBmaster_table->setrtactive(true);
}
