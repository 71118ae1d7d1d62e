#include "pickmarks.h"

#include "grid.h"
#include "remoteudpdataset.h"
#include "scopes.h"

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

}  // namespace md::ui
