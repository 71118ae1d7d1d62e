#include "frm_KQ_BanCiEdit.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "datasource.h"
#include "dbchecks.h"
#include "dbcontrols.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "sqlquote.h"

using md::ui::Refuse;

namespace {

const char* const kDays[] = {"前一天", "当天", "第二天", "第三天"};

}  // namespace

QString TShiftTimeBox::text() const {
    return QString::number(Day->currentIndex()) + Time->time().toString(QStringLiteral("HH:mm"));
}

void TShiftTimeBox::setText(const QString& text) {
    const int day = text.left(1).toInt();
    Day->setCurrentIndex(text.isEmpty() || day < 0 || day > 3 ? 1 : day);
    const QTime time = QTime::fromString(text.mid(1), QStringLiteral("HH:mm"));
    Time->setTime(time.isValid() ? time : QTime(0, 0));
}

Tfrm_KQ_BanCiEdit::Tfrm_KQ_BanCiEdit(TDataSource* source, QWidget* owner)
    : Tbase_frm(owner), m_source(source) {
    setObjectName(QStringLiteral("frm_KQ_BanCiEdit"));
    setWindowTitle(QStringLiteral("班次信息"));
    m_kinds = new TRemoteUdpDataSet(QStringLiteral("DBKind"), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildInfoGroup());
    auto* work = new QHBoxLayout;
    work->addWidget(buildWorkGroup(true));
    work->addWidget(buildWorkGroup(false));
    layout->addLayout(work);
    layout->addWidget(buildHoursGroup());
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    But_Save = NewButton(*buttons, QStringLiteral("But_Save"), QStringLiteral("保存并返回"),
                         [this] { But_SaveClick(); });
    But_Cancel = NewButton(*buttons, QStringLiteral("But_Cancel"), QStringLiteral("取消"),
                           [this] { But_CancelClick(); });
    layout->addLayout(buttons);

    // The start and end of work show again at the fixed ends of their rows.
    connect(SbTime.Day, &QComboBox::currentIndexChanged, this,
            [this] { mirror(SbTime, SbMirror); });
    connect(SbTime.Time, &QTimeEdit::timeChanged, this, [this] { mirror(SbTime, SbMirror); });
    connect(XbTime.Day, &QComboBox::currentIndexChanged, this,
            [this] { mirror(XbTime, XbMirror); });
    connect(XbTime.Time, &QTimeEdit::timeChanged, this, [this] { mirror(XbTime, XbMirror); });

    if (TRemoteUdpDataSet* ds = source->DataSet()) {
        m_code = ds->FieldByName(QStringLiteral("fcode")).AsString();
        m_name = ds->FieldByName(QStringLiteral("fname")).AsString();
    }
}

TShiftTimeBox Tfrm_KQ_BanCiEdit::timeBox(QWidget* parent, const QString& name, bool readOnly) {
    TShiftTimeBox box;
    box.Day = new QComboBox(parent);
    box.Day->setObjectName(QStringLiteral("Combo_") + name);
    for (const char* day : kDays) box.Day->addItem(QString::fromUtf8(day));
    box.Day->setCurrentIndex(1);
    box.Time = new QTimeEdit(parent);
    box.Time->setObjectName(QStringLiteral("Time_") + name);
    box.Time->setDisplayFormat(QStringLiteral("HH:mm"));
    box.Day->setEnabled(!readOnly);
    box.Time->setReadOnly(readOnly);
    return box;
}

void Tfrm_KQ_BanCiEdit::mirror(const TShiftTimeBox& from, TShiftTimeBox* to) {
    for (int i = 0; i < 2; ++i) to[i].setText(from.text());
}

