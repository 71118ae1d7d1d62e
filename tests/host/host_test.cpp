// The host's main window: the functions as the user's rights offer them, the
// navigator and toolbar, the windows it opens and closes, what it remembers,
// and the unattended picture of a modal function.
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include "automation.h"
#include "functionnavigator.h"
#include "goods/frm_goods.h"
#include "hostfixture.h"
#include "remoteudpdataset.h"

namespace {

using namespace md::test;
using md::host::THostMainForm;

// A record editor in miniature: registers its caption with the host window.
QDialog* makeCaptionedForm(QWidget* owner) {
    auto* form = new QDialog(owner);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->setWindowTitle("货品档案");
    form->resize(400, 300);
    if (IOpenWindowList* list = md::openWindowList()) list->AddCaption(form->windowTitle());
    QObject::connect(form, &QObject::destroyed, [] {
        if (IOpenWindowList* list = md::openWindowList())
            list->DeleteCaption(list->FindCaption("货品档案"));
    });
    return form;
}

// A modal function whose picture is easy to find: solid red.
QDialog* makeRedDialog(QWidget* owner) {
    auto* dialog = new QDialog(owner);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle("部门资料");
    dialog->setStyleSheet("background: #ff0000;");
    dialog->resize(300, 200);
    return dialog;
}

QStringList menuTexts(QMenu* menu) {
    QStringList texts;
    for (QAction* action : menu->actions())
        if (!action->isSeparator()) texts << action->text();
    return texts;
}

QStringList toolBarTexts(QToolBar* bar) {
    QStringList texts;
    for (QAction* action : bar->actions()) texts << action->text();
    return texts;
}

// Chinese reaches a text box as the input method's commit, as when typed.
void typeChinese(QWidget* widget, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(widget, &commit);
}

QStringList windowTitles(THostMainForm& window) {
    QStringList titles;
    for (QMdiSubWindow* frame : window.mdiArea()->subWindowList(QMdiArea::CreationOrder))
        if (frame->isVisible() && frame->widget()) titles << frame->widget()->windowTitle();
    return titles;
}

class Host : public HostTest {
  protected:
    Host() { home.writeSoftConfig(); }
    // The user's group gets a rights row under the list with only these rights.
    void grantShopUser(const QString& list, const QStringList& rights) {
        const QString autoid =
            db.scalar("select autoid from dr_right where listname='" + list + "'").toString();
        QStringList columns{"autoid", "groupid"}, values{autoid, "'" + demo::kShopGroup + "'"};
        for (const QString& right : rights) columns << right, values << "1";
        db.exec("insert into dr_rightdetail(" + columns.join(',') + ") values(" + values.join(',') +
                ")");
    }
};

TEST_F(Host, FunctionsAreOfferedAsTheRightsAllowAndThoseWithoutAWindowAreDisabled) {
    THostMainForm& admin = mainWindow();
    for (const md::entry::FormEntry* function : module.functions()) {
        QAction* action = admin.functionAction(QString::fromUtf8(function->name));
        ASSERT_NE(action, nullptr) << function->name;
        EXPECT_TRUE(action->isVisible()) << function->name;
        EXPECT_EQ(action->isEnabled(), function->factory != nullptr) << function->name;
    }
    EXPECT_TRUE(admin.mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(toolBarTexts(admin.commonToolBar()),
              (QStringList{"货品档案", "条形码资料", "尺码资料", "基本颜色设置", "货品颜色",
                           "客户档案", "VIP会员资料", "设定货品价格", "员工档案", "店铺班次设定"}))
        << "only functions that open";

    // The shop user has no rights at all on the company record and the operation log.
    THostMainForm& shop = mainWindow(demo::kShopUser);
    EXPECT_FALSE(shop.functionAction("frm_ltd")->isVisible());
    EXPECT_FALSE(shop.functionAction("frm_syslog")->isVisible());
    EXPECT_TRUE(shop.functionAction("frm_color")->isVisible());
    EXPECT_FALSE(shop.navigator()->shownCaptions("基础资料").contains("公司信息"));
    EXPECT_TRUE(shop.navigator()->shownCaptions("基础资料").contains("基本颜色设置"));
    EXPECT_EQ(shop.openFunction("frm_ltd"), nullptr);
    EXPECT_EQ(shop.catalog().whyNot("frm_ltd"), "您没有使用“公司信息”的权限");
    EXPECT_EQ(shop.catalog().whyNot("frm_nothing"), "没有名为“frm_nothing”的功能");
    EXPECT_EQ(shop.catalog().whyNot("FRM_COLOR"), "");
}

TEST_F(Host, TheCompanyRecordIsOfferedOnlyWithTheEditRight) {
    grantShopUser("frm_ltd", {"b_browse", "b_print"});
    EXPECT_FALSE(mainWindow(demo::kShopUser).functionAction("frm_ltd")->isVisible());
    grantShopUser("frm_ltd", {"b_edit"});
    THostMainForm& shop = mainWindow(demo::kShopUser);
    EXPECT_TRUE(shop.functionAction("frm_ltd")->isVisible());
    EXPECT_EQ(shop.catalog().whyNot("frm_ltd"), "");
}

TEST_F(Host, TheNavigatorFindsFunctionsByWhatIsTypedAndOpensThem) {
    THostMainForm& window = mainWindow();
    md::host::TFunctionNavigator* navigator = window.navigator();
    QLineEdit* search = navigator->searchBox();
    search->setFocus();
    typeChinese(search, "颜色");
    EXPECT_EQ(navigator->shownCaptions("基础资料"), QStringList{"基本颜色设置"});
    EXPECT_EQ(navigator->shownCaptions("货品资料"), QStringList{"货品颜色"});
    EXPECT_TRUE(navigator->shownCaptions("条码管理").isEmpty());

    // Enter opens the first one that has a window.
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(windowTitles(window), QStringList{"基本颜色设置"});

    // Cleared, the search shows everything again with the function just opened on top.
    search->clear();
    EXPECT_EQ(navigator->shownCaptions("最近使用"), QStringList{"基本颜色设置"});
    EXPECT_GT(navigator->shownCaptions("基础资料").size(), 10);

    // Double-click opens too.
    QTreeWidget* tree = navigator->tree();
    const auto itemOf = [tree](const QString& caption) {
        for (QTreeWidgetItem* item : tree->findItems(caption, Qt::MatchRecursive))
            if (item->parent() && item->parent()->text(0) != "最近使用") return item;
        return static_cast<QTreeWidgetItem*>(nullptr);
    };
    for (const QString caption : {"商品维修管理", "尺码资料"}) {
        QTreeWidgetItem* item = itemOf(caption);
        ASSERT_NE(item, nullptr) << caption.toStdString();
        tree->scrollToItem(item);
        const QPoint at = tree->visualItemRect(item).center();
        // A double-click arrives as a click, then the second press as a double-click.
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
    }
    EXPECT_EQ(windowTitles(window), (QStringList{"基本颜色设置", "商品维修管理", "尺码资料"}));
    EXPECT_EQ(navigator->shownCaptions("最近使用"),
              (QStringList{"尺码资料", "商品维修管理", "基本颜色设置"}));
}

TEST_F(Host, ClosingTheMainWindowClosesEachWindowThroughItsOwnClosePath) {
    THostMainForm& window = mainWindow();
    ASSERT_NE(window.openFunction("frm_color"), nullptr);
    auto* goods = qobject_cast<Tfrm_goods*>(window.openFunction("frm_goods"));
    ASSERT_NE(goods, nullptr);
    // An online flag ticked in the list is sent when the goods form closes.
    goods->DBgoodslist->First();
    const QString code = goods->DBgoodslist->FieldByName("goodsid").AsString();
    const bool online = goods->DBgoodslist->FieldByName("fisshoptop").AsBoolean();
    goods->DBgoodslist->Edit();
    goods->DBgoodslist->FieldByName("fisshoptop").SetAsBoolean(!online);
    goods->DBgoodslist->Post();
    db.conn().log().clear();

    EXPECT_TRUE(window.close());
    EXPECT_EQ(logRows().filter("离开"), (QStringList{"基本颜色设置|离开", "货品档案|离开"}));
    EXPECT_EQ(db.scalar("select fisshoptop from goods where goodsid='" + code + "'").toBool(),
              !online);
    EXPECT_TRUE(db.conn().log().entries().contains("exec updategoodsfield"));
    EXPECT_TRUE(script.shown().isEmpty())
        << "no questions: " << script.texts().join('|').toStdString();
}

TEST_F(Host, TheMainWindowRemembersItsPlaceAndTheWindowsThatWereOpen) {
    {
        THostMainForm& window = mainWindow();
        window.resize(900, 640);
        window.openFunction("frm_size");
        window.openFunction("frm_color");
        window.openFunction("frm_dpt");  // modal: run and gone
        ASSERT_TRUE(window.close());
    }
    THostMainForm& again = mainWindow();
    again.resize(1000, 700);
    again.restoreSession();
    EXPECT_EQ(again.size(), QSize(900, 640));
    EXPECT_EQ(windowTitles(again), (QStringList{"尺码资料", "基本颜色设置"}));
    EXPECT_EQ(again.navigator()->shownCaptions("最近使用"),
              (QStringList{"基本颜色设置", "尺码资料", "部门资料"}))
        << "reopening counts as opening";

    // Each user has windows of their own.
    THostMainForm& shop = mainWindow(demo::kShopUser);
    shop.restoreSession();
    EXPECT_TRUE(windowTitles(shop).isEmpty());
}

TEST_F(Host, FunctionsOpenAsOneMdiChildListedInTheWindowMenu) {
    install("frm_goods", &makeCaptionedForm);
    THostMainForm& window = mainWindow();
    QWidget* goods = window.openFunction("frm_goods");
    ASSERT_NE(goods, nullptr);
    EXPECT_EQ(md::Session().RightListName, "frm_goods");  // rights are kept under its name
    EXPECT_EQ(md::Session().HostMainForm, &window);
    EXPECT_EQ(window.openFunction("frm_goods"), goods);
    ASSERT_EQ(window.mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(window.openWindowCaptions(), QStringList{"货品档案"});
    EXPECT_TRUE(menuTexts(window.windowMenu()).contains("货品档案"));

    goods->close();
    flushDeletes();
    EXPECT_TRUE(window.mdiArea()->subWindowList().isEmpty());
    EXPECT_TRUE(window.openWindowCaptions().isEmpty());
    EXPECT_FALSE(menuTexts(window.windowMenu()).contains("货品档案"));
}

TEST_F(Host, OpenWindowListRemovesTheFirstMatchingCaption) {
    THostMainForm& window = mainWindow();
    window.AddCaption("A");
    window.AddCaption("B");
    window.AddCaption("A");
    EXPECT_EQ(window.FindCaption("A"), 0);
    EXPECT_EQ(window.FindCaption("C"), -1);
    window.DeleteCaption(window.FindCaption("A"));
    EXPECT_EQ(window.openWindowCaptions(), (QStringList{"B", "A"}));
}

TEST_F(Host, AModalFunctionIsPicturedOverTheMainWindow) {
    install("frm_dpt", &makeRedDialog);
    THostMainForm& window = mainWindow();
    window.resize(800, 600);
    script.onDialog([](QDialog& dialog) { return dialog.exec(); });  // really shown
    md::host::HostOptions options;
    options.open = "frm_dpt";
    options.screenshot = home.filePath("modal.png");
    EXPECT_TRUE(md::host::runAutomation(window, options));  // the dialog was closed after
    const QImage picture(options.screenshot);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), window.grab().size());
    EXPECT_EQ(QColor(picture.pixel(picture.width() / 2, picture.height() / 2)), QColor(Qt::red));
    EXPECT_NE(QColor(picture.pixel(5, picture.height() / 2)), QColor(Qt::red));
}

}  // namespace
