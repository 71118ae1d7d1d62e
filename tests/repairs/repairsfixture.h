#pragma once
// The repair note's world: client C01 雅韵 and C02 悦动, factory S01 鑫隆制衣,
// goods G001 (sizes S M L, colours 01 黑色 and 02 白色, tag 199) and G002
// (sizes S M L, colour 01, tag 299); user u1 (张敏) with every right of the
// repair list. Tests type into the focused control as a user does.
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "dbcontrols.h"
#include "formfixture.h"
#include "grid.h"
#include "griddelegate.h"
#include "gridmodel.h"
#include "remoteudpdataset.h"
#include "repairs/frm_GoodsReturnEdit.h"

namespace md::test {

class RepairsTest : public FormTest {
  protected:
    RepairsTest() : FormTest(QStringLiteral("frm_GoodsReturnNote")) {
        md::Shared().ClientScopeAll = true;
        md::Shared().BrandScopeAll = true;
        joinGroup();
        grant({"b_add", "b_edit", "b_del", "b_posted", "b_unposted", "b_excel"});
        for (const char* sql : {
                 "insert into usermain(userno,username,fpassword) values('u1','张敏','x')",
                 "insert into dt_client(fid,fparentid,fcode,fname,fabbrev) "
                 "values('K1',' ','C01','杭州雅韵服饰','雅韵')",
                 "insert into dt_client(fid,fparentid,fcode,fname,fabbrev) "
                 "values('K2',' ','C02','宁波悦动体育','悦动')",
                 "insert into dt_supplier(fid,fcode,fname,fabbrev) "
                 "values('F1','S01','鑫隆制衣有限公司','鑫隆制衣')",
                 "insert into ba_color(colorid,colorname_ch) values('01','黑色')",
                 "insert into ba_color(colorid,colorname_ch) values('02','白色')",
                 "insert into goods(goodsid,goodsname,size_class,unitprice,goodsno) "
                 "values('G001','圆领T恤','TOPS',199,'N1')",
                 "insert into goods(goodsid,goodsname,size_class,unitprice,goodsno) "
                 "values('G002','休闲裤','TOPS',299,'N2')",
                 "insert into goodscolor(fgoodsid,fcolorid,GoodsNo,ColorNo) "
                 "values('G001','01','N1','C11')",
                 "insert into goodscolor(fgoodsid,fcolorid,GoodsNo,ColorNo) "
                 "values('G001','02','N1','C12')",
                 "insert into goodscolor(fgoodsid,fcolorid,GoodsNo,ColorNo) "
                 "values('G002','01','N2','C21')",
             })
            db.exec(QString::fromUtf8(sql));
        int index = 0;
        for (const char* size : {"S", "M", "L"})
            db.exec(QStringLiteral("insert into ba_size(size_class,size_name,displayindex,"
                                   "fieldname) values('TOPS','%1',%2,'S%2')")
                        .arg(QString::fromLatin1(size))
                        .arg(++index));
    }

    static QString today() { return QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")); }
    static QString todayNumber(int n) {
        return Tfrm_GoodsReturnEdit::NoteNumber(QDate::currentDate(), n);
    }

    // A stored note with one line per "goods|colour|size|qty|supqty|returned|toclient".
    void addNote(const QString& id, const QString& date, bool posted = false,
                 const QStringList& lines = {QStringLiteral("G001|01|M|2|0|0|0")}) {
        db.exec(QStringLiteral("insert into d_GoodsReturnNote(fbillid,fbilldate,fclientcode,"
                               "fposted,fstatus,fclick,freturn) values('%1','%2','C01',%3,0,0,0)")
                    .arg(id, date)
                    .arg(posted ? 1 : 0));
        for (const QString& line : lines) {
            const QStringList v = line.split('|');
            db.exec(QStringLiteral("insert into d_GoodsReturnNoteDetail(fbillid,fgoodsid,fcolorid,"
                                   "fsize,fieldname,fretailprice,fqty,fsupqty,fsupreturnqty,"
                                   "fcliqty,fflag,fanswerint) "
                                   "values('%1','%2','%3','%4','S2',199,%5,%6,%7,%8,0,0)")
                        .arg(id, v[0], v[1], v[2], v[3], v[4], v[5], v[6]));
        }
    }

    // The editor on a note in a mode, shown and active so keys reach it.
    Tfrm_GoodsReturnEdit* editor(const QString& id, md::ui::RepairNoteMode mode) {
        auto* f = open<Tfrm_GoodsReturnEdit>();
        f->LoadNote(id, mode);
        f->show();
        QApplication::setActiveWindow(f);
        v = f->cxGrid1DBTableView1;
        lines = f->DBdetail;
        return f;
    }

    // Key by key into `box` after selecting what it holds, Chinese characters
    // as an input method hands them over.
    static void typeInto(QWidget* box, const QString& text) {
        box->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(box)) edit->selectAll();
        for (QChar c : text) {
            if (c.unicode() < 128) {
                QTest::keyClick(box, c.toLatin1());
                continue;
            }
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(box, &press);
        }
    }

    // Opens the current row's cell editor; null when the cell takes no input.
    QWidget* openCell(const char* field) {
        const int section = v->SectionOf(QString::fromLatin1(field));
        if (section < 0) return nullptr;
        v->setCurrentIndex(v->gridModel()->index(qMax(0, v->currentIndex().row()), section));
        v->edit(v->currentIndex());
        return qobject_cast<TGridDelegate*>(v->itemDelegate())->openEditor();
    }
    // Replaces the text of the current row's cell in its editor, then Enter.
    // False when no editor opened.
    bool typeIntoCell(const char* field, const QString& text) {
        QWidget* editor = openCell(field);
        if (!editor) return false;
        QWidget* line = editor->focusProxy() ? editor->focusProxy() : editor;
        if (auto* combo = qobject_cast<QComboBox*>(editor); combo && combo->lineEdit())
            line = combo->lineEdit();
        QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(line, Qt::Key_Backspace);
        typeInto(line, text);
        QTest::keyClick(line, Qt::Key_Return);
        return true;
    }
    // A new line typed in: goods, colour, size and quantity.
    void typeLine(const QString& goods, const QString& colour, const QString& size,
                  const QString& qty) {
        if (lines->RecordCount() > 0) {
            lines->Last();
            lines->Append();
        } else {
            lines->Append();
        }
        v->setCurrentIndex(v->gridModel()->index(lines->RecNo() - 1, 0));
        typeIntoCell("fgoodsid", goods);
        typeIntoCell("fcolorid", colour);
        if (!size.isNull()) typeIntoCell("fsize", size);
        typeIntoCell("fqty", qty);
    }
    // The header's client, typed into its drop-down.
    static void chooseClient(Tfrm_GoodsReturnEdit* f, const QString& code) {
        QLineEdit* box = f->Combo_Client->lineEdit();
        typeInto(box, code);
        QTest::keyClick(box, Qt::Key_Return);
    }

    static QString field(TRemoteUdpDataSet* ds, const char* name) {
        return ds->FieldByName(QString::fromLatin1(name)).AsString();
    }

    TDBTableView* v = nullptr;
    TRemoteUdpDataSet* lines = nullptr;
};

}  // namespace md::test