QWidget* Tfrm_KQ_BanCiEdit::buildInfoGroup() {
    auto* group = new QGroupBox(QStringLiteral("班次信息"), this);
    auto* grid = new QGridLayout(group);
    Edit_Code = new TDBEdit(m_source, QStringLiteral("fcode"), group);
    Edit_Code->setObjectName(QStringLiteral("Edit_Code"));
    Edit_Code->SetUpperCase(true);
    Edit_Name = new TDBEdit(m_source, QStringLiteral("fname"), group);
    Edit_Name->setObjectName(QStringLiteral("Edit_Name"));
    Edit_Remark = new TDBEdit(m_source, QStringLiteral("fremark"), group);
    Edit_Remark->setObjectName(QStringLiteral("Edit_Remark"));
    grid->addWidget(new QLabel(QStringLiteral("班次代码"), group), 0, 0);
    grid->addWidget(Edit_Code, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("班次名称"), group), 0, 2);
    grid->addWidget(Edit_Name, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("班次说明"), group), 1, 0);
    grid->addWidget(Edit_Remark, 1, 1, 1, 3);
    connect(Edit_Code, &QLineEdit::editingFinished, this,
            [this] { Run([this] { Edit_CodeExit(); }); });
    connect(Edit_Name, &QLineEdit::editingFinished, this,
            [this] { Run([this] { Edit_NameExit(); }); });
    return group;
}

QWidget* Tfrm_KQ_BanCiEdit::buildWorkGroup(bool start) {
    const QString word = start ? QStringLiteral("上班") : QStringLiteral("下班");
    const QString tag = start ? QStringLiteral("Sb") : QStringLiteral("Xb");
    auto* group = new QGroupBox(word, this);
    group->setObjectName(QStringLiteral("Group_") + tag);
    auto* grid = new QGridLayout(group);
    auto place = [grid](int row, int column, const TShiftTimeBox& box) {
        auto* cell = new QHBoxLayout;
        cell->setSpacing(2);
        cell->addWidget(box.Day);
        cell->addWidget(box.Time);
        grid->addLayout(cell, row, column);
    };
    auto label = [group, grid](int row, int column, const QString& text) {
        grid->addWidget(new QLabel(text, group), row, column);
    };
    TShiftTimeBox& main = start ? SbTime : XbTime;
    TShiftTimeBox& windowEnd = start ? SbTimeB : XbTimeB;
    TShiftTimeBox& late = start ? SbTimeE : XbTimeE;
    TShiftTimeBox* mirrors = start ? SbMirror : XbMirror;
    main = timeBox(group, tag + QStringLiteral("Time"));
    windowEnd = timeBox(group, tag + QStringLiteral("TimeB"));
    late = timeBox(group, tag + QStringLiteral("TimeE"));
    mirrors[0] = timeBox(group, tag + QStringLiteral("Mirror1"), true);
    mirrors[1] = timeBox(group, tag + QStringLiteral("Mirror2"), true);

    label(0, 0, word + QStringLiteral("时间"));
    place(0, 1, main);
    QRadioButton*& card = start ? Radio_SbCard : Radio_XbCard;
    QRadioButton*& noCard = start ? Radio_SbNoCard : Radio_XbNoCard;
    card = new QRadioButton(word + QStringLiteral("要刷卡"), group);
    card->setObjectName(QStringLiteral("Radio_") + tag + QStringLiteral("Card"));
    noCard = new QRadioButton(word + QStringLiteral("不用刷卡"), group);
    noCard->setObjectName(QStringLiteral("Radio_") + tag + QStringLiteral("NoCard"));
    auto* cards = new QHBoxLayout;
    cards->addWidget(card);
    cards->addWidget(noCard);
    grid->addLayout(cards, 1, 0, 1, 4);

    // 上班: the normal window runs up to the start, lateness after it;
    // 下班: the normal window runs on from the end, early leave up to it.
    label(2, 0, QStringLiteral("从"));
    place(2, 1, start ? windowEnd : mirrors[0]);
    label(2, 2, QStringLiteral("至"));
    place(2, 3, start ? mirrors[0] : windowEnd);
    label(2, 4,
          start ? QStringLiteral("为正常上班刷卡时间") : QStringLiteral("为正常下班刷卡时间"));
    label(3, 0, QStringLiteral("从"));
    place(3, 1, start ? mirrors[1] : late);
    label(3, 2, QStringLiteral("至"));
    place(3, 3, start ? late : mirrors[1]);
    label(3, 4, start ? QStringLiteral("为上班迟到时间") : QStringLiteral("为下班早退时间"));

    TDBEdit*& ignore = start ? Edit_SbIgnore : Edit_XbIgnore;
    ignore = new TDBEdit(
        m_source, start ? QStringLiteral("fsb_no_chi") : QStringLiteral("fxb_no_zao"), group);
    ignore->setObjectName(QStringLiteral("Edit_") + tag + QStringLiteral("Ignore"));
    auto* ignoreRow = new QHBoxLayout;
    ignoreRow->addWidget(
        new QLabel(start ? QStringLiteral("迟到时间在") : QStringLiteral("早退时间在"), group));
    ignoreRow->addWidget(ignore);
    ignoreRow->addWidget(new QLabel(QStringLiteral("分钟内忽略"), group));
    ignoreRow->addStretch(1);
    grid->addLayout(ignoreRow, 4, 0, 1, 5);
    return group;
}

