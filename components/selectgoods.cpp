#include "selectgoods.h"

#include <QPointer>

#include "field.h"
#include "grid.h"
#include "sqlquote.h"

Tfrm_selectgoods::Tfrm_selectgoods(QWidget* owner)
    : TGoodsPickDialog(owner, QStringLiteral("frm_selectgoods"), QStringLiteral("货号选择")) {
    TDBTableView* v = cxGrid1DBTableView1;
    v->AddColumn(QStringLiteral("goodsid"), QStringLiteral("货号"))
        .width(110)
        .readOnly()
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    v->AddColumn(QStringLiteral("goodsname"), QStringLiteral("货品名称")).width(150).readOnly();
    v->AddColumn(QStringLiteral("brand"), QStringLiteral("品牌")).width(70).readOnly();
    v->AddColumn(QStringLiteral("sort"), QStringLiteral("类别")).width(70).readOnly();
    v->AddColumn(QStringLiteral("ayear"), QStringLiteral("年份")).width(55).readOnly();
    v->AddColumn(QStringLiteral("unitprice"), QStringLiteral("吊牌价"))
        .width(70)
        .readOnly()
        .currency(QStringLiteral("0.00"));
    for (const char* field : {"season", "unit", "item", "sex", "size_class", "strat", "inputdate"})
        v->AddColumn(QString::fromLatin1(field), QString::fromLatin1(field)).hidden().readOnly();
    FinishGrid();
}

QString Tfrm_selectgoods::FilterSQL(const QString& condition, const QString& codeText) {
    QString sql =
        QStringLiteral(
            "select checkid,goodsid,goodsname,ayear,season,brand,unit,sort,item,sex,size_class,"
            "unitprice,strat,inputdate from fn_checkgoods('') where 1=1 ") +
        QChar(13);
    sql += BrandScopeCondition();
    if (!condition.isEmpty()) sql += QStringLiteral(" and ") + condition;
    if (!codeText.isEmpty())
        sql += QStringLiteral(" and goodsid like ") + QStringLiteral("'") + QStringLiteral("%") +
               SqlText(codeText) + QStringLiteral("%") + QStringLiteral("'");
    return sql;
}

QList<TPickedGoods> Tfrm_selectgoods::CheckedRows() const {
    QList<TPickedGoods> rows;
    for (const QVariantHash& record : CheckedRecords()) {
        auto text = [&record](const char* name) {
            return record.value(QString::fromLatin1(name)).toString();
        };
        const QVariant price = record.value(QStringLiteral("unitprice"));
        rows << TPickedGoods{
            text("goodsid"), text("goodsname"),  text("brand"),
            text("sort"),    text("ayear"),      text("season"),
            text("unit"),    text("size_class"), price.isNull() ? 0.0 : TField::floatOf(price)};
    }
    return rows;
}

namespace md::ui {

QList<TPickedGoods> PickGoods(QWidget* owner) {
    QPointer<Tfrm_selectgoods> dialog = CreateForm<Tfrm_selectgoods>(owner);
    QList<TPickedGoods> rows;
    if (ExecModal(*dialog) == QDialog::Accepted && dialog) rows = dialog->CheckedRows();
    delete dialog.data();
    return rows;
}

}  // namespace md::ui
