#include "styles.h"

#include <QAbstractButton>
#include <QFrame>
#include <QStatusBar>
#include <QToolBar>

#include "dictdm.h"
#include "grid.h"
#include "sharedvalues.h"

namespace md::ui {

namespace {

void paint(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    if (!colour.isValid()) return;
    QPalette pal = widget->palette();
    pal.setColor(role, colour);
    widget->setPalette(pal);
    if (role == QPalette::Window) widget->setAutoFillBackground(true);
}

}  // namespace

void ApplySharedColours(QWidget* window) {
    const QColor button = colorFromText(md::Shared().ColorButton);
    const QColor back = colorFromText(md::Shared().ColorBack);
    for (QToolBar* bar : window->findChildren<QToolBar*>()) {
        paint(bar, QPalette::Window, button);
        // A toolbar fills its background from its own role (Button), not Window.
        paint(bar, bar->backgroundRole(), button);
    }
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        paint(b, QPalette::Button, button);
    // Panels: frames named as panels, and the status bar.
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->objectName().contains(QStringLiteral("Panel"), Qt::CaseInsensitive) ||
            qobject_cast<QStatusBar*>(w))
            paint(w, QPalette::Window, back);
    }
    TGridStyle style{button, QColor()};
    if (const Tdict_dm* dm = Tdict_dm::instance()) style = dm->dmStyle1;
    for (TDBTableView* view : window->findChildren<TDBTableView*>()) view->SetStyle(style);
}

}  // namespace md::ui
