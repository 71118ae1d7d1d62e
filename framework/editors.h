#pragma once
// Editor widgets shared by the grid's cells and the data-aware controls of
// editing panels.
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTime>
#include <QValidator>
#include <QWidget>

class QPainter;
class QStyleOptionViewItem;
class QToolButton;
class TRemoteUdpDataSet;
class TDataSetModel;

namespace md::ui {

// Letters a-z typed become A-Z.
class TUpperCaseValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// Numbers with an optional sign and decimals; empty is allowed (null).
QValidator* NumberValidator(QObject* parent, bool decimals);

// A check-box cell drawn by hand: the cell's background, then the box alone,
// centred or at the left. `cell` comes already filled in by the delegate.
void PaintCheckCell(QPainter* painter, QStyleOptionViewItem cell, bool checked, bool centred);

// A drop-down over a list dataset showing several of its columns; the text is
// the key value, and values not in the list can still be shown and typed.
class TLookupCombo : public QComboBox {
    Q_OBJECT
  public:
    explicit TLookupCombo(QWidget* parent = nullptr);
    void setList(TRemoteUdpDataSet* list, const QString& keyField, const QStringList& shownFields,
                 const QStringList& shownCaptions = {});
    QString keyValue() const { return currentText(); }
    void setKeyValue(const QString& value);
    void showPopup() override;

  private:
    TDataSetModel* m_model = nullptr;
};

// A text editor with a "..." button.
class TButtonEdit : public QWidget {
    Q_OBJECT
  public:
    explicit TButtonEdit(QWidget* parent = nullptr);
    QLineEdit* lineEdit() const { return m_edit; }
    QToolButton* button() const { return m_button; }
    QString text() const;
    void setText(const QString& text);

  Q_SIGNALS:
    void buttonClicked();

  private:
    QLineEdit* m_edit;
    QToolButton* m_button;
};

// Colour text with the named colours offered in the list, each with a swatch.
class TColorCombo : public QComboBox {
    Q_OBJECT
  public:
    explicit TColorCombo(QWidget* parent = nullptr);
    static const QStringList& colorNames();
};

// Date and time editors that can be empty (shown blank, read as null).
class TNullDateEdit : public QDateEdit {
    Q_OBJECT
  public:
    explicit TNullDateEdit(QWidget* parent = nullptr);
    void setValueText(const QString& text);  // "yyyy-MM-dd[...]" or empty
    QString valueText() const;               // "yyyy-MM-dd" or empty
};

// A time typed as "HH:mm", "HH:mm:ss", "0830" or "083000".
class TNullTimeEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit TNullTimeEdit(QWidget* parent = nullptr);
    void setValueText(const QString& text);  // "HH:mm[:ss]" or a date-time, or empty
    QString valueText() const;               // "HH:mm:ss", or empty when blank or no time
    bool hasValue() const;                   // the text is a time
    // The time a typed text means; invalid when it means none.
    static QTime parse(const QString& text);
};

}  // namespace md::ui
