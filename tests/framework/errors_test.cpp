// Errors in the system's words: a broken key or a missing value names the
// field as the open window shows it (else as the description tables call it)
// and the value; the engine's text and the statement stay behind "详细信息",
// out of the box's text and out of the operation log.
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "fixture.h"

using namespace md::test;

namespace {

class Errors : public FrameworkTest {
  protected:
    Errors() { grant({"b_add", "b_edit", "b_del"}); }

    // Runs a statement as a window's handler would, through the guard.
    void runGuarded(const QString& tsql, const ParamMap& params = {}) {
        md::ui::Guard([&] { db.conn().ExecSQL(tsql, &params); });
    }
    const md::ui::ShownMessage& onlyMessage() {
        EXPECT_EQ(script.shown().size(), 1) << script.texts().join('|').toStdString();
        return script.shown().first();
    }
};

TEST_F(Errors, ADuplicateKeyNamesTheFieldAsTheWindowShowsItAndTheValue) {
    db.exec("insert into t_color(colorid,colorname_ch) values('C1','红')");
    auto* f = open<Tfrm_testcolor>();
    f->append_action->trigger();
    f->DBmaster_table->FieldByName("colorid").SetAsString("C1");
    f->post_action->trigger();

    const md::ui::ShownMessage& shown = onlyMessage();
    EXPECT_EQ(shown.text, "颜色编号“C1”已存在");
    EXPECT_EQ(shown.title, "系统提示");
    EXPECT_TRUE(shown.isError);
    EXPECT_TRUE(shown.details.contains("t_color", Qt::CaseInsensitive))
        << shown.details.toStdString();
    EXPECT_TRUE(shown.details.contains("insert", Qt::CaseInsensitive)) << "with the statement";
    EXPECT_EQ(log(), (QStringList{"测试颜色|进入", "测试颜色|新增"})) << "nothing technical logged";
}

TEST_F(Errors, AMissingValueNamesTheFieldOfTheOpenWindow) {
    open<Tfrm_testcolor>();
    runGuarded("insert into t_color(colorname_ch) values(:colorname_ch)",
               {{"colorname_ch", "无编号"}});
    EXPECT_EQ(onlyMessage().text, "颜色编号不能为空");
    EXPECT_EQ(db.count("t_color"), 0);
}

TEST_F(Errors, WithoutAWindowTheDescriptionTablesNameTheField) {
    db.exec("insert into ba_color(colorid) values('01')");
    const auto duplicate = [this] {
        script.clear();
        runGuarded("insert into ba_color(colorid) values(:colorid)", {{"colorid", "01"}});
        return onlyMessage().text;
    };
    EXPECT_EQ(duplicate(), "colorid“01”已存在") << "no description: the column's own name";
    db.exec("insert into repofield(fieldname,fieldremark) values('colorid','颜色代码')");
    EXPECT_EQ(duplicate(), "颜色代码“01”已存在");
    db.exec(
        "insert into ba_fieldremark(fid,ftablename,fname,ffieldremark) "
        "values(1,'ba_color','colorid','色号')");
    EXPECT_EQ(duplicate(), "色号“01”已存在") << "the table's own description first";
    EXPECT_EQ(db.count("ba_color"), 1);
}

TEST_F(Errors, OtherFailuresKeepTheirWordsAndLoseTheStatement) {
    db.exec("drop table t_area");  // gone from the database, still in the catalog
    runGuarded("select fcode from t_area");
    const md::ui::ShownMessage& shown = onlyMessage();
    EXPECT_TRUE(shown.text.contains("t_area")) << shown.text.toStdString();
    EXPECT_FALSE(shown.text.contains("select", Qt::CaseInsensitive)) << shown.text.toStdString();
    EXPECT_TRUE(shown.details.startsWith(shown.text + "\n")) << shown.details.toStdString();
    EXPECT_TRUE(shown.details.contains("fcode")) << "the statement follows";

    const md::ui::ErrorText plain = md::ui::DescribeError(std::runtime_error("磁盘已满"));
    EXPECT_EQ(plain.text, "磁盘已满");
    EXPECT_EQ(plain.details, "");
}

// The box itself, as a user meets it: the text, and the details on request.
TEST(ErrorBox, ShowsTheDetailsBehindItsButton) {
    QString text, details;
    bool hiddenAtFirst = false, shownAfterClick = false;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return;
        text = box->findChild<QLabel*>("lbl_text")->text();
        auto* more = box->findChild<QPushButton*>("btn_details");
        auto* shownDetails = box->findChild<QPlainTextEdit*>("edt_details");
        details = more->text() + "|" + shownDetails->toPlainText();
        hiddenAtFirst = !shownDetails->isVisible();
        more->click();
        shownAfterClick = shownDetails->isVisible();
        qobject_cast<QDialog*>(box)->accept();
    });
    EDatabaseError error("不能插入重复的数据：t.c\ninsert into t(c) values(?1)");
    error.setStatement("insert into t(c) values(?1)");
    md::ui::ShowError(error);
    EXPECT_EQ(text, "不能插入重复的数据：t.c");
    EXPECT_EQ(details, "详细信息|不能插入重复的数据：t.c\ninsert into t(c) values(?1)");
    EXPECT_TRUE(hiddenAtFirst);
    EXPECT_TRUE(shownAfterClick);
}

}  // namespace
