#include "gridcolumn.h"

#include "remoteudpdataset.h"

TGridColumn::TGridColumn(const QString& fieldName, const QString& caption, QObject* parent)
    : QObject(parent), m_fieldName(fieldName), m_caption(caption) {}

TGridColumn& TGridColumn::width(int pixels) {
    m_width = pixels;
    changed();
    return *this;
}

TGridColumn& TGridColumn::visible(bool shown) {
    m_visible = shown;
    changed();
    return *this;
}

TGridColumn& TGridColumn::readOnly(bool on) {
    m_readOnly = on;
    changed();
    return *this;
}

TGridColumn& TGridColumn::caption(const QString& text) {
    m_caption = text;
    changed();
    return *this;
}

TGridColumn& TGridColumn::editor(TEditorKind kind) {
    m_kind = kind;
    changed();
    return *this;
}

TGridColumn& TGridColumn::upperCase() {
    m_upperCase = true;
    return editor(m_kind == TEditorKind::Text ? TEditorKind::UpperText : m_kind);
}

TGridColumn& TGridColumn::valueList(const QStringList& items, bool freeText) {
    m_items = items;
    m_freeText = freeText;
    return editor(TEditorKind::ValueList);
}

TGridColumn& TGridColumn::lookup(TRemoteUdpDataSet* list, const QString& keyField,
                                 const QStringList& shownFields, const QStringList& shownCaptions,
                                 const QString& displayField) {
    m_lookupList = list;
    m_lookupKey = keyField;
    m_lookupShown = shownFields.isEmpty() ? QStringList{keyField} : shownFields;
    m_lookupCaptions = shownCaptions;
    m_lookupDisplay = displayField;
    return editor(TEditorKind::Lookup);
}

TGridColumn& TGridColumn::currency(const QString& displayFormat) {
    m_displayFormat = displayFormat;
    return editor(TEditorKind::Currency);
}

TGridColumn& TGridColumn::displayFormat(const QString& format) {
    m_displayFormat = format;
    changed();
    return *this;
}

TGridColumn& TGridColumn::button(std::function<void(TGridColumn&)> onClick) {
    m_onButton = std::move(onClick);
    return editor(TEditorKind::Button);
}

TGridColumn& TGridColumn::band(int bandIndex) {
    m_band = bandIndex;
    changed();
    return *this;
}

TGridColumn& TGridColumn::footer(TSummaryKind kind, const QString& format) {
    m_summary = kind;
    m_summaryFormat = format;
    changed();
    return *this;
}

TGridColumn& TGridColumn::inputCheck(std::function<QString(const QString& text)> check) {
    m_inputCheck = std::move(check);
    return *this;
}

QString TGridColumn::lookupText(const QVariant& value) const {
    if (m_lookupDisplay.isEmpty() || !m_lookupList || !m_lookupList->Active() || value.isNull())
        return TField::textOf(value, ftUnknown);
    const QVariant shown = m_lookupList->Lookup(m_lookupKey, value, m_lookupDisplay);
    return shown.isNull() ? TField::textOf(value, ftUnknown) : TField::textOf(shown, ftUnknown);
}

namespace md::ui {

QString UpperAscii(const QString& text) {
    QString out = text;
    for (QChar& c : out)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 'a' + 'A');
    return out;
}

}  // namespace md::ui
