#pragma once
// A field of a cached dataset: a named column with a type, display properties
// and events. The values live in the dataset's row storage; a field reads and
// writes the current record (or, while calculated fields or a filter are being
// evaluated, the record under evaluation).
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVariant>
#include <functional>
#include <vector>

#include "tsql/sqltypes.h"

class TRemoteUdpDataSet;

enum TFieldType {
    ftUnknown,
    ftString,
    ftInteger,   // stored as qlonglong
    ftFloat,     // double
    ftCurrency,  // money, decimal: double, usually shown with a DisplayFormat such as "0.00"
    ftBoolean,   // stored as qlonglong 1 or 0, as bit columns come from the database
    ftDate,      // stored as text 'yyyy-MM-dd'
    ftTime,      // stored as text 'HH:mm:ss'
    ftDateTime,  // stored as text 'yyyy-MM-dd' or 'yyyy-MM-dd HH:mm:ss'
    ftBlob,      // QByteArray
};

enum TFieldKind { fkData, fkCalculated, fkLookup };

TFieldType fieldTypeFromSql(md::sql::SqlType type);

namespace md::data {
// The value of type T inside a variant, or null; inline, for the per-row paths
// that must not pay for out-of-line QVariant calls.
template <typename T>
inline const T* valueIf(const QVariant& v) {
    return v.data_ptr().typeInterface() == QMetaType::fromType<T>().iface()
               ? static_cast<const T*>(v.constData())
               : nullptr;
}

// Whether a variant holds a whole number, or any number (booleans count).
bool isIntegerVariant(const QVariant& v);
bool isNumericVariant(const QVariant& v);
}  // namespace md::data

class TField {
  public:
    TField(TRemoteUdpDataSet* dataSet, QString name, TFieldType type, int size, TFieldKind kind);
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    TRemoteUdpDataSet* DataSet() const { return m_dataSet; }
    const QString& FieldName() const { return m_name; }
    TFieldType DataType() const { return m_type; }
    int Size() const { return m_size; }
    TFieldKind FieldKind() const { return m_kind; }
    bool Calculated() const { return m_kind == fkCalculated; }
    bool Lookup() const { return m_kind == fkLookup; }
    int Index() const { return m_column; }  // position in the dataset's Fields()

    // Reading. A null value reads as "", 0, false or an invalid date.
    QVariant Value() const;
    bool IsNull() const;
    QString AsString() const;
    int AsInteger() const;  // "12" gives 12; "abc" raises "'abc' 不是有效的整数值"
    qint64 AsLargeInt() const;
    double AsFloat() const;
    double AsCurrency() const { return AsFloat(); }
    bool AsBoolean() const;  // 1/0, true/false, "1"/"0", "true"/"false"
    QDateTime AsDateTime() const;
    QDate AsDate() const { return AsDateTime().date(); }
    QTime AsTime() const { return AsDateTime().time(); }
    // The value as read from the database (before this record's cached change).
    QVariant OldValue() const;
    // The text a grid or an export shows: DisplayFormat applied, booleans "是"/"否".
    QString DisplayText() const;
    QString displayTextOf(const QVariant& value) const;  // DisplayText of a value of this field

    // Writing (the dataset must be in the edit or insert state). OnValidate runs
    // with the new value visible and may Abort() to refuse it; then OnChange.
    void SetValue(const QVariant& value);
    void SetAsString(const QString& value);  // "" stores null in non-text fields
    void SetAsInteger(qint64 value);
    void SetAsFloat(double value);
    void SetAsCurrency(double value) { SetAsFloat(value); }
    void SetAsBoolean(bool value);
    void SetAsDateTime(const QDateTime& value);
    void SetAsDate(const QDate& value);
    void Clear() { SetValue(QVariant()); }

