#include "frm_vipLB.h"

#include <QSet>

#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"

Tfrm_vipLB::Tfrm_vipLB(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("VIP类别设定"));
    DBmaster_table->SetSQL(QStringLiteral("select * from ba_viplb"));
    DBmaster_table->SetRTSQL(DBmaster_table->SQL());

    TDBTableView* v = cxGrid1DBTableView1;
    const int discountBand = v->AddBand(QStringLiteral("类别折扣"));
    const int pointsBand = v->AddBand(QStringLiteral("积分计算方式"));
    v->AddColumn(QStringLiteral("vipLBname"), QStringLiteral("类别名称"))
        .band(discountBand)
        .width(140)
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    v->AddColumn(QStringLiteral("integrals"), QStringLiteral("积分点数"))
        .band(discountBand)
        .width(80)
        .currency(QStringLiteral("0.##"));
    v->AddColumn(QStringLiteral("discount"), QStringLiteral("折扣"))
        .band(discountBand)
        .width(80)
        .currency(QStringLiteral("0.00"));
    v->AddColumn(QStringLiteral("consumeamount"), QStringLiteral("消费金额"))
        .band(pointsBand)
        .width(100)
        .currency(QStringLiteral("0.00"));
    v->AddColumn(QStringLiteral("integralscount"), QStringLiteral("返还积分点数"))
        .band(pointsBand)
        .width(100)
        .currency(QStringLiteral("0.##"));
    HideActions({first_action, prio_action, next_action, last_action});
    ShowActions({print_action});
    resize(640, 420);
}

QString Tfrm_vipLB::CategoryId(int rowCount) {
    return QStringLiteral("100") + QString::number(rowCount + 1);
}

void Tfrm_vipLB::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    if (!DBmaster_table->Active()) DBmaster_table->setrtactive(true);
}

void Tfrm_vipLB::DBmaster_tableBeforeInsert() {
    // Counted before the new row joins the list (a row being edited is posted by now).
    m_rowsBeforeInsert = DBmaster_table->RecordCount();
}

void Tfrm_vipLB::DBmaster_tableNewRecord() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    // After a deletion the count can land on an id still in use; the next
    // free count is taken then, so a new category can always be saved.
    QSet<QString> taken;
    const int idColumn = ds.FieldByName(QStringLiteral("viplbid")).Index();
    for (int row = 0; row < ds.RecordCount(); ++row)
        taken.insert(ds.valueAt(row, idColumn).toString().trimmed());
    int count = m_rowsBeforeInsert;
    while (taken.contains(CategoryId(count))) ++count;
    ds.FieldByName(QStringLiteral("viplbid")).SetAsString(CategoryId(count));
}

MD_REGISTER_FORM(Tfrm_vipLB);
