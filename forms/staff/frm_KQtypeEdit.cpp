#include "frm_KQtypeEdit.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "datasource.h"
#include "dbchecks.h"
#include "dbcontrols.h"
#include "remoteudpdataset.h"
#include "sqlquote.h"

using md::ui::Refuse;

Tfrm_KQtypeEdit::Tfrm_KQtypeEdit(TDataSource* source, const QString& heading, QWidget* owner)
    : Tbase_frm(owner), m_source(source) {
    setObjectName(QStringLiteral("frm_KQtypeEdit"));
    setWindowTitle(QStringLiteral("考勤类型编辑"));
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
    Edit_Remark = new TDBEdit(source, QStringLiteral("fremark"), this);
    Edit_Remark->setObjectName(QStringLiteral("Edit_Remark"));
    form->addRow(QStringLiteral("类型代码"), Edit_Code);
    form->addRow(QStringLiteral("类型名称"), Edit_Name);
    form->addRow(QStringLiteral("类型说明"), Edit_Remark);
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

    if (TRemoteUdpDataSet* ds = source->DataSet()) {
        m_code = ds->FieldByName(QStringLiteral("fcode")).AsString();
        m_name = ds->FieldByName(QStringLiteral("fname")).AsString();
    }
    resize(360, 200);
}

void Tfrm_KQtypeEdit::refuseTaken(const QString& field, TDBEdit* editor, const QString& message) {
    TRemoteUdpDataSet* ds = m_source->DataSet();
    if (!ds || !ds->InEditState()) return;
    TField& value = ds->FieldByName(field);
    const QString before = field == QStringLiteral("fcode") ? m_code : m_name;
    const QString text = value.AsString();
    if (text.isEmpty() || text == before) return;
    if (!md::ui::QueryReturnsRow(QStringLiteral("select fcode from KQ_TYPE where ") + field +
                                 QStringLiteral("='") + SqlText(text) + QStringLiteral("'")))
        return;
    value.SetAsString(before);
    editor->setFocus();
    Refuse(message);
}

void Tfrm_KQtypeEdit::Edit_CodeExit() {
    refuseTaken(QStringLiteral("fcode"), Edit_Code,
                QStringLiteral("此类型代码系统已存在,请重新输入！"));
}

void Tfrm_KQtypeEdit::Edit_NameExit() {
    refuseTaken(QStringLiteral("fname"), Edit_Name,
                QStringLiteral("此类型名称系统已存在,请重新输入！"));
}

void Tfrm_KQtypeEdit::But_SaveClick() {
    TRemoteUdpDataSet& ds = *m_source->DataSet();
    if (ds.FieldByName(QStringLiteral("fcode")).AsString().trimmed().isEmpty()) {
        Edit_Code->setFocus();
        Refuse(QStringLiteral("请输入类型代码！"));
    }
    if (ds.FieldByName(QStringLiteral("fname")).AsString().trimmed().isEmpty()) {
        Edit_Name->setFocus();
        Refuse(QStringLiteral("请输入类型名称！"));
    }
    // Saved straight from an editor, the value was not judged on leaving it.
    Edit_CodeExit();
    Edit_NameExit();
    if (ds.InEditState()) ds.Post();
    accept();
}

void Tfrm_KQtypeEdit::But_CancelClick() {
    if (TRemoteUdpDataSet* ds = m_source->DataSet(); ds && ds->InEditState()) ds->Cancel();
    reject();
}
