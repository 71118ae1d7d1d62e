#include "dbcontrols.h"

#include "datasource.h"
#include "gridcolumn.h"
#include "messages.h"
#include "remoteudpdataset.h"

// ---------------------------------------------------------------- TFieldDataLink

TFieldDataLink::TFieldDataLink(TDataSource* source, const QString& fieldName, QWidget* control,
                               std::function<void()> show)
    : QObject(control), m_source(source), m_fieldName(fieldName), m_show(std::move(show)) {
    if (!source) return;
    connect(source, &TDataSource::stateChanged, this, &TFieldDataLink::Show);
    connect(source, &TDataSource::dataChanged, this, [this](int fieldIndex) {
        const TField* f = Field();
        if (fieldIndex < 0 || !f || f->Index() == fieldIndex) Show();
    });
}

TField* TFieldDataLink::Field() const {
    TRemoteUdpDataSet* ds = m_source ? m_source->DataSet() : nullptr;
    return ds && ds->Active() ? ds->FindField(m_fieldName) : nullptr;
}

bool TFieldDataLink::CanModify() const {
    const TField* f = Field();
    if (!f || f->ReadOnly() || f->FieldKind() != fkData) return false;
    const TDataSetState state = m_source->State();
    return state == dsEdit || state == dsInsert || m_source->AutoEdit();
}

bool TFieldDataLink::Write(const std::function<void(TField&)>& write) {
    bool written = false;
    if (m_source && Field() && !Field()->ReadOnly()) {
        written = md::ui::Guard([&] {
            if (!m_source->Edit()) Abort();
            if (TField* f = Field()) write(*f);
        });
    }
    if (!written) Show();
    return written;
}

void TFieldDataLink::Show() {
    if (m_showing || !m_show) return;
    m_showing = true;
    m_show();
    m_showing = false;
}

namespace {

QString fieldText(const TFieldDataLink* link) {
    const TField* f = link->Field();
    return f && !f->IsNull() ? f->AsString() : QString();
}

}  // namespace

// ---------------------------------------------------------------- TDBEdit

TDBEdit::TDBEdit(TDataSource* source, const QString& fieldName, QWidget* parent)
    : QLineEdit(parent), m_link(new TFieldDataLink(source, fieldName, this, [this] { show(); })) {
    setObjectName(QStringLiteral("DBEdit_") + fieldName);
    connect(this, &QLineEdit::textEdited, this, [this](const QString& typed) {
        QString text = typed;
        if (m_upperCase && (text = md::ui::UpperAscii(typed)) != typed) {
            const int cursor = cursorPosition();
            setText(text);
            setCursorPosition(cursor);
        }
        m_link->Write([&](TField& f) { f.SetAsString(text); });
    });
    m_link->Show();
}

void TDBEdit::SetUpperCase(bool on) {
    m_upperCase = on;
    setValidator(on ? new md::ui::TUpperCaseValidator(this) : nullptr);
}

void TDBEdit::show() {
    const TField* f = m_link->Field();
    if (f && f->DataType() == ftString && f->Size() > 0) setMaxLength(f->Size());
    const QString text = fieldText(m_link);
    if (QLineEdit::text() != text) setText(text);
    setReadOnly(!m_link->CanModify());
}

// ---------------------------------------------------------------- TDBMemo

TDBMemo::TDBMemo(TDataSource* source, const QString& fieldName, QWidget* parent)
    : QPlainTextEdit(parent),
      m_link(new TFieldDataLink(source, fieldName, this, [this] { show(); })) {
    setObjectName(QStringLiteral("DBMemo_") + fieldName);
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (m_link->showing()) return;
        const QString text = toPlainText();
        m_link->Write([&](TField& f) { f.SetAsString(text); });
    });
    m_link->Show();
}

void TDBMemo::show() {
    const QString text = fieldText(m_link);
    if (toPlainText() != text) setPlainText(text);
    setReadOnly(!m_link->CanModify());
}

// ---------------------------------------------------------------- TDBCheckBox

