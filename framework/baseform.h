#pragma once
// The base windows every form derives from.
//
// Tbase_frm: binds the window's datasets to the session connection, writes the
// operation-log entries "进入" and "离开", loads the seven right flags, sees
// every key before the focused control (FormKeyPress) and frees itself when it
// closes (WA_DeleteOnClose). It is a QDialog so that one class can be run
// modally (md::ui::ExecModal) or embedded by the host as an MDI child.
//
// Creation is two-phase: the constructor builds the components (datasets,
// columns, actions, SQL texts), then create() runs the create handler
// FormCreate. Derived forms override FormCreate and call the inherited one
// first. Make forms with md::ui::CreateForm<T>(owner), which does both:
//
//     auto* form = md::ui::CreateForm<Tfrm_color>(owner);
//
// Closing (Close(), the window frame, done() of a modal run) runs, once:
// FormCloseQuery (false keeps the window open), FormClose, FormDestroy; the
// window is then freed (a window that called KeepOnClose is only hidden).
#include <QDialog>
#include <QPointer>
#include <functional>

#include "errors.h"
#include "messages.h"

class QAbstractButton;
class QBoxLayout;
class QPushButton;
class QAction;
class QKeyEvent;
class TRemoteUdpDataSet;

namespace md::ui {
// A refused check: shows the message (title "系统提示", information icon) and
// stops the handler with a silent abort.
[[noreturn]] void Refuse(const QString& text);

// A window's entry in the host main window's list of open window captions:
// joined on creation, left on close or, for a window freed without closing,
// on destruction. Leaving goes by text, so of two windows with one caption the
// first entry goes.
class TOpenWindowListEntry {
  public:
    TOpenWindowListEntry() = default;
    TOpenWindowListEntry(const TOpenWindowListEntry&) = delete;
    TOpenWindowListEntry& operator=(const TOpenWindowListEntry&) = delete;
    ~TOpenWindowListEntry() { Leave(); }

    void Join(const QString& caption);
    void Leave();

  private:
    QString m_caption;
    bool m_listed = false;
};
}  // namespace md::ui

class Tbase_frm : public QDialog {
    Q_OBJECT
  public:
    explicit Tbase_frm(QWidget* owner = nullptr);
    ~Tbase_frm() override;

    // Runs FormCreate once, through the guard: an error is shown in the error
    // box, the rest of the handler is skipped and the window still exists.
    void create();
    bool isCreated() const { return m_created; }

    // Closes the window (its MDI frame too, when it has one).
    void Close();

    // The seven right flags, false until the form-rights loader sets them.
    bool RightAdd = false;
    bool RightEdit = false;
    bool RightDelete = false;
    bool RightPrint = false;
    bool RightPosted = false;
    bool RightUnposted = false;
    bool RightExcel = false;

    // One row of the operation log with this window's caption as mode name.
    void WriteLog(const QString& state, const QString& billId = QString()) const;

    // The holder of the window's actions; actions are found by objectName.
    QObject* ActionList1 = nullptr;
    // Makes an action under ActionList1 whose trigger runs `handler` through
    // the guard (after open cell editors have written their values).
    // postEdits false: an action that drops what is being edited (撤消) runs
    // without writing the open cell editors first.
    QAction* NewAction(const QString& name, const QString& caption, std::function<void()> handler,
                       bool postEdits = true);
    QAction* Action(const QString& name) const;

    // Runs a UI entry point (button, menu, key) through the guard.
    bool Run(const std::function<void()>& fn);
    // A button's click runs `handler` through the guard ("But_FindClick" and the like).
    void OnClick(QAbstractButton* button, std::function<void()> handler);
    // A push button named `name` added to a row of buttons, its click wired as OnClick.
    QPushButton* NewButton(QBoxLayout& row, const QString& name, const QString& caption,
                           std::function<void()> handler);

    void done(int result) override;

  protected:
    virtual void FormCreate();
    virtual void FormShow();
    virtual bool FormCloseQuery();
    virtual void FormClose();
    virtual void FormDestroy();
    // Key preview: sees key presses before the focused control; true consumes the key.
    virtual bool FormKeyPress(QKeyEvent& event);
    // Called before every action: grids write what their open cell editors hold.
    virtual void PostPendingEdits();
    // Enter (without modifiers) moves the focus to the next control; a focused
    // push button keeps it. True when the key was used.
    bool FocusNextOnEnter(QKeyEvent& event);

    // The window's datasets (children of any depth).
    QList<TRemoteUdpDataSet*> DataSets() const;

    // For a dialog whose caller reads it after it ends: closing then only
    // hides it. FormClose and FormDestroy do not run (no "离开", the datasets
    // stay open) and the window is not freed; the caller deletes it.
    void KeepOnClose();

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void runClose();

    bool m_created = false;
    bool m_shown = false;
    bool m_closed = false;
    bool m_keepOnClose = false;
};

// A dialog window: Enter moves the focus to the next control; stays on top.
class Tbase_frmTop : public Tbase_frm {
    Q_OBJECT
  public:
    explicit Tbase_frmTop(QWidget* owner = nullptr);

  protected:
    bool FormKeyPress(QKeyEvent& event) override;
};

namespace md::ui {

// Constructs the form and runs its create handler.
template <class T, class... Args>
T* CreateForm(Args&&... args) {
    T* form = new T(std::forward<Args>(args)...);
    form->create();
    return form;
}

}  // namespace md::ui
