#pragma once
// The repair list's world: clients C01 雅韵 and C02 悦动, factories S01 鑫隆制衣
// and S02 华美服饰, goods G001 (colours 01 黑色, 02 白色) and KX200 (colour 01);
// user u1 (张敏) with every right of the list but none of the three steps.
// Notes go in as a test needs them; the note editor is replaced by a recorder
// unless a test wants the real one.
#include <QApplication>
#include <QDate>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "editorfactory.h"
#include "editors.h"
#include "formfixture.h"
#include "grid.h"
#include "griddelegate.h"
#include "gridmodel.h"
#include "remoteudpdataset.h"
#include "repairs/frm_GoodsReturnNote.h"

namespace md::test {

class RepairListTest : public FormTest {
  protected:
    RepairListTest() : FormTest(QStringLiteral("frm_GoodsReturnNote")) {
        joinGroup();
        grant({"b_add", "b_edit", "b_excel"});
        for (const char* sql : {
                 "insert into usermain(userno,username,fpassword) values('u1','张敏','x')",
                 "insert into dt_client(fid,fparentid,fcode,fname,fabbrev) "
                 "values('K1',' ','C01','杭州雅韵服饰','雅韵')",
                 "insert into dt_client(fid,fparentid,fcode,fname,fabbrev) "
                 "values('K2',' ','C02','宁波悦动体育','悦动')",
                 "insert into dt_supplier(fid,fcode,fname,fabbrev) "
                 "values('F1','S01','鑫隆制衣有限公司','鑫隆制衣')",
                 "insert into dt_supplier(fid,fcode,fname,fabbrev) "
                 "values('F2','S02','华美服饰有限公司','华美服饰')",
                 "insert into ba_color(colorid,colorname_ch) values('01','黑色')",
                 "insert into ba_color(colorid,colorname_ch) values('02','白色')",
                 "insert into goods(goodsid,goodsname,size_class,unitprice,goodsno) "
                 "values('G001','圆领T恤','TOPS',199,'N1')",
                 "insert into goods(goodsid,goodsname,size_class,unitprice,goodsno) "
                 "values('KX200','休闲裤','TOPS',299,'N2')",
                 "insert into goodscolor(fgoodsid,fcolorid,GoodsNo,ColorNo) "
                 "values('G001','01','N1','C11')",
                 "insert into goodscolor(fgoodsid,fcolorid,GoodsNo,ColorNo) "
                 "values('G001','02','N1','C12')",
                 "insert into goodscolor(fgoodsid,fcolorid,GoodsNo,ColorNo) "
                 "values('KX200','01','N2','C21')",
             })
            db.exec(QString::fromUtf8(sql));
    }

    static QString day(const QDate& date) { return date.toString(QStringLiteral("yyyy-MM-dd")); }
    static QDate today() { return QDate::currentDate(); }

    // A stored note dated `date` of client `client`, one line per
    // "goods|colour|size|qty|factory|sent|received|returned".
    void addNote(const QString& id, const QDate& date, const QString& client, bool posted,
                 const QStringList& lines) {
        db.exec(QStringLiteral("insert into d_GoodsReturnNote(fbillid,fbilldate,fclientcode,"
                               "fposted,fstatus,fclick,freturn) values('%1','%2','%3',%4,0,0,0)")
                    .arg(id, day(date), client)
                    .arg(posted ? 1 : 0));
        for (const QString& line : lines) {
            const QStringList v = line.split(QLatin1Char('|'));
            db.exec(QStringLiteral("insert into d_GoodsReturnNoteDetail(fbillid,fgoodsid,fcolorid,"
                                   "fsize,fieldname,fretailprice,fqty,fsuppliercode,fsupqty,"
                                   "fsupreturnqty,fcliqty,fflag,fanswerint) "
                                   "values('%1','%2','%3','%4','S2',199,%5,%6,%7,%8,%9,0,0)")
                        .arg(id, v[0], v[1], v[2], v[3],
                             v[4].isEmpty() ? QStringLiteral("null") : QuotedStr(v[4]), v[5], v[6],
                             v[7]));
        }
    }
    QString lineKey(const QString& id, int nth = 0) {
        return rows(QStringLiteral("select fautoid from d_GoodsReturnNoteDetail where "
                                   "fbillid='%1' order by fautoid")
                        .arg(id))
            .value(nth);
    }

    // The window with the note editor replaced: each opening is recorded as
    // "mode|note" and answered with `editorAnswer`.
    Tfrm_GoodsReturnNote* openList() {
        auto* f = open<Tfrm_GoodsReturnNote>();
        f->OpenNote = [this](const QString& billId, md::ui::RepairNoteMode mode) {
            openings << QString::number(int(mode)) + QLatin1Char('|') + billId;
            return editorAnswer;
        };
        v = f->cxGrid1DBTableView1;
        list = f->DBmaster_table;
        return f;
    }

    // The listed lines as "note|goods|colour".
    QStringList listed() const {
        QStringList out;
        for (int row = 0; row < list->RecordCount(); ++row)
            out << value(row, "fbillid") + QLatin1Char('|') + value(row, "fgoodsid") +
                       QLatin1Char('|') + value(row, "fcolorid");
        return out;
    }
    QString value(int row, const char* field) const {
        return list->valueAt(row, list->FieldByName(QString::fromLatin1(field)).Index())
            .toString()
            .trimmed();
    }
    void go(int row) { v->setCurrentIndex(v->gridModel()->index(row, firstSection())); }
    int firstSection() const { return v->SectionOf(QStringLiteral("fbillid")); }

    // Key by key into the focused editor, Chinese characters as an input
    // method hands them over.
    static void typeKeys(QWidget* box, const QString& text) {
        for (QChar c : text) {
            if (c.unicode() < 128) {
                QTest::keyClick(box, c.toLatin1());
                continue;
            }
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(box, &press);
        }
    }
    QWidget* openCell(int row, const char* field) {
        const QModelIndex at = v->gridModel()->index(row, v->SectionOf(QString::fromLatin1(field)));
        v->setCurrentIndex(at);
        v->edit(at);
        return qobject_cast<TGridDelegate*>(v->itemDelegate())->openEditor();
    }
    // Replaces the cell's text in its editor and presses Enter. True when the
    // editor stayed open (the text was refused); it is then dropped.
    bool typeIntoCell(int row, const char* field, const QString& text) {
        QWidget* editor = openCell(row, field);
        if (!editor) {
            ADD_FAILURE() << "no editor for " << field;
            return false;
        }
        QWidget* line = editor->focusProxy() ? editor->focusProxy() : editor;
        if (auto* date = qobject_cast<md::ui::TNullDateEdit*>(editor)) {
            date->setValueText(text);
        } else {
            QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(line, Qt::Key_Backspace);
            typeKeys(line, text);
        }
        QTest::keyClick(line, Qt::Key_Return);
        const bool refused = qobject_cast<TGridDelegate*>(v->itemDelegate())->openEditor();
        if (refused) v->CancelEditor();
        return refused;
    }

    QStringList openings;
    bool editorAnswer = false;
    TDBTableView* v = nullptr;
    TRemoteUdpDataSet* list = nullptr;
};

}  // namespace md::test
