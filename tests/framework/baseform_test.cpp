// Base forms: creation and closing (log, rights, datasets, open-window list),
// modal runs, key preview, failures in the create handler.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "fixture.h"

using namespace md::test;

namespace {

// A dialog window with three edits and a button, for the Enter rule.
class Tfrm_testtop : public Tbase_frmTop {
  public:
    explicit Tfrm_testtop(QWidget* owner = nullptr) : Tbase_frmTop(owner) {
        setWindowTitle(QStringLiteral("测试对话框"));
        auto* layout = new QVBoxLayout(this);
        for (int i = 0; i < 3; ++i) {
            edits[i] = new QLineEdit(this);
            layout->addWidget(edits[i]);
        }
        ok = new QPushButton(QStringLiteral("确定"), this);
        layout->addWidget(ok);
        scratch = new TRemoteUdpDataSet(QStringLiteral("scratch"), this);
    }
    QLineEdit* edits[3];
    QPushButton* ok;
    TRemoteUdpDataSet* scratch;
};

// A button handler that refuses, and one that meets a database error.
class Tfrm_buttons : public Tfrm_testtop {
  public:
    Tfrm_buttons() {
        OnClick(ok, [] { md::ui::Refuse(QStringLiteral("请输入国标码号！")); });
        auto* broken = new QPushButton(QStringLiteral("更新"), this);
        broken->setObjectName(QStringLiteral("broken"));
        OnClick(broken, [this] {
            scratch->SetSQL(QStringLiteral("select * from no_such_table"));
            scratch->Open();
        });
    }
};

// A create handler that fails after the inherited part.
class Tfrm_failing : public Tfrm_testcolor {
  public:
    using Tfrm_testcolor::Tfrm_testcolor;
    bool reachedEnd = false;

  protected:
    void FormCreate() override {
        Tbase_frmDictMdi::FormCreate();
        DBmaster_table->SetSQL(QStringLiteral("select * from no_such_table"));
        DBmaster_table->Open();
        reachedEnd = true;
    }
};

}  // namespace

TEST_F(FrameworkTest, CreateBindsDatasetsLogsAndLoadsRights) {
    grant({"b_add", "b_print"});
    auto* form = open<Tfrm_testtop>();
    EXPECT_EQ(form->scratch->SetupUdpParent(), &db.conn());
    EXPECT_TRUE(form->RightAdd);
    EXPECT_TRUE(form->RightPrint);
    EXPECT_FALSE(form->RightEdit);
    EXPECT_FALSE(form->RightDelete);
    EXPECT_FALSE(form->RightExcel);
    EXPECT_EQ(log(), QStringList{"测试对话框|进入"});
    EXPECT_EQ(db.scalar("select userno from syslog"), QVariant("u1"));
    EXPECT_TRUE(form->testAttribute(Qt::WA_DeleteOnClose));
}

TEST_F(FrameworkTest, CloseLogsOnceFreesTheWindowAndDropsUnsavedChanges) {
    grantAll();
    db.exec("insert into t_color(colorid,colorname_ch) values('R','红')");
    QPointer<Tfrm_testcolor> form = open<Tfrm_testcolor>();
    ASSERT_TRUE(form->DBmaster_table->Active());
    EXPECT_EQ(host.captions, QStringList{"测试颜色"});
    form->edit_action->trigger();
    form->DBmaster_table->FieldByName("colorname_ch").SetAsString("蓝");
    form->post_action->trigger();  // saved
    form->edit_action->trigger();
    form->DBmaster_table->FieldByName("colorname_ch").SetAsString("绿");
    form->DBmaster_table->Post();  // cached only
    script.clear();

    form->close_action->trigger();
    form->close();  // a second close does nothing more
    flushDeletes();
    EXPECT_TRUE(form.isNull());
    EXPECT_TRUE(script.shown().isEmpty()) << "closing asks nothing";
    EXPECT_EQ(db.scalar("select colorname_ch from t_color"), QVariant("蓝"));
    EXPECT_EQ(states(), (QStringList{"进入", "修改", "保存", "修改", "离开"}));
    EXPECT_TRUE(host.captions.isEmpty());
}

