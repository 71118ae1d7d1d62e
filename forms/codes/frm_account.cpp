#include "frm_account.h"

#include <QDate>

#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "session.h"

using md::ui::Refuse;

Tfrm_account::Tfrm_account(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("资金帐户设置"));
    DBmaster_table->SetSQL(QStringLiteral("select * from ba_account"));
    DBmaster_table->SetRTSQL(DBmaster_table->SQL());
    TDBTableView* v = cxGrid1DBTableView1;
    v->AddColumn(QStringLiteral("fCode"), QStringLiteral("编号"))
        .width(80)
        .footer(TSummaryKind::Count, QStringLiteral("合计：0"));
    v->AddColumn(QStringLiteral("fName"), QStringLiteral("帐户名称")).width(150);
    v->AddColumn(QStringLiteral("fAccount_no"), QStringLiteral("帐号")).width(180);
    v->AddColumn(QStringLiteral("fFirsdate"), QStringLiteral("开帐日期")).width(100).date();
    v->AddColumn(QStringLiteral("fFirstvalue"), QStringLiteral("期初余额"))
        .width(120)
        .currency()
        .footer(TSummaryKind::Sum, QStringLiteral("0.00"));
    v->AddColumn(QStringLiteral("fAccCode"), QStringLiteral("会计科目")).hidden();
    HideActions({first_action, prio_action, next_action, last_action});
    resize(720, 480);
}

void Tfrm_account::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    DBmaster_table->setrtactive(true);
}

void Tfrm_account::DBmaster_tableNewRecord() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    ds.FieldByName(QStringLiteral("finputdate")).SetAsString(today);
    ds.FieldByName(QStringLiteral("finputuser")).SetAsString(md::Session().UserNo);
    ds.FieldByName(QStringLiteral("fFirsdate")).SetAsString(today);
    ds.FieldByName(QStringLiteral("fFirstvalue")).SetAsFloat(0);
}

void Tfrm_account::DBmaster_tableBeforePost() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (ds.FieldByName(QStringLiteral("fcode")).AsString().isEmpty())
        Refuse(QStringLiteral("编号不能为空!"));
    if (ds.FieldByName(QStringLiteral("fName")).AsString().isEmpty())
        Refuse(QStringLiteral("帐户名称不能为空!"));
}

MD_REGISTER_FORM(Tfrm_account);
