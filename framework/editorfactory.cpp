#include "editorfactory.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>

#include "editors.h"
#include "remoteudpdataset.h"

using namespace md::ui;

namespace {

// The cell's own check of typed text, kept with the editor it applies to.
class TInputCheck : public QObject {
  public:
    TInputCheck(QWidget* editor, std::function<QString(const QString&)> check)
        : QObject(editor), m_check(std::move(check)) {}
    QString errorOf(const QString& text) const { return m_check(text); }

  private:
    std::function<QString(const QString&)> m_check;
};

const TInputCheck* inputCheckOf(const QWidget* editor) {
    for (const QObject* child : editor->children())
        if (const auto* check = dynamic_cast<const TInputCheck*>(child)) return check;
    return nullptr;
}

QWidget* makeCellEditor(QWidget* parent, const TEditorSpec& spec) {
    QWidget* editor = nullptr;
    switch (spec.kind) {
        case TEditorKind::CheckBox:
            return nullptr;
        case TEditorKind::ValueList: {
            auto* e = new QComboBox(parent);
            e->setEditable(spec.freeText);
            e->setInsertPolicy(QComboBox::NoInsert);
            e->addItems(spec.items);
            e->setMaxVisibleItems(16);
            editor = e;
            break;
        }
        case TEditorKind::Lookup: {
            auto* e = new TLookupCombo(parent);
            e->setList(spec.lookupList, spec.lookupKeyField, spec.lookupShownFields,
                       spec.lookupShownCaptions);
            editor = e;
            break;
        }
        case TEditorKind::Date:
            return new TNullDateEdit(parent);
        case TEditorKind::Time:
            return new TNullTimeEdit(parent);
        case TEditorKind::Memo:
            return new QPlainTextEdit(parent);
        case TEditorKind::Color:
            return new TColorCombo(parent);
        case TEditorKind::Currency: {
            auto* e = new QLineEdit(parent);
            e->setValidator(NumberValidator(e, spec.decimal));
            e->setAlignment(Qt::AlignRight);
            return e;
        }
        case TEditorKind::Button: {
            auto* e = new TButtonEdit(parent);
            if (spec.maxLength > 0) e->lineEdit()->setMaxLength(spec.maxLength);
            editor = e;
            break;
        }
        case TEditorKind::UpperText:
        case TEditorKind::Text: {
            auto* e = new QLineEdit(parent);
            if (spec.maxLength > 0) e->setMaxLength(spec.maxLength);
            editor = e;
            break;
        }
    }
    QLineEdit* line = EditorLine(editor);
    if (line && !spec.editMask.isEmpty())
        line->setValidator(
            new QRegularExpressionValidator(QRegularExpression(spec.editMask), line));
    else if (line && spec.upperCase && !line->validator())
        line->setValidator(new TUpperCaseValidator(line));
    return editor;
}

}  // namespace

QWidget* CreateCellEditor(QWidget* parent, const TEditorSpec& spec) {
    QWidget* editor = makeCellEditor(parent, spec);
    if (editor && spec.inputCheck) new TInputCheck(editor, spec.inputCheck);
    return editor;
}

QLineEdit* EditorLine(QWidget* editor) {
    if (auto* combo = qobject_cast<QComboBox*>(editor)) return combo->lineEdit();
    if (auto* button = qobject_cast<TButtonEdit*>(editor)) return button->lineEdit();
    return qobject_cast<QLineEdit*>(editor);
}

void SetEditorText(QWidget* editor, const QString& text) {
    if (auto* e = qobject_cast<TNullDateEdit*>(editor))
        e->setValueText(text);
    else if (auto* e = qobject_cast<TNullTimeEdit*>(editor))
        e->setValueText(text);
    else if (auto* e = qobject_cast<TLookupCombo*>(editor))
        e->setKeyValue(text);
    else if (auto* e = qobject_cast<QComboBox*>(editor)) {
        if (e->isEditable())
            e->setEditText(text);
        else
            e->setCurrentIndex(e->findText(text));
    } else if (auto* e = qobject_cast<TButtonEdit*>(editor))
        e->setText(text);
    else if (auto* e = qobject_cast<QPlainTextEdit*>(editor))
        e->setPlainText(text);
    else if (auto* e = qobject_cast<QLineEdit*>(editor))
        e->setText(text);
}

bool EditorText(QWidget* editor, QString* text) {
    if (auto* e = qobject_cast<TNullDateEdit*>(editor))
        *text = e->valueText();
    else if (auto* e = qobject_cast<TNullTimeEdit*>(editor))
        *text = e->valueText();
    else if (auto* e = qobject_cast<QComboBox*>(editor))
        *text = e->currentText();
    else if (auto* e = qobject_cast<TButtonEdit*>(editor))
        *text = e->text();
    else if (auto* e = qobject_cast<QPlainTextEdit*>(editor))
        *text = e->toPlainText();
    else if (auto* e = qobject_cast<QLineEdit*>(editor))
        *text = e->text();
    else
        return false;
    return true;
}

QString EditorInputError(QWidget* editor) {
    if (auto* e = qobject_cast<TNullTimeEdit*>(editor))
        if (!e->hasValue() && !e->text().trimmed().isEmpty())
            return QStringLiteral("'%1' 不是有效的时间").arg(e->text().trimmed());
    QString text;
    if (const TInputCheck* check = editor ? inputCheckOf(editor) : nullptr)
        if (EditorText(editor, &text)) return check->errorOf(text);
    return QString();
}
