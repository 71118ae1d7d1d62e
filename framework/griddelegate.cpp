#include "griddelegate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QToolButton>

#include "editors.h"
#include "gridmodel.h"
#include "messages.h"

using namespace md::ui;

TGridDelegate::TGridDelegate(TGridModel* model, QObject* parent)
    : QStyledItemDelegate(parent), m_model(model) {}

TGridColumn* TGridDelegate::columnOf(const QModelIndex& index) const {
    return m_model->columnAt(m_model->mapToSource(index).column());
}

namespace {

int maxLengthOf(const TGridModel* model, const QModelIndex& index) {
    const TField* f = model->dataSetModel()->field(model->mapToSource(index).column());
    return f && f->DataType() == ftString && f->Size() > 0 ? f->Size() : 32767;
}

bool isDecimal(const TGridModel* model, const QModelIndex& index) {
    const TField* f = model->dataSetModel()->field(model->mapToSource(index).column());
    return !f || f->DataType() != ftInteger;
}

}  // namespace

QWidget* TGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
    TGridColumn* col = columnOf(index);
    const TEditorKind kind = col ? col->Kind() : TEditorKind::Text;
    QWidget* editor = nullptr;
    switch (kind) {
        case TEditorKind::CheckBox:
            return nullptr;  // toggled in place
        case TEditorKind::ValueList: {
            auto* e = new QComboBox(parent);
            e->setEditable(col->FreeText());
            e->setInsertPolicy(QComboBox::NoInsert);
            e->addItems(col->Items());
            editor = e;
            break;
        }
        case TEditorKind::Lookup: {
            auto* e = new TLookupCombo(parent);
            e->setList(col->LookupList(), col->LookupKeyField(), col->LookupShownFields(),
                       col->LookupShownCaptions());
            editor = e;
            break;
        }
        case TEditorKind::Date:
            editor = new TNullDateEdit(parent);
            break;
        case TEditorKind::Time:
            editor = new TNullTimeEdit(parent);
            break;
        case TEditorKind::Currency: {
            auto* e = new QLineEdit(parent);
            e->setValidator(NumberValidator(e, isDecimal(m_model, index)));
            e->setAlignment(Qt::AlignRight);
            editor = e;
            break;
        }
        case TEditorKind::Button: {
            auto* e = new TButtonEdit(parent);
            e->lineEdit()->setMaxLength(maxLengthOf(m_model, index));
            QPersistentModelIndex at(index);
            auto* self = const_cast<TGridDelegate*>(this);
            connect(e, &TButtonEdit::buttonClicked, self, [self, e, col, at] {
                // The handler usually fills fields of the current record itself;
                // the editor then shows what it wrote.
                Q_EMIT self->commitData(e);
                if (col->OnButtonClick()) Guard([&] { col->OnButtonClick()(*col); });
                if (at.isValid()) self->setEditorData(e, at);
            });
            editor = e;
            break;
        }
        case TEditorKind::Memo:
            editor = new QPlainTextEdit(parent);
            break;
        case TEditorKind::Color:
            editor = new TColorCombo(parent);
            break;
        case TEditorKind::UpperText:
        case TEditorKind::Text: {
            auto* e = new QLineEdit(parent);
            e->setMaxLength(maxLengthOf(m_model, index));
            editor = e;
            break;
        }
    }
    if (!editor) editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (col && col->UpperCase()) {
        QLineEdit* line = qobject_cast<QLineEdit*>(editor);
        if (auto* combo = qobject_cast<QComboBox*>(editor)) line = combo->lineEdit();
        if (auto* button = qobject_cast<TButtonEdit*>(editor)) line = button->lineEdit();
        if (line && !line->validator()) line->setValidator(new TUpperCaseValidator(line));
    }
    m_open = editor;
    m_openIndex = index;
    return editor;
}

void TGridDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    if (m_open == editor) {
        m_open = nullptr;
        m_openIndex = QPersistentModelIndex();
    }
    QStyledItemDelegate::destroyEditor(editor, index);
}

void TGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QVariant value = index.data(Qt::EditRole);
    const QString text = value.isNull() ? QString() : value.toString();
    if (auto* e = qobject_cast<TNullDateEdit*>(editor))
        e->setValueText(text);
    else if (auto* e = qobject_cast<TNullTimeEdit*>(editor))
        e->setValueText(text);
    else if (auto* e = qobject_cast<TLookupCombo*>(editor))
        e->setKeyValue(text);
    else if (auto* e = qobject_cast<QComboBox*>(editor)) {
        const int at = e->findText(text);
        if (e->isEditable())
            e->setEditText(text);
        else
            e->setCurrentIndex(at);
    } else if (auto* e = qobject_cast<TButtonEdit*>(editor))
        e->setText(text);
    else if (auto* e = qobject_cast<QPlainTextEdit*>(editor))
        e->setPlainText(text);
    else if (auto* e = qobject_cast<QLineEdit*>(editor)) {
        const TGridColumn* col = columnOf(index);
        // Numbers are edited plainly; the display format is for showing.
        e->setText(col && col->Kind() == TEditorKind::Currency ? index.data(Qt::EditRole).toString()
                                                               : text);
    } else
        QStyledItemDelegate::setEditorData(editor, index);
}

void TGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                 const QModelIndex& index) const {
    QString text;
    if (auto* e = qobject_cast<TNullDateEdit*>(editor))
        text = e->valueText();
    else if (auto* e = qobject_cast<TNullTimeEdit*>(editor)) {
        text = e->valueText();
        // A time kept in a date-time column keeps the date it had (or the zero day).
        const TField* f = m_model->dataSetModel()->field(m_model->mapToSource(index).column());
        if (f && f->DataType() == ftDateTime && !text.isEmpty()) {
            const QString old = index.data(Qt::EditRole).toString();
            text = (old.size() >= 10 ? old.left(10) : QStringLiteral("1900-01-01")) +
                   QLatin1Char(' ') + text;
        }
    } else if (auto* e = qobject_cast<QComboBox*>(editor))
        text = e->currentText();
    else if (auto* e = qobject_cast<TButtonEdit*>(editor))
        text = e->text();
    else if (auto* e = qobject_cast<QPlainTextEdit*>(editor))
        text = e->toPlainText();
    else if (auto* e = qobject_cast<QLineEdit*>(editor))
        text = e->text();
    else
        return QStyledItemDelegate::setModelData(editor, model, index);

    // Writing the same value again would put a browsing record into the edit state.
    const QVariant old = index.data(Qt::EditRole);
    if ((old.isNull() ? QString() : old.toString()) == text) return;
    model->setData(index, text.isEmpty() ? QVariant() : QVariant(text), Qt::EditRole);
}

void TGridDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
    if (qobject_cast<QPlainTextEdit*>(editor)) {
        // A memo opens taller than its row.
        QRect r = option.rect;
        r.setHeight(qMax(r.height() * 4, 80));
        editor->setGeometry(r);
        return;
    }
    QStyledItemDelegate::updateEditorGeometry(editor, option, index);
}

namespace {

bool isCheckColumn(const TGridColumn* col, const QModelIndex& index) {
    return (col && col->Kind() == TEditorKind::CheckBox) ||
           (!col && index.data(Qt::CheckStateRole).isValid() &&
            !index.data(Qt::DisplayRole).isValid());
}

}  // namespace

void TGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    if (!isCheckColumn(columnOf(index), index))
        return QStyledItemDelegate::paint(painter, option, index);
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    md::ui::PaintCheckCell(painter, cell, index.data(Qt::CheckStateRole).toInt() == Qt::Checked,
                           true);
}

bool TGridDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (!isCheckColumn(columnOf(index), index) || !(model->flags(index) & Qt::ItemIsUserCheckable))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    bool toggle = false;
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        toggle =
            mouse->button() == Qt::LeftButton && option.rect.contains(mouse->position().toPoint());
    } else if (event->type() == QEvent::MouseButtonDblClick ||
               event->type() == QEvent::MouseButtonPress) {
        return true;  // no second toggle, no editor
    } else if (event->type() == QEvent::KeyPress) {
        toggle = static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space;
    }
    if (!toggle) return false;
    const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}
