#include "frm_Lbdiscount.h"

#include "formfactory.h"
#include "grid.h"
#include "ratecheck.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "sqlquote.h"

using md::ui::Refuse;

namespace {

// The rate columns follow client code, its three look-ups and the category.
constexpr int kFirstRateColumn = 8;

// Grid field and the goods field whose known values it offers.
const struct {
    const char* column;
    const char* caption;
    const char* goodsField;
    int width;
} kCategoryColumns[] = {{"brand", "品牌", "brand", 80},
                        {"ayear", "年份", "Ayear", 56},
                        {"season", "季节", "season", 56},
                        {"sort", "类别", "sort", 80}};

}  // namespace

Tfrm_Lbdiscount::Tfrm_Lbdiscount(QWidget* owner) : Tbase_frmClientTerms(owner) {
    setWindowTitle(QStringLiteral("货品类别折扣"));
    DBmaster_table->SetSQL(QStringLiteral("select * from cust_lbdiscount"));

    TDBTableView* v = cxGrid1DBTableView1;
    AddClientColumns(QStringLiteral("fclientcode"),
                     {QStringLiteral("fcode"), QStringLiteral("fabbrev"), QStringLiteral("fmathod"),
                      QStringLiteral("fgrad")},
                     {QStringLiteral("编号"), QStringLiteral("简称"), QStringLiteral("性质"),
                      QStringLiteral("等级")})
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    for (const auto& c : kCategoryColumns)
        v->AddColumn(QString::fromLatin1(c.column), QString::fromUtf8(c.caption))
            .width(c.width)
            .valueList({});
    for (int i = 1; i <= 6; ++i)
        md::ui::AcceptDiscounts(
            v->AddColumn(QStringLiteral("discount%1").arg(i), QStringLiteral("折扣%1").arg(i))
                .width(72)
                .currency(QStringLiteral(",0.00;-,0.00")));
    resize(1180, 560);
}

QString Tfrm_Lbdiscount::CaptionSQL() {
    return QStringLiteral(
        "select * from ba_fieldremark where ftablename='dt_client' and left(fname,8)='discount'");
}

QString Tfrm_Lbdiscount::FieldValuesSQL(const QString& field) {
    return QStringLiteral(
               "select * from ba_fieldvalues where ftablename='goods' and fFieldname='") +
           SqlText(field) + QStringLiteral("'");
}

void Tfrm_Lbdiscount::FormCreate() {
    Tbase_frmClientTerms::FormCreate();
    m_counter = 0;
    DBclient->Open();
    DBmaster_table->Open();
    UpdateActionState();
    ApplyDiscountCaptions(*cxGrid1DBTableView1, kFirstRateColumn, CaptionSQL());
    fillValueLists();
}

void Tfrm_Lbdiscount::fillValueLists() {
    TRemoteUdpDataSet values;
    for (const auto& c : kCategoryColumns) {
        TGridColumn* column = cxGrid1DBTableView1->Column(QString::fromLatin1(c.column));
        column->ClearItems();
        md::OpenQuery(values, FieldValuesSQL(QString::fromLatin1(c.goodsField)));
        for (values.First(); !values.Eof(); values.Next())
            column->AddItem(values.FieldByName(QStringLiteral("fFieldvalues")).AsString());
    }
}

void Tfrm_Lbdiscount::DBmaster_tableAfterOpen() {
    Tbase_frmClientTerms::DBmaster_tableAfterOpen();
    TRemoteUdpDataSet highest;
    md::OpenQuery(highest, QStringLiteral("select isnull(max(fid),0) fid from cust_lbdiscount"));
    m_counter = highest.FieldByName(QStringLiteral("fid")).AsInteger();
    for (int i = 1; i <= 6; ++i) {
        const QString name = QStringLiteral("discount%1").arg(i);
        md::ui::GuardDiscountField(DBmaster_table->FieldByName(name),
                                   *cxGrid1DBTableView1->Column(name));
    }
}

void Tfrm_Lbdiscount::DBmaster_tableNewRecord() {
    // Not read again before later rows: two windows adding at once may clash,
    // and the table's key then refuses the second.
    ++m_counter;
    DBmaster_table->FieldByName(QStringLiteral("fid")).SetAsInteger(m_counter);
}

void Tfrm_Lbdiscount::DBmaster_tableBeforePost() {
    Tbase_frmClientTerms::DBmaster_tableBeforePost();
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (ds.FieldByName(QStringLiteral("fclientcode")).AsString().trimmed().isEmpty())
        Refuse(QStringLiteral("请选择客户编号！"));
    if (ds.FieldByName(QStringLiteral("brand")).AsString().trimmed().isEmpty())
        Refuse(QStringLiteral("请选择品牌！"));
}

MD_REGISTER_FORM(Tfrm_Lbdiscount);
