#pragma once
// 采集考勤数据: reads the punches of a range of days from the time clock's own
// database (the ODBC data source AttendanceConnStr names, table record_Ac),
// keeps those of known employees in memory, and on 确定 replaces the same
// range in kq_record_ta and kq_record_ac with them, in one transaction.
//
// The source query goes to the ODBC driver as written, so its bounds are full
// 'yyyy-MM-dd HH:mm:ss' texts; the end bound is 00:00:00 of the end day, and a
// punch at that very second belongs to the range.
#include <vector>

#include "baseform.h"

class QDateEdit;
class QProgressBar;
class QPushButton;
class TDataSource;
class TDBGrid;
class TRemoteUdpDataSet;

// The attendance link as Qt's ODBC driver takes it.
struct TAttendanceLink {
    QString odbc;      // the driver's database name: a data source name or a connection string
    QString user;      // from the ADO link's "User ID"
    QString password;  // from its "Password"
    QString name;      // what messages call the source: the data source name, else the text
};

class Tfrm_KQ_Record : public Tbase_frm {
    Q_OBJECT
  public:
    explicit Tfrm_KQ_Record(QWidget* owner = nullptr);

    // The ADO link "Provider=MSDASQL.1;...;Data Source=KQ" names the ODBC data
    // source KQ; a text that already is an ODBC connection string ("DSN=...",
    // "DRIVER=...") is the driver's own.
    static TAttendanceLink AttendanceLink(const QString& connStr);

    QDateEdit* DateEdit1;      // 日期
    QDateEdit* DateEdit2;      // 至
    QPushButton* But_Collect;  // 采集
    QPushButton* But_OK;       // 确定
    QPushButton* But_Cancel;   // 取消
    QProgressBar* ProgressBar1;
    // The collected punches with the employee's name and department; its
    // inserts go to kq_record_ta.
    TRemoteUdpDataSet* DBmaster_table;
    TDataSource* DbMaster_Source;
    // The same punches on their way to kq_record_ac.
    TRemoteUdpDataSet* DBRecord_ac;
    TDBGrid* cxGrid1;

    // Replaces the buffer by the punches of the range. A failing source, or
    // 取消 pressed meanwhile, leaves the buffer as it was.
    void But_CollectClick();
    // Stores the buffer over the collected range and closes the window.
    void But_OKClick();
    // Stops a collection under way; otherwise closes, asking first when
    // punches were collected.
    void But_CancelClick();

    bool Collecting() const { return m_collecting; }

  protected:
    void FormCreate() override;
    bool FormCloseQuery() override;

  private:
    struct Punch;
    struct Employee;
    void readPunches(const QString& from, const QString& to, std::vector<Punch>& punches,
                     std::vector<Employee>& employees);
    void fillBuffer(const std::vector<Punch>& punches, const std::vector<Employee>& employees);
    void fillAcBuffer();
    void showProgress(int value);

    bool m_collecting = false;
    bool m_cancelRequested = false;
    // The range the buffer holds, as the statements write it.
    QString m_collectedFrom;
    QString m_collectedTo;
};
