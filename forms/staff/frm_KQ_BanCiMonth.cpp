#include "frm_KQ_BanCiMonth.h"

#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>

#include "formfactory.h"
#include "frm_KQ_EmpBanci.h"
#include "session.h"

namespace {

QPointer<Tfrm_KQ_EmpBanci> g_schedule;

// A window of the host's multi-document area when the host has one.
void showInHost(Tfrm_KQ_EmpBanci* form) {
    auto* host = qobject_cast<QWidget*>(md::Session().HostMainForm);
    QMdiArea* area = host ? host->findChild<QMdiArea*>() : nullptr;
    if (area && !qobject_cast<QMdiSubWindow*>(form->parentWidget())) {
        QMdiSubWindow* frame = area->addSubWindow(form);
        frame->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(form, &QObject::destroyed, frame, &QObject::deleteLater);
    }
    if (auto* frame = qobject_cast<QMdiSubWindow*>(form->parentWidget())) {
        frame->show();
        if (QMdiArea* mdi = frame->mdiArea()) mdi->setActiveSubWindow(frame);
    } else {
        form->show();
        form->raise();
        form->activateWindow();
    }
}

}  // namespace

Tfrm_KQ_BanCiMonth::Tfrm_KQ_BanCiMonth(QWidget* owner) : Tbase_frm(owner) {
    setObjectName(QStringLiteral("frm_KQ_BanCiMonth"));
    setWindowTitle(QStringLiteral("选择月份"));
    auto* grid = new QGridLayout(this);
    const QDate today = QDate::currentDate();
    Spin_Year = new QSpinBox(this);
    Spin_Year->setObjectName(QStringLiteral("Spin_Year"));
    Spin_Year->setRange(1990, 2099);
    Spin_Year->setValue(today.year());
    Spin_Month = new QSpinBox(this);
    Spin_Month->setObjectName(QStringLiteral("Spin_Month"));
    Spin_Month->setRange(1, 12);
    Spin_Month->setValue(today.month());
    grid->addWidget(new QLabel(QStringLiteral("年份"), this), 0, 0);
    grid->addWidget(Spin_Year, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("月度"), this), 1, 0);
    grid->addWidget(Spin_Month, 1, 1);
    auto* buttons = new QHBoxLayout;
    But_OK = new QPushButton(QStringLiteral("确定"), this);
    But_OK->setObjectName(QStringLiteral("But_OK"));
    But_Cancel = new QPushButton(QStringLiteral("取消"), this);
    But_Cancel->setObjectName(QStringLiteral("But_Cancel"));
    buttons->addStretch(1);
    buttons->addWidget(But_OK);
    buttons->addWidget(But_Cancel);
    grid->addLayout(buttons, 2, 0, 1, 2);
    OnClick(But_OK, [this] { But_OKClick(); });
    OnClick(But_Cancel, [this] { reject(); });
}

Tfrm_KQ_EmpBanci* Tfrm_KQ_BanCiMonth::ScheduleForm() {
    return g_schedule;
}

void Tfrm_KQ_BanCiMonth::But_OKClick() {
    const int year = Spin_Year->value();
    const int month = Spin_Month->value();
    accept();
    if (!g_schedule)
        g_schedule = md::ui::CreateForm<Tfrm_KQ_EmpBanci>(
            qobject_cast<QWidget*>(md::Session().HostMainForm));
    g_schedule->LoadMonth(year, month);
    showInHost(g_schedule);
}

MD_REGISTER_FORM(Tfrm_KQ_BanCiMonth);
