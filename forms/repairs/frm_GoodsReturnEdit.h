#pragma once
// 商品返修登记: one repair note, its header and its lines, opened by the repair
// list in one of six modes (repairnote.h). Modes 0 to 2 show the client band
// only; 3 to 5 show the factory bands up to the step they enter, that step's
// band editable and the earlier ones read-only. 审核 and 删除 act on the note
// at once and close the editor; F12 withdraws an approval.
//
// A new note's number is taken when 确定 saves it, inside the saving
// transaction: yyMMdd of today, "K" and the count of today's notes plus one in
// four digits, moving on to the next number while one is taken.
#include <QDate>

#include "baseform.h"
#include "repairnote.h"

class QLabel;
class QPushButton;
class TDataSource;
class TDBComboBox;
class TDBDateEdit;
class TDBEdit;
class TDBGrid;
class TDBLookupComboBox;
class TDBTableView;
class TField;
class TRemoteUdpDataSet;
class TRemoteUpdateSql;

class Tfrm_GoodsReturnEdit : public Tbase_frm {
    Q_OBJECT
  public:
    explicit Tfrm_GoodsReturnEdit(QWidget* owner = nullptr);

    // The placeholder of a note not saved yet: no note number has this form.
    static QString NewNotePlaceholder();
    // yyMMdd of the day, "K" and the number in four digits (090315K0003).
    static QString NoteNumber(const QDate& day, int number);
    static QString LinesSQL();
    static QString LineInsertSQL();
    static QString LineModifySQL();

    // Opens the note (or, in mode New, appends a new header) and lays the
    // window out for the mode.
    void LoadNote(const QString& billId, md::ui::RepairNoteMode mode);
    md::ui::RepairNoteMode Mode() const { return m_mode; }
    // The number 确定 saved the note under (the header is closed with the window).
    const QString& SavedBillId() const { return m_savedId; }

    TRemoteUdpDataSet* DBmaster_table;  // the header
    TDataSource* DbMaster_Source;
    TRemoteUdpDataSet* DBdetail;  // the lines
    TDataSource* DsDetail;
    TRemoteUpdateSql* DetailUpdateSql;
    TRemoteUdpDataSet* DBclient;    // clients of the drop-down
    TRemoteUdpDataSet* DBsupplier;  // factories
    TRemoteUdpDataSet* DBcolor;     // colours of the current line's goods
    TRemoteUdpDataSet* DBsize;      // sizes of the current line's goods

    TDBEdit* Edit_BillId;             // 系统单号
    TDBEdit* Edit_ManualId;           // 手工单号
    TDBDateEdit* Date_Bill;           // 返修日期
    TDBLookupComboBox* Combo_Client;  // 客户简称
    QLabel* Label_ClientName;         // the chosen client's fabbrev
    TDBEdit* Edit_KeyMan;             // 经 手人
    TDBComboBox* Combo_BillType;      // 返修类型
    TDBEdit* Edit_Remark;             // 返修备注
    TDBGrid* cxGrid1;
    TDBTableView* cxGrid1DBTableView1;
    QPushButton* But_Posted;  // 审核
    QPushButton* But_Delete;  // 删除
    QPushButton* But_OK;      // 确定
    QPushButton* But_Cancel;  // 取消

    void But_PostedClick();
    void But_DeleteClick();
    void But_OKClick();
    void UnpostNote();  // F12
    // The goods code cell's "...": a line for every goods colour not on the note.
    void fgoodsidButtonClick();
    // Reads the colours and sizes of the current line's goods into the drop-downs.
    void LoadGoodsLists();

  protected:
    void FormCreate() override;
    bool FormKeyPress(QKeyEvent& event) override;

  private:
    void buildHeader();
    void buildGrid();
    void applyMode();
    void updateButtons();
    void showClientName();
    bool clientBandEditable() const;
    bool headerEditable() const;
    bool noteApproved() const;
    QString billId() const;
    void lineNewRecord(TRemoteUdpDataSet& ds);
    void lineBeforePost(TRemoteUdpDataSet& ds);
    QString lineGoods() const;
    void ensureGoodsLists();
    void checkInList(TField& field, TRemoteUdpDataSet& list, const QString& key,
                     const QString& message);
    void goodsValidate(TField& field);
    void goodsChanged(TField& field);
    void checkBeforeSave();
    void saveNote();
    void giveNumber();

    md::ui::RepairNoteMode m_mode = md::ui::RepairNoteMode::View;
    TRemoteUdpDataSet* m_goods;  // the goods item of the code being entered
    QString m_userName;
    QString m_savedId;
    QString m_listGoods;       // the goods whose colours and sizes the drop-downs hold
    int m_filling = 0;         // the window writes a line itself: no look-up
    bool m_unposting = false;  // F12 writes the header whatever the mode
};
