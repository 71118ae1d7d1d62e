#pragma once
// A vertical grid over one record: each row shows one field of the current
// record of a data source, caption on the left and value on the right, with
// rows grouped under category rows. Rows describe their editors the way grid
// columns do (value list, lookup, date, check box, currency, upper case) and
// may restrict typing to a regular expression:
//
//     auto* grid = new TDBVerticalGrid(panel);          // "cxDBVerticalGrid1"
//     grid->setDataSource(DbMaster_Source);
//     const int basic = grid->AddCategory("基础资料");
//     grid->AddRow("goodsid", "货号*", basic).upperCase();
//     grid->AddRow("brand", "品牌", basic).valueList(brands, true);
//     grid->Row("mat")->mask("[0-9]+");
//
// Rows take input only while SetInputAllowed(true) (the record editor's gate)
// and write through the source, so the usual rules apply (AutoEdit, OnValidate
// may refuse). A text typed into a free-text value list that is not among its
// items joins them for as long as the grid lives. Nothing is computed per
// row of any dataset: the grid has as many rows as it has fields.
#include <QPointer>
#include <QTreeView>
#include <functional>

#include "datasource.h"
#include "gridcolumn.h"

class TPropertyModel;
class TPropertyDelegate;

class TPropertyRow : public TGridColumn {
    Q_OBJECT
  public:
    TPropertyRow(const QString& fieldName, const QString& caption, int category, QObject* parent);

    int Category() const { return m_category; }
    // Typing is limited to text the regular expression matches whole ("[0-9]+");
    // empty: no limit.
    const QString& EditMask() const { return m_mask; }
    TPropertyRow& mask(const QString& regularExpression);

  private:
    int m_category;
    QString m_mask;
};

class TDBVerticalGrid : public QTreeView {
    Q_OBJECT
  public:
    explicit TDBVerticalGrid(QWidget* parent = nullptr,
                             const QString& name = QStringLiteral("cxDBVerticalGrid1"));
    ~TDBVerticalGrid() override;

    void setDataSource(TDataSource* source);
    TDataSource* DataSource() const { return m_source; }

    // ------------------------------------------------------------ description
    int AddCategory(const QString& caption);  // returns the category index
    QString CategoryCaption(int category) const;
    // A row under the category (-1: at the top level, after the categories so far).
    TPropertyRow& AddRow(const QString& fieldName, const QString& caption, int category = -1);
    TPropertyRow* Row(const QString& fieldName) const;  // any case; null when absent
    const QList<TPropertyRow*>& Rows() const { return m_rows; }
    void SetCaptionWidth(int pixels);

    // ------------------------------------------------------------ editing
    void SetInputAllowed(bool allowed);
    bool InputAllowed() const;
    // Writes what the open editor holds and closes it.
    void PostEditor();
    // Closes the open editor without writing.
    void CancelEditor();

    // The text a row shows for the current record.
    QString DisplayText(const QString& fieldName) const;
    // Writes a text into a row's field as its editor would; false when the row
    // takes no input now or the value was refused.
    bool SetRowText(const QString& fieldName, const QString& text);
    // Opens the editor of a row.
    void EditRow(const QString& fieldName);

    TPropertyModel* propertyModel() const { return m_model; }

  protected:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;

  private:
    void moveToNextRow();
    QModelIndex valueIndex(const TPropertyRow* row) const;

    TPropertyModel* m_model;
    TPropertyDelegate* m_delegate;
    QPointer<TDataSource> m_source;
    QList<TPropertyRow*> m_rows;
    QStringList m_categories;
};

// The model behind the grid: category rows at the top level with their field
// rows as children; column 0 the caption, column 1 the value.
class TPropertyModel : public QAbstractItemModel {
    Q_OBJECT
  public:
    TPropertyModel(const QList<TPropertyRow*>* rows, const QStringList* categories,
                   QObject* parent);

    void setDataSource(TDataSource* source);
    TDataSource* dataSource() const { return m_source; }
    void setInputAllowed(bool allowed);
    bool inputAllowed() const { return m_inputAllowed; }
    void rebuild();  // after rows or categories were added

    TPropertyRow* rowAt(const QModelIndex& index) const;  // null for category rows
    bool isCategory(const QModelIndex& index) const;
    QModelIndex indexOfRow(const TPropertyRow* row, int column) const;
    TField* fieldOf(const TPropertyRow* row) const;  // null while the record has no such field
    QString valueText(const TPropertyRow* row) const;
    // Writes the text (or a boolean for check boxes) through the source.
    bool write(TPropertyRow* row, const QVariant& value);

    QModelIndex index(int row, int column,
                      const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    struct Top {
        int category = -1;  // a category row, or
        int row = -1;       // a field row at the top level
    };
    void valuesChanged(int fieldIndex);
    bool recordAvailable() const;

    const QList<TPropertyRow*>* m_rows;
    const QStringList* m_categories;
    QPointer<TDataSource> m_source;
    std::vector<Top> m_top;
    std::vector<std::vector<int>> m_children;  // per category: indexes into m_rows
    bool m_inputAllowed = true;
};
