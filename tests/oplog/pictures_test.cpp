// Both windows on the demo database, grabbed for a person to look at:
// /tmp/syslog_search.png (the month's log after 检索) and /tmp/batchno.png
// (the order batches).
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QPushButton>

#include "codes/frm_BatchNO.h"
#include "codes/frm_syslog.h"
#include "demo/demodata.h"
#include "oplogfixture.h"
#include "remoteudpdataset.h"

using namespace md::test;

namespace {

// The demo brings its own users and rights; u1 needs none to look.
class OplogPictures : public FormTest {
  protected:
    OplogPictures() : FormTest(QStringLiteral("frm_syslog")) {
        md::server::createDemoData(db.conn());
    }
    static QString picturePath(const char* name) {
        return QDir::temp().filePath(QString::fromLatin1(name));
    }
};

TEST_F(OplogPictures, TheMonthsLogAndTheOrderBatches) {
    const int monthEntries = db.count(
        "syslog where logindate>='" +
        QDate::currentDate().addDays(1 - QDate::currentDate().day()).toString("yyyy-MM-dd") + "'");
    auto* log = open<Tfrm_syslog>();
    log->resize(900, 560);
    log->show();
    log->But_Find->click();
    QApplication::processEvents();
    EXPECT_EQ(log->DBmaster_table->RecordCount(), monthEntries + 1) << "and this window's 进入";
    EXPECT_TRUE(log->grab().save(picturePath("syslog_search.png")));

    auto* batches = open<Tfrm_BatchNO>();
    batches->OpenForTable("d_order");
    batches->show();
    QApplication::processEvents();
    EXPECT_EQ(batches->DBmaster_table->RecordCount(), 4);
    EXPECT_TRUE(batches->grab().save(picturePath("batchno.png")));
}

}  // namespace
