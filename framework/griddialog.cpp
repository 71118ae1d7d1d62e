#include "griddialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "datasource.h"
#include "grid.h"
#include "remoteudpdataset.h"

TGridDialog::TGridDialog(QWidget* owner) : Tbase_frmTop(owner) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setModal(true);
    DBmaster_table = new TRemoteUdpDataSet(QStringLiteral("DBmaster_table"), this);
    DBmaster_table->SetLockType(etBatchOptimistic);
    DbMaster_Source = new TDataSource(QStringLiteral("DbMaster_Source"), this);
    DbMaster_Source->setDataSet(DBmaster_table);

    cxGrid1 = new TDBGrid(this, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    TDBTableView* v = cxGrid1DBTableView1;
    v->setDataSource(DbMaster_Source);
    TGridViewOptions& options = v->Options();
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    options.ColumnSorting = false;
    options.ColumnFiltering = false;
    options.GoToNextCellOnEnter = true;
    v->ApplyOptions();
    v->SetInputAllowed(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cxGrid1, 1);
    m_buttons = new QHBoxLayout;
    m_buttons->addStretch();
    layout->addLayout(m_buttons);
}

QPushButton* TGridDialog::AddButton(const QString& name, const QString& caption,
                                    std::function<void()> handler) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    // Enter belongs to the grid; the buttons are pressed, not defaulted.
    button->setAutoDefault(false);
    button->setMinimumWidth(88);
    m_buttons->addWidget(button);
    OnClick(button, std::move(handler));
    return button;
}

void TGridDialog::SaveChanges() {
    if (DBmaster_table->InEditState()) DBmaster_table->Post();
    DBmaster_table->UpdateBatch();
}

void TGridDialog::DropChanges() {
    cxGrid1DBTableView1->CancelEditor();
    if (DBmaster_table->InEditState()) DBmaster_table->Cancel();
    DBmaster_table->CancelUpdates();
}

bool TGridDialog::FormKeyPress(QKeyEvent& event) {
    QWidget* focus = QApplication::focusWidget();
    if (focus && (focus == cxGrid1DBTableView1 || cxGrid1DBTableView1->isAncestorOf(focus)))
        return Tbase_frm::FormKeyPress(event);
    return Tbase_frmTop::FormKeyPress(event);
}
