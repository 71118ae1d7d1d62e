#include "filterdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "remoteudpdataset.h"
#include "sqlquote.h"

namespace md::ui {

const QStringList& FilterOperators() {
    static const QStringList ops = {QStringLiteral("="),    QStringLiteral("<>"),
                                    QStringLiteral(">"),    QStringLiteral("<"),
                                    QStringLiteral(">="),   QStringLiteral("<="),
                                    QStringLiteral("包含"), QStringLiteral("开头是")};
    return ops;
}

namespace {

QString fieldRef(const QString& name) {
    for (QChar c : name)
        if (!c.isLetterOrNumber() && c != QLatin1Char('_'))
            return QLatin1Char('[') + name + QLatin1Char(']');
    return name;
}

QString literal(const QString& value, const TField* field) {
    const TFieldType type = field ? field->DataType() : ftString;
    bool number = false;
    value.trimmed().toDouble(&number);
    if (number && (type == ftInteger || type == ftFloat || type == ftCurrency))
        return value.trimmed();
    if (type == ftBoolean) {
        const QString v = value.trimmed();
        if (v == QStringLiteral("是") || v == QStringLiteral("1") ||
            v.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("1");
        if (v == QStringLiteral("否") || v == QStringLiteral("0") ||
            v.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("0");
    }
    return QuotedStr(value);
}

}  // namespace

QString FilterText(const QList<TFilterCondition>& conditions, const TRemoteUdpDataSet& dataSet) {
    QString out;
    for (const TFilterCondition& c : conditions) {
        if (c.field.isEmpty()) continue;
        const TField* field = dataSet.FindField(c.field);
        const QString name = fieldRef(field ? field->FieldName() : c.field);
        QString part;
        if (c.op == QStringLiteral("包含"))
            part = name + QStringLiteral(" like ") +
                   QuotedStr(QLatin1Char('%') + c.value + QLatin1Char('%'));
        else if (c.op == QStringLiteral("开头是"))
            part = name + QStringLiteral(" like ") + QuotedStr(c.value + QLatin1Char('%'));
        else
            part = name + QLatin1Char(' ') + (c.op.isEmpty() ? QStringLiteral("=") : c.op) +
                   QLatin1Char(' ') + literal(c.value, field);
        if (!out.isEmpty())
            out += c.orWithPrevious ? QStringLiteral(" or ") : QStringLiteral(" and ");
        out += QLatin1Char('(') + part + QLatin1Char(')');
    }
    return out;
}

}  // namespace md::ui

TFilterDialog::TFilterDialog(const QList<QPair<QString, QString>>& columns, QWidget* parent)
    : QDialog(parent), m_columns(columns) {
    setObjectName(QStringLiteral("FilterDialog"));
    setWindowTitle(QStringLiteral("查找"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("显示符合以下条件的记录："), this));
    m_rowsLayout = new QVBoxLayout;
    layout->addLayout(m_rowsLayout);
    auto* tools = new QHBoxLayout;
    auto* add = new QPushButton(QStringLiteral("添加条件"), this);
    add->setObjectName(QStringLiteral("AddConditionButton"));
    auto* clear = new QPushButton(QStringLiteral("清除"), this);
    clear->setObjectName(QStringLiteral("ClearConditionsButton"));
    tools->addWidget(add);
    tools->addWidget(clear);
    tools->addStretch();
    layout->addLayout(tools);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(add, &QPushButton::clicked, this, [this] { addRow(); });
    connect(clear, &QPushButton::clicked, this, [this] {
        clearRows();
        addRow();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    addRow();
    resize(560, sizeHint().height());
}

void TFilterDialog::addRow(const TFilterCondition& condition) {
    Row row;
    row.widget = new QWidget(this);
    auto* h = new QHBoxLayout(row.widget);
    h->setContentsMargins(0, 0, 0, 0);
    row.join = new QComboBox(row.widget);
    row.join->addItems({QStringLiteral("并且"), QStringLiteral("或者")});
    row.join->setCurrentIndex(condition.orWithPrevious ? 1 : 0);
    row.join->setVisible(!m_rows.isEmpty());
    row.field = new QComboBox(row.widget);
    for (const auto& column : m_columns) row.field->addItem(column.second, column.first);
    const int at = row.field->findData(condition.field);
    if (at >= 0) row.field->setCurrentIndex(at);
    row.op = new QComboBox(row.widget);
    row.op->addItems(md::ui::FilterOperators());
    if (!condition.op.isEmpty()) row.op->setCurrentText(condition.op);
    row.value = new QLineEdit(condition.value, row.widget);
    auto* remove = new QToolButton(row.widget);
    remove->setText(QStringLiteral("×"));
    h->addWidget(row.join);
    h->addWidget(row.field, 2);
    h->addWidget(row.op, 1);
    h->addWidget(row.value, 3);
    h->addWidget(remove);
    m_rowsLayout->addWidget(row.widget);
    m_rows.append(row);
    QWidget* widget = row.widget;
    connect(remove, &QToolButton::clicked, this, [this, widget] {
        for (qsizetype i = 0; i < m_rows.size(); ++i)
            if (m_rows[i].widget == widget) m_rows.removeAt(i);
        widget->deleteLater();
        if (!m_rows.isEmpty()) m_rows.first().join->setVisible(false);
    });
}

void TFilterDialog::clearRows() {
    for (const Row& row : m_rows) delete row.widget;
    m_rows.clear();
}

void TFilterDialog::setConditions(const QList<TFilterCondition>& conditions) {
    clearRows();
    for (const TFilterCondition& c : conditions) addRow(c);
    if (m_rows.isEmpty()) addRow();
}

QList<TFilterCondition> TFilterDialog::conditions() const {
    QList<TFilterCondition> out;
    for (const Row& row : m_rows) {
        if (row.value->text().isEmpty()) continue;
        TFilterCondition c;
        c.orWithPrevious = !out.isEmpty() && row.join->currentIndex() == 1;
        c.field = row.field->currentData().toString();
        c.op = row.op->currentText();
        c.value = row.value->text();
        out.append(c);
    }
    return out;
}
