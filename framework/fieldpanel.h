#pragma once
// Labelled data-aware editors over one data source, laid out in columns: a
// record dialog or a detail page describes its fields in order, and each one
// takes one column (label and editor) or, when wide, a whole row.
//
//     auto* panel = new TFieldPanel(DbMaster_Source, 2, this);
//     panel->AddEdit("中文名称：", "fname_ch", true);
//     panel->AddEdit("简称：", "fabbrev");
//     panel->AddEdit("职务：", "Job");
#include <QHash>
#include <QWidget>

class QGridLayout;
class QLabel;
class TDataSource;
class TDBCheckBox;
class TDBEdit;
class TDBMemo;

class TFieldPanel : public QWidget {
    Q_OBJECT
  public:
    TFieldPanel(TDataSource* source, int columns, QWidget* parent = nullptr);

    TDataSource* DataSource() const { return m_source; }

    TDBEdit& AddEdit(const QString& label, const QString& field, bool wide = false);
    TDBMemo& AddMemo(const QString& label, const QString& field);  // always wide
    TDBCheckBox& AddCheckBox(const QString& caption, const QString& field);
    // Any editor; `field` names it for Editor() and may be empty.
    void AddEditor(const QString& label, QWidget* editor, const QString& field = QString(),
                   bool wide = false);

    // The editor of a field (any case); null when the panel has none.
    QWidget* Editor(const QString& field) const;

  private:
    TDataSource* m_source;
    QGridLayout* m_layout;
    int m_columns;
    int m_row = 0;
    int m_column = 0;
    QHash<QString, QWidget*> m_editors;  // lower-case field name
};
