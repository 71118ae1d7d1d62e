#include "dicteditor.h"

#include <QVBoxLayout>

#include "grid.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "session.h"
#include "styles.h"

Tbase_frmDictMdi::Tbase_frmDictMdi(QWidget* owner) : Tbase_frmMdi(owner) {
    cxGrid1 = new TDBGrid(ClientPanel, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    auto* layout = new QVBoxLayout(ClientPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(cxGrid1);
    cxGrid1DBTableView1->setDataSource(DbMaster_Source);
    TGridViewOptions& options = cxGrid1DBTableView1->Options();
    options.Footer = true;
    options.GoToNextCellOnEnter = true;
    options.ColumnSorting = false;
    options.ColumnFiltering = false;
    cxGrid1DBTableView1->ApplyOptions();
    cxGrid1DBTableView1->SetInputAllowed(false);
}

void Tbase_frmDictMdi::FormCreate() {
    Tbase_frmMdi::FormCreate();
    md::ui::ApplySharedColours(this);
    DBmaster_table->Close();
    DBmaster_table->setSetupUdpParent(md::Session().Connection);
    if (m_described) DBmaster_table->setrtactive(true);
}

void Tbase_frmDictMdi::Describe(const TCodeTable& table) {
    m_described = &table;
    setWindowTitle(QString::fromUtf8(table.caption));
    DBmaster_table->SetSQL(QString::fromUtf8(table.sql));
    DBmaster_table->SetRTSQL(DBmaster_table->SQL());
    for (const TCodeTable::Column& c : table.columns) {
        TGridColumn& column = cxGrid1DBTableView1->AddColumn(QString::fromUtf8(c.field),
                                                             QString::fromUtf8(c.caption));
        column.width(c.width);
        if (c.kind == TEditorKind::Currency)
            column.currency();
        else if (c.kind == TEditorKind::UpperText)
            column.upperCase();
        else if (c.kind != TEditorKind::Text)
            column.editor(c.kind);
        if (c.footer != TSummaryKind::None)
            column.footer(c.footer, QString::fromUtf8(c.footerText));
        if (c.hidden) column.hidden();
    }
    HideActions({first_action, prio_action, next_action, last_action});
    if (table.size.isValid()) resize(table.size);
}

void Tbase_frmDictMdi::DBmaster_tableBeforePost() {
    if (!m_described) return;
    for (const TCodeTable::Required& r : m_described->required)
        if (DBmaster_table->FieldByName(QString::fromUtf8(r.field)).AsString().isEmpty())
            md::ui::Refuse(QString::fromUtf8(r.message));
}

void Tbase_frmDictMdi::append_actionExecute() {
    Tbase_frmMdi::append_actionExecute();
    // The new row's first cell takes the typing.
    cxGrid1DBTableView1->setFocus();
}
