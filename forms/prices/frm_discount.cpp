#include "frm_discount.h"

#include <QAction>

#include "datasource.h"
#include "formfactory.h"
#include "grid.h"
#include "ratecheck.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "treelist.h"

namespace {

// The rate columns follow the four client columns.
constexpr int kFirstRateColumn = 4;

}  // namespace

Tfrm_discount::Tfrm_discount(QWidget* owner) : Tbase_frmClientTerms(owner) {
    setWindowTitle(QStringLiteral("客户合同折扣设置"));
    DBmaster_table->SetSQL(QStringLiteral("select * from dt_client"));
    // Only the six rates go back; the rest of the client is the client form's.
    DiscountUpdateSql = new TRemoteUpdateSql(this);
    DiscountUpdateSql->setObjectName(QStringLiteral("DiscountUpdateSql"));
    DiscountUpdateSql->ModifySQL = QStringLiteral(
        "update dt_client set discount1=:discount1,discount2=:discount2,discount3=:discount3,"
        "discount4=:discount4,discount5=:discount5,discount6=:discount6 where fid=:fid");
    DBmaster_table->SetupDataObject(DiscountUpdateSql);

    // The tree shows the edited clients themselves.
    ShowClientsInTree(DbMaster_Source);

    TDBTableView* v = cxGrid1DBTableView1;
    v->AddColumn(QStringLiteral("fcode"), QStringLiteral("客户编号"))
        .width(90)
        .readOnly()
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    v->AddColumn(QStringLiteral("fabbrev"), QStringLiteral("客户简称")).width(100).readOnly();
    v->AddColumn(QStringLiteral("fMathod"), QStringLiteral("客户性质")).width(64).readOnly();
    v->AddColumn(QStringLiteral("fGrad"), QStringLiteral("客户等级")).width(72).readOnly();
    for (int i = 1; i <= 6; ++i)
        md::ui::AcceptDiscounts(
            v->AddColumn(QStringLiteral("discount%1").arg(i), QStringLiteral("折扣%1").arg(i))
                .width(72)
                .currency(QStringLiteral(",0.00;-,0.00")));
    TGridViewOptions& options = v->Options();
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    v->ApplyOptions();

    HideActions({insert_action, append_action, del_action});
    SetToolbar({edit_action, post_action, cacel_action, print_action, excel_action, close_action});
    resize(1000, 560);
}

QString Tfrm_discount::CaptionSQL() {
    return QStringLiteral(
        "select * from ba_fieldremark where ftablename='dt_client' and fname like 'discount%'");
}

void Tfrm_discount::FormCreate() {
    Tbase_frmClientTerms::FormCreate();
    ApplyDiscountCaptions(*cxGrid1DBTableView1, kFirstRateColumn, CaptionSQL());
    DBmaster_table->Open();
}

void Tfrm_discount::DBmaster_tableAfterOpen() {
    Tbase_frmClientTerms::DBmaster_tableAfterOpen();
    for (int i = 1; i <= 6; ++i) {
        const QString name = QStringLiteral("discount%1").arg(i);
        md::ui::GuardDiscountField(DBmaster_table->FieldByName(name),
                                   *cxGrid1DBTableView1->Column(name));
    }
}

void Tfrm_discount::UpdateActionState() {
    Tbase_frmClientTerms::UpdateActionState();
    for (QAction* a : {insert_action, append_action, del_action}) a->setEnabled(false);
}

MD_REGISTER_FORM(Tfrm_discount);
