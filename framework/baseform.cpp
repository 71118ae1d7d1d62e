#include "baseform.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QPushButton>

#include "grid.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "session.h"

namespace md::ui {

void Refuse(const QString& text) {
    MessageBox(text);
    Abort();
}

void TOpenWindowListEntry::Join(const QString& caption) {
    Leave();
    IOpenWindowList* list = md::openWindowList();
    if (!list) return;
    list->AddCaption(caption);
    m_caption = caption;
    m_listed = true;
}

void TOpenWindowListEntry::Leave() {
    if (!m_listed) return;
    m_listed = false;
    if (IOpenWindowList* list = md::openWindowList()) {
        const int at = list->FindCaption(m_caption);
        if (at >= 0) list->DeleteCaption(at);
    }
}

}  // namespace md::ui

Tbase_frm::Tbase_frm(QWidget* owner) : QDialog(owner) {
    setAttribute(Qt::WA_DeleteOnClose);
    ActionList1 = new QObject(this);
    ActionList1->setObjectName(QStringLiteral("ActionList1"));
    // Key preview: the focused control of this window passes its keys here first.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && now != this && isAncestorOf(now)) now->installEventFilter(this);
    });
}

Tbase_frm::~Tbase_frm() = default;

void Tbase_frm::create() {
    if (m_created) return;
    m_created = true;
    Run([this] { FormCreate(); });
}

void Tbase_frm::FormCreate() {
    md::SessionContext& session = md::Session();
    for (TRemoteUdpDataSet* ds : DataSets()) {
        ds->Close();
        ds->setSetupUdpParent(session.Connection);
    }
    WriteLog(QStringLiteral("进入"));
    const md::RightFlags rights = md::LoadRights(session.RightListName);
    RightAdd = rights.RightAdd;
    RightEdit = rights.RightEdit;
    RightDelete = rights.RightDelete;
    RightPrint = rights.RightPrint;
    RightPosted = rights.RightPosted;
    RightUnposted = rights.RightUnposted;
    RightExcel = rights.RightExcel;
}

void Tbase_frm::FormShow() {}

bool Tbase_frm::FormCloseQuery() {
    return true;
}

void Tbase_frm::FormClose() {
    // Unsaved cached changes are dropped without a question.
    for (TRemoteUdpDataSet* ds : DataSets()) ds->Close();
    WriteLog(QStringLiteral("离开"));
}

void Tbase_frm::FormDestroy() {}

bool Tbase_frm::FormKeyPress(QKeyEvent&) {
    return false;
}

bool Tbase_frm::FocusNextOnEnter(QKeyEvent& event) {
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    if (!enter || (event.modifiers() & ~Qt::KeypadModifier)) return false;
    // A focused push button keeps Enter: it presses the button.
    if (qobject_cast<QPushButton*>(QApplication::focusWidget())) return false;
    focusNextChild();
    return true;
}

void Tbase_frm::PostPendingEdits() {
    for (TDBTableView* view : findChildren<TDBTableView*>()) view->PostEditor();
}

QList<TRemoteUdpDataSet*> Tbase_frm::DataSets() const {
    return findChildren<TRemoteUdpDataSet*>();
}

void Tbase_frm::KeepOnClose() {
    m_keepOnClose = true;
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void Tbase_frm::Close() {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

void Tbase_frm::WriteLog(const QString& state, const QString& billId) const {
    md::WriteOperationLog(windowTitle(), billId, state);
}

QAction* Tbase_frm::NewAction(const QString& name, const QString& caption,
                              std::function<void()> handler, bool postEdits) {
    auto* action = new QAction(caption, ActionList1);
    action->setObjectName(name);
    // Shortcuts work while this window (not another MDI child) has the focus.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);
    connect(action, &QAction::triggered, this, [this, postEdits, handler = std::move(handler)] {
        Run([this, postEdits, &handler] {
            if (postEdits) PostPendingEdits();
            if (handler) handler();
        });
    });
    return action;
}

QAction* Tbase_frm::Action(const QString& name) const {
    return ActionList1->findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

bool Tbase_frm::Run(const std::function<void()>& fn) {
    return md::ui::Guard(fn);
}

QPushButton* Tbase_frm::NewButton(QBoxLayout& row, const QString& name, const QString& caption,
                                  std::function<void()> handler) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    row.addWidget(button);
    OnClick(button, std::move(handler));
    return button;
}

void Tbase_frm::OnClick(QAbstractButton* button, std::function<void()> handler) {
    connect(button, &QAbstractButton::clicked, this, [this, handler = std::move(handler)] {
        Run([this, &handler] {
            PostPendingEdits();
            handler();
        });
    });
}

void Tbase_frm::runClose() {
    if (m_closed) return;
    m_closed = true;
    // A failing close handler is shown; the window closes all the same, so a
    // lost connection cannot keep it open.
    Run([this] { FormClose(); });
    Run([this] { FormDestroy(); });
}

void Tbase_frm::done(int result) {
    if (!m_closed) {
        bool mayClose = true;
        Run([&] { mayClose = FormCloseQuery(); });
        if (!mayClose) return;
        if (!m_keepOnClose) runClose();
    }
    QDialog::done(result);
}

void Tbase_frm::closeEvent(QCloseEvent* event) {
    if (!m_closed) {
        bool mayClose = true;
        Run([&] { mayClose = FormCloseQuery(); });
        if (!mayClose) {
            event->ignore();
            return;
        }
        if (!m_keepOnClose) runClose();
    }
    QDialog::closeEvent(event);
}

void Tbase_frm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown) return;
    m_shown = true;
    Run([this] { FormShow(); });
}

void Tbase_frm::keyPressEvent(QKeyEvent* event) {
    // Keys of controls reached FormKeyPress through the filter; here only keys
    // of the window itself.
    QWidget* focus = focusWidget();
    if ((!focus || focus == this) && FormKeyPress(*event)) return;
    // Escape does not close a window of this system.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool Tbase_frm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched != this) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->hasFocus() && isAncestorOf(widget)) {
            bool consumed = false;
            Run([&] { consumed = FormKeyPress(*static_cast<QKeyEvent*>(event)); });
            if (consumed) return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------- Tbase_frmTop

Tbase_frmTop::Tbase_frmTop(QWidget* owner) : Tbase_frm(owner) {
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

bool Tbase_frmTop::FormKeyPress(QKeyEvent& event) {
    return FocusNextOnEnter(event) || Tbase_frm::FormKeyPress(event);
}
