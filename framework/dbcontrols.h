#pragma once
// Data-aware editors for editing panels: each shows one field of the current
// record of a data source and writes what the user types into it. A browsing
// record is put into the edit state only when the source allows it (AutoEdit);
// otherwise the editor is read-only until an action starts editing.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <functional>

#include "datasource.h"
#include "editors.h"

class TField;

// The link of one control to a field of a data source.
class TFieldDataLink : public QObject {
    Q_OBJECT
  public:
    TFieldDataLink(TDataSource* source, const QString& fieldName, QWidget* control,
                   std::function<void()> show);

    TDataSource* DataSource() const { return m_source; }
    const QString& DataField() const { return m_fieldName; }
    TField* Field() const;  // null while the dataset is closed or has no such field
    bool CanModify() const;
    // Writes through the guard; false when the record could not be edited or
    // the value was refused (the control then shows the field again).
    bool Write(const std::function<void(TField&)>& write);
    void Show();
    bool showing() const { return m_showing; }

  private:
    QPointer<TDataSource> m_source;
    QString m_fieldName;
    std::function<void()> m_show;
    bool m_showing = false;
};

class TDBEdit : public QLineEdit {
    Q_OBJECT
  public:
    TDBEdit(TDataSource* source, const QString& fieldName, QWidget* parent = nullptr);
    TFieldDataLink* DataLink() const { return m_link; }
    void SetUpperCase(bool on);

  private:
    void show();
    TFieldDataLink* m_link;
    bool m_upperCase = false;
};

class TDBMemo : public QPlainTextEdit {
    Q_OBJECT
  public:
    TDBMemo(TDataSource* source, const QString& fieldName, QWidget* parent = nullptr);
    TFieldDataLink* DataLink() const { return m_link; }
    QString text() const { return toPlainText(); }

  private:
    void show();
    TFieldDataLink* m_link;
};

class TDBCheckBox : public QCheckBox {
    Q_OBJECT
  public:
    TDBCheckBox(const QString& caption, TDataSource* source, const QString& fieldName,
                QWidget* parent = nullptr);
    TFieldDataLink* DataLink() const { return m_link; }

  private:
    void show();
    TFieldDataLink* m_link;
};

// A value list: fixed items, or items plus free text.
class TDBComboBox : public QComboBox {
    Q_OBJECT
  public:
    TDBComboBox(TDataSource* source, const QString& fieldName, const QStringList& items,
                bool freeText, QWidget* parent = nullptr);
    TFieldDataLink* DataLink() const { return m_link; }

  private:
    void show();
    void write(const QString& text);
    TFieldDataLink* m_link;
};

class TDBDateEdit : public md::ui::TNullDateEdit {
    Q_OBJECT
  public:
    TDBDateEdit(TDataSource* source, const QString& fieldName, QWidget* parent = nullptr);
    TFieldDataLink* DataLink() const { return m_link; }

  private:
    void show();
    TFieldDataLink* m_link;
};

class TDBTimeEdit : public md::ui::TNullTimeEdit {
    Q_OBJECT
  public:
    TDBTimeEdit(TDataSource* source, const QString& fieldName, QWidget* parent = nullptr);
    TFieldDataLink* DataLink() const { return m_link; }

  private:
    void show();
    TFieldDataLink* m_link;
};

class TDBLookupComboBox : public md::ui::TLookupCombo {
    Q_OBJECT
  public:
    TDBLookupComboBox(TDataSource* source, const QString& fieldName, QWidget* parent = nullptr);
    TFieldDataLink* DataLink() const { return m_link; }

  private:
    void show();
    TFieldDataLink* m_link;
};