TEST_F(FrameworkTest, TwoWindowsWithOneCaptionRemoveTheFirstEntry) {
    host.captions << "其他窗口";
    QPointer<Tfrm_testcolor> first = open<Tfrm_testcolor>();
    host.captions << "中间";
    QPointer<Tfrm_testcolor> second = open<Tfrm_testcolor>();
    EXPECT_EQ(first->OpenWindowCaption, "测试颜色");
    EXPECT_EQ(host.captions, (QStringList{"其他窗口", "测试颜色", "中间", "测试颜色"}));
    second->close();
    flushDeletes();
    EXPECT_EQ(host.captions, (QStringList{"其他窗口", "中间", "测试颜色"}));
    // A window freed without closing leaves the list too.
    delete first.data();
    EXPECT_EQ(host.captions, (QStringList{"其他窗口", "中间"}));
}

TEST_F(FrameworkTest, AnMdiChildClosesWithItsFrameEitherWay) {
    QMdiArea area;
    area.resize(900, 700);
    area.show();
    QPointer<Tfrm_testcolor> first = open<Tfrm_testcolor>();
    QPointer<QMdiSubWindow> firstFrame = area.addSubWindow(first);
    first->show();
    QPointer<Tfrm_testcolor> second = open<Tfrm_testcolor>(nullptr, QStringLiteral("第二个"));
    QPointer<QMdiSubWindow> secondFrame = area.addSubWindow(second);
    second->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(firstFrame->geometry().center(), area.viewport()->rect().center())
        << "opens in the middle";

    first->close_action->trigger();  // the form closes its frame
    firstFrame->close();             // ...and the host's frame closes the form
    secondFrame->close();
    flushDeletes();
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull());
    EXPECT_TRUE(firstFrame.isNull());
    EXPECT_TRUE(secondFrame.isNull());
    EXPECT_EQ(log(), (QStringList{"测试颜色|进入", "第二个|进入", "测试颜色|离开", "第二个|离开"}));
    EXPECT_TRUE(host.captions.isEmpty());
}

