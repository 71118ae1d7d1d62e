#include "frm_VipBatch.h"

#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "baseform.h"
#include "editors.h"
#include "gridcolumn.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "styles.h"

using md::ui::Refuse;

QString TVipBatchRequest::cardNumber(qint32 number) const {
    const QString padded = QStringLiteral("0000000000000") + QString::number(number);
    return prefix + padded.right(startText.size()) + suffix;
}

namespace {

constexpr int kCardNumberWidth = 30;  // dt_vipcard.vipid

// Refuses with the message after putting the focus where the fault is.
[[noreturn]] void refuseAt(QWidget* box, const QString& text) {
    box->setFocus();
    Refuse(text);
}

// The number a card number box holds; refused, naming the box, when it is no
// 32-bit whole number.
qint32 numberIn(QLineEdit* box, const QString& caption) {
    const QString text = box->text().trimmed();
    bool ok = false;
    const qint32 value = text.toInt(&ok);
    if (!ok || value < 0)
        refuseAt(box, caption + QStringLiteral("“") + text + QStringLiteral("”不是有效的整数!"));
    return value;
}

}  // namespace

Tfrm_VipBatch::Tfrm_VipBatch(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frm_VipBatch"));
    setWindowTitle(QStringLiteral("VIP卡批量发放"));
    DBgrade = new TRemoteUdpDataSet(QStringLiteral("DBgrade"), this);
    DBshop = new TRemoteUdpDataSet(QStringLiteral("DBshop"), this);

    Date_Begin = new md::ui::TNullDateEdit(this);
    Date_Begin->setObjectName(QStringLiteral("Date_Begin"));
    Date_Begin->setDate(QDate::currentDate());
    Date_End = new md::ui::TNullDateEdit(this);
    Date_End->setObjectName(QStringLiteral("Date_End"));
    Date_End->setValueText(QString());
    Lookup_Grade = new md::ui::TLookupCombo(this);
    Lookup_Grade->setObjectName(QStringLiteral("Lookup_Grade"));
    Lookup_Shop = new md::ui::TLookupCombo(this);
    Lookup_Shop->setObjectName(QStringLiteral("Lookup_Shop"));

    auto* digits =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    auto line = [this](const char* name, QValidator* validator) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setValidator(validator);
        return edit;
    };
    Edit_Begin = line("Edit_Begin", digits);
    Edit_End = line("Edit_End", digits);
    Edit_Prefix = line("Edit_Prefix", new md::ui::TUpperCaseValidator(this));
    Edit_Suffix = line("Edit_Suffix", new md::ui::TUpperCaseValidator(this));

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(8);
    fields->setVerticalSpacing(8);
    auto place = [&](int row, int column, const char* caption, QWidget* editor) {
        auto* label = new QLabel(QString::fromUtf8(caption), this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setBuddy(editor);
        fields->addWidget(label, row, 2 * column);
        fields->addWidget(editor, row, 2 * column + 1);
    };
    place(0, 0, "生效日期：", Date_Begin);
    place(0, 1, "失效日期：", Date_End);
    place(1, 0, "VIP类别：", Lookup_Grade);
    place(1, 1, "领取店铺：", Lookup_Shop);
    place(2, 0, "VIP开始卡号：", Edit_Begin);
    place(2, 1, "VIP截止卡号：", Edit_End);
    place(3, 0, "VIP前缀字母：", Edit_Prefix);
    place(3, 1, "VIP后缀字母：", Edit_Suffix);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);

    But_OK = new QPushButton(QStringLiteral("确定"), this);
    But_OK->setObjectName(QStringLiteral("But_OK"));
    But_Cancel = new QPushButton(QStringLiteral("取消"), this);
    But_Cancel->setObjectName(QStringLiteral("But_Cancel"));
    for (QPushButton* b : {But_OK, But_Cancel}) {
        b->setAutoDefault(false);  // Enter moves between the boxes
        b->setMinimumWidth(80);
    }
    connect(But_OK, &QPushButton::clicked, this,
            [this] { md::ui::Guard([this] { But_OKClick(); }); });
    connect(But_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(But_OK);
    buttons->addWidget(But_Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(fields);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    md::ui::ApplySharedColours(this);
    resize(520, 220);
}

void Tfrm_VipBatch::OpenLists() {
    md::OpenQuery(*DBgrade, QStringLiteral("select viplbid,viplbname,discount from ba_viplb"));
    Lookup_Grade->setList(
        DBgrade, QStringLiteral("viplbid"),
        {QStringLiteral("viplbid"), QStringLiteral("viplbname"), QStringLiteral("discount")},
        {QStringLiteral("编号"), QStringLiteral("类别名称"), QStringLiteral("折扣")});
    Lookup_Grade->setEditText(QString());
    md::OpenQuery(*DBshop, QStringLiteral("select fcode,fname,fmathod from dt_client where fcode "
                                          "in(select fclientcode from ba_squad)"));
    Lookup_Shop->setList(
        DBshop, QStringLiteral("fcode"),
        {QStringLiteral("fcode"), QStringLiteral("fname"), QStringLiteral("fmathod")},
        {QStringLiteral("店铺编号"), QStringLiteral("店铺名称"), QStringLiteral("性质")});
    Lookup_Shop->setEditText(QString());
}

void Tfrm_VipBatch::But_OKClick() {
    const QString start = Edit_Begin->text().trimmed();
    const QString end = Edit_End->text().trimmed();
    if (start.isEmpty() || end.isEmpty())
        refuseAt(start.isEmpty() ? Edit_Begin : Edit_End,
                 QStringLiteral("请录入VIP起止卡号或截止卡号!"));
    if (start.size() != end.size())
        refuseAt(Edit_End, QStringLiteral("VIP开始卡号与VIP截止卡号长度不一致!"));

    // A category or shop typed by hand must be one of the listed ones; it is
    // kept as the list spells it.
    const QString grade = Lookup_Grade->currentText().trimmed();
    if (grade.isEmpty() || !DBgrade->Active() ||
        !DBgrade->Locate(QStringLiteral("viplbid"), grade, loCaseInsensitive))
        refuseAt(Lookup_Grade, QStringLiteral("请选择VIP类别!"));
    if (Date_Begin->valueText().isEmpty() || Date_End->valueText().isEmpty())
        refuseAt(Date_Begin->valueText().isEmpty() ? Date_Begin : Date_End,
                 QStringLiteral("生效日期与失效日期不能为空!"));
    if (Date_End->valueText() < Date_Begin->valueText())
        refuseAt(Date_End, QStringLiteral("失效日期不能早于生效日期!"));
    const QString shop = Lookup_Shop->currentText().trimmed();
    if (!shop.isEmpty() &&
        !(DBshop->Active() && DBshop->Locate(QStringLiteral("fcode"), shop, loCaseInsensitive)))
        refuseAt(Lookup_Shop, QStringLiteral("领取店铺“") + shop + QStringLiteral("”不存在!"));

    TVipBatchRequest request;
    request.first = numberIn(Edit_Begin, QStringLiteral("VIP开始卡号"));
    request.last = numberIn(Edit_End, QStringLiteral("VIP截止卡号"));
    if (request.last < request.first)
        refuseAt(Edit_End, QStringLiteral("VIP截止卡号不能小于VIP开始卡号!"));
    request.startText = start;
    request.prefix = md::ui::UpperAscii(Edit_Prefix->text().trimmed());
    request.suffix = md::ui::UpperAscii(Edit_Suffix->text().trimmed());
    if (request.prefix.size() + start.size() + request.suffix.size() > kCardNumberWidth)
        refuseAt(Edit_Prefix, QStringLiteral("VIP卡号不能超过%1个字符!").arg(kCardNumberWidth));
    request.beginDate = Date_Begin->valueText();
    request.endDate = Date_End->valueText();
    request.grade = DBgrade->FieldByName(QStringLiteral("viplbid")).AsString();
    request.shop =
        shop.isEmpty() ? QString() : DBshop->FieldByName(QStringLiteral("fcode")).AsString();
    m_request = request;
    accept();
}

void Tfrm_VipBatch::keyPressEvent(QKeyEvent* event) {
    // Enter goes to the next box, as in every dialog of the system.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        } else {
            focusNextChild();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}
