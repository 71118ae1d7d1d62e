#include "typedinput.h"

#include <QScopedValueRollback>
#include <cmath>

#include "dbcontrols.h"
#include "messages.h"
#include "remoteudpdataset.h"

// ---------------------------------------------------------------- TDBNumberEdit

TDBNumberEdit::TDBNumberEdit(TDataSource* source, const QString& fieldName, int places,
                             QWidget* parent)
    : QLineEdit(parent),
      m_link(new TFieldDataLink(source, fieldName, this, [this] { showField(); })),
      m_places(places) {
    setObjectName(QStringLiteral("DBNumber_") + fieldName);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(this, &QLineEdit::textEdited, this, [this](const QString& typed) {
        bool isNumber = false;
        const double value = typed.trimmed().toDouble(&isNumber);
        // A whole-number field would round a fraction away under the user's eyes.
        const TField* f = m_link->Field();
        if (isNumber && f && f->DataType() == ftInteger && value != std::trunc(value))
            isNumber = false;
        if (typed.trimmed().isEmpty())
            m_link->Write([](TField& f) { f.Clear(); });
        else if (isNumber)
            m_link->Write([value](TField& f) { f.SetAsFloat(value); });
    });
    m_link->Show();
}

void TDBNumberEdit::showField() {
    const TField* f = m_link->Field();
    setReadOnly(!m_link->CanModify());
    const bool empty =
        !f || f->IsNull() || (f->DataSet()->IsEmpty() && f->DataSet()->State() != dsInsert);
    bool isNumber = false;
    const double typed = text().trimmed().toDouble(&isNumber);
    if (empty ? text().trimmed().isEmpty() : isNumber && typed == f->AsFloat()) return;
    setText(empty ? QString() : QString::number(f->AsFloat(), 'f', m_places));
}

// ---------------------------------------------------------------- TTypedConfirmation

TTypedConfirmation::TTypedConfirmation(QLineEdit* box, std::function<void()> check)
    : QObject(box), m_check(std::move(check)) {
    connect(box, &QLineEdit::textEdited, this, [this] { m_typed = true; });
    connect(box, &QLineEdit::editingFinished, this,
            [this] { md::ui::Guard([this] { ConfirmTyped(); }); });
}

void TTypedConfirmation::ConfirmTyped() {
    if (!m_typed || m_checking) return;
    m_typed = false;
    QScopedValueRollback<bool> checking(m_checking, true);
    m_check();
}
