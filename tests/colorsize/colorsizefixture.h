#pragma once
// The quantity entry's world: goods with a 12-size group (KIDS) and a 3-size
// group (TOPS) and their colours, the caller's dataset the quantities go to,
// and the dialog shown and active so that keys reach it as they reach a user's.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "colorsize.h"
#include "formfixture.h"
#include "grid.h"
#include "griddelegate.h"
#include "gridfooter.h"
#include "gridmodel.h"
#include "remoteudpdataset.h"
#include "sizeslots.h"

namespace md::test {

class ColorSizeTest : public FormTest {
  protected:
    ColorSizeTest() : FormTest(QStringLiteral("frm_colorsize")) {
        md::Shared().SizeSlotCount = 12;
        addSizes(QStringLiteral("KIDS"), {"90", "100", "110", "120", "130", "140", "150", "160",
                                          "165", "170", "175", "180"});
        addSizes(QStringLiteral("TOPS"), {"S", "M", "L"});
        const char* const colours[][2] = {{"01", "黑色"}, {"02", "白色"}, {"03", "红色"}};
        for (const auto& c : colours)
            db.exec(QStringLiteral("insert into ba_color(colorid,colorname_ch) values('%1','%2')")
                        .arg(QString::fromUtf8(c[0]), QString::fromUtf8(c[1])));
        addGoods(QStringLiteral("A1001"), QStringLiteral("TOPS"), {"01", "02", "03"});
        addGoods(QStringLiteral("A1002"), QStringLiteral("KIDS"), {"01", "02"});
        addGoods(QStringLiteral("B2001"), QStringLiteral("TOPS"), {"03"});

        // The caller's document rows: goods, colour and the 30 size slots.
        target = std::make_unique<TRemoteUdpDataSet>(QStringLiteral("DBdetail"), nullptr);
        target->AddField(QStringLiteral("fgoodsid"), ftString, 30);
        target->AddField(QStringLiteral("fcolorid"), ftString, 30);
        for (int slot = 1; slot <= md::kSizeSlotMax; ++slot)
            target->AddField(md::SizeSlotColumn(slot), ftInteger);
        target->CreateDataSet();
    }

    void addSizes(const QString& group, std::initializer_list<const char*> sizes) {
        int index = 0;
        for (const char* size : sizes)
            db.exec(QStringLiteral("insert into ba_size(size_class,size_name,displayindex,"
                                   "fieldname) values('%1','%2',%3,'S%3')")
                        .arg(group, QString::fromUtf8(size))
                        .arg(++index));
    }
    void addGoods(const QString& code, const QString& group,
                  std::initializer_list<const char*> colours) {
        db.exec(QStringLiteral("insert into goods(goodsid,goodsname,brand,ayear,season,sort,"
                               "size_class,unitprice,goodsno) values('%1','品名%1','雅韵','2025',"
                               "'春','T恤','%2',199,'N%1')")
                    .arg(code, group));
        for (const char* colour : colours)
            db.exec(QStringLiteral("insert into goodscolor(fgoodsid,fcolorid,GoodsNo,ColorNo) "
                                   "values('%1','%2','N%1','C%1%2')")
                        .arg(code, QString::fromLatin1(colour)));
    }

    // The dialog on the caller's dataset, shown, with "货号:" focused.
    Tfrm_colorsize* openDialog(const QString& goodsCode = QString()) {
        auto* dialog = open<Tfrm_colorsize>();
        dialog->SetTarget(target.get(), goodsCode);
        dialog->show();
        QApplication::setActiveWindow(dialog);
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        QCoreApplication::processEvents();
        return dialog;
    }

    // Keys as a user types them: each to the widget that has the focus then.
    static void type(const QString& text) {
        for (QChar c : text) QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
    static void press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
    static void enterCode(Tfrm_colorsize* dialog, const QString& code) {
        dialog->Edit_goodsid->setFocus();
        dialog->Edit_goodsid->selectAll();
        type(code);
        press(Qt::Key_Return);
    }

    // The quantity grid as the user sees it.
    static QString cell(Tfrm_colorsize* dialog, int row, const QString& field) {
        TDBTableView* v = dialog->cxGrid2DBTableView1;
        return v->gridModel()->index(row, v->SectionOf(field)).data().toString();
    }
    static QString footer(Tfrm_colorsize* dialog, const QString& field) {
        return dialog->cxGrid2->Footer()->text(*dialog->cxGrid2DBTableView1->Column(field));
    }
    // The row of a colour (the view lists an item's colours in the server's order).
    static int rowOf(Tfrm_colorsize* dialog, const QString& colorid) {
        for (int row = 0; row < dialog->DBmaster_table->RecordCount(); ++row)
            if (cell(dialog, row, QStringLiteral("colorid")) == colorid) return row;
        return -1;
    }
    // The current cell: its row's colour and its column's field.
    static QString current(Tfrm_colorsize* dialog) {
        TDBTableView* v = dialog->cxGrid2DBTableView1;
        const QModelIndex at = v->currentIndex();
        const TGridColumn* column = v->ColumnOfSection(at.column());
        return cell(dialog, at.row(), QStringLiteral("colorid")) + QLatin1Char('.') +
               (column ? column->FieldName() : QString());
    }
    static void goTo(Tfrm_colorsize* dialog, const QString& colorid, const QString& field) {
        TDBTableView* v = dialog->cxGrid2DBTableView1;
        v->setFocus();
        v->setCurrentIndex(v->gridModel()->index(rowOf(dialog, colorid), v->SectionOf(field)));
    }
    static QWidget* openEditor(Tfrm_colorsize* dialog) {
        return qobject_cast<TGridDelegate*>(dialog->cxGrid2DBTableView1->itemDelegate())
            ->openEditor();
    }
    // The caller's rows: goods|colour|s1..s12, in the order appended.
    QStringList targetRows() const {
        QStringList out;
        for (int row = 0; row < target->RecordCount(); ++row) {
            QStringList values;
            for (int field = 0; field < 2 + 12; ++field)
                values << target->valueAt(row, field).toString();
            out << values.join(QLatin1Char('|'));
        }
        return out;
    }

    std::unique_ptr<TRemoteUdpDataSet> target;
};

}  // namespace md::test
