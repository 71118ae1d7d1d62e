#include "frm_KQ_Record.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVBoxLayout>

#include "datasource.h"
#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "routines.h"
#include "scopes.h"
#include "session.h"
#include "sharedvalues.h"
#include "sqlquote.h"
#include "styles.h"

using md::ui::Refuse;

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
const QString kBoundFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QString kSourceConnection = QStringLiteral("md_attendance_source");
// The screen follows a collection every so many punches: often enough to
// look alive, rarely enough to cost nothing next to reading them.
constexpr int kRefreshEvery = 1000;

QString insertInto(const QString& table) {
    return QStringLiteral("insert into ") + table +
           QStringLiteral(
               "(fmach_no,fmach_id,fcard_no,date_time)values(:fmach_no,:fmach_id,:fcard_no,:"
               "date_time)");
}

// The lines of the buffer's statement, one statement over them.
QString bufferSql(const QString& table) {
    return QStringLiteral("select a.*,b.fnamech,b.fdeptname from ") + table +
           QStringLiteral(" a ") + QStringLiteral("\r\n") +
           QStringLiteral("left join V_employee b on a.fcard_no=b.fcode") + QStringLiteral("\r\n") +
           QStringLiteral("where 1=2");
}

// The pairs of a connection string; a value may be quoted ("..." or '...').
QList<QPair<QString, QString>> pairsOf(const QString& text) {
    QList<QPair<QString, QString>> pairs;
    int at = 0;
    while (at < text.size()) {
        const int equals = text.indexOf(QLatin1Char('='), at);
        if (equals < 0) break;
        const QString key = text.mid(at, equals - at).trimmed();
        int end = equals + 1;
        while (end < text.size() && text.at(end).isSpace()) ++end;
        QString value;
        if (end < text.size() && (text.at(end) == QLatin1Char('"') || text.at(end) == '\'')) {
            const QChar quote = text.at(end);
            const int close = text.indexOf(quote, end + 1);
            value = text.mid(end + 1, close < 0 ? -1 : close - end - 1);
            end = close < 0 ? int(text.size()) : text.indexOf(QLatin1Char(';'), close);
        } else {
            const int semicolon = text.indexOf(QLatin1Char(';'), end);
            value = text.mid(end, semicolon < 0 ? -1 : semicolon - end).trimmed();
            end = semicolon;
        }
        if (!key.isEmpty()) pairs.append({key, value});
        if (end < 0) break;
        at = end + 1;
    }
    return pairs;
}

QString valueOf(const QList<QPair<QString, QString>>& pairs, const QString& key) {
    for (const auto& pair : pairs)
        if (pair.first.compare(key, Qt::CaseInsensitive) == 0) return pair.second;
    return QString();
}

bool hasKey(const QList<QPair<QString, QString>>& pairs, const QString& key) {
    for (const auto& pair : pairs)
        if (pair.first.compare(key, Qt::CaseInsensitive) == 0) return true;
    return false;
}

// A punch time as the system stores it; the driver hands it over as a
// timestamp or, for sources keeping text, as that text.
QString punchTime(const QVariant& value) {
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime().toString(kBoundFormat);
    if (value.metaType().id() == QMetaType::QDate)
        return value.toDate().toString(kDateFormat) + QStringLiteral(" 00:00:00");
    const QString text = value.toString().trimmed();
    if (text.size() == 19 && text.at(10) == QLatin1Char(' ')) return text;
    const QDateTime parsed = QDateTime::fromString(text, Qt::ISODate);
    return parsed.isValid() ? parsed.toString(kBoundFormat) : text;
}

