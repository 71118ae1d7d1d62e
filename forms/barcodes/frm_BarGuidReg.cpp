#include "frm_BarGuidReg.h"

#include <QComboBox>
#include <QDate>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "editors.h"
#include "formfactory.h"
#include "remoteudpconnection.h"
#include "remoteudpdataset.h"
#include "session.h"
#include "sqlquote.h"

using namespace md::ui;

namespace {

const QString kUnknownSerial = QStringLiteral("没有此序列号,请检查重新录入!");
const QString kRegisteredBefore = QStringLiteral("此货品已被注册,每件货品只能注册一次!") +
                                  QLatin1Char('\n') +
                                  QStringLiteral("为了保障您所购买的货品为正品请您与购买处联系!");
const QString kRegistered = QStringLiteral("注册成功,谢谢您购买本公司的产品!");

// A field left empty: its message, the focus on it, and the handler stops.
[[noreturn]] void refuseEmpty(QWidget* field, const QString& text) {
    MessageBox(text);
    field->setFocus();
    Abort();
}

}  // namespace

const QStringList& Tfrm_BarGuidReg::Modes() {
    static const QStringList modes = {QStringLiteral("电话注册"), QStringLiteral("短信注册"),
                                      QStringLiteral("网上注册")};
    return modes;
}

Tfrm_BarGuidReg::Tfrm_BarGuidReg(QWidget* owner) : Tbase_frmMdi(owner) {
    setObjectName(QStringLiteral("frm_BarGuidReg"));
    setWindowTitle(QStringLiteral("产品序列号注册"));
    // A form of four fields and two buttons: the record editor's bars stay away.
    ToolBar1->hide();
    StatusBar1->hide();

    auto* layout = new QVBoxLayout(ClientPanel);
    layout->setContentsMargins(24, 20, 24, 16);
    auto* fields = new QFormLayout;
    fields->setVerticalSpacing(10);
    Edit_Barcode = new QLineEdit(ClientPanel);
    Edit_Barcode->setObjectName(QStringLiteral("Edit_Barcode"));
    Edit_Barcode->setValidator(new TUpperCaseValidator(Edit_Barcode));
    fields->addRow(QStringLiteral("产品序列号:"), Edit_Barcode);
    Edit_Code = new QLineEdit(ClientPanel);
    Edit_Code->setObjectName(QStringLiteral("Edit_Code"));
    Edit_Code->setValidator(new TUpperCaseValidator(Edit_Code));
    fields->addRow(QStringLiteral("产品验证码:"), Edit_Code);
    Combo_Mode = new QComboBox(ClientPanel);
    Combo_Mode->setObjectName(QStringLiteral("Combo_Mode"));
    Combo_Mode->addItems(Modes());
    Combo_Mode->setCurrentIndex(-1);
    fields->addRow(QStringLiteral("注册方式:"), Combo_Mode);
    Date_Reg = new TNullDateEdit(ClientPanel);
    Date_Reg->setObjectName(QStringLiteral("Date_Reg"));
    Date_Reg->setDate(QDate::currentDate());
    fields->addRow(QStringLiteral("注册日期:"), Date_Reg);
    layout->addLayout(fields);
    layout->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    But_OK = new QPushButton(QStringLiteral("确  定"), ClientPanel);
    But_OK->setObjectName(QStringLiteral("But_OK"));
    But_OK->setAutoDefault(false);
    But_Cancel = new QPushButton(QStringLiteral("取  消"), ClientPanel);
    But_Cancel->setObjectName(QStringLiteral("But_Cancel"));
    But_Cancel->setAutoDefault(false);
    buttons->addWidget(But_OK);
    buttons->addWidget(But_Cancel);
    layout->addLayout(buttons);
    OnClick(But_OK, [this] { But_OKClick(); });
    OnClick(But_Cancel, [this] { Close(); });
    setTabOrder(Edit_Barcode, Edit_Code);
    setTabOrder(Edit_Code, Combo_Mode);
    setTabOrder(Combo_Mode, Date_Reg);
    setTabOrder(Date_Reg, But_OK);
    resize(380, 250);
}

bool Tfrm_BarGuidReg::FormKeyPress(QKeyEvent& event) {
    return FocusNextOnEnter(event) || Tbase_frmMdi::FormKeyPress(event);
}

QString Tfrm_BarGuidReg::Register(TRemoteUdpConnection& connection, const QString& serial,
                                  const QString& code, const QString& mode, const QString& date) {
    TRemoteUdpDataSet query;
    query.setSetupUdpParent(&connection);
    query.SetSQL(QStringLiteral("select top 1 * from barcodeguid where fbarcode='") +
                 SqlText(serial) + QStringLiteral("'") + QStringLiteral(" and fcode=") +
                 QStringLiteral("'") + SqlText(code) + QStringLiteral("'"));
    query.Open();
    if (query.IsEmpty()) return kUnknownSerial;
    if (query.FieldByName(QStringLiteral("fflag")).AsBoolean()) return kRegisteredBefore;
    query.Close();
    // Whoever changes the row registers the piece; a workstation that found it
    // unregistered a moment ago may come second and change nothing.
    TRemoteUdpDataSet update;
    update.setSetupUdpParent(&connection);
    update.SetSQL(QStringLiteral("update barcodeguid set fflag=1,fflagdate='") + SqlText(date) +
                  QStringLiteral("'") + QStringLiteral(",fflagmode=") + QStringLiteral("'") +
                  SqlText(mode) + QStringLiteral("'") + QStringLiteral(" where fbarcode=") +
                  QStringLiteral("'") + SqlText(serial) + QStringLiteral("'") +
                  QStringLiteral(" and isnull(fflag,0)=0"));
    return update.ExecSQL() > 0 ? kRegistered : kRegisteredBefore;
}

void Tfrm_BarGuidReg::But_OKClick() {
    const QString serial = Edit_Barcode->text().trimmed();
    const QString code = Edit_Code->text().trimmed();
    if (serial.isEmpty()) refuseEmpty(Edit_Barcode, QStringLiteral("请输入产品序列号!"));
    if (code.isEmpty()) refuseEmpty(Edit_Code, QStringLiteral("请输入产品验证码!"));
    if (Combo_Mode->currentIndex() < 0) refuseEmpty(Combo_Mode, QStringLiteral("请选择注册方式!"));
    if (Date_Reg->valueText().isEmpty()) refuseEmpty(Date_Reg, QStringLiteral("请选择注册日期!"));
    TRemoteUdpConnection* connection = md::Session().Connection;
    if (!connection) throw EDatabaseError(QStringLiteral("没有数据库连接"));
    MessageBox(
        Register(*connection, serial, code, Combo_Mode->currentText(), Date_Reg->valueText()));
}

MD_REGISTER_FORM(Tfrm_BarGuidReg);
