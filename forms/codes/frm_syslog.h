#pragma once
// 操作日志: a read-only browser over syslog, the log every window writes. The
// grid stays empty until "检索" looks up the entries of a date range, by
// default the current month up to today.
#include "dicteditor.h"

class QDateEdit;
class QPushButton;

class Tfrm_syslog : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_syslog(QWidget* owner = nullptr);

    QWidget* Panel_search;
    QDateEdit* DateEdit_begin;  // "开始日期"
    QDateEdit* DateEdit_end;    // "结束日期"
    QPushButton* But_Find;      // "检索"

    // The entries whose date lies in the range, both days included.
    void But_FindClick();

  protected:
    void FormCreate() override;
    // The editing actions stay off whatever the rights say: the log is read only.
    void UpdateActionState() override;
};
