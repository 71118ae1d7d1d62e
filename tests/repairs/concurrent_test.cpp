// Two workstations saving new repair notes at the same moment on one database:
// two copies of this program, each with its own connection, save notes through
// the editor; every note keeps its own number and none is lost.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include "repairsfixture.h"
#include "serverdb.h"

using namespace md::test;

namespace {

const int kNotesEach = 40;

// The workstation: runs only when the test below starts it.
TEST(RepairWorkstation, SavesNewNotes) {
    const QString database = qEnvironmentVariable("MD_REPAIR_WORKSTATION_DB");
    if (database.isEmpty()) GTEST_SKIP() << "started by TwoWorkstationsSaveAtOnce";
    const int count = qEnvironmentVariableIntValue("MD_REPAIR_WORKSTATION_NOTES");
    QFile out(qEnvironmentVariable("MD_REPAIR_WORKSTATION_OUT"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Text));

    TRemoteUdpConnection connection;
    md::server::openDatabase(connection, ConnectionSettings::fromDatabaseText(database), false);
    startFormSession(connection, QStringLiteral("frm_GoodsReturnNote"), nullptr);
    md::Shared().ClientScopeAll = true;
    md::ui::MessageScript script;
    // Both workstations start saving together: each says it is ready and
    // waits for the other (a minute at most, should the other not come).
    QFile(out.fileName() + ".ready").open(QIODevice::WriteOnly);
    const QDir folder = QFileInfo(out.fileName()).dir();
    QElapsedTimer waited;
    waited.start();
    while (folder.entryList({"*.ready"}, QDir::Files).size() < 2 && waited.elapsed() < 60000)
        QThread::msleep(5);
    for (int n = 0; n < count; ++n) {
        auto* f = md::ui::CreateForm<Tfrm_GoodsReturnEdit>();
        f->LoadNote(QString(), md::ui::RepairNoteMode::New);
        f->DBmaster_table->FieldByName("fclientcode").SetAsString("C01");
        TRemoteUdpDataSet* lines = f->DBdetail;
        lines->Append();
        lines->FieldByName("fgoodsid").SetAsString("G001");
        lines->FieldByName("fcolorid").SetAsString("01");
        lines->FieldByName("fsize").SetAsString("M");
        lines->FieldByName("fqty").SetAsInteger(1);
        lines->Post();
        EXPECT_TRUE(md::ui::Guard([f] { f->But_OKClick(); }));
        out.write((f->SavedBillId() + "\n").toUtf8());
        delete f;
    }
    EXPECT_EQ(script.texts(), QStringList{});
    endFormSession();
}

class RepairConcurrent : public RepairsTest {};

TEST_F(RepairConcurrent, TwoWorkstationsSaveAtOnce) {
    QTemporaryDir dir;
    QList<QProcess*> workstations;
    for (int w = 0; w < 2; ++w) {
        auto* p = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("MD_REPAIR_WORKSTATION_DB", db.path());
        env.insert("MD_REPAIR_WORKSTATION_NOTES", QString::number(kNotesEach));
        env.insert("MD_REPAIR_WORKSTATION_OUT", dir.filePath(QString::number(w)));
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::MergedChannels);
        workstations << p;
    }
    for (QProcess* p : workstations)
        p->start(QCoreApplication::applicationFilePath(),
                 {"--gtest_filter=RepairWorkstation.SavesNewNotes"});
    QSet<QString> saved;
    for (int w = 0; w < 2; ++w) {
        QProcess* p = workstations[w];
        ASSERT_TRUE(p->waitForFinished(-1));
        EXPECT_EQ(p->exitCode(), 0) << p->readAll().toStdString();
        QFile numbers(dir.filePath(QString::number(w)));
        ASSERT_TRUE(numbers.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList own =
            QString::fromUtf8(numbers.readAll()).split('\n', Qt::SkipEmptyParts);
        EXPECT_EQ(own.size(), kNotesEach);
        for (const QString& id : own) EXPECT_FALSE(saved.contains(id)) << id.toStdString();
        saved.unite(QSet<QString>(own.begin(), own.end()));
        delete p;
    }
    EXPECT_EQ(saved.size(), 2 * kNotesEach);
    QStringList stored = rows("select fbillid from d_GoodsReturnNote");
    EXPECT_EQ(QSet<QString>(stored.begin(), stored.end()), saved);
    // Every note has its line, under the number it was saved with.
    EXPECT_EQ(rows("select count(*) from d_GoodsReturnNoteDetail a join d_GoodsReturnNote b on "
                   "a.fbillid=b.fbillid"),
              QStringList{QString::number(2 * kNotesEach)});
    EXPECT_EQ(todayNumber(1), *std::min_element(stored.begin(), stored.end()));
}

}  // namespace
