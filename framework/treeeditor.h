#pragma once
// Tbase_frmMditree: the tree dictionary editor for hierarchical code tables
// (records linked by fcode and fparentcode, a root has fparentcode "0"). The
// tree dxDBTreeList1 on the left shows the records; the panel RzPanel2 on the
// right holds the form's data-aware editors, which take input only after
// "新增同级", "新增下级" or "修改" (the source does not start editing by itself).
//
// The hierarchy rules are the editor's: remembered LastCode, LastParentCode
// and LastRecNo; the parent code of a new record from the form's parent query;
// the code editor enabled for new records and disabled for edited ones; the
// tree disabled while editing; the checks before saving (name, code,
// duplicate code of a new record) with the form's messages; the position
// restored after save and cancel. A form gives its texts:
//
//     class Tfrm_Area : public Tbase_frmMditree {
//     public:
//         explicit Tfrm_Area(QWidget* owner = nullptr) : Tbase_frmMditree(owner) {
//             setWindowTitle("地区资料");
//             DBmaster_table->SetSQL("select * from ba_Area");
//             dxDBTreeList1->AddColumn("fName", "名称");
//             AddEdit("地区编号：", "fCode", true);
//             AddEdit("地区名称：", "fName");
//             AddMemo("备    注：", "fNotes");
//             // "-> QString": with QStringBuilder a deduced return type would dangle.
//             TreeRules.ParentQuery = [](const QString& p) -> QString {
//                 return "select * from ba_Area where fparentcode='" + SqlText(p) + "'"; };
//             TreeRules.DuplicateQuery = [](const QString& c) -> QString {
//                 return "select fcode from ba_Area where fcode='" + SqlText(c) + "'"; };
//             TreeRules.EmptyNameMessage = "请输入地区名称!";
//             TreeRules.EmptyCodeMessage = "地区编号不能为空!";
//             TreeRules.DuplicateCodeMessage = "地区编号不能重复!";
//             HideActions({excel_action});
//         }
//     };
#include <functional>

#include "mdiform.h"

class QFormLayout;
class QSplitter;
class TDBTreeList;
class TDBEdit;
class TDBMemo;
class TDBCheckBox;
class TDBComboBox;
class TDBDateEdit;
class TDBLookupComboBox;

struct TTreeEditRules {
    QString CodeField = QStringLiteral("fcode");
    QString ParentField = QStringLiteral("fparentcode");
    QString NameField = QStringLiteral("fname");
    // The rows of the form's table whose parent code is the given one; unset:
    // the form sets the parent code of new records itself.
    std::function<QString(const QString& lastParentCode)> ParentQuery;
    // A select of the given code in the form's table; unset: no duplicate check.
    std::function<QString(const QString& code)> DuplicateQuery;
    // The check messages, in check order; an empty message skips its check.
    QString EmptyNameMessage;
    QString EmptyCodeMessage;
    QString DuplicateCodeMessage;
    // The code editor gets the focus after a new record, the name editor after edit.
    bool MoveFocus = true;
};

class Tbase_frmMditree : public Tbase_frmMdi {
    Q_OBJECT
  public:
    explicit Tbase_frmMditree(QWidget* owner = nullptr);

    QAction* insert_action;
    QSplitter* RzSplitter1;
    QWidget* RzPanel1;  // left: the tree
    QWidget* RzPanel2;  // right: the editing panel
    TDBTreeList* dxDBTreeList1;
    TRemoteUdpDataSet* DBtmp_table;  // scratch dataset of the parent and duplicate queries

    QString LastCode;
    QString LastParentCode;
    int LastRecNo = 0;
    TTreeEditRules TreeRules;

    // The editors of the code and name fields (set by AddEdit for those fields).
    QWidget* CodeEditor = nullptr;
    QWidget* NameEditor = nullptr;

    // Editing panel: a label and a data-aware editor per row.
    TDBEdit& AddEdit(const QString& label, const QString& field, bool upperCase = false);
    TDBMemo& AddMemo(const QString& label, const QString& field);
    TDBCheckBox& AddCheckBox(const QString& caption, const QString& field);
    TDBComboBox& AddComboBox(const QString& label, const QString& field, const QStringList& items,
                             bool freeText = true);
    TDBDateEdit& AddDateEdit(const QString& label, const QString& field);
    TDBLookupComboBox& AddLookup(const QString& label, const QString& field,
                                 TRemoteUdpDataSet* list, const QString& keyField,
                                 const QStringList& shownFields,
                                 const QStringList& shownCaptions = {});
    void AddEditor(const QString& label, QWidget* editor);

  protected:
    virtual void insert_actionExecute();
    void append_actionExecute() override;
    void edit_actionExecute() override;
    void post_actionExecute() override;
    void cacel_actionExecute() override;
    void del_actionExecute() override;
    void print_actionExecute() override;
    void excel_actionExecute() override;
    // The navigation actions are hidden and do nothing here.
    void first_actionExecute() override {}
    void prio_actionExecute() override {}
    void next_actionExecute() override {}
    void last_actionExecute() override {}

    void UpdateActionState() override;
    void FormShow() override;
    void DBmaster_tableAfterOpen() override;
    void DBmaster_tableBeforeInsert() override;
    void DBmaster_tableBeforeEdit() override;
    void DBmaster_tableBeforePost() override;

    // Sets the new record's parent code: a root ("0") in an empty table, else
    // LastCode for a child and LastParentCode for a sibling.
    virtual void SetNewParentCode(bool child);
    IReportSource* ReportSource() const override;

    // Back in browse state: the tree and the code editor take input again.
    void EndEditing();
    void ReturnToLastRecNo();

  private:
    void newRecord(bool child);
    void rememberLast();
    QString typedCode() const;

    QFormLayout* m_editorLayout;
};
