#include "editors.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpressionValidator>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QToolButton>

#include "datasetmodel.h"
#include "dictdm.h"

namespace md::ui {

QValidator::State TUpperCaseValidator::validate(QString& input, int&) const {
    for (QChar& c : input)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 'a' + 'A');
    return Acceptable;
}

QValidator* NumberValidator(QObject* parent, bool decimals) {
    const QString pattern =
        decimals ? QStringLiteral("-?\\d*(\\.\\d*)?") : QStringLiteral("-?\\d*");
    return new QRegularExpressionValidator(QRegularExpression(pattern), parent);
}

// ---------------------------------------------------------------- TLookupCombo

TLookupCombo::TLookupCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // The list is the dataset's; the completer would copy it.
    setCompleter(nullptr);
}

void PaintCheckCell(QPainter* painter, QStyleOptionViewItem cell, bool checked, bool centred) {
    const QWidget* widget = cell.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect area = cell.rect;
    const QStyle::State state = cell.state;
    cell.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    cell.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    QStyleOptionButton box;
    box.state = (state & QStyle::State_Enabled) | (checked ? QStyle::State_On : QStyle::State_Off);
    const QRect indicator = style->subElementRect(QStyle::SE_CheckBoxIndicator, &box, widget);
    box.rect =
        centred ? QRect(area.center() - indicator.center() + indicator.topLeft(), indicator.size())
                : QRect(QPoint(area.left() + 4, area.center().y() - indicator.height() / 2),
                        indicator.size());
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, widget);
}

namespace {

// The drop-down's column captions, over the list dataset's own model.
class CaptionProxy : public QIdentityProxyModel {
  public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QHash<int, QString> captions;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && captions.contains(section))
            return captions.value(section);
        return QIdentityProxyModel::headerData(section, orientation, role);
    }
};

}  // namespace

void TLookupCombo::setList(TRemoteUdpDataSet* list, const QString& keyField,
                           const QStringList& shownFields, const QStringList& shownCaptions) {
    const QString text = currentText();
    if (!m_model)
        m_model = new TDataSetModel(list, this);
    else
        m_model->setDataSet(list);
    auto* proxy = new CaptionProxy(this);
    proxy->setSourceModel(m_model);
    auto* view = new QTableView(this);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setStretchLastSection(true);
    setModel(proxy);
    setView(view);
    setModelColumn(qMax(0, m_model->columnOf(keyField)));
    int width = 0;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const TField* f = m_model->field(c);
        qsizetype at = -1;
        for (qsizetype i = 0; f && i < shownFields.size(); ++i)
            if (shownFields.at(i).compare(f->FieldName(), Qt::CaseInsensitive) == 0) at = i;
        view->setColumnHidden(c, at < 0);
        if (at < 0) continue;
        if (at < shownCaptions.size()) proxy->captions.insert(c, shownCaptions.at(at));
        width += view->columnWidth(c);
    }
    view->setMinimumWidth(qMax(width + 24, 160));
    setEditText(text);
}

void TLookupCombo::setKeyValue(const QString& value) {
    const int at = findText(value, Qt::MatchFixedString);
    if (at >= 0) setCurrentIndex(at);
    setEditText(value);
}

void TLookupCombo::showPopup() {
    const QString text = currentText();
    QComboBox::showPopup();
    setEditText(text);
}

// ---------------------------------------------------------------- TButtonEdit

TButtonEdit::TButtonEdit(QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_button(new QToolButton(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_edit);
    layout->addWidget(m_button);
    m_button->setText(QStringLiteral("..."));
    m_button->setFocusPolicy(Qt::NoFocus);
    setFocusProxy(m_edit);
    setAutoFillBackground(true);
    connect(m_button, &QToolButton::clicked, this, &TButtonEdit::buttonClicked);
}

QString TButtonEdit::text() const {
    return m_edit->text();
}
void TButtonEdit::setText(const QString& text) {
    m_edit->setText(text);
}

// ---------------------------------------------------------------- TColorCombo

const QStringList& TColorCombo::colorNames() {
    static const QStringList names = {
        QStringLiteral("clBlack"), QStringLiteral("clMaroon"),     QStringLiteral("clGreen"),
        QStringLiteral("clOlive"), QStringLiteral("clNavy"),       QStringLiteral("clPurple"),
        QStringLiteral("clTeal"),  QStringLiteral("clGray"),       QStringLiteral("clSilver"),
        QStringLiteral("clRed"),   QStringLiteral("clLime"),       QStringLiteral("clYellow"),
        QStringLiteral("clBlue"),  QStringLiteral("clFuchsia"),    QStringLiteral("clAqua"),
        QStringLiteral("clWhite"), QStringLiteral("clMoneyGreen"), QStringLiteral("clSkyBlue"),
        QStringLiteral("clCream"), QStringLiteral("clMedGray"),
    };
    return names;
}

TColorCombo::TColorCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    for (const QString& name : colorNames()) {
        QPixmap swatch(14, 14);
        swatch.fill(colorFromText(name));
        QPainter(&swatch).drawRect(0, 0, 13, 13);
        addItem(QIcon(swatch), name);
    }
}

// ---------------------------------------------------------------- dates and times

namespace {
// The empty date: the calendar's zero day, shown blank.
const QDate kNoDate(1899, 12, 30);
}  // namespace

TNullDateEdit::TNullDateEdit(QWidget* parent) : QDateEdit(parent) {
    setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    setCalendarPopup(true);
    setMinimumDate(kNoDate);
    setSpecialValueText(QStringLiteral(" "));
}

void TNullDateEdit::setValueText(const QString& text) {
    const QDate d = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
    setDate(d.isValid() ? d : kNoDate);
}

QString TNullDateEdit::valueText() const {
    return date() == kNoDate ? QString() : date().toString(QStringLiteral("yyyy-MM-dd"));
}

namespace {

// Digits and colons while a time is typed; acceptable once they make one.
class TimeValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        if (input.size() > 8) return Invalid;
        for (QChar c : input)
            if (!c.isDigit() && c != QLatin1Char(':')) return Invalid;
        return input.isEmpty() || TNullTimeEdit::parse(input).isValid() ? Acceptable : Intermediate;
    }
};

}  // namespace

TNullTimeEdit::TNullTimeEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new TimeValidator(this));
    setPlaceholderText(QStringLiteral("HH:mm"));
}

QTime TNullTimeEdit::parse(const QString& text) {
    const QString t = text.trimmed();
    if (t.contains(QLatin1Char(':'))) {
        QTime time = QTime::fromString(t, QStringLiteral("H:mm:ss"));
        if (!time.isValid()) time = QTime::fromString(t, QStringLiteral("H:mm"));
        return time;
    }
    // Digits alone: hours and minutes, then seconds.
    if (t.size() == 4) return QTime::fromString(t, QStringLiteral("HHmm"));
    if (t.size() == 6) return QTime::fromString(t, QStringLiteral("HHmmss"));
    return QTime();
}

void TNullTimeEdit::setValueText(const QString& text) {
    QString t = text.trimmed();
    if (t.size() > 10 && t.at(10) == QLatin1Char(' ')) t = t.mid(11);  // a date-time
    const QTime time = parse(t);
    setText(time.isValid() ? time.toString(QStringLiteral("HH:mm:ss")) : QString());
}

QString TNullTimeEdit::valueText() const {
    const QTime time = parse(text());
    return time.isValid() ? time.toString(QStringLiteral("HH:mm:ss")) : QString();
}

bool TNullTimeEdit::hasValue() const {
    return parse(text()).isValid();
}

}  // namespace md::ui
