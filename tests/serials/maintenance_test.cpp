// 产品序列号维护: the serials found by attribute, code and date, corrected,
// deleted and printed again from the rows marked "选择打印".
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>

#include "checktree.h"
#include "serialsfixture.h"

using namespace md::test;

class SerialMaintenance : public SerialsTest {
  protected:
    SerialMaintenance() : SerialsTest(QStringLiteral("frm_BarGuidEdit")) {
        addSerial(QStringLiteral("A1001"), QStringLiteral("01"), QStringLiteral("S"), 2,
                  QStringLiteral("A100101S0002"), QStringLiteral("AAA111"));
        addSerial(QStringLiteral("A1001"), QStringLiteral("02"), QStringLiteral("M"), 2,
                  QStringLiteral("A100102M0002"), QStringLiteral("BBB222"), 1);
        addSerial(QStringLiteral("N3001"), QStringLiteral("01"), QStringLiteral("L"), 2,
                  QStringLiteral("0002"), QStringLiteral("CCC333"));
        db.exec(QStringLiteral(
            "update barcodeguid set finputdate='2025-03-05' where fgoodsid='N3001'"));
    }
    Tfrm_BarGuidEdit* openForm() { return openShown<Tfrm_BarGuidEdit>(); }
    static void search(Tfrm_BarGuidEdit* form, const QString& code, bool dated,
                       const QDate& from = {}, const QDate& to = {}) {
        form->Edit_GoodsId->setText(code);
        form->Check_Date->setChecked(dated);
        if (from.isValid()) form->DateEdit_begin->setDate(from);
        if (to.isValid()) form->DateEdit_end->setDate(to);
        form->But_Find->click();
    }
    static QStringList shown(Tfrm_BarGuidEdit* form) {
        QStringList out;
        TRemoteUdpDataSet* ds = form->DBmaster_table;
        const int serial = ds->FieldByName(QStringLiteral("fbarcode")).Index();
        for (int row = 0; row < ds->RecordCount(); ++row)
            out << ds->valueAt(row, serial).toString();
        out.sort();
        return out;
    }
    // Marks "选择打印" of the serials' rows the way a user does: 修改, a click
    // on each row's box.
    static void mark(Tfrm_BarGuidEdit* form, const QStringList& serialList) {
        form->edit_action->trigger();
        TDBTableView* v = form->cxGrid1DBTableView1;
        for (const QString& serial : serialList) {
            ASSERT_TRUE(form->DBmaster_table->Locate(QStringLiteral("fbarcode"), serial));
            const QModelIndex box = v->gridModel()->index(v->currentIndex().row(),
                                                          v->SectionOf(QStringLiteral("delbit")));
            ASSERT_TRUE(v->gridModel()->setData(box, Qt::Checked, Qt::CheckStateRole));
        }
    }
};

TEST_F(SerialMaintenance, TheSearchTakesTheCodeFragmentAndTheDateRangeWhenChecked) {
    Tfrm_BarGuidEdit* form = openForm();
    EXPECT_TRUE(shown(form).isEmpty());  // nothing was made today
    db.conn().log().clear();
    search(form, QStringLiteral("a10"), true, QDate(2025, 3, 1), QDate(2025, 3, 31));
    EXPECT_EQ(shown(form),
              (QStringList{QStringLiteral("A100101S0002"), QStringLiteral("A100102M0002")}));
    EXPECT_TRUE(db.conn().log().entries().contains(
        QStringLiteral("select a.*,b.goodsname,b.colorname_ch,b.size_class,b.unitprice,b.brand,"
                       "b.ayear,b.season,b.sort,b.delbit\r"
                       "from barcodeguid a join vgoodscolor b on a.fgoodsid=b.goodsid and "
                       "a.fcolorid=b.colorid where 1=1 \r"
                       " and  a.fgoodsid like '%A10%'\r"
                       " and a.finputdate>='2025-03-01' and a.finputdate<='2025-03-31'")));
    search(form, QString(), true, QDate(2025, 3, 2), QDate(2025, 3, 31));
    EXPECT_EQ(shown(form), QStringList{QStringLiteral("0002")});
    form->Check_Date->setChecked(false);
    EXPECT_FALSE(form->DateEdit_begin->isEnabled());
    EXPECT_FALSE(form->DateEdit_end->isEnabled());
    search(form, QString(), false);
    EXPECT_EQ(shown(form).size(), 3);
}

