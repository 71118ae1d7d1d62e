// VIP档案导入: spreadsheet text read into rows, the row check with its
// remarks (the emptiness tests end a row's check, the looked-up ones let a
// later message win), the import of the rows that pass, and leaving the
// window with rows left.
#include <QAction>
#include <QClipboard>
#include <QProgressBar>
#include <QPushButton>

#include "members/frm_VipCarInput.h"
#include "members/frm_vipcard.h"
#include "membersfixture.h"
#include "pastedrows.h"

using namespace md::test;

namespace {

class Import : public MembersTest {
  protected:
    Tfrm_VipCarInput* form() {
        auto* f = openShown<Tfrm_VipCarInput>();
        ds = f->DBImport_table;
        return f;
    }
    // Row by row: card number and the check's remark.
    QStringList remarks() const {
        QStringList out;
        for (int row = 0; row < ds->RecordCount(); ++row)
            out << ds->valueAt(row, ds->FieldByName("vipid").Index()).toString() + "|" +
                       ds->valueAt(row, ds->FieldByName("fInputRemark").Index()).toString();
        return out;
    }

    TRemoteUdpDataSet* ds = nullptr;
};

TEST(PastedRows, SpreadsheetTextBecomesRowsOfCells) {
    using Rows = QList<QStringList>;
    EXPECT_EQ(md::ParsePastedRows("a\tb\r\nc\td\r\n"), (Rows{{"a", "b"}, {"c", "d"}}));
    EXPECT_EQ(md::ParsePastedRows("a\tb\nc\td"), (Rows{{"a", "b"}, {"c", "d"}}));
    // A quoted cell keeps its line breaks, tabs and doubled quotes.
    EXPECT_EQ(md::ParsePastedRows("\"杭州市\n西湖区\"\t\"说\"\"好\"\"\tok\"\r\nx\r\n"),
              (Rows{{"杭州市\n西湖区", "说\"好\"\tok"}, {"x"}}));
    // Only the line break ending the last row is dropped: an empty line stays a row.
    EXPECT_EQ(md::ParsePastedRows("a\r\n\r\n"), (Rows{{"a"}, {""}}));
    EXPECT_EQ(md::ParsePastedRows("a\t\r\n"), (Rows{{"a", ""}}));
    // Quotes inside a cell, or one never closed, are text.
    EXPECT_EQ(md::ParsePastedRows("5\" 屏\t\"未完"), (Rows{{"5\" 屏", "\"未完"}}));
    EXPECT_TRUE(md::ParsePastedRows("").isEmpty());
}

TEST_F(Import, TheCheckWritesEachRowsFaultAndResolvesCategoryAndShop) {
    addCategory("1004", "VIP Gold", 0.8);
    auto* f = form();
    // Pasted with Ctrl+V into the grid, with the empty line spreadsheets add.
    QApplication::clipboard()->setText(
        "V9001\t张三\t2025-01-01\t2026-12-31\t普通会员\t湖滨银泰店\t120\t女\r\n"
        "V9002\t李四\t2025/3/5\t20261231\tvip gold\t雅韵上海南京东路店\t\t男\r\n"
        "\t王五\t2025-01-01\t2026-12-31\t普通会员\r\n"
        "V9004\t\t2025-01-01\t2026-12-31\t普通会员\r\n"
        "V9005\t赵六\t\t2026-12-31\t普通会员\r\n"
        "V9006\t孙七\t2025-01-01\t\t普通会员\r\n"
        "V9007\t周八\t2025-01-01\t2026-12-31\t\r\n"
        "V01010001\t吴九\t2025-01-01\t2026-12-31\t钻石会员\t湖滨银泰店\r\n"
        "V9009\t郑十\t2025-01-01\t2026-12-31\t银卡会员\t不存在的店\r\n"
        "V9010\t冯一\t2025-13-01\t2026-12-31\t银卡会员\r\n"
        "V9011\t陈二\t2025-01-01\t2026-12-31\t银卡会员\to'neil店\t十分\r\n"
        "\r\n");
    f->cxGrid1DBTableView1->setFocus();
    QTest::keyClick(f->cxGrid1DBTableView1, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(ds->RecordCount(), 12) << "the empty line is a row until the check";
    TDBTableView* v = f->cxGrid1DBTableView1;
    EXPECT_EQ(v->SummaryText(*v->Column("vipid")), "12");
    EXPECT_EQ(v->SummaryText(*v->Column("fInputRemark")), "合计");
    EXPECT_EQ(v->VisibleSections().first(), v->SectionOf("fInputRemark")) << "seen first";

    f->But_Check->click();
    EXPECT_EQ(remarks(),
              (QStringList{"V9001|", "V9002|", "|VIP卡号不能不空", "V9004|VIP姓名不能为空",
                           "V9005|生效日期不能为空", "V9006|失效日期不能为空",
                           "V9007|VIP类别不能为空", "V01010001|VIP卡号已存在",
                           "V9009|所属店铺不存在", "V9010|生效日期“2025-13-01”不是有效的日期",
                           "V9011|积分“十分”不是有效的数字"}));
    ASSERT_TRUE(ds->Locate("vipid", "V9002"));
    EXPECT_EQ(field(ds, "begindate") + "|" + field(ds, "enddate") + "|" + field(ds, "vipgrade") +
                  "|" + field(ds, "clientid"),
              "2025-03-05|2026-12-31|1004|S0201")
        << "dates as stored, the category ignoring case, the shop by its full name";
    ASSERT_TRUE(ds->Locate("vipid", "V9001"));
    EXPECT_EQ(field(ds, "vipgrade") + "|" + field(ds, "clientid"), "1001|S0101");
    EXPECT_EQ(script.texts(), QStringList{}) << "no box per row";
    EXPECT_EQ(db.count("dt_vipcard"), 3) << "checking writes nothing";
}

TEST_F(Import, TheRowsThatPassAreImportedAndTheOthersStayWithTheirRemarks) {
    auto* f = form();
    f->PasteText(
        "V9001\t张三\t2025-01-01\t2026-12-31\t普通会员\t湖滨银泰店\t120.4\t女\t330102199001011234"
        "\t1990-01-01\t13800001111\t0571-1\t0571-2\ta@b.cn\t解放路1号\t310000\tM\t70\t100\t165\t"
        "50\t37\r\n"
        "V9002\t李四\t2025-01-01\t2026-12-31\t银卡会员\to'neil店\r\n"
        "V9003\t王五\t2025-01-01\t2026-12-31\t钻石会员\r\n"
        "V9002\t又一个李四\t2025-01-01\t2026-12-31\t银卡会员\r\n");
    ASSERT_TRUE(ds->Locate("vipid", "V9002"));
    f->But_Check->click();
    ASSERT_TRUE(ds->Locate("vipid", "V9002"));
    EXPECT_EQ(f->InsertStatement(),
              "insert into dt_vipcard(vipid,name,begaindate,enddate,sex,birthdate,groupname,"
              "vipgrade,clientid,amount,mobiletel,tel,officetel,email,address,zipcode,IDcard,"
              "height,weight,shoesize,frocksize,downsize,waistline)\rvalues('V9002','李四',"
              "'2025-01-01','2026-12-31','',null,'银卡会员','1002','S0301',0,'','','','','','',"
              "'','','','','','','')");

    f->But_OK->click();
    EXPECT_EQ(script.texts(), (QStringList{"确定前请按《数据核查》进行判断，是否确认导入VIP档案?",
                                           "尚有部分数据不能导入!"}));
    EXPECT_EQ(remarks(), (QStringList{"V9003|VIP类别不存在", "V9002|VIP卡号已存在"}))
        << "the second V9002 found the first one imported";
    EXPECT_TRUE(f->isVisible()) << "kept open for correction";
    EXPECT_EQ(rows("select vipid,name,sex,groupname,vipgrade,clientid,amount,mobiletel,tel,"
                   "officetel,email,address,zipcode,idcard,height,weight,shoesize,frocksize,"
                   "downsize,waistline from dt_vipcard where vipid like 'V900%' order by vipid"),
              (QStringList{"V9001|张三|女|普通会员|1001|S0101|120|13800001111|0571-1|0571-2|a@b.cn|"
                           "解放路1号|310000|330102199001011234|165|50|37|M|100|70",
                           "V9002|李四||银卡会员|1002|S0301|0|||||||||||||"}));
    for (const char* sql : {"select begaindate from dt_vipcard where vipid='V9001'",
                            "select birthdate from dt_vipcard where vipid='V9001'"})
        EXPECT_FALSE(db.scalar(sql).toString().isEmpty()) << sql;
    EXPECT_EQ(db.scalar("select enddate from dt_vipcard where vipid='V9002'").toString().left(10),
              "2026-12-31");
    EXPECT_TRUE(db.scalar("select birthdate from dt_vipcard where vipid='V9002'").isNull());
}

TEST_F(Import, LeavingWithRowsLeftAsksAndTheMemberWindowKeepsThemForNextTime) {
    auto* members = openShown<Tfrm_vipcard>();
    Tfrm_VipCarInput* f = members->ImportForm();
    ds = f->DBImport_table;
    int uses = 0;
    script.onDialog([&](QDialog& dialog) {
        EXPECT_EQ(&dialog, f) << "made once, used again";
        ++uses;
        if (uses == 1) {
            f->PasteText(
                "V9001\t张三\t2025-01-01\t2026-12-31\t普通会员\r\n"
                "V9002\t李四\t2025-01-01\t2026-12-31\t无此类别\r\n");
            script.answer(md::ui::Answer::No);
            f->But_Cancel->click();  // No: stays
            EXPECT_EQ(f->result(), 0);
            script.answer(md::ui::Answer::Yes);
            f->But_Cancel->click();
        } else {
            EXPECT_EQ(ds->RecordCount(), 2) << "the rows of last time";
            // The corrected row pasted over the second one.
            TDBTableView* v = f->cxGrid1DBTableView1;
            v->setCurrentIndex(v->gridModel()->index(1, v->SectionOf("vipid")));
            f->PasteText("V9002\t李四\t2025-01-01\t2026-12-31\t银卡会员\r\n");
            EXPECT_EQ(ds->RecordCount(), 2);
            f->But_OK->click();
        }
        return f->result();
    });
    members->input_action->trigger();
    EXPECT_EQ(script.texts(), (QStringList{"是否确认退出此界面?", "是否确认退出此界面?"}));
    EXPECT_EQ(db.count("dt_vipcard"), 3);
    script.clear();
    members->input_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"确定前请按《数据核查》进行判断，是否确认导入VIP档案?"});
    EXPECT_EQ(uses, 2);
    EXPECT_EQ(ds->RecordCount(), 0);
    EXPECT_EQ(cards(), (QStringList{"V01010001", "V01020001", "V02010001", "V9001", "V9002"}));
    EXPECT_TRUE(members->DBmaster_table->Locate("vipid", "V9002")) << "the list read again";
}

