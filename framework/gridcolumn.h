#pragma once
// A column of a grid or tree list: which field it shows, under which caption,
// with which editor. Forms describe their columns in the constructor with the
// fluent setters:
//
//     view->AddColumn("colorid", "颜色编号").width(90).upperCase().footer(TSummaryKind::Count,
//     "记录数：0"); view->AddColumn("fsysbit", "是否为月度费用").checkBox();
//     view->AddColumn("fbegintime", "上班时间").time();
//
// The column is a QObject named after its view and field
// ("cxGrid1DBTableView1colorid"), so forms and tests find it by name.
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

class TRemoteUdpDataSet;

enum class TEditorKind {
    Text,       // plain text
    UpperText,  // letters a-z typed become A-Z
    ValueList,  // drop-down of fixed items, or items plus free text
    Lookup,     // drop-down over a list dataset showing several columns
    CheckBox,   // boolean (bit or 1/0 integer)
    Date,       // yyyy-MM-dd
    Time,       // HH:mm:ss
    Currency,   // number shown with the column's display format
    Button,     // text with a "..." button that runs the column's handler
    Memo,       // multi-line text
    Color,      // colour text ("clRed", "$00BBGGRR") with named colours to pick
};

enum class TSummaryKind { None, Count, Sum };

class TGridColumn : public QObject {
    Q_OBJECT
  public:
    TGridColumn(const QString& fieldName, const QString& caption, QObject* parent);

    // ------------------------------------------------------------ description (fluent)
    TGridColumn& width(int pixels);
    TGridColumn& visible(bool shown);
    TGridColumn& hidden() { return visible(false); }
    TGridColumn& readOnly(bool on = true);
    TGridColumn& caption(const QString& text);
    TGridColumn& editor(TEditorKind kind);
    // Letters typed become upper case; a text column becomes UpperText, other
    // kinds (lookup, value list, button) keep their editor.
    TGridColumn& upperCase();
    TGridColumn& valueList(const QStringList& items, bool freeText = false);
    // Stores `keyField` of the list; the drop-down shows `shownFields` (captions
    // optional); the cell shows `displayField` of the matching list row when set,
    // else the stored value.
    TGridColumn& lookup(TRemoteUdpDataSet* list, const QString& keyField,
                        const QStringList& shownFields, const QStringList& shownCaptions = {},
                        const QString& displayField = {});
    TGridColumn& checkBox() { return editor(TEditorKind::CheckBox); }
    TGridColumn& date() { return editor(TEditorKind::Date); }
    TGridColumn& time() { return editor(TEditorKind::Time); }
    TGridColumn& currency(const QString& displayFormat = QStringLiteral("0.00"));
    TGridColumn& displayFormat(const QString& format);
    TGridColumn& button(std::function<void(TGridColumn&)> onClick);
    TGridColumn& memo() { return editor(TEditorKind::Memo); }
    TGridColumn& color() { return editor(TEditorKind::Color); }
    TGridColumn& band(int bandIndex);
    // Footer summary over the rows in view; the format is a number format with
    // literal text around it ("记录数：0", "合计：0.00").
    TGridColumn& footer(TSummaryKind kind, const QString& format = QString());
    // Why a typed text is no value of this column, in the user's words; empty
    // when it is one. A refused text keeps the cell editor open with the
    // message shown, and the cell keeps its value.
    TGridColumn& inputCheck(std::function<QString(const QString& text)> check);

    // ------------------------------------------------------------ reading
    const QString& FieldName() const { return m_fieldName; }
    const QString& Caption() const { return m_caption; }
    int Width() const { return m_width; }
    bool Visible() const { return m_visible; }
    bool ReadOnly() const { return m_readOnly; }
    TEditorKind Kind() const { return m_kind; }
    bool UpperCase() const { return m_upperCase || m_kind == TEditorKind::UpperText; }
    const QStringList& Items() const { return m_items; }
    bool FreeText() const { return m_freeText; }
    void AddItem(const QString& item) {
        if (!m_items.contains(item)) m_items << item;
    }
    void ClearItems() { m_items.clear(); }
    const QString& DisplayFormat() const { return m_displayFormat; }
    int BandIndex() const { return m_band; }
    TSummaryKind Summary() const { return m_summary; }
    const QString& SummaryFormat() const { return m_summaryFormat; }

    TRemoteUdpDataSet* LookupList() const { return m_lookupList; }
    const QString& LookupKeyField() const { return m_lookupKey; }
    const QStringList& LookupShownFields() const { return m_lookupShown; }
    const QStringList& LookupShownCaptions() const { return m_lookupCaptions; }
    const QString& LookupDisplayField() const { return m_lookupDisplay; }
    // The text the cell shows for a stored lookup value.
    QString lookupText(const QVariant& value) const;

    const std::function<void(TGridColumn&)>& OnButtonClick() const { return m_onButton; }
    const std::function<QString(const QString&)>& InputCheck() const { return m_inputCheck; }

    // Called by the owning view when a property changed.
    std::function<void()> onChanged;

  private:
    void changed() {
        if (onChanged) onChanged();
    }

    QString m_fieldName;
    QString m_caption;
    int m_width = 0;
    bool m_visible = true;
    bool m_readOnly = false;
    TEditorKind m_kind = TEditorKind::Text;
    bool m_upperCase = false;
    QStringList m_items;
    bool m_freeText = false;
    QString m_displayFormat;
    int m_band = -1;
    TSummaryKind m_summary = TSummaryKind::None;
    QString m_summaryFormat;

    QPointer<TRemoteUdpDataSet> m_lookupList;
    QString m_lookupKey;
    QStringList m_lookupShown;
    QStringList m_lookupCaptions;
    QString m_lookupDisplay;

    std::function<void(TGridColumn&)> m_onButton;
    std::function<QString(const QString&)> m_inputCheck;
};

namespace md::ui {
// Letters a-z become A-Z; everything else (digits, Chinese text) stays.
QString UpperAscii(const QString& text);
}  // namespace md::ui
