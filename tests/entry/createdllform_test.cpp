// CreateDLLForm: the registry lookup, one instance per form, modal and
// non-modal entries, the session context and the data module.
#include "createdllform.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QProcess>
#include <QScreen>
#include <QSet>

#include "dictdm.h"
#include "formregistry.h"
#include "messages.h"
#include "routines.h"
#include "session.h"
#include "sharedvalues.h"
#include "testdb.h"

namespace {

using md::entry::FormFactory;

int g_created = 0;

// Stands in for a registered form: counts its constructions and frees itself on close.
QDialog* makeTestForm(QWidget* owner) {
    ++g_created;
    auto* form = new QDialog(owner);
    form->setAttribute(Qt::WA_DeleteOnClose);
    return form;
}

class EntryPoint : public ::testing::Test {
  protected:
    EntryPoint() {
        home.writeSoftConfig();
        md::entry::resetModule();
        md::Shared() = md::SharedValues();
        g_created = 0;
    }
    ~EntryPoint() override {
        md::entry::resetModule();
        for (const auto& [name, factory] : m_replaced) md::entry::setFormFactory(name, factory);
        md::Session() = md::SessionContext();
    }

    void install(const char* name, FormFactory factory = &makeTestForm) {
        m_replaced.emplace_back(name, md::entry::setFormFactory(name, factory));
    }

    QWidget* call(const QString& name, const char* user = "u1", const char* list = "list1") {
        return CreateDLLForm(qApp, QGuiApplication::primaryScreen(), name, user, list, &db.conn(),
                             &mainWindow);
    }

    static void flushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    md::test::ProgramHome home;
    md::test::TestDb db;
    QMainWindow mainWindow;
    md::ui::MessageScript script;