    TField& operator=(const QVariant& value) {
        SetValue(value);
        return *this;
    }
    TField& operator=(const QString& value) {
        SetAsString(value);
        return *this;
    }
    TField& operator=(const char* value) {
        SetAsString(QString::fromUtf8(value));
        return *this;
    }
    TField& operator=(int value) {
        SetAsInteger(value);
        return *this;
    }
    TField& operator=(qint64 value) {
        SetAsInteger(value);
        return *this;
    }
    TField& operator=(double value) {
        SetAsFloat(value);
        return *this;
    }
    TField& operator=(bool value) {
        SetAsBoolean(value);
        return *this;
    }
    TField& operator=(const QDateTime& value) {
        SetAsDateTime(value);
        return *this;
    }

    // Display and editing properties read by grids, editors and exports.
    const QString& DisplayLabel() const {
        return m_displayLabel.isEmpty() ? m_name : m_displayLabel;
    }
    void SetDisplayLabel(const QString& label) { m_displayLabel = label; }
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible) { m_visible = visible; }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool Required() const { return m_required; }
    void SetRequired(bool required) { m_required = required; }
    const QString& DisplayFormat() const { return m_displayFormat; }
    void SetDisplayFormat(const QString& format) { m_displayFormat = format; }
    const QString& EditMask() const { return m_editMask; }
    void SetEditMask(const QString& mask) { m_editMask = mask; }
    int DisplayWidth() const { return m_displayWidth; }
    void SetDisplayWidth(int width) { m_displayWidth = width; }

    std::function<void(TField&)> OnValidate;
    std::function<void(TField&)> OnChange;
    // A calculated field that takes input: writing it (in the edit or insert
    // state) hands the value to this handler, which sets the data fields the
    // field is calculated from; grids let its cells be typed into.
    std::function<void(TField&, const QVariant&)> OnWrite;

    // Lookup fields: this dataset's KeyFields matched against LookupKeyFields of
    // LookupDataSet give LookupResultField.
    const QString& KeyFields() const { return m_keyFields; }
    TRemoteUdpDataSet* LookupDataSet() const { return m_lookupDataSet; }
    const QString& LookupKeyFields() const { return m_lookupKeyFields; }
    const QString& LookupResultField() const { return m_lookupResultField; }

    // Conversions shared with the dataset, the filter and the model.
    static QString textOf(const QVariant& value, TFieldType type);
    static qint64 integerOf(const QVariant& value);      // throws on text that is no integer
    static double floatOf(const QVariant& value);        // throws on text that is no number
    static bool booleanOf(const QVariant& value);        // throws on text that is no boolean
    static QDateTime dateTimeOf(const QVariant& value);  // throws on text that is no date
    // The value as this type keeps it (text to number, dates to canonical text);
    // throws EDatabaseError when the value does not fit the type.
    static QVariant normalized(const QVariant& value, TFieldType type);
    static QString dateTimeText(const QDateTime& value, TFieldType type);
    static QString formatNumber(double value, const QString& format);
    static QString formatDateTime(const QDateTime& value, const QString& format);

  private:
    friend class TRemoteUdpDataSet;

    TRemoteUdpDataSet* m_dataSet;
    QString m_name;
    TFieldType m_type;
    int m_size;
    TFieldKind m_kind;
    int m_column = -1;        // column in the dataset's row storage; -1 while detached
    bool m_declared = false;  // made by AddField: keeps its type when a query binds it
    // Lookup fields, resolved on first use: this dataset's key columns and the
    // source's key and result fields (fields are never destroyed while their dataset lives).
    std::vector<int> m_keyColumns;
    std::vector<TField*> m_sourceKeys;
    TField* m_sourceResult = nullptr;

    QString m_displayLabel;
    QString m_displayFormat;
    QString m_editMask;
    int m_displayWidth = 0;
    bool m_visible = true;
    bool m_readOnly = false;
    bool m_required = false;

    QString m_keyFields;
    TRemoteUdpDataSet* m_lookupDataSet = nullptr;
    QString m_lookupKeyFields;
    QString m_lookupResultField;
};
