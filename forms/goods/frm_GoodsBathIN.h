#pragma once
// 货品档案导入: goods × colour rows pasted from a spreadsheet (or read from a
// .csv or .xls file) are checked ("数据核查"), optionally given colour codes,
// and written ("确定") as goods and their colours, or as sample styles and
// their colours. The caller names the target in the dynamic property
// "TargetName" before showing the dialog modally:
//
//     import->setProperty("TargetName", "Dt_Goods");  // or "Mr_Goods"
//     md::ui::ExecModal(*import);
//
// The grid holds what was pasted as text, so a malformed cell stays visible
// for correction; a row whose "数据核查结果" is not empty is never written.
#include <QHash>
#include <QSet>
#include <QStringList>
#include <functional>

#include "baseform.h"

class QAction;
class QCheckBox;
class QMenu;
class QProgressBar;
class QPushButton;
class TDataSource;
class TDBGrid;
class TDBTableView;
class TRemoteUdpDataSet;

namespace goodsimport {

// Rows of cells from text as spreadsheet programs copy it (separator '\t') or
// save it (','): one row per line; a cell that starts with a double quote runs
// to its closing quote, separators and line breaks inside belong to it and ""
// is one quote. Blank lines give no row. Read a piece at a time, so that a
// caller can keep its window alive between pieces.
class TableTextReader {
  public:
    TableTextReader(QString text, QChar separator);
    bool atEnd() const { return m_pos >= m_text.size(); }
    QStringList nextRow();
    // How far the reading has come, 0 to 1000.
    int progress() const;

  private:
    QString m_text;
    QChar m_separator;
    qsizetype m_pos = 0;
};

// The text of a .csv file: UTF-8 (with or without its mark), else GBK.
QString DecodeCsvBytes(const QByteArray& bytes);
// The cells of the first worksheet of an old-format .xls workbook, row by row;
// numbers as plain numbers, dates yyyy-MM-dd. Throws EDatabaseError naming the
// file when it is no workbook that can be read.
QList<QStringList> ReadXlsRows(const QString& path);

}  // namespace goodsimport

class Tfrm_GoodsBathIN : public Tbase_frmTop {
    Q_OBJECT
  public:
    explicit Tfrm_GoodsBathIN(QWidget* owner = nullptr);

    TRemoteUdpDataSet* DBImport_table = nullptr;  // the rows, an in-memory table
    TDataSource* DbImport_Source = nullptr;
    TDBGrid* cxGrid1 = nullptr;
    TDBTableView* cxGrid1DBTableView1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QCheckBox* Check_GoodsColor = nullptr;  // "生成货品颜色"
    QPushButton* But_Open = nullptr;        // "打开文件..."
    QPushButton* But_Check = nullptr;       // "数据核查"
    QPushButton* But_OK = nullptr;          // "确定"
    QPushButton* But_Cancel = nullptr;      // "取消"
    QMenu* PopupMenu1 = nullptr;
    QAction* cut_action = nullptr;           // "剪切"
    QAction* copy_action = nullptr;          // "复制"
    QAction* paste_action = nullptr;         // "粘贴"
    QAction* delete_action = nullptr;        // "删除"
    QAction* selectall_action = nullptr;     // "全选"
    QAction* colorno_action = nullptr;       // "自动按顺序颜色编号"
    QAction* childcolorno_action = nullptr;  // "自动编写童装颜色编号"

    // "Dt_Goods" (goods) or "Mr_Goods" (sample styles), from the property
    // "TargetName"; goods when the caller set none.
    QString TargetName() const;

    // What Ctrl+V and "粘贴" do with the clipboard's text. A first row made of
    // column captions (hidden columns too) places the cells by them and the rows
    // go to the end; otherwise the cells fill the shown columns from the current
    // cell on, over the rows from the current one, adding rows as needed.
    void PasteText(const QString& text);
    // "打开文件...": rows of a .csv (UTF-8 or GBK) or .xls file, added at the
    // end, placed by a caption row as pasting does.
    void LoadFile(const QString& path);

    // "数据核查". False when the user stopped it before the last row.
    bool CheckRows();
    void But_CheckClick();
    // "确定".
    void But_OKClick();
    // "取消": stops a running check, else closes the dialog.
    void But_CancelClick();
    void colorno_actionExecute();
    void childcolorno_actionExecute();

    // The grid row count and a cell's text, for callers that read the result.
    int RowCount() const;
    QString Cell(int row, const QString& fieldName) const;

  protected:
    void FormCreate() override;
    void FormShow() override;
    void FormDestroy() override;
    bool FormCloseQuery() override;
    bool FormKeyPress(QKeyEvent& event) override;

  private:
    struct Placement;
    struct WriteRow;
    class Progress;

    // Input.
    void addRows(const std::function<bool(QStringList&)>& nextRow,
                 const std::function<int()>& progress, bool fromCurrentCell);
    Placement placementFor(const QStringList& firstRow, bool fromCurrentCell) const;
    // The fields of the shown columns in screen order, from a grid section on (-1: all).
    QList<int> shownFields(int fromSection) const;
    QList<int> selectedRows() const;
    void copyRows();
    void deleteSelectedRows();
    void showPopup(const QPoint& at);

    // Rows.
    int fieldIndex(const QString& name) const;
    QString text(int row, int field) const;
    void setCells(int row, const QList<QPair<int, QString>>& cells);
    void removeRows(QList<int> rows);
    void removeRowsWithoutCode();
    void setRemark(int row, const QString& remark);
    // Why the row's cells cannot be written as they are (lengths, numbers,
    // dates); empty when they can.
    QString formatProblem(int row) const;
    QSet<QString> localSizeGroups() const;

    // Numbering.
    void stopGoodsColourDescriptions();

    // Writing (frm_GoodsBathIN_write.cpp).
    void writeRows(const QList<int>& rows);
    int rowOfViolation(const std::exception& error, const QList<WriteRow>& written) const;

    void setBusy(bool busy, bool cancellable);

    QHash<QString, int> m_fieldByCaption;  // caption or field name, lower case -> field index
    bool m_busy = false;
    bool m_stopRequested = false;
};
