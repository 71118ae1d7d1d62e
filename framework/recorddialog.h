#pragma once
// A dialog over one record (the company record): the dataset DBmaster_table
// behind DbMaster_Source, its labelled editors in FieldPanel and a row of
// buttons under them. Typing into an editor starts editing the record; the
// form's buttons decide when it is saved.
//
//     class Tfrm_ltd : public TRecordDialog {
//     public:
//         explicit Tfrm_ltd(QWidget* owner = nullptr) : TRecordDialog(owner) {
//             setWindowTitle("公司信息");
//             DBmaster_table->SetSQL("select * from dt_ltd");
//             FieldPanel->AddEdit("中文名称：", "fname_ch", true);
//             AddButton("But_OK", "确定", [this] { SaveRecord(); Close(); });
//         }
//     };
#include <functional>

#include "baseform.h"

class QHBoxLayout;
class QPushButton;
class TDataSource;
class TFieldPanel;
class TRemoteUdpDataSet;

class TRecordDialog : public Tbase_frmTop {
    Q_OBJECT
  public:
    explicit TRecordDialog(QWidget* owner = nullptr, int columns = 2);

    TRemoteUdpDataSet* DBmaster_table;  // lock type etBatchOptimistic: edits cached until saved
    TDataSource* DbMaster_Source;
    TFieldPanel* FieldPanel;

    // A button on the bottom row, in the order added; its click runs the
    // handler through the guard.
    QPushButton* AddButton(const QString& name, const QString& caption,
                           std::function<void()> handler);

    // The record is in the edit or insert state.
    bool Editing() const;
    // Posts the record when it is being edited, then sends the cached changes.
    void SaveRecord();

  private:
    QHBoxLayout* m_buttons;
};