// The attendance data source, open for the time of one collection.
class TAttendanceSource {
  public:
    explicit TAttendanceSource(const TAttendanceLink& link) : m_link(link) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), kSourceConnection);
        db.setDatabaseName(link.odbc);
        if (!link.user.isEmpty()) db.setUserName(link.user);
        if (!link.password.isEmpty()) db.setPassword(link.password);
        if (!db.open()) {
            const QString reason = db.lastError().text().trimmed();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(kSourceConnection);
            throw EDatabaseError(
                QStringLiteral("无法连接考勤数据源“%1”：\n%2").arg(link.name, reason));
        }
    }
    ~TAttendanceSource() {
        {
            QSqlDatabase db = QSqlDatabase::database(kSourceConnection, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(kSourceConnection);
    }
    TAttendanceSource(const TAttendanceSource&) = delete;
    TAttendanceSource& operator=(const TAttendanceSource&) = delete;

    QSqlDatabase database() const { return QSqlDatabase::database(kSourceConnection, false); }

    [[noreturn]] void fail(const QSqlQuery& query) const {
        throw EDatabaseError(QStringLiteral("无法读取考勤数据源“%1”：\n%2")
                                 .arg(m_link.name, query.lastError().text().trimmed()));
    }

  private:
    TAttendanceLink m_link;
};

// Flags a collection under way for as long as it runs, however it ends.
class TCollecting {
  public:
    TCollecting(bool& flag, bool& cancelRequested, const QList<QWidget*>& idle)
        : m_flag(flag), m_idle(idle) {
        m_flag = true;
        cancelRequested = false;
        for (QWidget* widget : m_idle) widget->setEnabled(false);
    }
    ~TCollecting() {
        m_flag = false;
        for (QWidget* widget : m_idle) widget->setEnabled(true);
    }
    TCollecting(const TCollecting&) = delete;
    TCollecting& operator=(const TCollecting&) = delete;

  private:
    bool& m_flag;
    QList<QWidget*> m_idle;
};

}  // namespace

struct Tfrm_KQ_Record::Employee {
    QString name;
    QString dept;
};

struct Tfrm_KQ_Record::Punch {
    QString machNo;
    QString card;
    QString time;
    int employee = -1;
};

TAttendanceLink Tfrm_KQ_Record::AttendanceLink(const QString& connStr) {
    const QString text = connStr.trimmed();
    const auto pairs = pairsOf(text);
    TAttendanceLink link;
    // Qt's driver takes a text with DRIVER= or SERVER= as it is, and puts
    // "DSN=" before anything else.
    if (hasKey(pairs, QStringLiteral("DRIVER")) || hasKey(pairs, QStringLiteral("SERVER"))) {
        link.odbc = text;
        link.name =
            hasKey(pairs, QStringLiteral("DSN")) ? valueOf(pairs, QStringLiteral("DSN")) : text;
        return link;
    }
    if (hasKey(pairs, QStringLiteral("DSN"))) {
        link.name = valueOf(pairs, QStringLiteral("DSN"));
        QStringList rest(link.name);
        for (const auto& pair : pairs)
            if (pair.first.compare(QLatin1String("DSN"), Qt::CaseInsensitive) != 0)
                rest << pair.first + QLatin1Char('=') + pair.second;
        link.odbc = rest.join(QLatin1Char(';'));
        return link;
    }
    // An ADO link through the ODBC provider: its extended properties, when
    // given, are the ODBC connection string itself.
    const QString extended = valueOf(pairs, QStringLiteral("Extended Properties"));
    if (extended.contains(QLatin1Char('='))) {
        link = AttendanceLink(extended);
    } else {
        link.name = valueOf(pairs, QStringLiteral("Data Source"));
        link.odbc = link.name;
    }
    if (link.user.isEmpty()) link.user = valueOf(pairs, QStringLiteral("User ID"));
    if (link.password.isEmpty()) link.password = valueOf(pairs, QStringLiteral("Password"));
    return link;
}

