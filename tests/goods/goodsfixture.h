#pragma once
// The goods form tests' world: a database with the server schema, a small
// range of goods (two size groups, four basic colours, three filterable
// description fields), a session with every right on the goods form, a host
// window keeping the open-window list and scripted message boxes.
#include "checktree.h"
#include "datasource.h"
#include "goods/frm_goods.h"
#include "grid.h"
#include "messages.h"
#include "propertygrid.h"
#include "remoteudpdataset.h"
#include "rowsink.h"
#include "session.h"
#include "sharedvalues.h"
#include "sqlquote.h"
#include "testdb.h"
#include "treelookup.h"

#include <QAction>
#include <QCoreApplication>
#include <QPointer>
#include <QTreeWidgetItem>
#include <gtest/gtest.h>
#include <ostream>

inline std::ostream& operator<<(std::ostream& out, const QString& text) { return out << text.toStdString(); }
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* out)
{
    *out << '[' << list.join(QStringLiteral(", ")).toStdString() << ']';
}

namespace md::test {

class GoodsHostWindow : public QObject, public IOpenWindowList {
public:
    QStringList captions;
    void AddCaption(const QString& caption) override { captions.append(caption); }
    int FindCaption(const QString& caption) const override { return int(captions.indexOf(caption)); }
    void DeleteCaption(int index) override { captions.removeAt(index); }
};

class GoodsTest : public ::testing::Test {
protected:
    GoodsTest()
    {
        md::Shared() = md::SharedValues();
        md::Shared().SizeSlotCount = 3;
        md::Shared().PriceVisible = true;
        md::Shared().PriceEdit = true;
        md::Session() = md::SessionContext();
        md::Session().HostApplication = QCoreApplication::instance();
        md::Session().UserNo = QStringLiteral("u1");
        md::Session().RightListName = QStringLiteral("frm_goods");
        md::Session().Connection = &db.conn();
        md::Session().HostMainForm = &host;
        db.exec(QStringLiteral("insert into usermainde(userno,fgroupid) values('u1','g1')"));
        grant(QStringLiteral("frm_goods"));

        for (const char* size : {"S", "M", "L"}) addSize(QStringLiteral("TOPS"), QString::fromLatin1(size));
        for (const char* size : {"28", "30"}) addSize(QStringLiteral("PANTS"), QString::fromLatin1(size));
        const char* const colours[][3] = {{"01", "黑色", "Black"}, {"02", "白色", "White"}, {"03", "红色", "Red"}, {"04", "藏青", "Navy"}};
        for (const auto& c : colours)
            db.exec(QStringLiteral("insert into ba_color(colorid,colorname_ch,colorname_en) values('%1','%2','%3')")
                        .arg(QString::fromUtf8(c[0]), QString::fromUtf8(c[1]), QString::fromUtf8(c[2])));
        // Brand, season and category filter; the others only caption their rows.
        int fid = 0;
        auto field = [&](const char* name, const char* caption, bool filters, const QStringList& values) {
            db.exec(QStringLiteral("insert into ba_fieldremark(fid,ftablename,fname,ffieldname_sys,ffieldremark,visiblebit) "
                                   "values(%1,'goods','%2','%3','%3',%4)")
                        .arg(++fid)
                        .arg(QString::fromLatin1(name), QString::fromUtf8(caption))
                        .arg(filters ? 1 : 0));
            for (const QString& value : values)
                db.exec(QStringLiteral("insert into ba_fieldvalues(ftablename,ffieldname,fFieldValues) values('goods','%1','%2')")
                            .arg(QString::fromLatin1(name), value));
        };
        field("goodsid", "货号", false, {});
        field("brand", "品牌", true, {QStringLiteral("雅韵"), QStringLiteral("悦动")});
        field("season", "季节", true, {QStringLiteral("春"), QStringLiteral("夏"), QStringLiteral("秋")});
        field("sort", "类别", true, {QStringLiteral("T恤"), QStringLiteral("外套")});
        field("unit", "单位", false, {QStringLiteral("件"), QStringLiteral("条")});
        field("patter", "款式", false, {QStringLiteral("基础款")});
        field("mat", "包装数量", false, {QStringLiteral("10件")});
        field("field1", "设计师", false, {});
        field("unitprice", "吊牌价", false, {});
    }
    ~GoodsTest() override
    {
        for (const QPointer<QWidget>& form : m_forms) delete form.data();
        md::Session() = md::SessionContext();
    }