QWidget* Tfrm_KQ_BanCiEdit::buildHoursGroup() {
    auto* group = new QGroupBox(this);
    auto* row = new QHBoxLayout(group);
    Radio_ActualHours = new QRadioButton(QStringLiteral("该班次工时按实际时间计算"), group);
    Radio_ActualHours->setObjectName(QStringLiteral("Radio_ActualHours"));
    Radio_FixedHours = new QRadioButton(QStringLiteral("该班次折合工时为"), group);
    Radio_FixedHours->setObjectName(QStringLiteral("Radio_FixedHours"));
    Edit_WorkTime = new TDBEdit(m_source, QStringLiteral("fWork_Time"), group);
    Edit_WorkTime->setObjectName(QStringLiteral("Edit_WorkTime"));
    Edit_WorkTime->setMaximumWidth(60);
    Combo_Kind = new QComboBox(group);
    Combo_Kind->setObjectName(QStringLiteral("Combo_Kind"));
    md::OpenQuery(*m_kinds, QStringLiteral("select fcode='0',fname='正常班次' \n"
                                           "union all\n"
                                           "select fcode,fname from dbo.KQ_Type where ftype=1"));
    for (m_kinds->First(); !m_kinds->Eof(); m_kinds->Next())
        Combo_Kind->addItem(m_kinds->FieldByName(QStringLiteral("fname")).AsString(),
                            m_kinds->FieldByName(QStringLiteral("fcode")).AsString());
    row->addWidget(Radio_ActualHours);
    row->addWidget(Radio_FixedHours);
    row->addWidget(Edit_WorkTime);
    row->addWidget(new QLabel(QStringLiteral("小时"), group));
    row->addSpacing(20);
    row->addWidget(new QLabel(QStringLiteral("属性"), group));
    row->addWidget(Combo_Kind);
    row->addStretch(1);
    return group;
}

void Tfrm_KQ_BanCiEdit::LoadDefaults() {
    for (TShiftTimeBox* box : {&SbTime, &SbTimeB, &SbTimeE, &XbTime, &XbTimeB, &XbTimeE})
        box->setText(QStringLiteral("100:00"));
    Radio_SbCard->setChecked(true);
    Radio_XbCard->setChecked(true);
    Radio_FixedHours->setChecked(true);
    Combo_Kind->setCurrentIndex(0);
}

void Tfrm_KQ_BanCiEdit::LoadRow() {
    TRemoteUdpDataSet& ds = *m_source->DataSet();
    auto text = [&](const char* field) {
        return ds.FieldByName(QString::fromLatin1(field)).AsString();
    };
    SbTime.setText(text("fsb_time"));
    SbTimeB.setText(text("fsb_timeb"));
    SbTimeE.setText(text("fsb_timee"));
    XbTime.setText(text("fXb_time"));
    XbTimeB.setText(text("fxb_timeb"));
    XbTimeE.setText(text("fxb_timee"));
    (ds.FieldByName(QStringLiteral("fsb_iscard")).AsBoolean() ? Radio_SbCard : Radio_SbNoCard)
        ->setChecked(true);
    (ds.FieldByName(QStringLiteral("fxb_iscard")).AsBoolean() ? Radio_XbCard : Radio_XbNoCard)
        ->setChecked(true);
    (ds.FieldByName(QStringLiteral("fWorkTime_Mode")).AsInteger() == 1 ? Radio_FixedHours
                                                                       : Radio_ActualHours)
        ->setChecked(true);
    const int kind = Combo_Kind->findData(text("ftypecode"));
    Combo_Kind->setCurrentIndex(kind < 0 ? 0 : kind);
}

