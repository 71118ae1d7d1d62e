#pragma once
// The host tests' world: the demo database with rights on every function of
// the loaded module, a data folder of the test's own, scripted message boxes,
// and main windows that restart nothing (the restarts they ask for are kept).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcessEnvironment>
#include <memory>

#include "createdllform.h"
#include "demo/demodata.h"
#include "formregistry.h"
#include "hostmainwindow.h"
#include "messages.h"
#include "session.h"
#include "testdb.h"

namespace md::test {

namespace demo = md::server::demo;

class HostTest : public ::testing::Test {
  protected:
    HostTest() {
        EXPECT_TRUE(module.load()) << module.errorString().toStdString();
        QList<md::server::DemoRightList> lists;
        for (const md::entry::FormEntry* function : module.functions())
            lists.append({QString::fromUtf8(function->name), QString::fromUtf8(function->caption)});
        md::server::createDemoData(db.conn(), 0, lists);
        // The demo's month of log entries: each test reads only what it writes.
        db.exec(QStringLiteral("delete from syslog"));
    }
    ~HostTest() override {
        windows.clear();
        md::entry::resetModule();
        for (const auto& [name, factory] : m_replaced) md::entry::setFormFactory(name, factory);
        md::Session() = md::SessionContext();
    }
    void install(const char* name, md::entry::FormFactory factory) {
        m_replaced.emplace_back(name, md::entry::setFormFactory(name, factory));
    }

    struct Restart {
        QStringList arguments;
        QProcessEnvironment environment;
    };
    // A shown main window for the user; restarts land in `restarts`.
    md::host::THostMainForm& mainWindow(const QString& user = demo::kAdminUser) {
        windows.push_back(
            std::make_unique<md::host::THostMainForm>(module, db.conn(), user, QStringLiteral("")));
        md::host::THostMainForm& window = *windows.back();
        window.setRestart({QStringLiteral("--db"), QStringLiteral("demo.db")},
                          [this](const QStringList& arguments, const QProcessEnvironment& env) {
                              restarts.push_back({arguments, env});
                              return true;
                          });
        window.resize(1000, 700);
        window.show();
        return window;
    }
    // The frames and windows closed so far are freed.
    static void flushDeletes() {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Operation-log rows "window|state", oldest first.
    QStringList logRows() {
        return db.rows(QStringLiteral("select modename,fstate from syslog order by fautoid"));
    }

    ProgramHome home;
    TestDb db;
    md::host::ModuleLibrary module;
    md::ui::MessageScript script;
    std::vector<Restart> restarts;
    std::vector<std::unique_ptr<md::host::THostMainForm>> windows;

  private:
    std::vector<std::pair<const char*, md::entry::FormFactory>> m_replaced;
};

}  // namespace md::test