  private:
    std::vector<std::pair<const char*, FormFactory>> m_replaced;
};

TEST_F(EntryPoint, AnyCaseNamesMatchUpperCaseAndExactNamesDoNot) {
    install("frm_BarcodeGuID");
    install("frm_size");
    EXPECT_NE(call("FRM_BARCODEGUID"), nullptr);
    EXPECT_EQ(call("FRM_SIZE"), nullptr);
    EXPECT_EQ(g_created, 1);  // nothing made for the refused name
    EXPECT_NE(call("frm_size"), nullptr);
    EXPECT_EQ(g_created, 2);
}

TEST_F(EntryPoint, OneWindowPerFormUntilItCloses) {
    install("frm_goods");
    QWidget* first = call("frm_goods");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(call("frm_goods"), first);
    EXPECT_EQ(g_created, 1);

    first->close();
    flushDeletes();
    QWidget* second = call("frm_goods");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(g_created, 2);
}

TEST_F(EntryPoint, ModalEntryRunsToItsEndAndReturnsNull) {
    install("frm_dpt");
    int runs = 0;
    script.onDialog([&](QDialog&) {
        ++runs;
        db.exec(QString("insert into config([id],mode) values(%1,1)")
                    .arg(runs));  // edits while the dialog is open
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(call("frm_dpt"), nullptr);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(db.count("config"), 1);
    flushDeletes();
    EXPECT_EQ(call("frm_dpt"), nullptr);
    EXPECT_EQ(g_created, 2);  // the first one was freed when its dialog ended
}

TEST_F(EntryPoint, UnknownOrEmptyNameStillSetsTheContextAndCreatesTheDataModule) {
    EXPECT_EQ(Tdict_dm::instance(), nullptr);
    EXPECT_EQ(call("", "u7", "frm_x"), nullptr);
    EXPECT_NE(Tdict_dm::instance(), nullptr);
    EXPECT_EQ(md::Session().UserNo, "u7");
    EXPECT_EQ(md::Session().RightListName, "frm_x");
    EXPECT_EQ(md::Session().Connection, &db.conn());
    EXPECT_EQ(md::Session().HostMainForm, &mainWindow);
    EXPECT_EQ(md::Session().HostApplication, qApp);

    Tdict_dm* module = Tdict_dm::instance();
    EXPECT_EQ(call("frm_nothing", "u8"), nullptr);
    EXPECT_EQ(md::Session().UserNo, "u8");
    EXPECT_EQ(Tdict_dm::instance(), module);  // created once
    EXPECT_EQ(g_created, 0);
}

TEST_F(EntryPoint, ALaterUserChangesUserNoButNotTheLoadedScopes) {
    install("frm_goods");
    db.exec("insert into userclient(fgroupid,fclientcode,fstockbit) values('u1','C01',0)");
    db.exec("insert into userclient(fgroupid,fclientcode,fstockbit) values('u2','C02',0)");
    db.exec("insert into config([id],mode) values(50009,4)");
    QWidget* window = call("frm_goods", "u1");
    ASSERT_NE(window, nullptr);
    db.exec("update config set mode=3 where [id]=50009");

    EXPECT_EQ(call("frm_goods", "u2"), window);
    EXPECT_EQ(md::Session().UserNo, "u2");  // what the open window reads from now on
    EXPECT_EQ(md::Shared().ClientScopeList, "'C01'");
    EXPECT_EQ(md::Shared().PriceDecimals, 4);
}

TEST_F(EntryPoint, AFailingLoaderIsShownAndTheDataModuleStillExists) {
    db.exec(
        "insert into ba_size(size_class,size_name,displayindex,fieldname) values('T','S',5,'S5')");
    db.exec("insert into userbrand(fgroupid,fbrand) values('u1','B1')");
    db.exec("drop table userclient");
    install("frm_goods");
    EXPECT_NE(call("frm_goods"), nullptr);  // the window opens all the same
    EXPECT_NE(Tdict_dm::instance(), nullptr);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().isError);
    EXPECT_EQ(md::Shared().SizeSlotCount, 5);  // loaded before the failure
    EXPECT_FALSE(md::Shared().BrandScopeAll);  // never loaded
    EXPECT_EQ(md::Shared().BrandScopeList, "");
}

TEST(Registry, FiftyThreeUniqueNamesForTheHost) {
    const md::entry::FormEntry* rows = nullptr;
    const int count = CreateDLLFormList(&rows);
    ASSERT_EQ(count, 53);
    QSet<QString> names;
    for (int i = 0; i < count; ++i) {
        names.insert(QString::fromUtf8(rows[i].name).toUpper());
        EXPECT_GE(rows[i].menu, 0);
        EXPECT_LT(rows[i].menu, md::entry::kMenuCount);
    }
    EXPECT_EQ(names.size(), 53);  // no two rows answer the same upper-cased name
    EXPECT_EQ(md::entry::findForm("frm_KQ_EmpBanci")->className, std::string("Tfrm_KQ_BanCiMonth"));
}

}  // namespace

// The host resolves two names; nothing else of the module is visible to it.
TEST(ModuleLibrary, ExportsOnlyTheEntryPointAndItsFunctionList) {
    QProcess nm;
    nm.start(QStringLiteral("nm"),
             {QStringLiteral("-D"), QStringLiteral("--defined-only"), QStringLiteral("-j"),
              QCoreApplication::applicationDirPath() + QStringLiteral("/libmasterdata.so")});
    ASSERT_TRUE(nm.waitForFinished());
    ASSERT_EQ(nm.exitCode(), 0) << nm.readAllStandardError().toStdString();
    QStringList symbols = QString::fromLatin1(nm.readAllStandardOutput())
                              .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // What the linker itself puts into every shared library.
    for (const char* linker : {"_init", "_fini", "__bss_start", "_edata", "_end"})
        symbols.removeAll(QLatin1String(linker));
    symbols.sort();
    EXPECT_EQ(symbols, (QStringList{"CreateDLLForm", "CreateDLLFormList"}));
}