void Tfrm_KQ_BanCiEdit::refuseTaken(const QString& field, TDBEdit* editor, const QString& message) {
    TRemoteUdpDataSet* ds = m_source->DataSet();
    if (!ds || !ds->InEditState()) return;
    TField& value = ds->FieldByName(field);
    const QString before = field == QStringLiteral("fcode") ? m_code : m_name;
    const QString text = value.AsString();
    if (text.isEmpty() || text == before) return;
    if (!md::ui::QueryReturnsRow(QStringLiteral("select top 1 fcode from kq_banci where ") + field +
                                 QStringLiteral("='") + SqlText(text) + QStringLiteral("'")))
        return;
    value.SetAsString(before);
    editor->setFocus();
    Refuse(message);
}

void Tfrm_KQ_BanCiEdit::Edit_CodeExit() {
    TRemoteUdpDataSet* ds = m_source->DataSet();
    // "OFF" marks a day off in the schedule; no shift may be called that.
    if (ds && ds->InEditState() &&
        ds->FieldByName(QStringLiteral("fcode"))
                .AsString()
                .trimmed()
                .compare(QStringLiteral("OFF"), Qt::CaseInsensitive) == 0) {
        ds->FieldByName(QStringLiteral("fcode")).SetAsString(m_code);
        Edit_Code->setFocus();
        Refuse(QStringLiteral("OFF 表示休息，不能用作班次代码!"));
    }
    refuseTaken(QStringLiteral("fcode"), Edit_Code, QStringLiteral("班次代码不能重复!"));
}

void Tfrm_KQ_BanCiEdit::Edit_NameExit() {
    refuseTaken(QStringLiteral("fname"), Edit_Name, QStringLiteral("班次名称不能重复!"));
}

void Tfrm_KQ_BanCiEdit::But_SaveClick() {
    TRemoteUdpDataSet& ds = *m_source->DataSet();
    if (ds.FieldByName(QStringLiteral("fcode")).AsString().trimmed().isEmpty()) {
        Edit_Code->setFocus();
        Refuse(QStringLiteral("请输入班次代码！"));
    }
    if (ds.FieldByName(QStringLiteral("fname")).AsString().trimmed().isEmpty()) {
        Edit_Name->setFocus();
        Refuse(QStringLiteral("请输入班次名称！"));
    }
    Edit_CodeExit();
    Edit_NameExit();
    // Same-width texts: the day digit first, so a later day sorts later.
    if (XbTime.text() < SbTime.text()) {
        XbTime.Day->setFocus();
        Refuse(QStringLiteral("下班时间早于上班时间，跨天的班次请把下班时间选为“第二天”！"));
    }
    if (!ds.InEditState()) ds.Edit();
    auto set = [&](const char* field, const QString& value) {
        ds.FieldByName(QString::fromLatin1(field)).SetAsString(value);
    };
    set("fsb_time", SbTime.text());
    set("fXb_time", XbTime.text());
    set("fsb_timeb", SbTimeB.text());
    set("fsb_timee", SbTimeE.text());
    set("fxb_timeb", XbTimeB.text());
    set("fxb_timee", XbTimeE.text());
    set("ftypecode", Combo_Kind->currentData().toString());
    ds.FieldByName(QStringLiteral("fsb_iscard")).SetAsBoolean(Radio_SbCard->isChecked());
    ds.FieldByName(QStringLiteral("fxb_iscard")).SetAsBoolean(Radio_XbCard->isChecked());
    ds.FieldByName(QStringLiteral("fWorkTime_Mode"))
        .SetAsInteger(Radio_FixedHours->isChecked() ? 1 : 0);
    ds.Post();
    accept();
}

void Tfrm_KQ_BanCiEdit::But_CancelClick() {
    if (TRemoteUdpDataSet* ds = m_source->DataSet(); ds && ds->InEditState()) ds->Cancel();
    reject();
}
