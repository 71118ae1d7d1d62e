#include "messages.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <cstdio>

#include "dbcontrols.h"
#include "errors.h"
#include "gridcolumn.h"
#include "routines.h"

namespace md::ui {

namespace {

MessageScript* g_script = nullptr;

QMessageBox::Icon boxIcon(Icon icon) {
    switch (icon) {
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Warning:
            return QMessageBox::Warning;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::Error:
            return QMessageBox::Critical;
        case Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// The buttons carry Chinese captions: the application ships no Qt translations.
Answer runBox(const ShownMessage& message) {
    QMessageBox box(boxIcon(message.icon), message.title, message.text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    struct Choice {
        QMessageBox::StandardButton button;
        const char* caption;
        Answer answer;
    };
    QList<Choice> choices;
    switch (message.buttons) {
        case Buttons::Ok:
            choices = {{QMessageBox::Ok, "确定", Answer::Ok}};
            break;
        case Buttons::OkCancel:
            choices = {{QMessageBox::Ok, "确定", Answer::Ok},
                       {QMessageBox::Cancel, "取消", Answer::Cancel}};
            break;
        case Buttons::YesNo:
            choices = {{QMessageBox::Yes, "是", Answer::Yes}, {QMessageBox::No, "否", Answer::No}};
            break;
        case Buttons::YesNoCancel:
            choices = {{QMessageBox::Yes, "是", Answer::Yes},
                       {QMessageBox::No, "否", Answer::No},
                       {QMessageBox::Cancel, "取消", Answer::Cancel}};
            break;
    }
    for (const Choice& c : choices) box.addButton(c.button)->setText(QString::fromUtf8(c.caption));
    box.setDefaultButton(QMessageBox::StandardButton(choices.first().button));
    const int pressed = box.exec();
    for (const Choice& c : choices)
        if (pressed == c.button) return c.answer;
    // Closed by the window frame: the last button's meaning (No or Cancel), or Ok.
    return choices.size() > 1 ? choices.last().answer : Answer::Ok;
}

// An error with its technical text: the text, an OK button and a "详细信息"
// button that shows the details below.
void runErrorBox(const ShownMessage& message) {
    QDialog box(QApplication::activeWindow());
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.setWindowTitle(message.title);
    auto* icon = new QLabel(&box);
    const int side = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
    icon->setPixmap(box.style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(side, side));
    icon->setAlignment(Qt::AlignTop);
    auto* text = new QLabel(message.text, &box);
    text->setObjectName(QStringLiteral("lbl_text"));
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* details = new QPlainTextEdit(message.details, &box);
    details->setObjectName(QStringLiteral("edt_details"));
    details->setReadOnly(true);
    details->setVisible(false);
    details->setMinimumHeight(120);
    auto* buttons = new QDialogButtonBox(&box);
    QPushButton* ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    QPushButton* more =
        buttons->addButton(QStringLiteral("详细信息"), QDialogButtonBox::ActionRole);
    more->setObjectName(QStringLiteral("btn_details"));
    more->setCheckable(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(more, &QPushButton::toggled, &box, [&box, details](bool shown) {
        details->setVisible(shown);
        box.adjustSize();
    });
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(text, 1);
    auto* layout = new QVBoxLayout(&box);
    layout->addLayout(top);
    layout->addWidget(details, 1);
    layout->addWidget(buttons);
    box.setMinimumWidth(360);
    box.exec();
}

Answer show(ShownMessage message) {
    if (MessageScript* script = MessageScript::current()) return script->take(message);
    if (message.isError && !message.details.isEmpty()) {
        runErrorBox(message);
        return Answer::Ok;
    }
    return runBox(message);
}

// ---------------------------------------------------------------- error texts

QString withoutColon(QString label) {
    label.remove(QLatin1Char('&'));
    while (!label.isEmpty() && (label.endsWith(u'：') || label.endsWith(u':') ||
                                label.endsWith(u' ') || label.endsWith(u'*')))
        label.chop(1);
    return label;
}

// The caption a window shows for a field: a grid column or a property row, or
// the label of a data-aware editor.
QString captionIn(const QWidget& window, const QString& field) {
    for (const TGridColumn* column : window.findChildren<TGridColumn*>())
        if (column->FieldName().compare(field, Qt::CaseInsensitive) == 0 &&
            !column->Caption().isEmpty())
            return column->Caption();
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        const QWidget* editor = label->buddy();
        if (!editor) continue;
        for (const TFieldDataLink* link :
             editor->findChildren<TFieldDataLink*>(Qt::FindDirectChildrenOnly))
            if (link->DataField().compare(field, Qt::CaseInsensitive) == 0)
                return withoutColon(label->text());
    }
    return QString();
}

// The windows that may have failed, most likely first: the modal one, the one
// holding the focus, the active child of a multi-document window, then every
// other window (shown ones before hidden ones).
QList<const QWidget*> candidateWindows() {
    QList<const QWidget*> windows;
    const auto add = [&windows](const QWidget* window) {
        if (window && !windows.contains(window)) windows << window;
    };
    add(QApplication::activeModalWidget());
    for (QWidget* at = QApplication::focusWidget(); at; at = at->parentWidget())
        if (qobject_cast<QDialog*>(at)) {
            add(at);
            break;
        }
    if (QWidget* active = QApplication::activeWindow()) {
        if (auto* area = active->findChild<QMdiArea*>())
            if (QMdiSubWindow* child = area->activeSubWindow()) add(child->widget());
        add(active);
    }
    const QWidgetList all = QApplication::topLevelWidgets();
    for (const bool shown : {true, false})
        for (const QWidget* window : all)
            if (window->isVisible() == shown) add(window);
    return windows;
}

QString fieldCaption(const QString& table, const QString& field) {
    for (const QWidget* window : candidateWindows()) {
        const QString caption = captionIn(*window, field);
        if (!caption.isEmpty()) return caption;
    }
    try {
        const QString remark = md::FieldRemark(table, field);
        if (!remark.isEmpty()) return remark;
    } catch (const std::exception&) {
        // The connection that just failed may refuse this too: the name will do.
    }
    return field;
}

QString violationText(const TConstraintViolation& violation) {
    QStringList captions;
    for (const QString& column : violation.columns)
        captions << fieldCaption(violation.table, column);
    if (captions.isEmpty()) return QString();
    if (violation.kind == TConstraintViolation::Kind::NotNull)
        return captions.join(QStringLiteral("、")) + QStringLiteral("不能为空");
    if (violation.values.size() != captions.size())
        return captions.join(QStringLiteral("、")) + QStringLiteral("不能重复");
    QStringList named;
    for (int i = 0; i < captions.size(); ++i)
        named << captions[i] + QStringLiteral("“%1”").arg(violation.values[i]);
    return named.join(QStringLiteral("、")) + QStringLiteral("已存在");
}

// The display name the host gave the application; without one (Qt then
// answers the executable's name) the program's own name.
QString applicationTitle() {
    const QString name = QGuiApplication::applicationDisplayName();
    return name.isEmpty() || name == QCoreApplication::applicationName() ? kApplicationName : name;
}

}  // namespace

Answer MessageBox(const QString& text, const QString& title, Icon icon, Buttons buttons) {
    return show({title, text, icon, buttons, false, QString()});
}

void ShowMessage(const QString& text) {
    show({applicationTitle(), text, Icon::None, Buttons::Ok, false, QString()});
}

bool AskYesNo(const QString& text, const QString& title) {
    return show({title, text, Icon::Question, Buttons::YesNo, false, QString()}) == Answer::Yes;
}

void ShowError(const QString& text) {
    show({kSystemTitle, text, Icon::Error, Buttons::Ok, true, QString()});
}

ErrorText DescribeError(const std::exception& error) {
    const auto* database = dynamic_cast<const EDatabaseError*>(&error);
    if (!database) return {QString::fromUtf8(error.what()), QString()};
    ErrorText described;
    if (database->violation().kind != TConstraintViolation::Kind::None)
        described.text = violationText(database->violation());
    if (described.text.isEmpty()) described.text = database->reason();
    if (database->message() != described.text) described.details = database->message();
    return described;
}

void ShowError(const std::exception& error) {
    const ErrorText described = DescribeError(error);
    // Support reads the technical text where the program was started.
    std::fprintf(stderr, "%s\n", qPrintable(described.text));
    if (!described.details.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(described.details));
    std::fflush(stderr);
    show({kSystemTitle, described.text, Icon::Error, Buttons::Ok, true, described.details});
}

int ExecModal(QDialog& dialog) {
    MessageScript* script = MessageScript::current();
    if (!script) return dialog.exec();

    // A scripted run mirrors exec(): the dialog ends with done() (so close
    // handlers run) and a dialog that deletes itself on close is deleted here.
    QPointer<QDialog> guard(&dialog);
    const bool deleteOnClose = dialog.testAttribute(Qt::WA_DeleteOnClose);
    dialog.setAttribute(Qt::WA_DeleteOnClose, false);
    bool finished = false;
    const auto connection =
        QObject::connect(&dialog, &QDialog::finished, [&finished] { finished = true; });
    int result = script->runDialog(dialog);
    if (guard) {
        QObject::disconnect(connection);
        if (finished)
            result = dialog.result();
        else
            dialog.done(result);
        if (deleteOnClose) delete guard.data();
    }
    return result;
}

bool Guard(const std::function<void()>& fn) {
    try {
        fn();
        return true;
    } catch (const EAbort&) {
        return false;
    } catch (const std::exception& e) {
        ShowError(e);
    } catch (...) {
        ShowError(QStringLiteral("未知错误"));
    }
    return false;
}

// ---------------------------------------------------------------- MessageScript

MessageScript::MessageScript() : m_previous(g_script) {
    g_script = this;
}

MessageScript::~MessageScript() {
    g_script = m_previous;
}

MessageScript* MessageScript::current() {
    return g_script;
}

void MessageScript::answer(Answer next) {
    m_answers.append(next);
}

void MessageScript::onDialog(std::function<int(QDialog&)> handler) {
    m_dialogHandler = std::move(handler);
}

QStringList MessageScript::texts() const {
    QStringList out;
    for (const ShownMessage& m : m_shown) out << m.text;
    return out;
}

Answer MessageScript::take(const ShownMessage& message) {
    m_shown.append(message);
    if (!m_answers.isEmpty()) return m_answers.takeFirst();
    switch (message.buttons) {
        case Buttons::YesNo:
        case Buttons::YesNoCancel:
            return m_questionDefault;
        case Buttons::Ok:
        case Buttons::OkCancel:
            break;
    }
    return Answer::Ok;
}

int MessageScript::runDialog(QDialog& dialog) {
    if (!m_dialogHandler) return QDialog::Rejected;
    // The handler may open further modal dialogs; they go to the same handler.
    return m_dialogHandler(dialog);
}

}  // namespace md::ui
