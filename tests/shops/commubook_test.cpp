// 通讯簿: entry numbers from the largest row number, the checks before
// saving, the group list after a save, the statements written, the pages and
// the export of the list.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>

#include "dbcontrols.h"
#include "gridexport.h"
#include "partners/frm_commuBook.h"
#include "shopsfixture.h"
#include "treelookup.h"

using namespace md::test;

namespace {

class CommuBook : public ShopsTest {
  protected:
    void addEntry(const QString& id, const QString& group, const QString& name) {
        db.exec("insert into DT_commuBook(fid,fcatery,fname,fisvip) values(" + QuotedStr(id) + "," +
                QuotedStr(group) + "," + QuotedStr(name) + ",0)");
    }
    Tfrm_commuBook* form() {
        auto* f = openShown<Tfrm_commuBook>();
        ds = f->DBmaster_table;
        return f;
    }
    // A new entry typed as a user does: group, Enter, name; then 保存.
    void addByHand(Tfrm_commuBook* f, const QString& group, const QString& name) {
        f->append_action->trigger();
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus == f->Combo_catery || focus == f->Combo_catery->lineEdit());
        typeText(QApplication::focusWidget(), group);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        ASSERT_EQ(QApplication::focusWidget(), f->Edit_name) << "Enter moved on";
        typeText(QApplication::focusWidget(), name);
        f->post_action->trigger();
    }
    static QStringList items(const QComboBox* box) {
        QStringList out;
        for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
        return out;
    }

    TRemoteUdpDataSet* ds = nullptr;
};

TEST_F(CommuBook, TheFirstEntryIs10001AndLaterOnesFollowTheLargestRowNumber) {
    auto* f = form();
    addByHand(f, "同事", "张丽");
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(rows("select fid,fcatery,fname,fisvip from DT_commuBook"),
              QStringList{"10001|同事|张丽|0"});

    // Rows 2 to 7 come and five of them go: the largest number counts, not how many there are.
    for (int i = 2; i <= 7; ++i)
        addEntry(QString::number(10000 + i), "客户", "客户" + QString::number(i));
    db.exec("delete from DT_commuBook where fname in('客户2','客户3','客户4','客户5','客户6')");
    ASSERT_EQ(db.scalar("select max(fautoid) from DT_commuBook").toInt(), 7);
    addByHand(f, "物流", "周涛");
    EXPECT_EQ(rows("select fid from DT_commuBook where fname='周涛'"), QStringList{"10008"});
    EXPECT_EQ(field(ds, "fid"), "10008");
    EXPECT_EQ(field(ds, "fname"), "周涛") << "the saved entry stays current";
    // Each save reloads the groups the box offers; the entry's own stays shown.
    EXPECT_EQ(items(f->Combo_catery).size(), 3);
    EXPECT_TRUE(items(f->Combo_catery).contains("物流"));
    EXPECT_EQ(f->Combo_catery->currentText(), "物流");

    // An edited entry keeps its number.
    f->edit_action->trigger();
    typeText(f->Edit_name, "2");
    f->post_action->trigger();
    EXPECT_EQ(rows("select fid,fname from DT_commuBook where fid='10008'"),
              QStringList{"10008|周涛2"});
}

TEST_F(CommuBook, AnEntryNeedsANameAndThenAGroup) {
    addEntry("10001", "供应商", "王建国");
    auto* f = form();
    f->append_action->trigger();
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"姓名不能为空!"});
    typeText(f->Combo_catery->lineEdit(), "客户");
    f->post_action->trigger();
    EXPECT_EQ(script.texts().size(), 2) << "a group alone is not enough";
    f->Combo_catery->lineEdit()->clear();
    typeText(f->Combo_catery->lineEdit(), " ");
    typeText(f->Edit_name, "吴晓东");
    f->post_action->trigger();
    EXPECT_EQ(script.texts().last(), "组别不能为空!");
    EXPECT_EQ(db.count("DT_commuBook"), 1);
    EXPECT_EQ(ds->State(), dsInsert);
    EXPECT_FALSE(f->GridList->isEnabled()) << "the list holds still while an entry is edited";
}