TDBCheckBox::TDBCheckBox(const QString& caption, TDataSource* source, const QString& fieldName,
                         QWidget* parent)
    : QCheckBox(caption, parent),
      m_link(new TFieldDataLink(source, fieldName, this, [this] { show(); })) {
    setObjectName(QStringLiteral("DBCheckBox_") + fieldName);
    connect(this, &QCheckBox::clicked, this, [this](bool checked) {
        m_link->Write([&](TField& f) {
            if (f.DataType() == ftString)
                f.SetAsString(checked ? QStringLiteral("1") : QStringLiteral("0"));
            else
                f.SetAsBoolean(checked);
        });
    });
    m_link->Show();
}

void TDBCheckBox::show() {
    bool checked = false;
    md::ui::Guard([&] {
        if (const TField* f = m_link->Field(); f && !f->IsNull()) checked = f->AsBoolean();
    });
    setChecked(checked);
}

// ---------------------------------------------------------------- TDBComboBox

TDBComboBox::TDBComboBox(TDataSource* source, const QString& fieldName, const QStringList& items,
                         bool freeText, QWidget* parent)
    : QComboBox(parent), m_link(new TFieldDataLink(source, fieldName, this, [this] { show(); })) {
    setObjectName(QStringLiteral("DBComboBox_") + fieldName);
    setEditable(freeText);
    setInsertPolicy(QComboBox::NoInsert);
    addItems(items);
    connect(this, &QComboBox::textActivated, this, &TDBComboBox::write);
    // Typing writes; items added or cleared by the form do not.
    if (freeText) connect(lineEdit(), &QLineEdit::textEdited, this, &TDBComboBox::write);
    m_link->Show();
}

void TDBComboBox::write(const QString& text) {
    if (m_link->showing() || text == fieldText(m_link)) return;
    m_link->Write([&](TField& f) { f.SetAsString(text); });
}

void TDBComboBox::show() {
    const QString text = fieldText(m_link);
    if (isEditable()) {
        if (currentText() != text) setEditText(text);
    } else {
        setCurrentIndex(findText(text));
    }
}

// ---------------------------------------------------------------- dates, times, lookups

TDBDateEdit::TDBDateEdit(TDataSource* source, const QString& fieldName, QWidget* parent)
    : TNullDateEdit(parent),
      m_link(new TFieldDataLink(source, fieldName, this, [this] { show(); })) {
    setObjectName(QStringLiteral("DBDateEdit_") + fieldName);
    connect(this, &QDateEdit::dateChanged, this, [this] {
        if (m_link->showing() || valueText() == fieldText(m_link).left(10)) return;
        const QString text = valueText();
        m_link->Write([&](TField& f) { f.SetAsString(text); });
    });
    m_link->Show();
}

void TDBDateEdit::show() {
    setValueText(fieldText(m_link));
    setReadOnly(!m_link->CanModify());
}

TDBTimeEdit::TDBTimeEdit(TDataSource* source, const QString& fieldName, QWidget* parent)
    : TNullTimeEdit(parent),
      m_link(new TFieldDataLink(source, fieldName, this, [this] { show(); })) {
    setObjectName(QStringLiteral("DBTimeEdit_") + fieldName);
    connect(this, &QLineEdit::textEdited, this, [this] {
        const QString text = valueText();
        m_link->Write([&](TField& f) { f.SetAsString(text); });
    });
    m_link->Show();
}

void TDBTimeEdit::show() {
    const QString stored = fieldText(m_link);
    if (valueText() != stored) setValueText(stored);
    setReadOnly(!m_link->CanModify());
}

TDBLookupComboBox::TDBLookupComboBox(TDataSource* source, const QString& fieldName, QWidget* parent)
    : TLookupCombo(parent),
      m_link(new TFieldDataLink(source, fieldName, this, [this] { show(); })) {
    setObjectName(QStringLiteral("DBLookupComboBox_") + fieldName);
    // Only the user's choice or typing writes; a list that reloads does not.
    auto write = [this](const QString& text) {
        if (m_link->showing() || text == fieldText(m_link)) return;
        m_link->Write([&](TField& f) { f.SetAsString(text); });
    };
    connect(this, &QComboBox::textActivated, this, write);
    connect(lineEdit(), &QLineEdit::textEdited, this, write);
    m_link->Show();
}

void TDBLookupComboBox::show() {
    setKeyValue(fieldText(m_link));
}
