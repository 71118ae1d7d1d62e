// 商品返修登记: the note number of a day, what each mode shows and lets change,
// the checks before a line and a note are saved, the goods look-up and the
// picker, 审核, 删除 and F12.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

#include "editors.h"
#include "repairsfixture.h"
#include "segoodscolor.h"

using namespace md::test;
using md::ui::RepairNoteMode;

namespace {

class RepairNote : public RepairsTest {
  protected:
    // F12 where the user is: in the line grid.
    static void pressF12(Tfrm_GoodsReturnEdit* f) {
        f->cxGrid1DBTableView1->setFocus();
        QTest::keyClick(f->cxGrid1DBTableView1, Qt::Key_F12);
    }
    // A new note for C01 with one typed line, saved with 确定.
    QString saveNewNote() {
        auto* f = editor(QString(), RepairNoteMode::New);
        chooseClient(f, "C01");
        typeLine("G001", "01", "M", "2");
        f->But_OK->click();
        return f->isVisible() ? QString() : f->SavedBillId();
    }
    QStringList storedNotes() {
        return rows("select fbillid from d_GoodsReturnNote order by fbillid");
    }
};

TEST_F(RepairNote, NumberIsTheDayAndTheCountOfItsNotes) {
    EXPECT_EQ(Tfrm_GoodsReturnEdit::NoteNumber(QDate(2009, 3, 15), 3), "090315K0003");

    // The first note of the day, its line and its header as stored.
    EXPECT_EQ(saveNewNote(), todayNumber(1));
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(rows("select fbillid,fclientcode,finputuser,finputusername,fposted,fstatus from "
                   "d_GoodsReturnNote"),
              QStringList{todayNumber(1) + "|C01|u1|张敏|0|0"});
    EXPECT_EQ(rows("select fbillid,fgoodsid,fcolorid,fsize,fieldname,fretailprice,fqty,fanswerint "
                   "from d_GoodsReturnNoteDetail"),
              QStringList{todayNumber(1) + "|G001|01|M|S2|199|2|0"});

    // The eleventh: ten dated today already (a note of yesterday does not count).
    for (int n = 2; n <= 10; ++n) addNote(todayNumber(n), today());
    addNote("000101K0001", QDate::currentDate().addDays(-1).toString("yyyy-MM-dd"));
    EXPECT_EQ(saveNewNote(), todayNumber(11));

    // After 删除 of the second note the count is ten again, yet 11 is taken: 12.
    auto* f = editor(todayNumber(2), RepairNoteMode::Edit);
    f->But_Delete->click();
    EXPECT_EQ(script.texts(), QStringList({"是否确定删除此单？", "删除成功！"}));
    EXPECT_EQ(db.count("d_GoodsReturnNote where fbillid='" + todayNumber(2) + "'"), 0);
    EXPECT_EQ(db.count("d_GoodsReturnNoteDetail where fbillid='" + todayNumber(2) + "'"), 0);
    EXPECT_EQ(saveNewNote(), todayNumber(12));
    EXPECT_EQ(db.count("d_GoodsReturnNote"), 12);
}

TEST_F(RepairNote, PlaceholderOfANewNoteIsNoNumber) {
    auto* f = editor(QString(), RepairNoteMode::New);
    const QString placeholder = field(f->DBmaster_table, "fbillid");
    EXPECT_EQ(f->Edit_BillId->text(), placeholder);
    EXPECT_FALSE(QRegularExpression("^\\d{6}K\\d{4}$").match(placeholder).hasMatch());
    EXPECT_EQ(field(f->DBmaster_table, "fbilldate").left(10), today());
    EXPECT_FALSE(f->But_Posted->isEnabled()) << "nothing stored to approve";
    EXPECT_FALSE(f->But_Delete->isEnabled());
}

TEST_F(RepairNote, ViewModeRefusesEveryChange) {
    addNote("260301K0001", "2026-03-01");
    auto* f = editor("260301K0001", RepairNoteMode::View);
    EXPECT_FALSE(f->But_OK->isEnabled());
    EXPECT_FALSE(typeIntoCell("fqty", "5") && field(lines, "fqty") == "5");
    typeInto(f->Edit_KeyMan, "王五");
    QTest::keyClick(v, Qt::Key_Insert);
    QTest::keyClick(v, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_THROW(lines->Append(), EAbort);
    EXPECT_THROW(lines->Delete(), EAbort);
    EXPECT_THROW(lines->Edit(), EAbort);
    EXPECT_THROW(f->DBmaster_table->Edit(), EAbort);
    EXPECT_EQ(lines->RecordCount(), 1);
    f->But_OK->click();
    EXPECT_FALSE(f->DBmaster_table->UpdatesPending());
    EXPECT_FALSE(lines->UpdatesPending());
    EXPECT_EQ(field(lines, "fqty"), "2");
    EXPECT_EQ(field(f->DBmaster_table, "fkeyman"), "");
    EXPECT_EQ(script.texts(), QStringList{}) << "refused silently";
    EXPECT_EQ(rows("select fqty from d_GoodsReturnNoteDetail"), QStringList{"2"});
}

// Which bands each step shows, and which one takes input.
TEST_F(RepairNote, StepModesShowAndAllowTheirBands) {
    addNote("260301K0001", "2026-03-01", false, {"G001|01|M|5|0|0|0"});
    struct Step {
        RepairNoteMode mode;
        QStringList shownBands;
        const char* editable;
        const char* typed;
        QList<const char*> readOnly;
    };
    const Step steps[] = {
        {RepairNoteMode::Edit, {"客户往来联"}, "fqty", "4", {}},
        {RepairNoteMode::SendToFactory, {"客户往来联", "退回工厂"}, "fsupqty", "3", {"fqty"}},
        {RepairNoteMode::FactoryReturn,
         {"客户往来联", "退回工厂", "工厂返回"},
         "fsupreturnqty",
         "2",
         {"fqty", "fsupqty"}},
        {RepairNoteMode::ReturnToClient,
         {"客户往来联", "退回工厂", "工厂返回", "返回客户"},
         "fcliqty",
         "1",
         {"fqty", "fsupqty", "fsupreturnqty"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(int(step.mode));
        auto* f = editor("260301K0001", step.mode);
        QStringList shown;
        for (TGridColumn* c : v->Columns())
            if (c->Visible()) {
                const QString band = v->Bands().at(c->BandIndex());
                if (!shown.contains(band)) shown << band;
            }
        EXPECT_EQ(shown, step.shownBands);
        const bool firstSteps = step.mode == RepairNoteMode::Edit;
        EXPECT_EQ(f->But_Posted->isVisibleTo(f), firstSteps);
        EXPECT_EQ(f->But_Delete->isVisibleTo(f), firstSteps);
        EXPECT_EQ(f->Edit_KeyMan->isEnabled(), firstSteps);
        for (const char* ro : step.readOnly) {
            EXPECT_TRUE(v->Column(ro)->ReadOnly()) << ro;
            typeIntoCell(ro, "0");
        }
        ASSERT_TRUE(typeIntoCell(step.editable, step.typed));
        EXPECT_EQ(field(lines, step.editable), step.typed);
        f->But_OK->click();
        EXPECT_EQ(script.texts(), QStringList{});
        EXPECT_FALSE(f->isVisible());
        script.clear();
    }
    // Each step wrote its own quantity only.
    EXPECT_EQ(rows("select fqty,fsupqty,fsupreturnqty,fcliqty from d_GoodsReturnNoteDetail"),
              QStringList{"4|3|2|1"});
}

TEST_F(RepairNote, ApprovedNoteOffersNeitherApprovalNorDeleteUntilF12) {
    addNote("260301K0001", "2026-03-01");
    auto* f = editor("260301K0001", RepairNoteMode::Edit);
    EXPECT_TRUE(f->But_Posted->isEnabled());
    EXPECT_TRUE(f->But_Delete->isEnabled());
    f->But_Posted->click();
    EXPECT_EQ(script.texts(), QStringList({"是否确定审核此单？", "审核成功！"}));
    EXPECT_EQ(rows("select fposted,fposteduser,fposteddate from d_GoodsReturnNote"),
              QStringList{"1|u1|" + today()});
    script.clear();

    f = editor("260301K0001", RepairNoteMode::View);
    EXPECT_FALSE(f->But_Posted->isEnabled());
    EXPECT_FALSE(f->But_Delete->isEnabled());
    f->But_Delete->click();
    EXPECT_EQ(db.count("d_GoodsReturnNote"), 1);
    script.answer(md::ui::Answer::No);
    pressF12(f);
    EXPECT_EQ(script.texts(), QStringList{"是否确定反审核此单?"});
    EXPECT_EQ(rows("select fposted from d_GoodsReturnNote"), QStringList{"1"});
    pressF12(f);
    EXPECT_EQ(rows("select fposted from d_GoodsReturnNote"), QStringList{"0"});
    EXPECT_TRUE(f->But_Posted->isEnabled());
    EXPECT_TRUE(f->But_Delete->isEnabled());
}

TEST_F(RepairNote, F12NeedsTheUnapproveRight) {
    db.exec("update dr_rightdetail set b_unposted=0");
    addNote("260301K0001", "2026-03-01", true);
    auto* f = editor("260301K0001", RepairNoteMode::View);
    pressF12(f);
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(rows("select fposted from d_GoodsReturnNote"), QStringList{"1"});
}

// Bad input is refused with a message and the note stays as typed.
TEST_F(RepairNote, BadInputIsRefusedAndKept) {
    auto* f = editor(QString(), RepairNoteMode::New);
    f->But_OK->click();
    chooseClient(f, "C99");
    f->But_OK->click();
    EXPECT_EQ(script.texts(), QStringList({"请选择客户简称！", "客户简称不存在，请重新选择！"}));
    chooseClient(f, "C01");
    EXPECT_EQ(f->Label_ClientName->text(), "雅韵");

    script.clear();
    lines->Append();
    typeIntoCell("fgoodsid", "X99");
    EXPECT_EQ(script.texts(), QStringList{"货号不存在，请重新录入"});
    EXPECT_EQ(field(lines, "fgoodsid"), "");
    typeIntoCell("fgoodsid", "g001");
    EXPECT_EQ(field(lines, "fgoodsid"), "G001");
    EXPECT_EQ(field(lines, "goodsname"), "圆领T恤");
    EXPECT_EQ(field(lines, "fretailprice").toDouble(), 199);

    script.clear();
    for (const char* bad : {"-1", "1.5", "两件"}) typeIntoCell("fqty", bad);
    EXPECT_EQ(script.texts(),
              QStringList({"数量不能为负数！", "数量必须是整数！", "数量必须是数字！"}));
    EXPECT_EQ(field(lines, "fqty"), "0");

    script.clear();
    typeIntoCell("fcolorid", "09");
    typeIntoCell("fsize", "XXL");
    EXPECT_EQ(script.texts(),
              QStringList({"颜色编号不存在，请重新选择", "尺码不存在，请重新选择"}));
    EXPECT_EQ(field(lines, "fcolorid"), "");
    EXPECT_EQ(field(lines, "fsize"), "");

    script.clear();
    typeIntoCell("fcolorid", "02");
    EXPECT_EQ(field(lines, "colorname_ch"), "白色");
    typeIntoCell("fqty", "3");
    f->But_OK->click();
    EXPECT_EQ(script.texts(), QStringList{"尺码不能为空！"});
    typeIntoCell("fsize", "L");
    EXPECT_EQ(field(lines, "fieldname"), "S3");

    script.clear();
    f->DBmaster_table->Edit();
    f->DBmaster_table->FieldByName("fbilldate").SetAsDate(QDate::currentDate().addDays(1));
    f->But_OK->click();
    EXPECT_EQ(script.texts(), QStringList{"返修日期不能晚于今天！"});
    EXPECT_EQ(db.count("d_GoodsReturnNote"), 0);
    EXPECT_EQ(db.count("d_GoodsReturnNoteDetail"), 0);
    EXPECT_EQ(field(lines, "fqty"), "3");

    script.clear();
    f->DBmaster_table->FieldByName("fbilldate").SetAsDate(QDate::currentDate());
    f->But_OK->click();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(rows("select fgoodsid,fcolorid,fsize,fqty from d_GoodsReturnNoteDetail"),
              QStringList{"G001|02|L|3"});
}

// The colour and size drop-downs hold the current line's goods.
TEST_F(RepairNote, DropDownsFollowTheLinesGoods) {
    addNote("260301K0001", "2026-03-01", false, {"G001|02|M|1|0|0|0", "G002|01|S|1|0|0|0"});
    auto* f = editor("260301K0001", RepairNoteMode::Edit);
    EXPECT_EQ(f->DBcolor->RecordCount(), 2);
    lines->Last();
    EXPECT_EQ(f->DBcolor->RecordCount(), 1);
    typeIntoCell("fcolorid", "02");
    EXPECT_EQ(script.texts(), QStringList{"颜色编号不存在，请重新选择"});
    lines->First();
    script.clear();
    typeIntoCell("fcolorid", "01");
    typeIntoCell("fsize", "L");
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(field(lines, "colorname_ch") + field(lines, "fieldname"), "黑色S3");
}

TEST_F(RepairNote, LineNeedsGoodsAndColour) {
    editor(QString(), RepairNoteMode::New);
    lines->Append();
    typeIntoCell("freturnremark", "开线");
    EXPECT_FALSE(md::ui::Guard([this] { lines->CheckBrowseMode(); }));
    EXPECT_EQ(script.texts().value(0), "货号不能为空！");
    script.clear();
    typeIntoCell("fgoodsid", "G002");
    EXPECT_FALSE(md::ui::Guard([this] { lines->CheckBrowseMode(); }));
    EXPECT_EQ(script.texts().value(0), "颜色编号为空！");
}

TEST_F(RepairNote, PickingTheSameGoodsColourTwiceAddsOneLine) {
    auto* f = editor(QString(), RepairNoteMode::New);
    script.onDialog([](QDialog& dialog) {
        auto& picker = dynamic_cast<Tfrm_segoodscolor&>(dialog);
        picker.But_Find->click();
        picker.CheckBox_all->click();
        return int(QDialog::Accepted);
    });
    f->fgoodsidButtonClick();
    f->fgoodsidButtonClick();
    QStringList picked;
    for (lines->First(); !lines->Eof(); lines->Next())
        picked << field(lines, "fgoodsid") + "|" + field(lines, "fcolorid") + "|" +
                      field(lines, "colorname_ch") + "|" + field(lines, "fretailprice");
    picked.sort();
    EXPECT_EQ(picked, QStringList({"G001|01|黑色|199", "G001|02|白色|199", "G002|01|黑色|299"}));
}

}  // namespace
