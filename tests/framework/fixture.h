#pragma once
// The framework tests' world: a database with the server schema plus small
// tables of the test forms, a session on it, a host window keeping the
// open-window list, scripted message boxes, and two forms that exist only
// here: a grid dictionary editor and a tree dictionary editor, written the way
// the real windows are (a description plus handlers).
#include <QAbstractItemModelTester>
#include <QAction>
#include <QKeyEvent>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <memory>

#include "dicteditor.h"
#include "formfixture.h"
#include "grid.h"
#include "gridexport.h"
#include "gridfooter.h"
#include "gridmodel.h"
#include "remoteudpdataset.h"
#include "serverdb.h"
#include "sqlquote.h"
#include "treeeditor.h"
#include "treelist.h"

// Readable values in failure messages.
inline void PrintTo(const QVariant& value, std::ostream* out) {
    *out << value.toString().toStdString();
}
inline void PrintTo(const QVariantList& values, std::ostream* out) {
    QStringList texts;
    for (const QVariant& v : values) texts << v.toString();
    PrintTo(texts, out);
}

namespace md::test {

inline const char* kFormTables = R"(
create table t_color (
    fautoid int identity(1,1) not null primary key,
    colorid varchar(15) not null unique,
    colorname_ch varchar(50) null,
    fqty int null,
    fprice money null,
    finused bit null,
    fdate datetime null
)
create table t_area (
    fautoid int identity(1,1) not null primary key,
    fcode varchar(20) not null,
    fname varchar(50) null,
    fparentcode varchar(20) null,
    fnotes varchar(200) null
)
create table ba_fieldremark (
    fid int not null primary key,
    ftablename varchar(30) null,
    fname varchar(30) null,
    ffieldname_sys varchar(30) null,
    ffieldremark varchar(50) null,
    visiblebit bit null
)
create table ba_fieldvalues (
    fautoid int identity(1,1) not null primary key,
    ftablename varchar(30) null,
    ffieldname varchar(30) null,
    fFieldValues varchar(50) null
)
)";

// A database with the server schema and the tables above, known to the catalog:
// SQLite, or PostgreSQL when the tests run there (MD_TEST_BACKEND).
class FrameworkDb : public DbShorthands {
  public:
    FrameworkDb() {
        auto base = md::server::objects();
        auto objects = std::make_shared<md::data::ServerObjects>(*base);
        auto catalog = std::make_shared<md::sql::Catalog>(*base->catalog);
        // Later schema files may bring some of these tables themselves.
        QString own;
        for (const QString& statement :
             QString::fromUtf8(kFormTables)
                 .split(QStringLiteral("create table "), Qt::SkipEmptyParts)) {
            const QString name = statement.section(QLatin1Char(' '), 0, 0).trimmed();
            if (name.isEmpty()) continue;
            if (!md::server::schemaScript().contains(
                    QStringLiteral("create table ") + name + QLatin1Char(' '), Qt::CaseInsensitive))
                own += QStringLiteral("create table ") + statement;
        }
        catalog->load(own);
        objects->catalog = std::move(catalog);
        ConnectionSettings settings =
            ConnectionSettings::sqlite(m_dir.filePath(QStringLiteral("framework.db")));
        if (testOnPostgres()) {
            m_scratch = std::make_unique<ScratchPgDatabase>();
            settings = m_scratch->settings();
        }
        m_connection = std::make_unique<TRemoteUdpConnection>();
        m_connection->Open(settings, std::move(objects));
        md::server::createDatabase(*m_connection);
        if (!own.trimmed().isEmpty()) m_connection->ExecSQL(own);
    }

    TRemoteUdpConnection& conn() override { return *m_connection; }

  private:
    QTemporaryDir m_dir;
    std::unique_ptr<ScratchPgDatabase> m_scratch;  // PostgreSQL runs: outlives the connection
    std::unique_ptr<TRemoteUdpConnection> m_connection;
};

// ---------------------------------------------------------------- the test forms