TEST_F(FrameworkTest, ShortcutsReachTheActionsOfTheFocusedWindow) {
    grantAll();
    auto* form = open<Tfrm_testcolor>();
    form->append_action->setShortcut(Qt::Key_F2);
    form->show();
    QApplication::setActiveWindow(form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    form->cxGrid1DBTableView1->setFocus();
    QTest::keyClick(form->cxGrid1DBTableView1, Qt::Key_F2);
    EXPECT_EQ(form->DBmaster_table->State(), dsInsert);
    EXPECT_EQ(states(), (QStringList{"进入", "新增"}));
}

TEST_F(FrameworkTest, ModalRunEndsWithTheCloseHandlerAndFreesTheForm) {
    auto* form = md::ui::CreateForm<Tfrm_testtop>();
    QPointer<Tfrm_testtop> guard(form);
    QString seen;
    script.onDialog([&](QDialog& dialog) {
        seen = dialog.windowTitle();
        dialog.accept();
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(md::ui::ExecModal(*form), QDialog::Accepted);
    EXPECT_EQ(seen, "测试对话框");
    EXPECT_TRUE(guard.isNull());
    EXPECT_EQ(states(), (QStringList{"进入", "离开"}));

    // A handler that only returns a result still ends the dialog.
    auto* second = md::ui::CreateForm<Tfrm_testtop>();
    script.onDialog([](QDialog&) { return int(QDialog::Rejected); });
    EXPECT_EQ(md::ui::ExecModal(*second), QDialog::Rejected);
    EXPECT_EQ(states(), (QStringList{"进入", "离开", "进入", "离开"}));
}

TEST_F(FrameworkTest, EnterMovesToTheNextControlOfADialogWindow) {
    auto* form = open<Tfrm_testtop>();
    form->show();
    form->activateWindow();
    form->edits[0]->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(form->edits[0]->hasFocus());
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QCoreApplication::sendEvent(form->edits[0], &enter);
    EXPECT_TRUE(form->edits[1]->hasFocus());
    // Escape does not close the window.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(form->edits[1], &escape);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(FrameworkTest, ButtonsRunThroughTheGuard) {
    auto* form = open<Tfrm_buttons>();
    form->ok->click();
    form->findChild<QPushButton*>("broken")->click();
    ASSERT_EQ(script.shown().size(), 2);
    EXPECT_EQ(script.shown().at(0).text, "请输入国标码号！");
    EXPECT_FALSE(script.shown().at(0).isError);
    EXPECT_TRUE(script.shown().at(1).isError);
}

TEST_F(FrameworkTest, AFailingCreateHandlerShowsTheErrorAndTheWindowStillExists) {
    grantAll();
    auto* form = open<Tfrm_failing>();
    EXPECT_FALSE(form->reachedEnd);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().isError);
    EXPECT_EQ(script.shown().first().icon, md::ui::Icon::Error);
    EXPECT_EQ(states(), QStringList{"进入"});
    EXPECT_TRUE(form->RightAdd) << "the inherited part ran to its end";
}

TEST(Messages, GuardSilencesAbortAndShowsEveryOtherError) {
    md::ui::MessageScript script;
    EXPECT_TRUE(md::ui::Guard([] {}));
    EXPECT_FALSE(md::ui::Guard([] { Abort(); }));
    EXPECT_TRUE(script.shown().isEmpty());
    EXPECT_FALSE(md::ui::Guard([] { throw EDatabaseError(QStringLiteral("违反唯一约束")); }));
    EXPECT_FALSE(md::ui::Guard([] { throw std::runtime_error("disk full"); }));
    EXPECT_EQ(script.texts(), (QStringList{"违反唯一约束", "disk full"}));
    EXPECT_TRUE(script.shown().at(0).isError);
}

TEST(Messages, ScriptRecordsBoxesAndAnswersInOrder) {
    md::ui::MessageScript outer;
    {
        md::ui::MessageScript script;
        script.answer(md::ui::Answer::No);
        EXPECT_FALSE(md::ui::AskYesNo(QStringLiteral("是否确认删除此记录？")));
        EXPECT_TRUE(md::ui::AskYesNo(QStringLiteral("再问一次")));  // default Yes
        EXPECT_EQ(md::ui::MessageBox(QStringLiteral("颜色编号不能为空！")), md::ui::Answer::Ok);
        ASSERT_EQ(script.shown().size(), 3);
        const md::ui::ShownMessage& question = script.shown().at(0);
        EXPECT_EQ(question.title, "系统提示");
        EXPECT_EQ(question.icon, md::ui::Icon::Question);
        EXPECT_EQ(question.buttons, md::ui::Buttons::YesNo);
        EXPECT_EQ(script.shown().at(2).icon, md::ui::Icon::Information);
        EXPECT_EQ(script.shown().at(2).title, "系统提示");
    }
    // The outer script is current again once the inner one ends.
    md::ui::ShowMessage(QStringLiteral("更新成功"));
    EXPECT_EQ(outer.texts(), QStringList{"更新成功"});
    EXPECT_EQ(outer.shown().first().icon, md::ui::Icon::None);
}

TEST(Messages, ColourTexts) {
    using md::ui::colorFromText;
    EXPECT_EQ(colorFromText("$00F2DED5"), QColor(0xD5, 0xDE, 0xF2));  // 00BBGGRR
    EXPECT_EQ(colorFromText("clWhite"), QColor(Qt::white));
    EXPECT_EQ(colorFromText("clred"), QColor(255, 0, 0));
    EXPECT_EQ(colorFromText("255"), QColor(255, 0, 0));
    EXPECT_FALSE(colorFromText("").isValid());
    EXPECT_FALSE(colorFromText("$zz").isValid());
}

TEST_F(FrameworkTest, DataModuleBuildsItsStylesFromTheColourSettings) {
    // A program folder without settings files: the default colours.
    QTemporaryDir home;
    const QByteArray previous = qgetenv("MASTERDATA_HOME");
    qputenv("MASTERDATA_HOME", home.path().toLocal8Bit());
    Tdict_dm dm(nullptr);
    if (previous.isNull())
        qunsetenv("MASTERDATA_HOME");
    else
        qputenv("MASTERDATA_HOME", previous);
    EXPECT_TRUE(script.shown().isEmpty());
    EXPECT_EQ(Tdict_dm::instance(), &dm);
    EXPECT_EQ(dm.cxStyle_White.Color, QColor(Qt::white));
    EXPECT_FALSE(dm.cxStyle1.Color.isValid());
    EXPECT_EQ(dm.dmStyle1.Color, md::ui::colorFromText("$00E8F3D3"));
    EXPECT_EQ(dm.dmStyle2.Color, md::ui::colorFromText("$00F2DED5"));
    EXPECT_EQ(dm.dmStyle4.TextColor, QColor(0, 128, 128));
}