TEST_F(SerialMaintenance, CorrectionsAreSavedAndMarkedRowsDeleted) {
    Tfrm_BarGuidEdit* form = openForm();
    search(form, QString(), false);
    form->edit_action->trigger();
    ASSERT_TRUE(form->DBmaster_table->Locate(QStringLiteral("fbarcode"), QStringLiteral("0002")));
    TDBTableView* v = form->cxGrid1DBTableView1;
    ASSERT_TRUE(v->gridModel()->setData(
        v->gridModel()->index(v->currentIndex().row(), v->SectionOf(QStringLiteral("fflagmode"))),
        QStringLiteral("电话注册"), Qt::EditRole));
    form->post_action->trigger();
    EXPECT_EQ(rows(QStringLiteral("select fflagmode from barcodeguid where fbarcode='0002'")),
              QStringList{QStringLiteral("电话注册")});

    mark(form, {QStringLiteral("A100101S0002"), QStringLiteral("0002")});
    form->post_action->trigger();
    script.answer(md::ui::Answer::No);
    form->del_action->trigger();
    EXPECT_EQ(db.count(QStringLiteral("barcodeguid")), 3);
    form->del_action->trigger();
    EXPECT_EQ(script.texts(), QStringList(2, QStringLiteral("是否确认删除此记录？")));
    EXPECT_EQ(rows(QStringLiteral("select fbarcode from barcodeguid")),
              QStringList{QStringLiteral("A100102M0002")});
    EXPECT_EQ(shown(form), QStringList{QStringLiteral("A100102M0002")});
}

TEST_F(SerialMaintenance, ReprintingTakesTheMarkedRowsOnly) {
    Tfrm_BarGuidEdit* form = openForm();
    search(form, QString(), false);
    Tfrm_BarcodeGuID::CopyLabelRows(QStringLiteral("select * from vbarcodeGuid2"));
    form->LabelMenu->Menu_bar->trigger();
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("请选择要打印的产品序列号!")});
    EXPECT_TRUE(localRows(QStringLiteral("fbarcode")).isEmpty());
    EXPECT_FALSE(QFile::exists(pdf));

    mark(form, {QStringLiteral("A100102M0002"), QStringLiteral("0002")});
    db.conn().log().clear();
    form->LabelMenu->Menu_bar->trigger();
    EXPECT_EQ(pdfPages(), 2);
    EXPECT_TRUE(db.conn().log().entries().contains(QStringLiteral(
                    "select * from vbarcodeGuid2 where 序列号 in('A100102M0002','0002')")) ||
                db.conn().log().entries().contains(QStringLiteral(
                    "select * from vbarcodeGuid2 where 序列号 in('0002','A100102M0002')")));
    QStringList local = localRows(QStringLiteral("fgoodsid,fcolorid,fsize,fbarcode,fcode"));
    local.sort();
    EXPECT_EQ(local, (QStringList{QStringLiteral("A1001|02|M|A100102M0002|BBB222"),
                                  QStringLiteral("N3001|01|L|0002|CCC333")}));

    // An external program reads the same local rows.
    QStringList started;
    md::ui::SetLabelProgramStarter([&](const QString&, const QString& path) { started << path; });
    home.writeFile(QStringLiteral("softconfig.ini"), "[BarList]\nBar1=GuidLabel.exe\n");
    form->LabelMenu->Apply(TBarListSettings::Read());
    EXPECT_FALSE(form->LabelMenu->Menu_bar->isVisible());
    form->LabelMenu->Menu_ShoeBar1->trigger();
    ASSERT_EQ(started.size(), 1);
    EXPECT_TRUE(started.first().endsWith(QStringLiteral("GuidLabel.exe")));
    EXPECT_EQ(localRows(QStringLiteral("fbarcode")).size(), 2);
}
