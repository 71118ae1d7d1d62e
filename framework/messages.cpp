#include "messages.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include "errors.h"

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

Answer show(ShownMessage message) {
    if (MessageScript* script = MessageScript::current()) return script->take(message);
    return runBox(message);
}

QString applicationTitle() {
    const QString name = QGuiApplication::applicationDisplayName();
    return name.isEmpty() ? kSystemTitle : name;
}

}  // namespace

Answer MessageBox(const QString& text, const QString& title, Icon icon, Buttons buttons) {
    return show({title, text, icon, buttons, false});
}

void ShowMessage(const QString& text) {
    show({applicationTitle(), text, Icon::None, Buttons::Ok, false});
}

bool AskYesNo(const QString& text, const QString& title) {
    return show({title, text, Icon::Question, Buttons::YesNo, false}) == Answer::Yes;
}

void ShowError(const QString& text) {
    show({kSystemTitle, text, Icon::Error, Buttons::Ok, true});
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
    } catch (const EDatabaseError& e) {
        ShowError(e.message());
    } catch (const std::exception& e) {
        ShowError(QString::fromUtf8(e.what()));
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
            return Answer::Yes;
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
