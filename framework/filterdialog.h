#pragma once
// The filter builder of a grid ("查找"): rows of column, operator and value
// joined by and/or. The conditions become a dataset filter text, so rows not
// matching are hidden wherever the dataset is shown.
#include <QDialog>
#include <QList>
#include <QPair>
#include <QString>

class QComboBox;
class QLineEdit;
class QVBoxLayout;
class TRemoteUdpDataSet;

struct TFilterCondition {
    bool orWithPrevious = false;  // joined to the condition before by "or" instead of "and"
    QString field;
    QString op;  // "=", "<>", ">", "<", ">=", "<=", "包含", "开头是"
    QString value;
    friend bool operator==(const TFilterCondition&, const TFilterCondition&) = default;
};

namespace md::ui {
const QStringList& FilterOperators();
// The dataset filter text of the conditions: texts quoted, numbers of numeric
// fields bare, "包含" and "开头是" as like patterns. Empty when there are none.
QString FilterText(const QList<TFilterCondition>& conditions, const TRemoteUdpDataSet& dataSet);
}  // namespace md::ui

class TFilterDialog : public QDialog {
    Q_OBJECT
  public:
    // columns: (field name, caption) in the grid's order.
    TFilterDialog(const QList<QPair<QString, QString>>& columns, QWidget* parent = nullptr);

    void setConditions(const QList<TFilterCondition>& conditions);
    QList<TFilterCondition> conditions() const;  // rows with an empty value are left out
    void addRow(const TFilterCondition& condition = {});
    void clearRows();

  private:
    struct Row {
        QWidget* widget;
        QComboBox* join;
        QComboBox* field;
        QComboBox* op;
        QLineEdit* value;
    };
    QList<QPair<QString, QString>> m_columns;
    QList<Row> m_rows;
    QVBoxLayout* m_rowsLayout;
};
