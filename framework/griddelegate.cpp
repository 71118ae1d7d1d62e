#include "griddelegate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QToolButton>

#include "baseform.h"
#include "editorfactory.h"
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
    TEditorSpec spec = col ? EditorSpecOf(*col) : TEditorSpec();
    if (col) spec.inputCheck = col->InputCheck();
    spec.maxLength = maxLengthOf(m_model, index);
    spec.decimal = isDecimal(m_model, index);
    if (spec.kind == TEditorKind::CheckBox) return nullptr;  // toggled in place
    QWidget* editor = CreateCellEditor(parent, spec);
    if (auto* button = qobject_cast<TButtonEdit*>(editor)) {
        QPersistentModelIndex at(index);
        auto* self = const_cast<TGridDelegate*>(this);
        connect(button, &TButtonEdit::buttonClicked, self, [self, button, col, at] {
            // The handler usually fills fields of the current record itself;
            // the editor then shows what it wrote.
            Q_EMIT self->commitData(button);
            if (col->OnButtonClick()) Guard([&] { col->OnButtonClick()(*col); });
            if (at.isValid()) self->setEditorData(button, at);
        });
    }
    if (!editor) editor = QStyledItemDelegate::createEditor(parent, option, index);
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
    QString probe;
    if (!EditorText(editor, &probe)) return QStyledItemDelegate::setEditorData(editor, index);
    const QVariant value = index.data(Qt::EditRole);
    SetEditorText(editor, value.isNull() ? QString() : value.toString());
}

void TGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                 const QModelIndex& index) const {
    QString text;
    if (!EditorText(editor, &text)) return QStyledItemDelegate::setModelData(editor, model, index);
    if (!EditorInputError(editor).isEmpty()) return;  // the cell keeps its value
    // A time kept in a date-time column keeps the date it had (or the zero day).
    if (qobject_cast<TNullTimeEdit*>(editor) && !text.isEmpty()) {
        const TField* f = m_model->dataSetModel()->field(m_model->mapToSource(index).column());
        if (f && f->DataType() == ftDateTime) {
            const QString old = index.data(Qt::EditRole).toString();
            text = (old.size() >= 10 ? old.left(10) : QStringLiteral("1900-01-01")) +
                   QLatin1Char(' ') + text;
        }
    }
    // Writing the same value again would put a browsing record into the edit state.
    const QVariant old = index.data(Qt::EditRole);
    if ((old.isNull() ? QString() : old.toString()) == text) return;
    model->setData(index, text.isEmpty() ? QVariant() : QVariant(text), Qt::EditRole);
}

void TGridDelegate::CheckEditorInput(QWidget* editor) {
    const QString error = EditorInputError(editor);
    if (error.isEmpty()) return;
    if (QLineEdit* line = EditorLine(editor)) line->selectAll();
    Refuse(error);
}

bool TGridDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* editor = qobject_cast<QWidget*>(object);
    if (!editor || event->type() != QEvent::KeyPress)
        return QStyledItemDelegate::eventFilter(object, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool enter = (key == Qt::Key_Return || key == Qt::Key_Enter) &&
                       !qobject_cast<QPlainTextEdit*>(editor);  // a memo takes its line breaks
    if (!enter && key != Qt::Key_Tab && key != Qt::Key_Backtab)
        return QStyledItemDelegate::eventFilter(object, event);
    if (!Guard([editor] { CheckEditorInput(editor); })) return true;  // stays open to be corrected
    if (!enter) return QStyledItemDelegate::eventFilter(object, event);
    // Written and closed here, not after the key went on to the view: the view
    // moves once, when the editor closes.
    Q_EMIT commitData(editor);
    m_closingOnEnter = true;
    Q_EMIT closeEditor(editor, QAbstractItemDelegate::SubmitModelCache);
    m_closingOnEnter = false;
    return true;
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