Tfrm_KQ_Record::Tfrm_KQ_Record(QWidget* owner) : Tbase_frm(owner) {
    setObjectName(QStringLiteral("frm_KQ_Record"));
    setWindowTitle(QStringLiteral("采集考勤数据"));
    DBmaster_table = new TRemoteUdpDataSet(QStringLiteral("DBmaster_table"), this);
    DBmaster_table->SetSQL(bufferSql(QStringLiteral("kq_record_ta")));
    auto* taUpdate = new TRemoteUpdateSql(this);
    taUpdate->setObjectName(QStringLiteral("RecordTaUpdateSql"));
    taUpdate->InsertSQL = insertInto(QStringLiteral("kq_record_ta"));
    DBmaster_table->SetupDataObject(taUpdate);
    // Punches at midnight show their time too.
    DBmaster_table->AfterOpen = [](TRemoteUdpDataSet& ds) {
        ds.FieldByName(QStringLiteral("date_time"))
            .SetDisplayFormat(QStringLiteral("yyyy-mm-dd hh:mm:ss"));
    };
    DbMaster_Source = new TDataSource(QStringLiteral("DbMaster_Source"), this);
    DbMaster_Source->setDataSet(DBmaster_table);
    DBRecord_ac = new TRemoteUdpDataSet(QStringLiteral("DBRecord_ac"), this);
    DBRecord_ac->SetSQL(bufferSql(QStringLiteral("kq_record_ac")));
    auto* acUpdate = new TRemoteUpdateSql(this);
    acUpdate->setObjectName(QStringLiteral("RecordAcUpdateSql"));
    acUpdate->InsertSQL = insertInto(QStringLiteral("kq_record_ac"));
    DBRecord_ac->SetupDataObject(acUpdate);
    // A long store moves the bar; the send itself is the dataset's, inside
    // the transaction, so the window takes no input meanwhile.
    const auto followSend = [this](int sent, int total) {
        ProgressBar1->setMaximum(qMax(1, total));
        ProgressBar1->setValue(qMin(sent, ProgressBar1->maximum()));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    DBmaster_table->OnUpdateProgress = followSend;
    DBRecord_ac->OnUpdateProgress = followSend;

    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    const auto dateEdit = [this](const QString& name) {
        auto* edit = new QDateEdit(QDate::currentDate(), this);
        edit->setObjectName(name);
        edit->setDisplayFormat(kDateFormat);
        edit->setCalendarPopup(true);
        return edit;
    };
    DateEdit1 = dateEdit(QStringLiteral("DateEdit1"));
    DateEdit2 = dateEdit(QStringLiteral("DateEdit2"));
    const auto button = [this](const QString& name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    But_Collect = button(QStringLiteral("But_Collect"), QStringLiteral("采集"));
    But_OK = button(QStringLiteral("But_OK"), QStringLiteral("确定"));
    But_Cancel = button(QStringLiteral("But_Cancel"), QStringLiteral("取消"));
    bar->addWidget(new QLabel(QStringLiteral("日期"), this));
    bar->addWidget(DateEdit1);
    bar->addWidget(new QLabel(QStringLiteral("至"), this));
    bar->addWidget(DateEdit2);
    bar->addSpacing(12);
    bar->addWidget(But_Collect);
    bar->addStretch(1);
    bar->addWidget(But_OK);
    bar->addWidget(But_Cancel);
    layout->addLayout(bar);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);
    layout->addWidget(ProgressBar1);

    cxGrid1 = new TDBGrid(this);
    TDBTableView* v = cxGrid1->View();
    v->setDataSource(DbMaster_Source);
    v->AddColumn(QStringLiteral("fMach_No"), QStringLiteral("考勤机编号"))
        .width(90)
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    v->AddColumn(QStringLiteral("fdeptname"), QStringLiteral("所属部门"))
        .width(120)
        .footer(TSummaryKind::Count, QStringLiteral("0"));
    v->AddColumn(QStringLiteral("fCard_No"), QStringLiteral("员工编号")).width(90);
    v->AddColumn(QStringLiteral("fnamech"), QStringLiteral("员工姓名")).width(90);
    v->AddColumn(QStringLiteral("date_time"), QStringLiteral("刷卡时间")).width(150);
    TGridViewOptions& options = v->Options();
    options.Footer = true;
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    v->ApplyOptions();
    v->SetInputAllowed(false);
    layout->addWidget(cxGrid1, 1);

    OnClick(But_Collect, [this] { But_CollectClick(); });
    OnClick(But_OK, [this] { But_OKClick(); });
    OnClick(But_Cancel, [this] { But_CancelClick(); });
    resize(640, 460);
}

void Tfrm_KQ_Record::FormCreate() {
    Tbase_frm::FormCreate();
    md::ui::ApplySharedColours(this);
    DBmaster_table->Open();
    DBRecord_ac->Open();
}

bool Tfrm_KQ_Record::FormCloseQuery() {
    // A collection under way stops first; the window stays until it has.
    if (m_collecting) {
        m_cancelRequested = true;
        return false;
    }
    return Tbase_frm::FormCloseQuery();
}

void Tfrm_KQ_Record::showProgress(int value) {
    ProgressBar1->setValue(qMin(value, ProgressBar1->maximum()));
    QCoreApplication::processEvents();
}

void Tfrm_KQ_Record::But_CollectClick() {
    if (m_collecting) return;
    const QDate first = DateEdit1->date();
    const QDate last = DateEdit2->date();
    if (first > last) Refuse(QStringLiteral("开始日期不能大于结束日期!"));
    const QString from = first.toString(kDateFormat) + QStringLiteral(" 00:00:00");
    const QString to = last.toString(kDateFormat) + QStringLiteral(" 00:00:00");
    std::vector<Punch> punches;
    std::vector<Employee> employees;
    {
        TCollecting collecting(m_collecting, m_cancelRequested,
                               {But_Collect, But_OK, DateEdit1, DateEdit2});
        readPunches(from, to, punches, employees);
    }
    fillBuffer(punches, employees);
    m_collectedFrom = from;
    m_collectedTo = to;
}

void Tfrm_KQ_Record::readPunches(const QString& from, const QString& to,
                                 std::vector<Punch>& punches, std::vector<Employee>& employees) {
    QHash<QString, int> employeeOf;
    {
        TRemoteUdpDataSet list;
        md::OpenQuery(list, QStringLiteral("select fcode,fdeptname,fnamech from V_employee"));
        TField& code = list.FieldByName(QStringLiteral("fcode"));
        TField& dept = list.FieldByName(QStringLiteral("fdeptname"));
        TField& name = list.FieldByName(QStringLiteral("fnamech"));
        for (list.First(); !list.Eof(); list.Next()) {
            employeeOf.insert(code.AsString().trimmed(), int(employees.size()));
            employees.push_back({name.AsString(), dept.AsString()});
        }
    }

    const QString text = md::Shared().AttendanceConnStr;
    const TAttendanceLink link = AttendanceLink(text);
    if (link.odbc.isEmpty())
        Refuse(QStringLiteral("没有设置考勤数据源（softconfig.ini [KQSoft] datalinkstr）!"));
    TAttendanceSource source(link);
    const QString where = QStringLiteral(" where date_time>='") + SqlText(from) +
                          QStringLiteral("'") + QStringLiteral(" and date_time<=") +
                          QStringLiteral("'") + SqlText(to) + QStringLiteral("'");
    {
        // The count only sizes the bar.
        QSqlQuery count(source.database());
        if (!count.exec(QStringLiteral("select count(*) from record_Ac") + where))
            source.fail(count);
        ProgressBar1->setMaximum(qMax(1, count.next() ? count.value(0).toInt() : 0));
        ProgressBar1->setValue(0);
    }
    QSqlQuery query(source.database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("select * from record_Ac") + where)) source.fail(query);
    const QSqlRecord columns = query.record();
    const int cardColumn = columns.indexOf(QStringLiteral("card_number"));
    const int machColumn = columns.indexOf(QStringLiteral("mach_no"));
    const int timeColumn = columns.indexOf(QStringLiteral("date_time"));
    if (cardColumn < 0 || machColumn < 0 || timeColumn < 0)
        throw EDatabaseError(
            QStringLiteral("考勤数据源“%1”的 record_Ac 缺少 card_number、mach_no 或 date_time 列")
                .arg(link.name));
    int read = 0;
    while (query.next()) {
        if (++read % kRefreshEvery == 0) {
            showProgress(read);
            if (m_cancelRequested) Abort();
        }
        const QString card = query.value(cardColumn).toString().trimmed();
        const auto found = employeeOf.constFind(card);
        if (found == employeeOf.constEnd()) continue;  // not one of ours
        punches.push_back({query.value(machColumn).toString().trimmed(), card,
                           punchTime(query.value(timeColumn)), found.value()});
    }
    if (query.lastError().isValid()) source.fail(query);
    showProgress(read);
    if (m_cancelRequested) Abort();
}

