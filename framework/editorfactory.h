#pragma once
// The one place cell editors are made, read and written, for the grid's
// columns and the property grid's rows alike: each describes its cell as a
// TEditorSpec and asks here.
#include <QString>
#include <QStringList>
#include <functional>

#include "gridcolumn.h"

class QLineEdit;
class QWidget;
class TRemoteUdpDataSet;

struct TEditorSpec {
    TEditorKind kind = TEditorKind::Text;
    bool freeText = false;                    // ValueList: items or any text
    QStringList items;                        // ValueList
    TRemoteUdpDataSet* lookupList = nullptr;  // Lookup
    QString lookupKeyField;
    QStringList lookupShownFields;
    QStringList lookupShownCaptions;
    int maxLength = 0;    // text editors; 0: no limit
    bool decimal = true;  // Currency: fractions allowed
    bool upperCase = false;
    QString editMask;  // a regular expression the typed text must match
    // Why a typed text is no value of the cell (see TGridColumn::inputCheck).
    std::function<QString(const QString& text)> inputCheck;
};

// What a grid column or a property row says of its editor: both answer
// through the same accessors.
template <class Cell>
TEditorSpec EditorSpecOf(const Cell& cell) {
    TEditorSpec spec;
    spec.kind = cell.Kind();
    spec.freeText = cell.FreeText();
    spec.items = cell.Items();
    spec.lookupList = cell.LookupList();
    spec.lookupKeyField = cell.LookupKeyField();
    spec.lookupShownFields = cell.LookupShownFields();
    spec.lookupShownCaptions = cell.LookupShownCaptions();
    spec.upperCase = cell.UpperCase();
    return spec;
}

// The editor of the cell, parented to parent; null for a check box (toggled in place).
QWidget* CreateCellEditor(QWidget* parent, const TEditorSpec& spec);
// The line a user types into, inside any editor that has one; null otherwise.
QLineEdit* EditorLine(QWidget* editor);
// Shows the cell's text in the editor.
void SetEditorText(QWidget* editor, const QString& text);
// The editor's text; false when the editor is none of ours.
bool EditorText(QWidget* editor, QString* text);
// Why the editor's text is no value of its cell ("'25:00' 不是有效的时间", or
// what the cell's own input check says); empty when it can be written.
QString EditorInputError(QWidget* editor);