    void grant(const QString& list)
    {
        const int autoid = db.scalar(QStringLiteral("select isnull(max(autoid),0)+1 from dr_right")).toInt();
        db.exec(QStringLiteral("insert into dr_right(autoid,listname) values(%1,'%2')").arg(autoid).arg(list));
        db.exec(QStringLiteral("insert into dr_rightdetail(autoid,groupid,b_add,b_edit,b_del,b_print,b_excel) values(%1,'g1',1,1,1,1,1)")
                    .arg(autoid));
    }
    void addSize(const QString& group, const QString& size)
    {
        const int index = db.count(QStringLiteral("ba_size where size_class='") + group + QStringLiteral("'")) + 1;
        db.exec(QStringLiteral("insert into ba_size(size_class,size_name,displayindex,fieldname) values('%1','%2',%3,'S%3')")
                    .arg(group, size)
                    .arg(index));
    }
    // A goods item with its row key and, optionally, colours ("01,02").
    void addGoods(const QString& code, const QString& brand = QStringLiteral("雅韵"), const QString& season = QStringLiteral("春"),
                  const QString& colours = QString(), const QString& sort = QStringLiteral("T恤"))
    {
        db.exec(QStringLiteral("insert into goods(goodsid,goodsname,brand,ayear,season,sort,size_class,unitprice,strat,inputdate,goodsno) "
                               "values('%1','品名%1','%2','2025','%3','%4','TOPS',199,1,'2025-03-01','N%1')")
                    .arg(code, brand, season, sort));
        int n = 0;
        for (const QString& colour : colours.split(QLatin1Char(','), Qt::SkipEmptyParts))
            db.exec(QStringLiteral("insert into goodscolor(fgoodsid,fcolorid,GoodsNo,ColorNo) values('%1','%2','N%1','C%1%3')")
                        .arg(code, colour)
                        .arg(++n));
    }

    Tfrm_goods* open()
    {
        auto* form = md::ui::CreateForm<Tfrm_goods>();
        m_forms.append(form);
        return form;
    }

    // Every row of a query, columns joined by "|".
    QStringList rows(const QString& tsql)
    {
        ResultTable result;
        db.conn().OpenSQL(tsql, result);
        QStringList out;
        for (int r = 0; r < result.rowCount; ++r) {
            QStringList cells;
            for (int c = 0; c < result.columns.size(); ++c) cells << result.at(r, c).toString();
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    }
    // The goods codes the list shows, in order.
    static QStringList listCodes(Tfrm_goods* form)
    {
        QStringList codes;
        TRemoteUdpDataSet* list = form->DBgoodslist;
        const int column = list->FieldByName(QStringLiteral("goodsid")).Index();
        for (int row = 0; row < list->RecordCount(); ++row) codes << list->valueAt(row, column).toString();
        return codes;
    }
    // The list row of a code becomes current and the detail page shows it
    // (the list has no order of its own, so tests pick rows by code).
    static void select(Tfrm_goods* form, const QString& code)
    {
        ASSERT_TRUE(form->DBgoodslist->Locate(QStringLiteral("goodsid"), code));
        form->OpenGoods(code);
    }
    static QStringList sorted(QStringList items)
    {
        items.sort();
        return items;
    }
    // Statements run since the log was last cleared.
    QStringList statements() { return db.conn().log().entries(); }
    static void trigger(QAction* action) { action->trigger(); }
    static QString field(TRemoteUdpDataSet* ds, const char* name) { return ds->FieldByName(QString::fromLatin1(name)).AsString(); }

    TestDb db;
    GoodsHostWindow host;
    md::ui::MessageScript script;

private:
    QList<QPointer<QWidget>> m_forms;
};

}  // namespace md::test
