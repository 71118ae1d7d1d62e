#include "frm_MoneyCardOut.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "datasource.h"
#include "dialogbuttons.h"
#include "editors.h"
#include "grid.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "sqlquote.h"

namespace {

// Barcodes compare as the database compares text: case and trailing blanks
// do not count.
QString sameBarcode(const QString& text) {
    QString key = text.toCaseFolded();
    while (key.endsWith(QLatin1Char(' '))) key.chop(1);
    return key;
}

// Why a stored coupon cannot be issued; empty when it can.
QString statusProblem(int status) {
    switch (status) {
        case 2:
            return QStringLiteral("不能重复发放！");
        case 3:
            return QStringLiteral("此现金券已消费，不能发放！");
        case 4:
            return QStringLiteral("此现金券已失效，不能发放！");
        default:
            return QString();
    }
}

}  // namespace

Tfrm_MoneyCardOut::Tfrm_MoneyCardOut(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_MoneyCardOut"));
    setWindowTitle(QStringLiteral("现金券发放"));

    Query_Shop = new TRemoteUdpDataSet(QStringLiteral("Query_Shop"), this);
    m_lookup = new TRemoteUdpDataSet(QStringLiteral("Query_Temp"), this);
    Query_Out = new TRemoteUdpDataSet(QStringLiteral("Query_Out"), this);
    const std::pair<const char*, TFieldType> fields[] = {
        {"fno", ftInteger},        {"fcardno", ftString},   {"fpassword", ftString},
        {"fmoney", ftCurrency},    {"fbegindate", ftDate},  {"fenddate", ftDate},
        {"fclientcode", ftString}, {"fclientno", ftString}, {"fabbrev", ftString},
        {"foutemp", ftString}};
    for (const auto& [name, type] : fields)
        Query_Out->AddField(QString::fromLatin1(name), type, type == ftString ? 100 : 0);
    Query_Out->CreateDataSet();
    DS_Out = new TDataSource(QStringLiteral("DS_Out"), this);
    DS_Out->setDataSet(Query_Out);

    auto* layout = new QVBoxLayout(this);
    auto* boxes = new QGridLayout;
    Combo_Shop = new md::ui::TLookupCombo(this);
    Combo_Shop->setObjectName(QStringLiteral("Combo_Shop"));
    Edit_Emp = new QLineEdit(this);
    Edit_Emp->setObjectName(QStringLiteral("Edit_Emp"));
    Edit_Emp->setMaxLength(30);
    Edit_Barcode = new QLineEdit(this);
    Edit_Barcode->setObjectName(QStringLiteral("Edit_Barcode"));
    Edit_Barcode->setMaxLength(30);
    Edit_Message = new QLineEdit(this);
    Edit_Message->setObjectName(QStringLiteral("Edit_Message"));
    Edit_Message->setReadOnly(true);
    Edit_Message->setFocusPolicy(Qt::NoFocus);
    Edit_Message->setStyleSheet(QStringLiteral("color: #c00000;"));
    boxes->addWidget(new QLabel(QStringLiteral("领券店铺:"), this), 0, 0);
    boxes->addWidget(Combo_Shop, 0, 1);
    boxes->addWidget(new QLabel(QStringLiteral("经手人:"), this), 0, 2);
    boxes->addWidget(Edit_Emp, 0, 3);
    boxes->addWidget(new QLabel(QStringLiteral("条形码:"), this), 1, 0);
    boxes->addWidget(Edit_Barcode, 1, 1);
    boxes->addWidget(new QLabel(QStringLiteral("提示信息:"), this), 1, 2);
    boxes->addWidget(Edit_Message, 1, 3);
    boxes->setColumnStretch(1, 1);
    boxes->setColumnStretch(3, 1);
    layout->addLayout(boxes);

    cxGrid1 = new TDBGrid(this, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    TDBTableView* v = cxGrid1DBTableView1;
    v->setDataSource(DS_Out);
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
    v->AddColumn(QStringLiteral("fabbrev"), QStringLiteral("领取店铺")).width(120);
    for (const char* hidden : {"fclientcode", "fclientno", "foutemp"})
        v->AddColumn(QString::fromLatin1(hidden), QString()).hidden();
    TGridViewOptions& options = v->Options();
    options.Footer = true;
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    v->ApplyOptions();
    v->SetInputAllowed(false);
    v->setFocusPolicy(Qt::NoFocus);  // scanning never leaves the barcode box
    layout->addWidget(cxGrid1, 1);

    // A scan's Enter must reach the barcode box, never a button.
    const md::ui::TOkCancel buttons = md::ui::AddOkCancelRow(*this, *layout, [this] { accept(); });
    But_OK = buttons.ok;
    But_Cancel = buttons.cancel;

    // Enter goes on from the shop to the handler to the barcode box.
    auto chooseShop = [this] {
        if (md::ui::Guard([this] { Combo_ShopChange(); })) Edit_Emp->setFocus();
    };
    connect(Combo_Shop, &QComboBox::textActivated, this, chooseShop);
    connect(Combo_Shop->lineEdit(), &QLineEdit::returnPressed, this, chooseShop);
    connect(Edit_Emp, &QLineEdit::editingFinished, this, [this] { Handler = Edit_Emp->text(); });
    connect(Edit_Emp, &QLineEdit::returnPressed, this, [this] { Edit_Barcode->setFocus(); });
    connect(Edit_Barcode, &QLineEdit::returnPressed, this,
            [this] { md::ui::Guard([this] { Edit_BarcodeEnter(); }); });

    md::OpenQuery(*Query_Shop, QStringLiteral("select fid,fcode,fabbrev from dt_client"));
    Combo_Shop->setList(Query_Shop, QStringLiteral("fcode"),
                        {QStringLiteral("fcode"), QStringLiteral("fabbrev")},
                        {QStringLiteral("店铺编号"), QStringLiteral("店铺简称")});
    Combo_Shop->setKeyValue(QString());
    resize(760, 520);
}

void Tfrm_MoneyCardOut::Combo_ShopChange() {
    const QString code = Combo_Shop->currentText().trimmed();
    if (!code.isEmpty() && code == ShopCode) return;
    ShopCode.clear();
    ShopId.clear();
    ShopName.clear();
    if (code.isEmpty()) return;
    md::OpenQuery(*m_lookup,
                  QStringLiteral("select top 1 fid,fcode,fabbrev from dt_client where fcode='") +
                      SqlText(code) + QStringLiteral("'"));
    if (m_lookup->IsEmpty()) {
        showProblem(QStringLiteral("店铺编号有误！"));
        m_lookup->Close();
        Abort();
    }
    ShopId = m_lookup->FieldByName(QStringLiteral("fid")).AsString();
    ShopCode = m_lookup->FieldByName(QStringLiteral("fcode")).AsString();
    ShopName = m_lookup->FieldByName(QStringLiteral("fabbrev")).AsString();
    m_lookup->Close();
    Edit_Message->clear();
}

void Tfrm_MoneyCardOut::showProblem(const QString& text) {
    Edit_Message->setText(text);
}

void Tfrm_MoneyCardOut::Edit_BarcodeEnter() {
    const QString barcode = Edit_Barcode->text().trimmed();
    if (barcode.isEmpty()) return;
    md::OpenQuery(*m_lookup,
                  QStringLiteral("select top 1 fcardno,fpassword,fmoney,fbegindate,fenddate,"
                                 "fstatus,fclientcode from D_MoneyCard where fpassword='") +
                      SqlText(barcode) + QStringLiteral("'"));
    QString problem;
    if (m_lookup->IsEmpty())
        problem = QStringLiteral("条形码有误！");
    else
        problem = statusProblem(m_lookup->FieldByName(QStringLiteral("fstatus")).AsInteger());
    const QString stored = m_lookup->IsEmpty()
                               ? barcode
                               : m_lookup->FieldByName(QStringLiteral("fpassword")).AsString();
    if (problem.isEmpty() && m_scanned.contains(sameBarcode(stored)))
        problem = QStringLiteral("请不要重复扫描！");
    if (problem.isEmpty() && ShopCode.isEmpty()) problem = QStringLiteral("请先选择领券店铺！");
    if (!problem.isEmpty()) {
        m_lookup->Close();
        showProblem(problem);
        Edit_Barcode->selectAll();
        return;
    }

    Query_Out->Append();
    Query_Out->FieldByName(QStringLiteral("fno")).SetAsInteger(Query_Out->RecordCount());
    for (const char* name : {"fcardno", "fpassword", "fmoney", "fbegindate", "fenddate"})
        Query_Out->FieldByName(QString::fromLatin1(name))
            .SetValue(m_lookup->FieldByName(QString::fromLatin1(name)).Value());
    Query_Out->FieldByName(QStringLiteral("fclientcode")).SetAsString(ShopCode);
    Query_Out->FieldByName(QStringLiteral("fclientno")).SetAsString(ShopId);
    Query_Out->FieldByName(QStringLiteral("fabbrev")).SetAsString(ShopName);
    Query_Out->FieldByName(QStringLiteral("foutemp")).SetAsString(Handler);
    Query_Out->Post();
    m_lookup->Close();
    m_scanned.insert(sameBarcode(stored));
    Edit_Barcode->clear();
    Edit_Message->clear();
}

QList<TIssuedMoneyCard> Tfrm_MoneyCardOut::Cards() const {
    QList<TIssuedMoneyCard> cards;
    const auto column = [this](const char* name) {
        return Query_Out->FieldByName(QString::fromLatin1(name)).Index();
    };
    const int cardno = column("fcardno"), password = column("fpassword"),
              code = column("fclientcode"), id = column("fclientno"), emp = column("foutemp");
    for (int row = 0; row < Query_Out->RecordCount(); ++row)
        cards << TIssuedMoneyCard{
            Query_Out->valueAt(row, cardno).toString(),
            Query_Out->valueAt(row, password).toString(), Query_Out->valueAt(row, code).toString(),
            Query_Out->valueAt(row, id).toString(), Query_Out->valueAt(row, emp).toString()};
    return cards;
}