TEST_F(Import, CopiedRowsPasteBackAsTheyWere) {
    auto* f = form();
    f->PasteText("V9001\t张三\t2025-01-01\t2026-12-31\t普通会员\t湖滨银泰店\t120\t女\r\n");
    TDBTableView* v = f->cxGrid1DBTableView1;
    v->setFocus();
    v->setCurrentIndex(v->gridModel()->index(0, v->SectionOf("fInputRemark")));
    QTest::keyClick(v, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith("V9001\t张三\t2025-01-01"));
    v->setCurrentIndex(QModelIndex());
    ds->Last();
    f->PasteText("\r\n");  // a second, empty row to paste over
    v->setCurrentIndex(v->gridModel()->index(1, v->SectionOf("vipid")));
    QTest::keyClick(v, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(ds->RecordCount(), 2);
    EXPECT_EQ(column(ds, "clientAbbrev"), (QStringList{"湖滨银泰店", "湖滨银泰店"}));
    EXPECT_EQ(column(ds, "sex"), (QStringList{"女", "女"}));
}

TEST_F(Import, WhenEveryRowIsImportedTheWindowCloses) {
    auto* f = form();
    f->PasteText("V9001\t张三\t20250101\t2026/1/1\t金卡会员\t湖滨银泰店\r\n");
    script.answer(md::ui::Answer::Yes);
    f->But_OK->click();
    EXPECT_EQ(script.texts(), QStringList{"确定前请按《数据核查》进行判断，是否确认导入VIP档案?"});
    EXPECT_EQ(f->result(), int(QDialog::Accepted));
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(rows("select vipid,vipgrade,clientid from dt_vipcard where vipid='V9001'"),
              QStringList{"V9001|1003|S0101"});
}

}  // namespace