TEST_F(CommuBook, EditsAndDeletesGoByRowNumberThroughTheFormsStatements) {
    addEntry("10001", "供应商", "王建国");
    addEntry("10002", "供应商",
             "王建国");  // the same name twice: only the row number tells them apart
    auto* f = form();
    ASSERT_EQ(f->PageControl1->currentWidget(), f->TabList);
    db.conn().log().clear();
    TDBTableView* list = f->GridListView;
    const QRect second = list->visualRect(list->gridModel()->index(1, list->SectionOf("fName")));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(ds->RecNo(), 2);
    EXPECT_EQ(f->PageControl1->currentWidget(), f->TabDetail);
    f->edit_action->trigger();
    auto* job = qobject_cast<TDBEdit*>(f->TabDetail->findChild<QWidget*>("DBEdit_fjob"));
    ASSERT_NE(job, nullptr);
    typeText(job, "销售经理");
    f->post_action->trigger();
    const QStringList updates = statementsWith("update DT_commuBook");
    ASSERT_EQ(updates.size(), 1);
    EXPECT_TRUE(updates.first().startsWith("update DT_commuBook set fid=:fid,fcatery=:fcatery,"));
    EXPECT_TRUE(updates.first().endsWith(",fisvip=:fisvip\nwhere fautoid=:fautoid"));
    EXPECT_EQ(rows("select fid,fjob from DT_commuBook order by fautoid"),
              (QStringList{"10001|", "10002|销售经理"}));

    script.answer(md::ui::Answer::Yes);
    f->del_action->trigger();
    EXPECT_EQ(statementsWith("delete from DT_commuBook"),
              QStringList{"delete from DT_commuBook where fautoid=:fautoid"});
    EXPECT_EQ(rows("select fid from DT_commuBook"), QStringList{"10001"});

    addByHand(f, "供应商", "李美华");
    const QStringList inserts = statementsWith("insert into DT_commuBook");
    ASSERT_EQ(inserts.size(), 1);
    EXPECT_EQ(inserts.first(),
              "insert into DT_commuBook(fid,fcatery,fname,fsex,fbirthdate,fcallname,fjob,fspouse,"
              "fkid,funitname,funitaddres,funitzipcode,funittel,funitfax,ffamilyaddres,"
              "ffamilyzipcode,ffamilytel,fmobil,fmovetel,femail,fqq,fmsn,fremark,fareacode,fisvip)"
              "\nvalues(:fid,:fcatery,:fname,:fsex,:fbirthdate,:fcallname,:fjob,:fspouse,:fkid,:"
              "funitname,:funitaddres,:funitzipcode,:funittel,:funitfax,:ffamilyaddres,:"
              "ffamilyzipcode,:ffamilytel,:fmobil,:fmovetel,:femail,:fqq,:fmsn,:fremark,:"
              "fareacode,:fisvip)");
}

TEST_F(CommuBook, TheListIsExportedToTheChosenSpreadsheetFile) {
    addEntry("10001", "供应商", "王建国");
    auto* f = form();
    QTemporaryDir dir;
    QString filter;
    script.onDialog([&](QDialog& dialog) {
        auto* save = qobject_cast<QFileDialog*>(&dialog);
        if (!save) return int(QDialog::Rejected);
        filter = save->nameFilters().join(';');
        save->selectFile(dir.filePath("book"));
        return int(QDialog::Accepted);
    });
    f->excel_action->trigger();
    EXPECT_EQ(filter, "excel (*.xlsx)");
    QFile file(dir.filePath("book.xlsx"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << script.texts().join('|').toStdString();
    EXPECT_EQ(file.read(2), "PK") << "a spreadsheet package";
    EXPECT_EQ(rows("select fstate from syslog where modename='通讯簿' order by fautoid"),
              (QStringList{"进入", "导出"}));
}

}  // namespace

namespace {

// A picture of the detail page for a person to look at (/tmp/commubook_detail.png).
TEST_F(CommuBook, DetailPagePicture) {
    db.exec(
        "insert into DT_commuBook(fid,fcatery,fname,fsex,fbirthdate,fcallname,fjob,funitname,"
        "funitaddres,funittel,fmobil,femail,fqq,fareacode,fisvip) values('10001','供应商',"
        "'王建国','男','1972-03-18','王总','销售经理','绍兴柯桥华纺面料有限公司',"
        "'浙江省绍兴市柯桥区中国轻纺城东市场3楼','0575-84123456','13905751234',"
        "'wangjg@huafang-textile.cn','825461234','0103',0)");
    auto* f = form();
    f->ShowDetailPage();
    QApplication::processEvents();
    EXPECT_EQ(f->AreaLookup->currentText(), "浙江");
    EXPECT_TRUE(f->grab().save(QDir::temp().filePath("commubook_detail.png")));
}

}  // namespace
