#include "dicteditor.h"

#include <QVBoxLayout>

#include "grid.h"
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
}

void Tbase_frmDictMdi::append_actionExecute() {
    Tbase_frmMdi::append_actionExecute();
    // The new row's first cell takes the typing.
    cxGrid1DBTableView1->setFocus();
}
