#pragma once
// The goods form tests' world: a database with the server schema, a small
// range of goods (two size groups, four basic colours, three filterable
// description fields), a session with every right on the goods form, a host
// window keeping the open-window list and scripted message boxes.
#include <QAction>
#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QTreeWidgetItem>

#include "datasource.h"
#include "formfixture.h"
#include "goods/frm_goods.h"
#include "goodsattributefilter.h"
#include "grid.h"
#include "propertygrid.h"
#include "remoteudpdataset.h"
#include "sqlquote.h"
#include "treelookup.h"

namespace md::test {

class GoodsTest : public FormTest {
  protected:
    GoodsTest() : FormTest(QStringLiteral("frm_goods")) {
        md::Shared().SizeSlotCount = 3;
        md::Shared().PriceVisible = true;
        md::Shared().PriceEdit = true;
        joinGroup();
        grant({QStringLiteral("b_add"), QStringLiteral("b_edit"), QStringLiteral("b_del"),
               QStringLiteral("b_print"), QStringLiteral("b_excel")});

        for (const char* size : {"S", "M", "L"})
            addSize(QStringLiteral("TOPS"), QString::fromLatin1(size));
        for (const char* size : {"28", "30"})
            addSize(QStringLiteral("PANTS"), QString::fromLatin1(size));
        const char* const colours[][3] = {{"01", "黑色", "Black"},
                                          {"02", "白色", "White"},
                                          {"03", "红色", "Red"},
                                          {"04", "藏青", "Navy"}};
        for (const auto& c : colours)
            db.exec(QStringLiteral("insert into ba_color(colorid,colorname_ch,colorname_en) "
                                   "values('%1','%2','%3')")
                        .arg(QString::fromUtf8(c[0]), QString::fromUtf8(c[1]),
                             QString::fromUtf8(c[2])));
        // Brand, season and category filter; the others only caption their rows.
        int fid = 0;
        auto field = [&](const char* name, const char* caption, bool filters,
                         const QStringList& values) {
            db.exec(
                QStringLiteral(
                    "insert into "
                    "ba_fieldremark(fid,ftablename,fname,ffieldname_sys,ffieldremark,visiblebit) "
                    "values(%1,'goods','%2','%3','%3',%4)")
                    .arg(++fid)
                    .arg(QString::fromLatin1(name), QString::fromUtf8(caption))
                    .arg(filters ? 1 : 0));
            for (const QString& value : values)
                db.exec(
                    QStringLiteral("insert into ba_fieldvalues(ftablename,ffieldname,fFieldValues) "
                                   "values('goods','%1','%2')")
                        .arg(QString::fromLatin1(name), value));
        };
        field("goodsid", "货号", false, {});
        field("brand", "品牌", true, {QStringLiteral("雅韵"), QStringLiteral("悦动")});
        field("season", "季节", true,
              {QStringLiteral("春"), QStringLiteral("夏"), QStringLiteral("秋")});
        field("sort", "类别", true, {QStringLiteral("T恤"), QStringLiteral("外套")});
        field("unit", "单位", false, {QStringLiteral("件"), QStringLiteral("条")});
        field("patter", "款式", false, {QStringLiteral("基础款")});
        field("mat", "包装数量", false, {QStringLiteral("10件")});
        field("field1", "设计师", false, {});
        field("unitprice", "吊牌价", false, {});
    }
    void addSize(const QString& group, const QString& size) {
        const int index =
            db.count(QStringLiteral("ba_size where size_class='") + group + QStringLiteral("'")) +
            1;
        db.exec(QStringLiteral("insert into ba_size(size_class,size_name,displayindex,fieldname) "
                               "values('%1','%2',%3,'S%3')")
                    .arg(group, size)
                    .arg(index));
    }
    // A goods item with its row key and, optionally, colours ("01,02").
    void addGoods(const QString& code, const QString& brand = QStringLiteral("雅韵"),
                  const QString& season = QStringLiteral("春"), const QString& colours = QString(),
                  const QString& sort = QStringLiteral("T恤")) {
        db.exec(QStringLiteral(
                    "insert into "
                    "goods(goodsid,goodsname,brand,ayear,season,sort,size_class,unitprice,strat,"
                    "inputdate,goodsno) "
                    "values('%1','品名%1','%2','2025','%3','%4','TOPS',199,1,'2025-03-01','N%1')")
                    .arg(code, brand, season, sort));
        int n = 0;
        for (const QString& colour : colours.split(QLatin1Char(','), Qt::SkipEmptyParts))
            db.exec(QStringLiteral("insert into goodscolor(fgoodsid,fcolorid,GoodsNo,ColorNo) "
                                   "values('%1','%2','N%1','C%1%3')")
                        .arg(code, colour)
                        .arg(++n));
    }

    Tfrm_goods* open() { return FormTest::open<Tfrm_goods>(); }

    // The goods codes the list shows, in order.
    static QStringList listCodes(Tfrm_goods* form) {
        QStringList codes;
        TRemoteUdpDataSet* list = form->DBgoodslist;
        const int column = list->FieldByName(QStringLiteral("goodsid")).Index();
        for (int row = 0; row < list->RecordCount(); ++row)
            codes << list->valueAt(row, column).toString();
        return codes;
    }
    // The list row of a code becomes current and the detail page shows it
    // (the list has no order of its own, so tests pick rows by code).
    static void select(Tfrm_goods* form, const QString& code) {
        ASSERT_TRUE(form->DBgoodslist->Locate(QStringLiteral("goodsid"), code));
        form->OpenGoods(code);
    }
    static QStringList sorted(QStringList items) {
        items.sort();
        return items;
    }
    // Statements run since the log was last cleared.
    QStringList statements() { return db.conn().log().entries(); }
    static void trigger(QAction* action) { action->trigger(); }
    // A small JPEG picture of one colour.
    static QByteArray jpeg(const QColor& colour) {
        QImage image(60, 80, QImage::Format_RGB32);
        image.fill(colour);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPG", 90);
        return bytes;
    }
    static QString field(TRemoteUdpDataSet* ds, const char* name) {
        return ds->FieldByName(QString::fromLatin1(name)).AsString();
    }
};

}  // namespace md::test
