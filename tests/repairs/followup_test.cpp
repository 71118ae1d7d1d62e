// 维修跟进 and the quantity chain the list and the editor both hold lines to.
#include <QPlainTextEdit>
#include <QPushButton>

#include "repairs/frm_GoodsReturnAnwar.h"
#include "repairs/repairnote.h"
#include "repairsfixture.h"

using namespace md::test;
using md::repairs::QuantityChainProblem;

namespace {

class RepairFollowUp : public RepairsTest {
  protected:
    // Answers the dialog: 确定 with nothing typed first, then the text.
    void answerWith(const QString& text) {
        script.onDialog([this, text](QDialog& dialog) {
            auto& d = dynamic_cast<Tfrm_GoodsReturnAnwar&>(dialog);
            EXPECT_EQ(d.windowTitle(), "维修跟进");
            d.But_OK->click();
            EXPECT_FALSE(d.result() == QDialog::Accepted) << "stays open";
            typeInto(d.Memo_Answer, text);
            d.But_OK->click();
            return d.result();
        });
    }
    int lineId(const QString& goods) {
        return db
            .scalar("select fautoid from d_GoodsReturnNoteDetail where fgoodsid='" + goods + "'")
            .toInt();
    }
};

TEST_F(RepairFollowUp, RemarkCountsOnItsLineOnly) {
    addNote("260301K0001", "2026-03-01", false, {"G001|01|M|2|0|0|0", "G002|01|S|1|0|0|0"});
    const int line = lineId("G001");
    answerWith("已联系工厂");
    EXPECT_TRUE(md::ui::AddRepairFollowUp(nullptr, "260301K0001", line));
    answerWith("工厂已收货");
    EXPECT_TRUE(md::ui::AddRepairFollowUp(nullptr, "260301K0001", line));
    EXPECT_EQ(script.texts(), QStringList({"请输入回复内容！", "请输入回复内容！"}));
    EXPECT_EQ(rows("select fgoodsid,fanswerint from d_GoodsReturnNoteDetail order by fgoodsid"),
              QStringList({"G001|2", "G002|0"}));
    const QString key = "260301K0001" + QString::number(line);
    EXPECT_EQ(rows("select fbillid,fBillAutoid,fgoodsbillid,fTranRemark,finputuser,"
                   "finputusername,finputdate from d_GoodsReturnTran order by fautoid"),
              QStringList({"260301K0001|" + QString::number(line) + "|" + key +
                               "|已联系工厂|u1|张敏|" + today(),
                           "260301K0001|" + QString::number(line) + "|" + key +
                               "|工厂已收货|u1|张敏|" + today()}));

    // 取消 adds nothing.
    script.onDialog([](QDialog&) { return int(QDialog::Rejected); });
    EXPECT_FALSE(md::ui::AddRepairFollowUp(nullptr, "260301K0001", line));
    EXPECT_EQ(db.count("d_GoodsReturnTran"), 2);
}

TEST(RepairQuantityChain, EachStepAtMostTheOneBefore) {
    EXPECT_EQ(QuantityChainProblem("G001", "01", "M", 5, 5, 5, 5), "");
    EXPECT_EQ(QuantityChainProblem("G001", "01", "M", 5, 4, 3, 5), "");
    EXPECT_EQ(QuantityChainProblem("G001", "01", "M", 5, 6, 0, 0),
              "货号G001 颜色01 尺码M：发出数量不能大于数量！");
    EXPECT_EQ(QuantityChainProblem("G001", "01", "M", 5, 3, 4, 0),
              "货号G001 颜色01 尺码M：收回数量不能大于发出数量！");
    EXPECT_EQ(QuantityChainProblem("G002", "02", "L", 2, 0, 0, 3),
              "货号G002 颜色02 尺码L：返回客户数量不能大于数量！");
    EXPECT_EQ(QuantityChainProblem("G001", "01", "M", 5, -1, 0, 0),
              "货号G001 颜色01 尺码M：发出数量不能为负数！");
    EXPECT_EQ(QuantityChainProblem("G001", "01", "M", 2.5, 0, 0, 0),
              "货号G001 颜色01 尺码M：数量必须是整数！");
}

// The editor refuses a line that breaks the chain, naming it, and keeps it.
TEST_F(RepairFollowUp, EditorRefusesALineBreakingTheChain) {
    addNote("260301K0001", "2026-03-01", false, {"G001|01|M|2|2|0|0"});
    auto* f = editor("260301K0001", md::ui::RepairNoteMode::FactoryReturn);
    typeIntoCell("fsupreturnqty", "3");
    f->But_OK->click();
    EXPECT_EQ(script.texts().value(0), "货号G001 颜色01 尺码M：收回数量不能大于发出数量！");
    EXPECT_EQ(rows("select fsupreturnqty from d_GoodsReturnNoteDetail"), QStringList{"0"});
    EXPECT_TRUE(f->isVisible());
    script.clear();
    typeIntoCell("fsupreturnqty", "2");
    f->But_OK->click();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(rows("select fsupreturnqty from d_GoodsReturnNoteDetail"), QStringList{"2"});
}

}  // namespace
