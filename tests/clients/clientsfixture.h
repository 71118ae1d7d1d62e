#pragma once
// The client window's world: a company C00 at the top with an agent C01 and
// its shop S0101 below it (three levels, S0101 with a counter S010101 under
// it), a second top-level client C02; two departments, two monthly-paid
// employees and a piece-rate one; user u1 with every right and no client
// scope. Tests type into the focused control as a user does.
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include "dbcontrols.h"
#include "formfixture.h"
#include "grid.h"
#include "partners/frm_client.h"
#include "remoteudpdataset.h"
#include "sharedvalues.h"
#include "treelist.h"
#include "treelookup.h"

namespace md::test {

class ClientsTest : public FormTest {
  protected:
    ClientsTest() : FormTest(QStringLiteral("frm_client")) {
        md::Shared().ClientScopeAll = true;
        joinGroup();
        grant({"b_add", "b_edit", "b_del", "b_browse", "b_print", "b_excel"});
        db.exec("insert into ba_Department(fCode,fparentcode,fName) values('05','0','营运部')");
        db.exec("insert into ba_Department(fCode,fparentcode,fName) values('0502','05','加盟部')");
        db.exec(
            "insert into dt_employee(fid,fcode,fnamech,fdeptcode,fcacelType) "
            "values('E1','E1','李娜','0502',1)");
        db.exec(
            "insert into dt_employee(fid,fcode,fnamech,fdeptcode,fcacelType) "
            "values('E2','E2','王磊','0502',1)");
        db.exec(
            "insert into dt_employee(fid,fcode,fnamech,fdeptcode,fcacelType) "
            "values('E3','E3','赵敏','05',0)");
        addClient("KC00", " ", "C00", "雅韵总部");
        addClient("KC01", "KC00", "C01", "上海申雅");
        addClient("KS0101", "KC01", "S0101", "南京东路店");
        addClient("KS010101", "KS0101", "S010101", "港汇专柜");
        addClient("KC02", " ", "C02", "宁波甬城");
    }

    void addClient(const QString& fid, const QString& parent, const QString& code,
                   const QString& abbrev) {
        db.exec(QStringLiteral("insert into dt_client(fid,fparentid,fcode,fname,fabbrev,fmathod,"
                               "fgrad,fprice_type,fcontactman,ftel1,stratbit) values(%1,%2,%3,%4,"
                               "%5,'代理','一级代理','按折扣','张三','0571-1',1)")
                    .arg(QuotedStr(fid), QuotedStr(parent), QuotedStr(code),
                         QuotedStr(abbrev + "有限公司"), QuotedStr(abbrev)));
    }

    // Created, shown and active, so keys reach the focused control.
    Tfrm_client* openForm() {
        auto* f = open<Tfrm_client>();
        f->show();
        QApplication::setActiveWindow(f);
        return f;
    }
    static void select(Tfrm_client* f, const QString& code) {
        ASSERT_TRUE(f->DBmaster_table->Locate(QStringLiteral("fcode"), code));
    }

    // Types as a keyboard does, Chinese letters included, after selecting
    // what the box holds (so the text replaces it).
    static void typeInto(QWidget* box, const QString& text) {
        box->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(box)) edit->selectAll();
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(box, &press);
        }
        if (text.isEmpty()) QTest::keyClick(box, Qt::Key_Delete);
    }
    // Leaves a box with Enter, which confirms what it holds.
    static void pressEnter(QWidget* box) { QTest::keyClick(box, Qt::Key_Return); }
    // Picks an item of a fixed list with the arrow keys.
    static void choose(QComboBox* box, const QString& text) {
        const int at = box->findText(text);
        ASSERT_GE(at, 0) << text;
        box->setCurrentIndex(at - 1);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Down);
        ASSERT_EQ(box->currentText(), text);
    }
    // Opens the tree drop-down and picks the node showing this code.
    static void pickNode(TTreeLookupCombo* box, const QString& code) {
        box->showPopup();
        const QModelIndexList found =
            box->model()->match(box->model()->index(0, 0), Qt::DisplayRole, code, 1,
                                Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_FALSE(found.isEmpty()) << code;
        box->view()->setCurrentIndex(found.first());
        box->hidePopup();
    }
    // The fields of a new client that the save checks ask for.
    void fillRequired(Tfrm_client* f, const QString& code, const QString& abbrev) {
        typeInto(f->Edit_Code, code);
        typeInto(f->Edit_Abbrev, abbrev);
        typeInto(f->Edit_Name, abbrev + QStringLiteral("服饰有限公司"));
        choose(f->Combo_Mathod, QStringLiteral("加盟"));
        choose(f->Combo_Grad, QStringLiteral("经销商"));
        choose(f->Combo_PriceType, QStringLiteral("按折扣"));
    }

    static QString field(Tfrm_client* f, const char* name) {
        return f->DBmaster_table->FieldByName(QString::fromLatin1(name)).AsString();
    }
    // The clients the tree shows at the top level, by code.
    static QStringList topLevelCodes(Tfrm_client* f) {
        QStringList codes;
        QAbstractItemModel* model = f->dxDBTreeList1->model();
        for (int r = 0; r < model->rowCount(); ++r) codes << model->index(r, 0).data().toString();
        codes.sort();
        return codes;
    }
    static QByteArray picture(const QColor& colour, const char* format) {
        QImage image(40, 50, QImage::Format_RGB32);
        image.fill(colour);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, format);
        return bytes;
    }
    QStringList states() {
        return rows(QStringLiteral("select fstate from syslog order by fautoid"));
    }
};

}  // namespace md::test
