#pragma once
// Message boxes, the one error box, modal dialogs and the guard every UI entry
// point runs through. Tests script the answers and read what was shown.
#include <QString>
#include <QStringList>
#include <exception>
#include <functional>

class QDialog;

namespace md::ui {

enum class Icon { None, Information, Warning, Question, Error };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

inline const QString kSystemTitle = QStringLiteral("系统提示");
// The program's name as people see it: plain messages carry it as title (the
// host makes it the application's display name).
inline const QString kApplicationName = QStringLiteral("主数据管理");

// A message box. Default: title "系统提示", information icon, OK button.
Answer MessageBox(const QString& text, const QString& title = kSystemTitle,
                  Icon icon = Icon::Information, Buttons buttons = Buttons::Ok);
// A plain message without an icon (the application's name as title).
void ShowMessage(const QString& text);
// The question the record editor asks: title "系统提示", question icon, Yes/No. True on Yes.
bool AskYesNo(const QString& text, const QString& title = kSystemTitle);
// The framework's one error box for database and other unexpected errors.
void ShowError(const QString& text);

// An error in the system's words, and the technical text behind it.
struct ErrorText {
    QString text;     // for the user: a broken key names the field and the value
    QString details;  // the engine's words and the statement; empty when there is nothing more
};
// The one place where an exception becomes message text. A field is named by
// the caption the open windows show for it (grid columns, labelled editors;
// the active window first), else by the description tables, else by its own name.
ErrorText DescribeError(const std::exception& error);
// The error box for an exception: DescribeError's text, the details behind a
// "详细信息" button and on standard error.
void ShowError(const std::exception& error);

// Runs a modal dialog to its end and returns its result (QDialog::Accepted/Rejected).
int ExecModal(QDialog& dialog);

// Runs fn; a silent abort (EAbort) ends it quietly, any other error goes to the
// error box. Returns true when fn ran to its end. Actions, buttons, keys and cell
// edits all go through here.
bool Guard(const std::function<void()>& fn);

// What was shown, and the answers to give, for tests.
struct ShownMessage {
    QString title;
    QString text;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    bool isError = false;
    QString details;  // error boxes: the text behind "详细信息"
};

class MessageScript {
  public:
    // While a script exists, boxes are not shown: each is recorded and answered
    // from the queue (default Yes for questions, Ok otherwise); modal dialogs are
    // handed to the dialog handler (default: rejected at once).
    MessageScript();
    ~MessageScript();
    MessageScript(const MessageScript&) = delete;
    MessageScript& operator=(const MessageScript&) = delete;

    void answer(Answer next);  // queue the answer to the next box
    // The answer to questions once the queue is empty (Yes unless set).
    void answerQuestionsWith(Answer answer) { m_questionDefault = answer; }
    void onDialog(std::function<int(QDialog&)> handler);
    const QList<ShownMessage>& shown() const { return m_shown; }
    QStringList texts() const;  // the texts in order
    void clear() { m_shown.clear(); }

    // internal
    static MessageScript* current();
    Answer take(const ShownMessage& message);
    int runDialog(QDialog& dialog);

  private:
    QList<ShownMessage> m_shown;
    QList<Answer> m_answers;
    std::function<int(QDialog&)> m_dialogHandler;
    MessageScript* m_previous = nullptr;
    Answer m_questionDefault = Answer::Yes;
};

}  // namespace md::ui
