#include "segoodscolor.h"

#include <QPointer>

#include "field.h"
#include "grid.h"
#include "sqlquote.h"

Tfrm_segoodscolor::Tfrm_segoodscolor(QWidget* owner)
    : TGoodsPickDialog(owner, QStringLiteral("frm_segoodscolor"), QStringLiteral("货品颜色选择")) {
    TDBTableView* v = cxGrid1DBTableView1;
    v->AddColumn(QStringLiteral("goodsid"), QStringLiteral("货号"))
        .width(110)
        .readOnly()
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    v->AddColumn(QStringLiteral("goodsname"), QStringLiteral("货品名称")).width(140).readOnly();
    v->AddColumn(QStringLiteral("colorid"), QStringLiteral("颜色编号")).width(70).readOnly();
    v->AddColumn(QStringLiteral("colorname_ch"), QStringLiteral("颜色名称")).width(80).readOnly();
    v->AddColumn(QStringLiteral("sort"), QStringLiteral("类别")).width(70).readOnly();
    v->AddColumn(QStringLiteral("unitprice"), QStringLiteral("吊牌价"))
        .width(70)
        .readOnly()
        .currency(QStringLiteral("0.00"));
    for (const char* field : {"brand", "unit", "size_class", "strat", "inputdate"})
        v->AddColumn(QString::fromLatin1(field), QString::fromLatin1(field)).hidden().readOnly();
    FinishGrid();
}

QString Tfrm_segoodscolor::FilterSQL(const QString& condition, const QString& codeText) {
    QString sql =
        QStringLiteral(
            "select checkid,goodsid,goodsname,colorid,colorname_ch,brand,unit,sort,"
            "size_class,unitprice,strat,inputdate from fn_checkgoodscolor('') where 1=1") +
        QChar(13);
    sql += BrandScopeCondition();
    if (!condition.isEmpty()) sql += QStringLiteral(" and ") + condition;
    if (!codeText.isEmpty())
        sql += QStringLiteral(" and goodsid like ") + QStringLiteral("'") + QStringLiteral("%") +
               SqlText(codeText) + QStringLiteral("%") + QStringLiteral("'");
    return sql;
}

QList<TPickedGoodsColor> Tfrm_segoodscolor::CheckedRows() const {
    QList<TPickedGoodsColor> rows;
    for (const QVariantHash& record : CheckedRecords()) {
        auto text = [&record](const char* name) {
            return record.value(QString::fromLatin1(name)).toString();
        };
        const QVariant price = record.value(QStringLiteral("unitprice"));
        rows << TPickedGoodsColor{text("goodsid"), text("goodsname"), text("colorid"),
                                  text("colorname_ch"),
                                  price.isNull() ? 0.0 : TField::floatOf(price)};
    }
    return rows;
}

namespace md::ui {

QList<TPickedGoodsColor> PickGoodsColors(QWidget* owner) {
    QPointer<Tfrm_segoodscolor> dialog = CreateForm<Tfrm_segoodscolor>(owner);
    QList<TPickedGoodsColor> rows;
    if (ExecModal(*dialog) == QDialog::Accepted && dialog) rows = dialog->CheckedRows();
    delete dialog.data();
    return rows;
}

}  // namespace md::ui
