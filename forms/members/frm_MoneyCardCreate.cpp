#include "frm_MoneyCardCreate.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

#include "baseform.h"
#include "datasource.h"
#include "grid.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "scopes.h"
#include "session.h"
#include "sqlquote.h"

using md::ui::Refuse;

const QString Tfrm_MoneyCardCreate::kOccupied = QStringLiteral("此现金券编号已被占用");

namespace {

// One batch is read into the list and stored in one go: beyond this the
// memory of a workstation, not the database, would set the limit.
constexpr qint64 kMostCards = 100000;

QDateEdit* dateEdit(QWidget* parent, const char* name, const QDate& date) {
    auto* edit = new QDateEdit(date, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setCalendarPopup(true);
    return edit;
}

QLineEdit* lineEdit(QWidget* parent, const char* name, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    return edit;
}

// A serial box: empty is 0, anything but digits is refused naming the box.
qint64 serialOf(const QLineEdit* box, const QString& caption) {
    const QString text = box->text().trimmed();
    if (text.isEmpty()) return 0;
    bool digits = true;
    for (QChar c : text) digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    bool number = false;
    const qint64 value = text.toLongLong(&number, 10);
    if (!digits || !number)
        Refuse(QStringLiteral("<") + caption + QStringLiteral(">只能输入数字！"));
    return value;
}

// The face value: empty is 0; text that is no amount is refused.
double moneyOf(const QLineEdit* box) {
    const QString text = box->text().trimmed();
    if (text.isEmpty()) return 0;
    bool number = false;
    const double value = text.toDouble(&number);
    if (!number || !std::isfinite(value) || value < 0)
        Refuse(QStringLiteral("<面值金额>必须是大于0的金额！"));
    return value;
}

// Moves the progress bar and lets the window repaint, by the clock rather
// than per coupon: a hundred thousand coupons must not pay for as many event
// loops.
class TProgress {
  public:
    TProgress(QProgressBar* bar, qint64 steps) : m_bar(bar) {
        m_bar->setRange(0, int(qMax<qint64>(1, steps)));
        m_bar->setValue(0);
        m_clock.start();
    }
    void step(qint64 done) {
        if ((done & 63) != 0 || m_clock.elapsed() < 100) return;
        m_bar->setValue(int(done));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_clock.restart();
    }
    ~TProgress() { m_bar->setValue(m_bar->maximum()); }

  private:
    QProgressBar* m_bar;
    QElapsedTimer m_clock;
};

}  // namespace

Tfrm_MoneyCardCreate::Tfrm_MoneyCardCreate(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_MoneyCardCreate"));
    setWindowTitle(QStringLiteral("现金券管理[新增]"));

    Query_Card = new TRemoteUdpDataSet(QStringLiteral("Query_Card"), this);
    Query_Card->AddField(QStringLiteral("fno"), ftInteger);
    Query_Card->AddField(QStringLiteral("fcardno"), ftString, 30);
    Query_Card->AddField(QStringLiteral("fpassword"), ftString, 30);
    Query_Card->AddField(QStringLiteral("fmoney"), ftCurrency);
    // The days as text 'yyyy-MM-dd': shown, not edited, and a date field
    // would read the time zone for every value set.
    Query_Card->AddField(QStringLiteral("fbegindate"), ftString, 10);
    Query_Card->AddField(QStringLiteral("fenddate"), ftString, 10);
    Query_Card->AddField(QStringLiteral("fremark"), ftString, 30);
    Query_Card->CreateDataSet();
    DS_Card = new TDataSource(QStringLiteral("DS_Card"), this);
    DS_Card->setDataSet(Query_Card);

    auto* layout = new QVBoxLayout(this);
    auto* boxes = new QGridLayout;
    const QDate today = QDate::currentDate();
    Edit_Prefix = lineEdit(this, "Edit_Prefix", 30);
    Edit_Begin = lineEdit(this, "Edit_Begin", 15);
    Edit_End = lineEdit(this, "Edit_End", 15);
    Spin_Digits = new QSpinBox(this);
    Spin_Digits->setObjectName(QStringLiteral("Spin_Digits"));
    Spin_Digits->setRange(3, 12);
    Spin_Digits->setValue(6);
    Date_Begin = dateEdit(this, "Date_Begin", today);
    Date_End = dateEdit(this, "Date_End", today.addDays(30));
    Edit_Money = lineEdit(this, "Edit_Money", 15);
    const std::pair<const char*, QWidget*> rows[] = {
        {"编号前缀:", Edit_Prefix}, {"起始编号:", Edit_Begin}, {"截止编号:", Edit_End},
        {"编号位数:", Spin_Digits}, {"生效日期:", Date_Begin}, {"失效日期:", Date_End},
        {"面值金额:", Edit_Money}};
    int at = 0;
    for (const auto& [caption, box] : rows) {
        // Two pairs of label and box per line.
        boxes->addWidget(new QLabel(QString::fromUtf8(caption), this), at / 2, (at % 2) * 2);
        boxes->addWidget(box, at / 2, (at % 2) * 2 + 1);
        ++at;
    }
    But_Create = new QPushButton(QStringLiteral("生成"), this);
    But_Create->setObjectName(QStringLiteral("But_Create"));
    boxes->addWidget(But_Create, at / 2, 3);
    boxes->setColumnStretch(1, 1);
    boxes->setColumnStretch(3, 1);
    layout->addLayout(boxes);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setValue(0);
    layout->addWidget(ProgressBar1);

    cxGrid1 = new TDBGrid(this, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    TDBTableView* v = cxGrid1DBTableView1;
    v->setDataSource(DS_Card);
    v->AddColumn(QStringLiteral("fno"), QStringLiteral("序号")).width(56);
    v->AddColumn(QStringLiteral("fcardno"), QStringLiteral("现金券编号"))
        .width(130)
        .footer(TSummaryKind::Count, QStringLiteral("合计"));
    v->AddColumn(QStringLiteral("fpassword"), QStringLiteral("现金券条码"))
        .width(120)
        .footer(TSummaryKind::Count, QStringLiteral("0"));
    v->AddColumn(QStringLiteral("fmoney"), QStringLiteral("金额"))
        .width(80)
        .currency(QStringLiteral("0.00"))
        .footer(TSummaryKind::Sum, QStringLiteral("0.00"));
    v->AddColumn(QStringLiteral("fbegindate"), QStringLiteral("生效日期")).width(90);
    v->AddColumn(QStringLiteral("fenddate"), QStringLiteral("失效日期")).width(90);
    v->AddColumn(QStringLiteral("fremark"), QStringLiteral("备注")).width(150);
    TGridViewOptions& options = v->Options();
    options.Footer = true;
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    v->ApplyOptions();
    v->SetInputAllowed(false);
    layout->addWidget(cxGrid1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    But_OK = new QPushButton(QStringLiteral("确定"), this);
    But_OK->setObjectName(QStringLiteral("But_OK"));
    But_Cancel = new QPushButton(QStringLiteral("取消"), this);
    But_Cancel->setObjectName(QStringLiteral("But_Cancel"));
    buttons->addWidget(But_OK);
    buttons->addWidget(But_Cancel);
    layout->addLayout(buttons);
    // Enter in a box must not end the dialog.
    for (QPushButton* b : {But_Create, But_OK, But_Cancel}) b->setAutoDefault(false);

    connect(But_Create, &QPushButton::clicked, this,
            [this] { md::ui::Guard([this] { But_CreateClick(); }); });
    connect(But_OK, &QPushButton::clicked, this,
            [this] { md::ui::Guard([this] { But_OKClick(); }); });
    connect(But_Cancel, &QPushButton::clicked, this, [this] { reject(); });
    resize(720, 560);
}

QString Tfrm_MoneyCardCreate::CardNumber(const QString& prefix, qint64 serial, int digits) {
    const QString padded = QStringLiteral("000000000000000") + QString::number(serial);
    return prefix + padded.right(digits);
}

void Tfrm_MoneyCardCreate::But_CreateClick() {
    if (m_busy) return;
    const qint64 first = serialOf(Edit_Begin, QStringLiteral("起始编号"));
    const qint64 last = serialOf(Edit_End, QStringLiteral("截止编号"));
    const double money = moneyOf(Edit_Money);
    const int digits = Spin_Digits->value();
    if (first == 0 || last == 0) Refuse(QStringLiteral("请输入<起始编号>与<截止编号>！"));
    if (money == 0) Refuse(QStringLiteral("请输入<面值金额>！"));
    if (digits == 0) Refuse(QStringLiteral("请输入<编号位数>！"));
    if (last <= first) Refuse(QStringLiteral("截止编号必须大于起始编号！"));
    const QString prefix = Edit_Prefix->text().trimmed();
    if (prefix.size() + digits > 30)
        Refuse(QStringLiteral("<编号前缀>与<编号位数>合计不能超过30位！"));
    const QDate begin = Date_Begin->date();
    const QDate end = Date_End->date();
    if (end < begin) Refuse(QStringLiteral("<失效日期>不能早于<生效日期>！"));
    if (last - first + 1 > kMostCards)
        Refuse(QStringLiteral("一次最多生成%1张现金券！").arg(kMostCards));
    if (!md::ui::AskYesNo(QStringLiteral("是否确认生成现金券？"))) Abort();

    m_busy = true;
    struct Done {
        Tfrm_MoneyCardCreate* dialog;
        ~Done() {
            dialog->m_busy = false;
            for (QWidget* w :
                 {static_cast<QWidget*>(dialog->But_Create), static_cast<QWidget*>(dialog->But_OK),
                  static_cast<QWidget*>(dialog->But_Cancel)})
                w->setEnabled(true);
        }
    } done{this};
    for (QWidget* w : {static_cast<QWidget*>(But_Create), static_cast<QWidget*>(But_OK),
                       static_cast<QWidget*>(But_Cancel)})
        w->setEnabled(false);

    TRemoteUdpConnection* connection = md::Session().Connection;
    if (!connection) throw EDatabaseError(QStringLiteral("没有数据库连接"));
    Query_Card->EmptyDataSet();
    {
        // One read transaction for the whole batch: the numbers are looked up
        // in one state of the table, and the database is not reopened for
        // each of the hundred thousand selects.
        TTransactionScope reading(*connection);
        TControlsDisabled still(*Query_Card);
        TProgress progress(ProgressBar1, last - first);
        TRemoteUdpDataSet key;
        TRemoteUdpDataSet taken;
        TField& no = Query_Card->FieldByName(QStringLiteral("fno"));
        TField& cardno = Query_Card->FieldByName(QStringLiteral("fcardno"));
        TField& password = Query_Card->FieldByName(QStringLiteral("fpassword"));
        TField& value = Query_Card->FieldByName(QStringLiteral("fmoney"));
        TField& from = Query_Card->FieldByName(QStringLiteral("fbegindate"));
        TField& to = Query_Card->FieldByName(QStringLiteral("fenddate"));
        TField& remark = Query_Card->FieldByName(QStringLiteral("fremark"));
        const QString beginText = begin.toString(Qt::ISODate);
        const QString endText = end.toString(Qt::ISODate);
        // Numbers of this batch so far: with few digits the serials wrap and
        // a number comes round again.
        QSet<QString> listed;
        listed.reserve(int(last - first + 1));
        for (qint64 serial = first; serial <= last; ++serial) {
            progress.step(serial - first);
            const QString number = CardNumber(prefix, serial, digits);
            md::OpenQuery(key, QStringLiteral("select * from v_Getpassword12"));
            const QString barcode = key.Fields(0).AsString();
            md::OpenQuery(taken,
                          QStringLiteral("select top 1 fcardno from D_MoneyCard where fcardno='") +
                              SqlText(number) + QStringLiteral("'"));
            const bool occupied = !taken.IsEmpty() || listed.contains(number);
            listed.insert(number);
            Query_Card->Append();
            no.SetAsInteger(serial - first + 1);
            cardno.SetAsString(number);
            password.SetAsString(barcode);
            value.SetAsFloat(money);
            from.SetAsString(beginText);
            to.SetAsString(endText);
            if (occupied) remark.SetAsString(kOccupied);
            Query_Card->Post();
        }
        key.Close();
        taken.Close();
        reading.commit();
    }
    Query_Card->First();
}

void Tfrm_MoneyCardCreate::But_OKClick() {
    if (m_busy || Query_Card->IsEmpty()) return;
    accept();
}

void Tfrm_MoneyCardCreate::reject() {
    if (!m_busy) QDialog::reject();
}

QList<TNewMoneyCard> Tfrm_MoneyCardCreate::Cards() const {
    QList<TNewMoneyCard> cards;
    cards.reserve(Query_Card->RecordCount());
    const int cardno = Query_Card->FieldByName(QStringLiteral("fcardno")).Index();
    const int password = Query_Card->FieldByName(QStringLiteral("fpassword")).Index();
    const int money = Query_Card->FieldByName(QStringLiteral("fmoney")).Index();
    const int begin = Query_Card->FieldByName(QStringLiteral("fbegindate")).Index();
    const int end = Query_Card->FieldByName(QStringLiteral("fenddate")).Index();
    const int remark = Query_Card->FieldByName(QStringLiteral("fremark")).Index();
    for (int row = 0; row < Query_Card->RecordCount(); ++row) {
        TNewMoneyCard card;
        card.fcardno = Query_Card->valueAt(row, cardno).toString();
        card.fpassword = Query_Card->valueAt(row, password).toString();
        card.fmoney = Query_Card->valueAt(row, money).toDouble();
        card.fbegindate = Query_Card->valueAt(row, begin).toString();
        card.fenddate = Query_Card->valueAt(row, end).toString();
        card.fremark = Query_Card->valueAt(row, remark).toString();
        cards << card;
    }
    return cards;
}
