// The steps typed into the list: written by the line's update statement
// before the next query and when the window closes; bad input and lines whose
// quantities do not add up are refused with nothing written.
#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>

#include "repairlistfixture.h"

using namespace md::test;

namespace {

class RepairInPlace : public RepairListTest {
  protected:
    RepairInPlace() {
        addNote("N1", today(), "C01", false, {"G001|01|M|2||0|0|0"});
        addNote("N0", today(), "C02", false, {"KX200|01|L|1||0|0|0"});
        db.conn().log().clear();
    }
    QString stored(const QString& columns, const QString& note = "N1") {
        return rows(QStringLiteral("select %1 from d_GoodsReturnNoteDetail where fbillid='%2'")
                        .arg(columns, note))
            .value(0);
    }
    // The row of note N1 in the list.
    int n1() const {
        for (int row = 0; row < list->RecordCount(); ++row)
            if (value(row, "fbillid") == "N1") return row;
        return -1;
    }
};

TEST_F(RepairInPlace, TypedStepsAreWrittenByTheLineUpdateAndReadBack) {
    auto* f = openList();
    const int row = n1();
    ASSERT_GE(row, 0);
    const QString yesterday = day(today().addDays(-1));
    EXPECT_FALSE(typeIntoCell(row, "fsuppliercode", "s02"));
    EXPECT_FALSE(typeIntoCell(row, "fsupqty", "2"));
    EXPECT_FALSE(typeIntoCell(row, "fsupdate", yesterday));
    EXPECT_FALSE(typeIntoCell(row, "fsupreturnqty", "1"));
    EXPECT_FALSE(typeIntoCell(row, "fcliqty", "1"));
    EXPECT_FALSE(typeIntoCell(row, "fremark", "一件报废"));
    // Read-only: the client's band and 完成否.
    EXPECT_EQ(openCell(row, "fqty"), nullptr);
    EXPECT_EQ(openCell(row, "fflag"), nullptr);
    EXPECT_TRUE(script.shown().isEmpty()) << script.texts().join('\n').toStdString();
    EXPECT_EQ(stored("fsupqty,fsuppliercode"), "0|") << "nothing written before the query";

    f->But_Count->click();
    EXPECT_EQ(stored("fsuppliercode,fsupqty,fsupdate,fsupreturnqty,fcliqty,fremark,fqty"),
              "S02|2|" + yesterday + "|1|1|一件报废|2");
    EXPECT_EQ(stored("fsupqty", "N0"), "0") << "the other line untouched";
    QStringList updates;
    for (const QString& s : db.conn().log().entries())
        if (s.contains("update d_GoodsReturnNotedetail", Qt::CaseInsensitive)) updates << s;
    ASSERT_EQ(updates.size(), 1) << updates.join('\n').toStdString();
    EXPECT_TRUE(updates.first().contains("fanswerint=")) << updates.first().toStdString();
    // Read again from the database.
    const int again = n1();
    EXPECT_EQ(value(again, "fsuppliercode"), "S02");
    EXPECT_EQ(value(again, "fsupreturnqty"), "1");
    EXPECT_FALSE(list->UpdatesPending());

    // Closing the window sends what was typed since.
    EXPECT_FALSE(typeIntoCell(again, "fclidate", day(today())));
    f->close_action->trigger();
    EXPECT_EQ(stored("fclidate"), day(today()));
}

TEST_F(RepairInPlace, BadInputIsRefusedWithItsMessageAndNothingWritten) {
    auto* f = openList();
    const int row = n1();
    EXPECT_TRUE(typeIntoCell(row, "fsupqty", "-1"));
    EXPECT_TRUE(typeIntoCell(row, "fsupreturnqty", "1.5"));
    EXPECT_TRUE(typeIntoCell(row, "fcliqty", "两件"));
    EXPECT_TRUE(typeIntoCell(row, "fsupdate", day(today().addDays(1))));
    EXPECT_TRUE(typeIntoCell(row, "fclidate", day(today().addDays(30))));
    EXPECT_EQ(script.texts(),
              (QStringList{"发出数量不能为负数!", "收回数量必须是整数!", "返回客户数量必须是数字!",
                           "发出日期不能晚于今天!", "返回客户日期不能晚于今天!"}));
    f->But_Count->click();
    EXPECT_EQ(stored("fsupqty,fsupreturnqty,fcliqty,fsupdate,fclidate"), "0|0|0||");
}

// Passes once the note editor's check of the quantity chain is in.
TEST_F(RepairInPlace, ALineWhoseQuantitiesDoNotAddUpIsRefusedAndNotWritten) {
    auto* f = openList();
    const int row = n1();
    const QString refusal = md::repairs::QuantityChainProblem("G001", "01", "M", 2, 3, 0, 0);
    ASSERT_FALSE(refusal.isEmpty()) << "the quantity chain check is not in yet";
    EXPECT_TRUE(refusal.contains("G001")) << refusal.toStdString();
    EXPECT_FALSE(typeIntoCell(row, "fsupqty", "3"));  // 发出 3 of 2 returned
    f->But_Count->click();
    EXPECT_EQ(script.texts(), QStringList{refusal});
    EXPECT_EQ(stored("fsupqty"), "0");
    EXPECT_TRUE(list->InEditState()) << "kept to be corrected";

    // Corrected, and the next two links of the chain.
    EXPECT_FALSE(typeIntoCell(row, "fsupqty", "2"));
    EXPECT_FALSE(typeIntoCell(row, "fsupreturnqty", "3"));  // 收回 3 of 2 sent
    script.clear();
    f->But_Count->click();
    EXPECT_EQ(script.shown().size(), 1);
    EXPECT_EQ(stored("fsupqty,fsupreturnqty"), "0|0");
    EXPECT_FALSE(typeIntoCell(row, "fsupreturnqty", "2"));
    EXPECT_FALSE(typeIntoCell(row, "fcliqty", "3"));  // 返回客户 3 of 2 returned
    script.clear();
    f->But_Count->click();
    EXPECT_EQ(script.shown().size(), 1);
    EXPECT_FALSE(typeIntoCell(row, "fcliqty", "2"));
    script.clear();
    f->But_Count->click();
    EXPECT_TRUE(script.shown().isEmpty()) << script.texts().join('\n').toStdString();
    EXPECT_EQ(stored("fsupqty,fsupreturnqty,fcliqty"), "2|2|2");

    // Closing with a broken line keeps the window open.
    const int again = n1();
    EXPECT_FALSE(typeIntoCell(again, "fcliqty", "5"));
    script.clear();
    EXPECT_FALSE(f->close());
    EXPECT_EQ(script.shown().size(), 1);
    EXPECT_EQ(stored("fcliqty"), "2");
}

}  // namespace

