#pragma once
// The sample style tests' world: a database with the server schema, one size
// group of three sizes, four basic colours, a few goods description captions,
// and a session with every right on the sample form.
#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "datasource.h"
#include "dbcontrols.h"
#include "formfixture.h"
#include "goods/frm_MrGoods.h"
#include "grid.h"
#include "remoteudpdataset.h"

namespace md::test {

class SamplesTest : public FormTest {
  protected:
    SamplesTest() : FormTest(QStringLiteral("frm_MrGoods")) {
        md::Shared().SizeSlotCount = 3;
        joinGroup();
        grant({QStringLiteral("b_add"), QStringLiteral("b_edit"), QStringLiteral("b_del"),
               QStringLiteral("b_print"), QStringLiteral("b_excel")});
        int index = 0;
        for (const char* size : {"S", "M", "L"})
            db.exec(
                QStringLiteral("insert into ba_size(size_class,size_name,displayindex,fieldname) "
                               "values('TOPS','%1',%2,'S%2')")
                    .arg(QString::fromLatin1(size))
                    .arg(++index));
        const char* const colours[][2] = {
            {"01", "黑色"}, {"02", "白色"}, {"03", "红色"}, {"04", "藏青"}};
        for (const auto& c : colours)
            db.exec(QStringLiteral("insert into ba_color(colorid,colorname_ch) values('%1','%2')")
                        .arg(QString::fromUtf8(c[0]), QString::fromUtf8(c[1])));
    }

    // A sample style in group TOPS; target the goods code it becomes; colours "01,02".
    void addSample(const QString& code, const QString& target = QString(),
                   const QString& colours = QString()) {
        db.exec(QStringLiteral("insert into mr_goods(goodsid,goodsname,brand,ayear,season,sort,"
                               "size_class,style,masterial,lining,fnewgoodsid,inputdate) "
                               "values('%1','样%1','雅韵','2026','春','T恤','TOPS','常规','纯棉',"
                               "'无里料',%2,'2026-03-01')")
                    .arg(code, target.isNull() ? QStringLiteral("null") : QuotedStr(target)));
        for (const QString& colour : colours.split(QLatin1Char(','), Qt::SkipEmptyParts))
            db.exec(QStringLiteral("insert into mr_goodscolor(fgoodsid,fcolorid,fcolor) "
                                   "values('%1','%2','说明%2')")
                        .arg(code, colour));
    }
    void addGoods(const QString& code, const QString& colours = QString()) {
        db.exec(QStringLiteral("insert into goods(goodsid,goodsname,brand,size_class,goodsno) "
                               "values('%1','货%1','雅韵','TOPS','N%1')")
                    .arg(code));
        int n = 0;
        for (const QString& colour : colours.split(QLatin1Char(','), Qt::SkipEmptyParts))
            db.exec(QStringLiteral("insert into goodscolor(fgoodsid,fcolorid,GoodsNo,ColorNo) "
                                   "values('%1','%2','N%1','C%1%3')")
                        .arg(code, colour)
                        .arg(++n));
    }

    Tfrm_MrGoods* open() { return FormTest::open<Tfrm_MrGoods>(); }
    static void trigger(QAction* action) { action->trigger(); }
    static QString field(TRemoteUdpDataSet* ds, const char* name) {
        return ds->FieldByName(QString::fromLatin1(name)).AsString();
    }
    // Types into an editor of the panel as a user does.
    static void type(Tfrm_MrGoods* form, const char* field, const QString& text) {
        QWidget* editor = form->Editor(QString::fromLatin1(field));
        ASSERT_NE(editor, nullptr) << field;
        QLineEdit* line = qobject_cast<QLineEdit*>(editor);
        if (!line) line = editor->findChild<QLineEdit*>();
        ASSERT_NE(line, nullptr) << field;
        typeInto(line, text);
    }
    // Key presses carrying the text (Chinese too), one character each.
    static void typeInto(QWidget* widget, const QString& text) {
        for (const QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QCoreApplication::sendEvent(widget, &press);
        }
    }
};

}  // namespace md::test