// A grid dictionary editor over t_color.
class Tfrm_testcolor : public Tbase_frmDictMdi {
  public:
    explicit Tfrm_testcolor(QWidget* owner = nullptr,
                            const QString& caption = QStringLiteral("测试颜色"))
        : Tbase_frmDictMdi(owner) {
        setWindowTitle(caption);
        DBmaster_table->SetSQL(QStringLiteral("select * from t_color"));
        DBmaster_table->SetRTSQL(DBmaster_table->SQL());
        TDBTableView* v = cxGrid1DBTableView1;
        v->AddColumn(QStringLiteral("colorid"), QStringLiteral("颜色编号"))
            .upperCase()
            .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
        v->AddColumn(QStringLiteral("colorname_ch"), QStringLiteral("颜色中文说明")).width(140);
        v->AddColumn(QStringLiteral("fqty"), QStringLiteral("数量"))
            .footer(TSummaryKind::Sum, QStringLiteral("0"));
        v->AddColumn(QStringLiteral("fprice"), QStringLiteral("单价"))
            .width(120)
            .currency(QStringLiteral("0.00"))
            .footer(TSummaryKind::Sum, QStringLiteral("合计：0.00"));
        v->AddColumn(QStringLiteral("finused"), QStringLiteral("启用")).checkBox();
        v->AddColumn(QStringLiteral("fdate"), QStringLiteral("日期")).date();
        ShowActions({print_action, find_action});
    }

    using Tbase_frmMdi::Editing;
    int beforePostCalls = 0;

  protected:
    void FormCreate() override {
        Tbase_frmDictMdi::FormCreate();
        DBmaster_table->setrtactive(true);
    }
    void DBmaster_tableBeforePost() override {
        ++beforePostCalls;
        if (DBmaster_table->FieldByName(QStringLiteral("colorid")).AsString().isEmpty())
            md::ui::Refuse(QStringLiteral("颜色编号不能为空！"));
    }
};

// A tree dictionary editor over t_area.
class Tfrm_testarea : public Tbase_frmMditree {
  public:
    explicit Tfrm_testarea(QWidget* owner = nullptr) : Tbase_frmMditree(owner) {
        setWindowTitle(QStringLiteral("测试地区"));
        DBmaster_table->SetSQL(QStringLiteral("select * from t_area"));
        dxDBTreeList1->AddColumn(QStringLiteral("fName"), QStringLiteral("名称"));
        AddEdit(QStringLiteral("地区编号："), QStringLiteral("fCode"), true);
        AddEdit(QStringLiteral("地区名称："), QStringLiteral("fName"));
        AddMemo(QStringLiteral("备    注："), QStringLiteral("fNotes"));
        TreeRules.ParentQuery = [](const QString& parent) -> QString {
            return QStringLiteral("select * from t_area where fparentcode='") + SqlText(parent) +
                   QStringLiteral("'");
        };
        TreeRules.DuplicateQuery = [](const QString& code) -> QString {
            return QStringLiteral("select fcode from t_area where fcode='") + SqlText(code) +
                   QStringLiteral("'");
        };
        TreeRules.EmptyNameMessage = QStringLiteral("请输入地区名称!");
        TreeRules.EmptyCodeMessage = QStringLiteral("地区编号不能为空!");
        TreeRules.DuplicateCodeMessage = QStringLiteral("地区编号不能重复!");
        HideActions({excel_action});
    }

  protected:
    void FormCreate() override {
        Tbase_frmMditree::FormCreate();
        DBmaster_table->Open();
    }
};

// ---------------------------------------------------------------- the fixture

class FrameworkTest : public FormTestOf<FrameworkDb> {
  protected:
    FrameworkTest() : FormTestOf(QStringLiteral("frm_test")) {
        md::ui::SetDesktopOpener([this](const QString& file) { opened << file; });
        joinGroup();
    }
    ~FrameworkTest() override {
        closeForms();
        md::ui::SetDesktopOpener({});
    }

    void grantAll() {
        grant({"b_add", "b_edit", "b_del", "b_print", "b_excel", "b_posted", "b_unposted"});
    }

    // The log rows written since the start: "caption|state".
    QStringList log() {
        return db.rows(QStringLiteral("select modename,fstate from syslog order by fautoid"));
    }
    QStringList states() {
        QStringList out;
        for (const QString& row : log()) out << row.section(QLatin1Char('|'), 1);
        return out;
    }

    QStringList opened;
};

}  // namespace md::test