namespace {

// Runs only with the follow-up dialog in place.
TEST_F(RepairInPlace, AFollowUpByTheAnswerCellKeepsWhatWasTypedAndCountsItsRemark) {
    auto* f = openList();
    f->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
    const int row = n1();
    EXPECT_FALSE(typeIntoCell(row, "fsupqty", "1"));
    script.onDialog([](QDialog& dialog) {
        auto* memo = dialog.findChild<QPlainTextEdit*>();
        if (!memo) return int(QDialog::Rejected);
        memo->setFocus();
        typeKeys(memo, "已联系工厂");
        for (QPushButton* button : dialog.findChildren<QPushButton*>())
            if (button->text() == "确定") button->click();
        return dialog.result();
    });
    const QModelIndex cell = v->gridModel()->index(row, v->SectionOf("fanswerint"));
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->visualRect(cell).center());
    EXPECT_EQ(rows("select fTranRemark from d_GoodsReturnTran"), QStringList{"已联系工厂"});
    // The typed step went first, so the count written afterwards is the new one.
    EXPECT_EQ(stored("fsupqty,fanswerint"), "1|1");
    EXPECT_EQ(value(n1(), "fanswerint"), "1");
    f->But_Count->click();
    EXPECT_EQ(stored("fsupqty,fanswerint"), "1|1");
    EXPECT_EQ(f->DBtran_table->RecordCount(), 1);
}

}  // namespace
