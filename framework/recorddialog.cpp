#include "recorddialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "datasource.h"
#include "fieldpanel.h"
#include "remoteudpdataset.h"

TRecordDialog::TRecordDialog(QWidget* owner, int columns) : Tbase_frmTop(owner) {
    DBmaster_table = new TRemoteUdpDataSet(QStringLiteral("DBmaster_table"), this);
    DBmaster_table->SetLockType(etBatchOptimistic);
    DbMaster_Source = new TDataSource(QStringLiteral("DbMaster_Source"), this);
    DbMaster_Source->setDataSet(DBmaster_table);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 10);
    FieldPanel = new TFieldPanel(DbMaster_Source, columns, this);
    FieldPanel->setObjectName(QStringLiteral("FieldPanel"));
    layout->addWidget(FieldPanel);
    layout->addStretch();
    m_buttons = new QHBoxLayout;
    m_buttons->addStretch();
    layout->addLayout(m_buttons);
}

QPushButton* TRecordDialog::AddButton(const QString& name, const QString& caption,
                                      std::function<void()> handler) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setMinimumWidth(88);
    m_buttons->addWidget(button);
    OnClick(button, std::move(handler));
    return button;
}

bool TRecordDialog::Editing() const {
    const TDataSetState state = DBmaster_table->State();
    return state == dsEdit || state == dsInsert;
}

void TRecordDialog::SaveRecord() {
    if (Editing()) DBmaster_table->Post();
    DBmaster_table->UpdateBatch();
}