void Tfrm_KQ_Record::fillBuffer(const std::vector<Punch>& punches,
                                const std::vector<Employee>& employees) {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    TControlsDisabled quiet(ds);
    ds.Close();
    ds.Open();
    TField& machNo = ds.FieldByName(QStringLiteral("fmach_no"));
    TField& machId = ds.FieldByName(QStringLiteral("fmach_id"));
    TField& card = ds.FieldByName(QStringLiteral("fcard_no"));
    TField& time = ds.FieldByName(QStringLiteral("date_time"));
    TField& name = ds.FieldByName(QStringLiteral("fnamech"));
    TField& dept = ds.FieldByName(QStringLiteral("fdeptname"));
    for (const Punch& punch : punches) {
        const Employee& employee = employees[std::size_t(punch.employee)];
        ds.Append();
        machNo.SetAsString(punch.machNo);
        machId.SetAsInteger(0);
        card.SetAsString(punch.card);
        time.SetAsString(punch.time);
        name.SetAsString(employee.name);
        dept.SetAsString(employee.dept);
        ds.Post();
    }
    ds.First();
}

void Tfrm_KQ_Record::fillAcBuffer() {
    TRemoteUdpDataSet& from = *DBmaster_table;
    TRemoteUdpDataSet& to = *DBRecord_ac;
    TControlsDisabled quiet(to);
    to.Close();
    to.Open();
    const int machNo = from.FieldByName(QStringLiteral("fmach_no")).Index();
    const int card = from.FieldByName(QStringLiteral("fcard_no")).Index();
    const int time = from.FieldByName(QStringLiteral("date_time")).Index();
    TField& toMachNo = to.FieldByName(QStringLiteral("fmach_no"));
    TField& toMachId = to.FieldByName(QStringLiteral("fmach_id"));
    TField& toCard = to.FieldByName(QStringLiteral("fcard_no"));
    TField& toTime = to.FieldByName(QStringLiteral("date_time"));
    for (int row = 0; row < from.RecordCount(); ++row) {
        to.Append();
        toMachNo.SetValue(from.valueAt(row, machNo));
        toMachId.SetAsInteger(0);
        toCard.SetValue(from.valueAt(row, card));
        toTime.SetValue(from.valueAt(row, time));
        to.Post();
    }
}

