#include "frm_account.h"

#include <QDate>

#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "session.h"

using md::ui::Refuse;

namespace {

const TCodeTable kAccounts{
    "资金帐户设置",
    "select * from ba_account",
    {{"fCode", "编号", 80, TEditorKind::Text, TSummaryKind::Count, "合计：0"},
     {"fName", "帐户名称", 150},
     {"fAccount_no", "帐号", 180},
     {"fFirsdate", "开帐日期", 100, TEditorKind::Date},
     {"fFirstvalue", "期初余额", 120, TEditorKind::Currency, TSummaryKind::Sum, "0.00"},
     {"fAccCode", "会计科目", 100, TEditorKind::Text, TSummaryKind::None, "", true}},
    {{"fcode", "编号不能为空!"}, {"fName", "帐户名称不能为空!"}},
    {720, 480}};

}  // namespace

Tfrm_account::Tfrm_account(QWidget* owner) : Tbase_frmDictMdi(owner) {
    Describe(kAccounts);
}

void Tfrm_account::DBmaster_tableNewRecord() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    ds.FieldByName(QStringLiteral("finputdate")).SetAsString(today);
    ds.FieldByName(QStringLiteral("finputuser")).SetAsString(md::Session().UserNo);
    ds.FieldByName(QStringLiteral("fFirsdate")).SetAsString(today);
    ds.FieldByName(QStringLiteral("fFirstvalue")).SetAsFloat(0);
}

MD_REGISTER_FORM(Tfrm_account);
