#include "selectclient.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "datasource.h"
#include "grid.h"
#include "pickmarks.h"
#include "remoteudpdataset.h"
#include "scopes.h"
#include "session.h"
#include "sharedvalues.h"
#include "sqlquote.h"
#include "styles.h"

namespace {

// A drop-down of fixed values whose first, empty entry means "any".
QComboBox* valueBox(QWidget* parent, const char* name, const QStringList& values) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItem(QString());
    box->addItems(values);
    box->setMinimumWidth(96);
    return box;
}

}  // namespace

Tfrm_selectClient::Tfrm_selectClient(QWidget* owner) : Tbase_frmTop(owner) {
    setObjectName(QStringLiteral("frm_selectClient"));
    setWindowTitle(QStringLiteral("客户/店铺选择"));
    setModal(true);
    // The caller reads the marked rows after the dialog closed and then frees it.
    setAttribute(Qt::WA_DeleteOnClose, false);

    DBmaster_table = new TRemoteUdpDataSet(QStringLiteral("DBmaster_table"), this);
    // The marks are the dialog's own: nothing here is ever sent.
    DBmaster_table->SetLockType(etBatchOptimistic);
    DbMaster_Source = new TDataSource(QStringLiteral("DbMaster_Source"), this);
    DbMaster_Source->setDataSet(DBmaster_table);

    // The filter bar: three lists on the first line, two boxes and the button
    // on the second.
    auto* filter = new QWidget(this);
    filter->setObjectName(QStringLiteral("FilterPanel"));
    auto* grid = new QGridLayout(filter);
    grid->setContentsMargins(0, 0, 0, 0);
    Combo_mathod = valueBox(filter, "Combo_mathod",
                            {QStringLiteral("自营"), QStringLiteral("专柜"), QStringLiteral("批发"),
                             QStringLiteral("加盟"), QStringLiteral("代理")});
    Combo_grad =
        valueBox(filter, "Combo_grad",
                 {QStringLiteral("总代理"), QStringLiteral("一级代理"), QStringLiteral("二级代理"),
                  QStringLiteral("经销商"), QStringLiteral("批发商"), QStringLiteral("一般客户")});
    Combo_price_type =
        valueBox(filter, "Combo_price_type", {QStringLiteral("按价格"), QStringLiteral("按折扣")});
    Edit_code = new QLineEdit(filter);
    Edit_code->setObjectName(QStringLiteral("Edit_code"));
    Edit_abbrev = new QLineEdit(filter);
    Edit_abbrev->setObjectName(QStringLiteral("Edit_abbrev"));
    But_Find = new QPushButton(QStringLiteral("检索过滤"), filter);
    But_Find->setObjectName(QStringLiteral("But_Find"));
    auto label = [filter](const char* text) {
        auto* l = new QLabel(QString::fromUtf8(text), filter);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    grid->addWidget(label("客户性质:"), 0, 0);
    grid->addWidget(Combo_mathod, 0, 1);
    grid->addWidget(label("客户等级:"), 0, 2);
    grid->addWidget(Combo_grad, 0, 3);
    grid->addWidget(label("价格方式:"), 0, 4);
    grid->addWidget(Combo_price_type, 0, 5);
    grid->addWidget(label("客户编号:"), 1, 0);
    grid->addWidget(Edit_code, 1, 1);
    grid->addWidget(label("客户简称:"), 1, 2);
    grid->addWidget(Edit_abbrev, 1, 3);
    grid->addWidget(But_Find, 1, 5);
    grid->setColumnStretch(6, 1);

    cxGrid1 = new TDBGrid(this, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    TDBTableView* v = cxGrid1DBTableView1;
    v->setDataSource(DbMaster_Source);
    v->AddColumn(QStringLiteral("checkid"), QStringLiteral("选择")).width(44).checkBox();
    v->AddColumn(QStringLiteral("fcode"), QStringLiteral("客户编号"))
        .width(90)
        .readOnly()
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    v->AddColumn(QStringLiteral("fabbrev"), QStringLiteral("客户简称")).width(130).readOnly();
    v->AddColumn(QStringLiteral("fmathod"), QStringLiteral("客户性质")).width(76).readOnly();
    v->AddColumn(QStringLiteral("fgrad"), QStringLiteral("客户等级")).width(80).readOnly();
    v->AddColumn(QStringLiteral("fprice_type"), QStringLiteral("价格方式")).width(76).readOnly();
    v->AddColumn(QStringLiteral("fareaname"), QStringLiteral("地区名称")).width(110).readOnly();
    for (const char* field : {"fname", "fareacode", "fcontactman", "ftel1", "stratbit"})
        v->AddColumn(QString::fromLatin1(field), QString::fromLatin1(field)).hidden();
    md::ui::SetUpPickGrid(*v);

    auto* buttons = new QHBoxLayout;
    CheckBox_all = new QCheckBox(QStringLiteral("全选"), this);
    CheckBox_all->setObjectName(QStringLiteral("CheckBox_all"));
    buttons->addWidget(CheckBox_all);
    buttons->addStretch(1);
    But_OK = new QPushButton(QStringLiteral("确定"), this);
    But_OK->setObjectName(QStringLiteral("But_OK"));
    But_Cancel = new QPushButton(QStringLiteral("取消"), this);
    But_Cancel->setObjectName(QStringLiteral("But_Cancel"));
    buttons->addWidget(But_OK);
    buttons->addWidget(But_Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filter);
    layout->addWidget(cxGrid1, 1);
    layout->addLayout(buttons);

    // Enter belongs to the boxes and the grid; buttons are pressed, not defaulted.
    for (QPushButton* button : {But_Find, But_OK, But_Cancel}) button->setAutoDefault(false);
    OnClick(But_Find, [this] { But_FindClick(); });
    OnClick(CheckBox_all, [this] { CheckBox_allClick(); });
    OnClick(But_OK, [this] { accept(); });
    OnClick(But_Cancel, [this] { reject(); });
    connect(v, &QAbstractItemView::doubleClicked, this,
            [this] { Run([this] { cxGrid1DBTableView1DblClick(); }); });
    resize(720, 500);
}

void Tfrm_selectClient::FormCreate() {
    Tbase_frmTop::FormCreate();
    md::ui::ApplySharedColours(this);
    if (const int size = md::Shared().GridFontSize; size > 0) {
        QFont font = cxGrid1DBTableView1->font();
        font.setPointSize(size);
        cxGrid1DBTableView1->setFont(font);
        cxGrid1DBTableView1->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() +
                                                                     8);
    }
    openRows(OpeningSQL());
}

QString Tfrm_selectClient::OpeningSQL() {
    return QStringLiteral("select * from fn_checkclient('') where 1=1") +
           md::ClientScopeCondition();
}

QString Tfrm_selectClient::FilterSQL(const QString& mathod, const QString& grad,
                                     const QString& priceType, const QString& code,
                                     const QString& abbrev) {
    QString conditions;
    if (!mathod.isEmpty()) conditions += QStringLiteral(" and fmathod=") + QuotedStr(mathod);
    if (!grad.isEmpty()) conditions += QStringLiteral(" and fgrad=") + QuotedStr(grad);
    if (!priceType.isEmpty())
        conditions += QStringLiteral(" and fprice_type=") + QuotedStr(priceType);
    if (!code.isEmpty())
        conditions += QStringLiteral(" and fcode like ") + QStringLiteral("'%") + SqlText(code) +
                      QStringLiteral("%'");
    if (!abbrev.isEmpty())
        conditions += QStringLiteral(" and fabbrev like ") + QStringLiteral("'%") +
                      SqlText(abbrev) + QStringLiteral("%'");
    return QStringLiteral("select * from fn_checkclient('') ") + QStringLiteral("where 1=1 ") +
           conditions + md::ClientScopeCondition();
}

void Tfrm_selectClient::openRows(const QString& sql) {
    {
        // The grid sees the closing and the new rows as one reset.
        TControlsDisabled still(*DBmaster_table);
        DBmaster_table->Close();
        DBmaster_table->setSetupUdpParent(md::Session().Connection);
        DBmaster_table->SetSQL(sql);
        DBmaster_table->Open();
    }
    // The new rows come unmarked.
    CheckBox_all->setChecked(false);
}

void Tfrm_selectClient::But_FindClick() {
    openRows(FilterSQL(Combo_mathod->currentText(), Combo_grad->currentText(),
                       Combo_price_type->currentText(), Edit_code->text().trimmed(),
                       Edit_abbrev->text().trimmed()));
}

void Tfrm_selectClient::CheckBox_allClick() {
    if (!DBmaster_table->Active()) return;
    const bool marked = CheckBox_all->isChecked();
    md::ui::SetAllMarks(*DBmaster_table, marked);
}

void Tfrm_selectClient::cxGrid1DBTableView1DblClick() {
    if (!DBmaster_table->Active() || DBmaster_table->IsEmpty()) return;
    accept();
}

QList<TPickedClient> Tfrm_selectClient::CheckedRows() const {
    if (!DBmaster_table->Active()) return m_checkedAtClose;
    const TRemoteUdpDataSet& ds = *DBmaster_table;
    auto column = [&ds](const char* name) {
        return ds.FieldByName(QString::fromLatin1(name)).Index();
    };
    const int code = column("fcode"), abbrev = column("fabbrev"), name = column("fname");
    const int mathod = column("fmathod"), grad = column("fgrad"), price = column("fprice_type");
    const int areacode = column("fareacode"), areaname = column("fareaname");
    auto text = [&ds](int row, int at) { return ds.valueAt(row, at).toString(); };
    QList<TPickedClient> rows;
    for (int row : md::ui::MarkedRows(ds))
        rows << TPickedClient{text(row, code),     text(row, abbrev),  text(row, name),
                              text(row, mathod),   text(row, grad),    text(row, price),
                              text(row, areacode), text(row, areaname)};
    return rows;
}

void Tfrm_selectClient::done(int result) {
    m_accepted = result == QDialog::Accepted;
    Tbase_frmTop::done(result);
}

void Tfrm_selectClient::FormClose() {
    // Closing closes the rows; what OK chose stays readable for the caller.
    m_checkedAtClose.clear();
    if (m_accepted && DBmaster_table->Active()) {
        cxGrid1DBTableView1->PostEditor();
        DBmaster_table->CheckBrowseMode();
        m_checkedAtClose = CheckedRows();
    }
    Tbase_frmTop::FormClose();
}

bool Tfrm_selectClient::FormKeyPress(QKeyEvent& event) {
    if (md::ui::IsPlainEnter(event) && (Edit_code->hasFocus() || Edit_abbrev->hasFocus())) {
        But_FindClick();
        return true;
    }
    return Tbase_frmTop::FormKeyPress(event);
}

void Tfrm_selectClient::showEvent(QShowEvent* event) {
    Tbase_frmTop::showEvent(event);
    if (m_centred) return;
    m_centred = true;
    md::ui::CentreOnHostWindow(*this);
}

namespace md::ui {

QList<TPickedClient> PickClients(QWidget* owner) {
    QPointer<Tfrm_selectClient> dialog = CreateForm<Tfrm_selectClient>(owner);
    QList<TPickedClient> rows;
    if (ExecModal(*dialog) == QDialog::Accepted && dialog) rows = dialog->CheckedRows();
    delete dialog.data();
    return rows;
}

}  // namespace md::ui