void Tfrm_KQ_Record::But_OKClick() {
    if (m_collecting) return;
    if (DBmaster_table->IsEmpty()) Refuse(QStringLiteral("没有采集到数据!"));
    const QString from = m_collectedFrom;
    const QString to = m_collectedTo;
    {
        // The range is replaced all at once or not at all.
        TTransactionScope transaction(*md::Session().Connection, TTransactionScope::Whole);
        md::ExecuteSQL(QStringLiteral("delete from kq_record_ac where date_time>='") +
                       SqlText(from) + QStringLiteral("'") + QStringLiteral(" and date_time<=") +
                       QStringLiteral("'") + SqlText(to) + QStringLiteral("'"));
        md::ExecuteSQL(QStringLiteral("delete from kq_record_ta where date_time>='") +
                       SqlText(from) + QStringLiteral("'") + QStringLiteral(" and date_time<=") +
                       QStringLiteral("'") + SqlText(to) + QStringLiteral("'"));
        DBmaster_table->UpdateBatch();
        fillAcBuffer();
        DBRecord_ac->UpdateBatch();
        transaction.commit();
    }
    accept();
}

void Tfrm_KQ_Record::But_CancelClick() {
    if (m_collecting) {
        m_cancelRequested = true;
        return;
    }
    if (!DBmaster_table->IsEmpty() && !md::ui::AskYesNo(QStringLiteral("是否确认取消？"))) return;
    reject();
}

MD_REGISTER_FORM(Tfrm_KQ_Record);
