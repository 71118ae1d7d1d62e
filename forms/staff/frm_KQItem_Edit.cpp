#include "frm_KQItem_Edit.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "datasource.h"
#include "dbcontrols.h"
#include "remoteudpdataset.h"

namespace {

// A choice list whose items carry the stored number; it writes the field as
// the choice changes.
QComboBox* numberChoice(QWidget* parent, TRemoteUdpDataSet* ds, const QString& field,
                        const QList<QPair<QString, int>>& items) {
    auto* combo = new QComboBox(parent);
    for (const auto& [text, value] : items) combo->addItem(text, value);
    if (ds) combo->setCurrentIndex(combo->findData(ds->FieldByName(field).AsInteger()));
    QObject::connect(combo, &QComboBox::activated, parent, [combo, ds, field] {
        if (ds && ds->InEditState())
            ds->FieldByName(field).SetAsInteger(combo->currentData().toInt());
    });
    return combo;
}

}  // namespace

Tfrm_KQItem_Edit::Tfrm_KQItem_Edit(TDataSource* source, QWidget* owner)
    : Tbase_frm(owner), m_source(source) {
    setObjectName(QStringLiteral("frm_KQItem_Edit"));
    setWindowTitle(QStringLiteral("考勤项目编辑"));
    TRemoteUdpDataSet* ds = source->DataSet();
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    Edit_Code = new TDBEdit(source, QStringLiteral("fcode"), this);
    Edit_Code->setObjectName(QStringLiteral("Edit_Code"));
    Edit_Name = new TDBEdit(source, QStringLiteral("fname"), this);
    Edit_Name->setObjectName(QStringLiteral("Edit_Name"));
    Combo_Mode = numberChoice(this, ds, QStringLiteral("fmode"),
                              {{QStringLiteral("增项"), 1}, {QStringLiteral("减项"), -1}});
    Combo_Mode->setObjectName(QStringLiteral("Combo_Mode"));
    Combo_Unit = new TDBComboBox(
        source, QStringLiteral("funit"),
        {QStringLiteral("按天数"), QStringLiteral("按小时"), QStringLiteral("按分钟"),
         QStringLiteral("按次数"), QStringLiteral("按工资计算")},
        true, this);
    Combo_Unit->setObjectName(QStringLiteral("Combo_Unit"));
    Edit_Price = new TDBEdit(source, QStringLiteral("funitprice"), this);
    Edit_Price->setObjectName(QStringLiteral("Edit_Price"));
    Combo_Type = numberChoice(this, ds, QStringLiteral("ftype"),
                              {{QStringLiteral("迟到"), 0},
                               {QStringLiteral("早退"), 1},
                               {QStringLiteral("加班"), 2},
                               {QStringLiteral("请假"), 3}});
    Combo_Type->setObjectName(QStringLiteral("Combo_Type"));
    form->addRow(QStringLiteral("项目编号"), Edit_Code);
    form->addRow(QStringLiteral("项目名称"), Edit_Name);
    form->addRow(QStringLiteral("项目属性"), Combo_Mode);
    form->addRow(QStringLiteral("计算单位"), Combo_Unit);
    form->addRow(QStringLiteral("单   价"), Edit_Price);
    form->addRow(QStringLiteral("考勤类型"), Combo_Type);
    layout->addLayout(form);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    But_Save = NewButton(*buttons, QStringLiteral("But_Save"), QStringLiteral("保存"),
                         [this] { But_SaveClick(); });
    But_Cancel = NewButton(*buttons, QStringLiteral("But_Cancel"), QStringLiteral("取消"),
                           [this] { But_CancelClick(); });
    layout->addLayout(buttons);
    resize(340, 260);
}

void Tfrm_KQItem_Edit::But_SaveClick() {
    TRemoteUdpDataSet& ds = *m_source->DataSet();
    auto empty = [&](const char* field) {
        return ds.FieldByName(QString::fromLatin1(field)).AsString().trimmed().isEmpty();
    };
    // Plain messages, as the item dialog has always shown them.
    auto refuse = [](QWidget* editor, const QString& text) {
        editor->setFocus();
        md::ui::ShowMessage(text);
        throw EAbort();
    };
    if (empty("fcode")) refuse(Edit_Code, QStringLiteral("编号不能为空!"));
    if (empty("fname")) refuse(Edit_Name, QStringLiteral("名称不能为空!"));
    if (empty("funit")) refuse(Combo_Unit, QStringLiteral("请选择计算单位"));
    if (ds.InEditState()) ds.Post();
    accept();
}

void Tfrm_KQItem_Edit::But_CancelClick() {
    if (TRemoteUdpDataSet* ds = m_source->DataSet(); ds && ds->InEditState()) ds->Cancel();
    reject();
}
