#include "pickmarks.h"

#include <QKeyEvent>
#include <QWidget>

#include "grid.h"
#include "remoteudpdataset.h"
#include "scopes.h"
#include "session.h"

namespace md::ui {

void SetUpPickGrid(TDBTableView& view) {
    TGridViewOptions& options = view.Options();
    options.Footer = true;
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    view.ApplyOptions();
    view.SetInputAllowed(true);
}

void SetAllMarks(TRemoteUdpDataSet& rows, bool marked) {
    rows.CheckBrowseMode();
    {
        TControlsDisabled still(rows);
        TBookmarkKept place(rows);
        TField& check = rows.FieldByName(QStringLiteral("checkid"));
        for (rows.First(); !rows.Eof(); rows.Next()) {
            rows.Edit();
            check.SetAsBoolean(marked);
            rows.Post();
        }
    }
    // The marks are never sent: no change log to keep for them.
    rows.MergeChangeLog();
}

QList<int> MarkedRows(const TRemoteUdpDataSet& rows) {
    QList<int> marked;
    const int check = rows.FieldByName(QStringLiteral("checkid")).Index();
    for (int row = 0; row < rows.RecordCount(); ++row) {
        const QVariant& value = rows.valueAt(row, check);
        if (!value.isNull() && TField::booleanOf(value)) marked << row;
    }
    return marked;
}

bool IsPlainEnter(const QKeyEvent& event) {
    return (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) &&
           !(event.modifiers() & ~Qt::KeypadModifier);
}

void CentreOnHostWindow(QWidget& dialog) {
    if (auto* main = qobject_cast<QWidget*>(md::Session().HostMainForm)) {
        QRect frame = dialog.frameGeometry();
        frame.moveCenter(main->frameGeometry().center());
        dialog.move(frame.topLeft());
    }
}

}  // namespace md::ui
