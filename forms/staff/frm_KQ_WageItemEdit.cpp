#include "frm_KQ_WageItemEdit.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "datasource.h"
#include "dbchecks.h"
#include "dbcontrols.h"
#include "ratecheck.h"
#include "remoteudpdataset.h"
#include "sqlquote.h"
#include "typedinput.h"

using md::ui::Refuse;

Tfrm_KQ_WageItemEdit::Tfrm_KQ_WageItemEdit(TDataSource* source, const QString& heading,
                                           QWidget* owner)
    : Tbase_frm(owner), m_source(source) {
    setObjectName(QStringLiteral("frm_KQ_WageItemEdit"));
    setWindowTitle(QStringLiteral("工资项目编辑"));
    TRemoteUdpDataSet* ds = source->DataSet();
    auto* layout = new QVBoxLayout(this);
    Label_Heading = new QLabel(heading, this);
    Label_Heading->setObjectName(QStringLiteral("Label_Heading"));
    QFont font = Label_Heading->font();
    font.setPointSize(font.pointSize() + 4);
    font.setBold(true);
    Label_Heading->setFont(font);
    layout->addWidget(Label_Heading);

    auto* form = new QFormLayout;
    Edit_Code = new TDBEdit(source, QStringLiteral("fcode"), this);
    Edit_Code->setObjectName(QStringLiteral("Edit_Code"));
    Edit_Name = new TDBEdit(source, QStringLiteral("fname"), this);
    Edit_Name->setObjectName(QStringLiteral("Edit_Name"));
    Combo_Mode = new QComboBox(this);
    Combo_Mode->setObjectName(QStringLiteral("Combo_Mode"));
    Combo_Mode->addItem(QStringLiteral("增项"), 1);
    Combo_Mode->addItem(QStringLiteral("减项"), -1);
    if (ds)
        Combo_Mode->setCurrentIndex(ds->FieldByName(QStringLiteral("fmode")).AsInteger() == 1 ? 0
                                                                                              : 1);
    connect(Combo_Mode, &QComboBox::activated, this, [this] {
        Run([this] {
            TRemoteUdpDataSet* ds = m_source->DataSet();
            if (ds && ds->InEditState())
                ds->FieldByName(QStringLiteral("fmode"))
                    .SetAsInteger(Combo_Mode->currentData().toInt());
        });
    });
    Edit_Money = new TDBNumberEdit(source, QStringLiteral("fmoney"), 2, this);
    Edit_Money->setObjectName(QStringLiteral("Edit_Money"));
    Check_SaleMoney = new TDBCheckBox(QStringLiteral("是否销售提成"), source,
                                      QStringLiteral("fisSaleMoney"), this);
    Check_SaleMoney->setObjectName(QStringLiteral("Check_SaleMoney"));
    form->addRow(QStringLiteral("项目编号"), Edit_Code);
    form->addRow(QStringLiteral("项目名称"), Edit_Name);
    form->addRow(QStringLiteral("项目类别"), Combo_Mode);
    form->addRow(QStringLiteral("固定金额"), Edit_Money);
    form->addRow(QString(), Check_SaleMoney);
    layout->addLayout(form);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    But_Save = NewButton(*buttons, QStringLiteral("But_Save"), QStringLiteral("保存"),
                         [this] { But_SaveClick(); });
    But_Cancel = NewButton(*buttons, QStringLiteral("But_Cancel"), QStringLiteral("取消"),
                           [this] { But_CancelClick(); });
    layout->addLayout(buttons);
    connect(Edit_Code, &QLineEdit::editingFinished, this,
            [this] { Run([this] { Edit_CodeExit(); }); });
    connect(Edit_Name, &QLineEdit::editingFinished, this,
            [this] { Run([this] { Edit_NameExit(); }); });

    if (ds) {
        m_code = ds->FieldByName(QStringLiteral("fcode")).AsString();
        m_name = ds->FieldByName(QStringLiteral("fname")).AsString();
    }
    resize(340, 250);
}

void Tfrm_KQ_WageItemEdit::refuseAt(QWidget* editor, const QString& message) {
    editor->setFocus();
    Refuse(message);
}

void Tfrm_KQ_WageItemEdit::refuseTaken(const QString& field, TDBEdit* editor,
                                       const QString& message) {
    TRemoteUdpDataSet* ds = m_source->DataSet();
    if (!ds || !ds->InEditState()) return;
    TField& value = ds->FieldByName(field);
    const QString before = field == QStringLiteral("fcode") ? m_code : m_name;
    const QString text = value.AsString();
    // The item's own code and name are no clash.
    if (text.isEmpty() || text == before) return;
    if (!md::ui::QueryReturnsRow(QStringLiteral("select top 1 * from kq_wagesitem where ") + field +
                                 QStringLiteral("='") + SqlText(text) + QStringLiteral("'")))
        return;
    value.SetAsString(before);
    refuseAt(editor, message);
}

void Tfrm_KQ_WageItemEdit::Edit_CodeExit() {
    refuseTaken(QStringLiteral("fcode"), Edit_Code, QStringLiteral("项目编号已存在,请重新录入!"));
}

void Tfrm_KQ_WageItemEdit::Edit_NameExit() {
    refuseTaken(QStringLiteral("fNAME"), Edit_Name, QStringLiteral("项目名称已存在,请重新录入!"));
}

void Tfrm_KQ_WageItemEdit::But_SaveClick() {
    TRemoteUdpDataSet& ds = *m_source->DataSet();
    if (ds.FieldByName(QStringLiteral("fcode")).AsString().trimmed().isEmpty())
        refuseAt(Edit_Code, QStringLiteral("项目编号不能为空,请重新录入!"));
    if (ds.FieldByName(QStringLiteral("fname")).AsString().trimmed().isEmpty())
        refuseAt(Edit_Name, QStringLiteral("项目名称不能为空,请重新录入!"));
    const QString money =
        md::ui::NumberInputProblem(QStringLiteral("固定金额"), Edit_Money->text());
    if (!money.isEmpty()) refuseAt(Edit_Money, money);
    // Saved straight from an editor, the value was not judged on leaving it.
    Edit_CodeExit();
    Edit_NameExit();
    if (ds.InEditState()) ds.Post();
    ds.UpdateBatch();
    accept();
}

void Tfrm_KQ_WageItemEdit::But_CancelClick() {
    if (TRemoteUdpDataSet* ds = m_source->DataSet()) {
        if (ds->InEditState()) ds->Cancel();
        ds->CancelUpdates();
    }
    reject();
}
