#include "frm_KQ_Emp_Wages.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtMath>

#include "datasource.h"
#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "scopes.h"

using md::ui::Refuse;

namespace {

// Amounts of zero are shown blank.
const QString kAmountFormat = QStringLiteral("0.00;-0.00; ");

QString modeName(const QVariant& mode) {
    return !mode.isNull() && mode.toInt() == 1 ? QStringLiteral("增项") : QStringLiteral("减项");
}

// The typed text of an amount cell that is no number ("-" or "." alone; the
// editor takes no letters).
TGridColumn& acceptAmounts(TGridColumn& column) {
    const TGridColumn* self = &column;
    return column.inputCheck([self](const QString& text) {
        bool isNumber = false;
        if (text.trimmed().isEmpty()) return QString();
        text.trimmed().toDouble(&isNumber);
        return isNumber ? QString() : self->Caption() + QStringLiteral("必须是数字!");
    });
}

}  // namespace

Tfrm_KQ_Emp_Wages::Tfrm_KQ_Emp_Wages(QWidget* owner) : Tbase_frm(owner) {
    setObjectName(QStringLiteral("frm_KQ_Emp_Wages"));
    setWindowTitle(QStringLiteral("员工工资项设定"));

    DBEmp = new TRemoteUdpDataSet(QStringLiteral("DBEmp"), this);
    DBEmp->SetSQL(
        QStringLiteral("select fdeptname,fcode,fnamech from v_employee order by fdeptname,fcode"));
    DBEmp->BeforeScroll = [this](TRemoteUdpDataSet&) {
        if (m_employeesFocused && !m_loading) SaveLines();
    };
    DBEmp->AfterScroll = [this](TRemoteUdpDataSet&) { LoadLines(); };
    DSEmp = new TDataSource(QStringLiteral("DSEmp"), this);
    DSEmp->setDataSet(DBEmp);

    DBWagesItem = new TRemoteUdpDataSet(QStringLiteral("DBWagesItem"), this);
    DBWagesItem->SetSQL(QStringLiteral(
        "select fcode,fname,fmode,fmodestr=case when fmode=1 then '增项' ELSE '减项' "
        "END from KQ_WagesItem"));

    DBEmpWages = new TRemoteUdpDataSet(QStringLiteral("DBEmpWages"), this);
    DBEmpWages->SetSQL(
        QStringLiteral("SELECT a.*,b.fname as fwagesItemname,b.fmode from kq_empwages a left join "
                       "KQ_WagesItem b on a.fwagesitemcode=b.fcode"));
    DBEmpWages->AddSQL(QStringLiteral("where a.fempcode=:fempcode"));
    DBEmpWages->SetLockType(etBatchOptimistic);
    EmpWagesUpdateSql = new TRemoteUpdateSql(this);
    EmpWagesUpdateSql->setObjectName(QStringLiteral("EmpWagesUpdateSql"));
    EmpWagesUpdateSql->InsertSQL = QStringLiteral(
        "insert into kq_empwages(fempcode,fwagesitemcode,fmoney)values(:fempcode,:fwagesitemcode,:"
        "fmoney)");
    EmpWagesUpdateSql->ModifySQL = QStringLiteral(
        "update kq_empwages set fempcode=:fempcode,fwagesitemcode=:fwagesitemcode,fmoney=:fmoney "
        "where fautoid=:fautoid");
    DBEmpWages->SetupDataObject(EmpWagesUpdateSql);

    auto* layout = new QVBoxLayout(this);
    auto* grids = new QHBoxLayout;
    cxGridEmp = new TDBGrid(this, QStringLiteral("cxGridEmp"), QStringLiteral("cxGridEmpView"));
    cxGridEmp->setFixedWidth(290);
    TDBTableView* e = cxGridEmp->View();
    e->setDataSource(DSEmp);
    e->AddColumn(QStringLiteral("fdeptname"), QStringLiteral("所属部门")).width(90);
    e->AddColumn(QStringLiteral("fcode"), QStringLiteral("员工编号")).width(80);
    e->AddColumn(QStringLiteral("fnamech"), QStringLiteral("员工姓名")).width(80);
    e->SetInputAllowed(false);
    e->installEventFilter(this);
    grids->addWidget(cxGridEmp);
    buildLines();
    grids->addWidget(cxGridWages, 1);
    layout->addLayout(grids, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    But_OK = new QPushButton(QStringLiteral("确定"), this);
    But_OK->setObjectName(QStringLiteral("But_OK"));
    But_Cancel = new QPushButton(QStringLiteral("取消"), this);
    But_Cancel->setObjectName(QStringLiteral("But_Cancel"));
    buttons->addWidget(But_OK);
    buttons->addWidget(But_Cancel);
    layout->addLayout(buttons);
    OnClick(But_OK, [this] { But_OKClick(); });
    OnClick(But_Cancel, [this] { But_CancelClick(); });
    resize(900, 480);
}

void Tfrm_KQ_Emp_Wages::buildLines() {
    DBLines = new TRemoteUdpDataSet(QStringLiteral("DBLines"), this);
    DBLines->OnCalcFields = [](TRemoteUdpDataSet& ds) {
        ds.FieldByName(QStringLiteral("fmodestr"))
            .SetAsString(modeName(ds.FieldByName(QStringLiteral("fmode")).Value()));
        ds.FieldByName(QStringLiteral("fSumMoney"))
            .SetAsFloat(ds.FieldByName(QStringLiteral("fAddMoney")).AsFloat() -
                        ds.FieldByName(QStringLiteral("fSubMoney")).AsFloat());
    };
    DBLines->OnNewRecord = [this](TRemoteUdpDataSet& ds) {
        ds.FieldByName(QStringLiteral("fempcode"))
            .SetAsString(DBEmp->Active() && !DBEmp->IsEmpty()
                             ? DBEmp->FieldByName(QStringLiteral("fcode")).AsString()
                             : QString());
    };
    DBLines->BeforePost = [this](TRemoteUdpDataSet&) { lineBeforePost(); };
    DSLines = new TDataSource(QStringLiteral("DSLines"), this);
    DSLines->setDataSet(DBLines);

    cxGridWages =
        new TDBGrid(this, QStringLiteral("cxGridWages"), QStringLiteral("cxGridWagesView"));
    TDBTableView* v = cxGridWages->View();
    v->setDataSource(DSLines);
    v->AddColumn(QStringLiteral("fwagesitemcode"), QStringLiteral("项目编号"))
        .width(80)
        .lookup(DBWagesItem, QStringLiteral("fcode"),
                {QStringLiteral("fcode"), QStringLiteral("fname"), QStringLiteral("fmodestr")},
                {QStringLiteral("编号"), QStringLiteral("名称"), QStringLiteral("属性")})
        .inputCheck([this](const QString& text) {
            const QString code = text.trimmed();
            if (code.isEmpty() ||
                !DBWagesItem->Lookup(QStringLiteral("fcode"), code, QStringLiteral("fcode"))
                     .isNull())
                return QString();
            return QStringLiteral("工资项目编号不存在,请重新选择!");
        })
        .footer(TSummaryKind::Count, QStringLiteral("合计"));
    v->AddColumn(QStringLiteral("fwagesItemname"), QStringLiteral("项目名称"))
        .width(120)
        .readOnly()
        .footer(TSummaryKind::Count, QStringLiteral("0项"));
    v->AddColumn(QStringLiteral("fmodestr"), QStringLiteral("项目属性")).width(70).readOnly();
    acceptAmounts(v->AddColumn(QStringLiteral("fAddMoney"), QStringLiteral("增项金额"))
                      .width(90)
                      .currency(kAmountFormat)
                      .footer(TSummaryKind::Sum, kAmountFormat));
    acceptAmounts(v->AddColumn(QStringLiteral("fSubMoney"), QStringLiteral("减项金额"))
                      .width(90)
                      .currency(kAmountFormat)
                      .footer(TSummaryKind::Sum, kAmountFormat));
    v->AddColumn(QStringLiteral("fSumMoney"), QStringLiteral("合计金额"))
        .width(90)
        .readOnly()
        .currency(kAmountFormat)
        .footer(TSummaryKind::Sum, kAmountFormat);
    TGridViewOptions& options = v->Options();
    options.Footer = true;
    options.Deleting = false;  // lines are set to zero, never removed
    v->ApplyOptions();
    v->SetInputAllowed(true);
}

void Tfrm_KQ_Emp_Wages::FormCreate() {
    Tbase_frm::FormCreate();
    // Every employee has every system item.
    md::ExecuteSQL(QStringLiteral("insert into kq_empwages(fempcode,fwagesitemcode,fmoney)select "
                                  "a.fcode,b.fcode,fmoney=0 from v_employee a,KQ_WagesItem b") +
                   QChar(13) +
                   QStringLiteral("where b.fissys=1 and (a.fcode+b.fcode not in(select "
                                  "fempcode+fwagesitemcode from kq_empwages))"));
    DBWagesItem->Open();
    if (!DBLines->Active()) {
        DBLines->AddField(QStringLiteral("fempcode"), ftString, 30);
        DBLines->AddField(QStringLiteral("fwagesitemcode"), ftString, 20);
        DBLines->AddField(QStringLiteral("fwagesItemname"), ftString, 50);
        DBLines->AddField(QStringLiteral("fmode"), ftInteger);
        DBLines->AddField(QStringLiteral("fAddMoney"), ftCurrency);
        DBLines->AddField(QStringLiteral("fSubMoney"), ftCurrency);
        DBLines->AddCalcField(QStringLiteral("fmodestr"), ftString, 10);
        DBLines->AddCalcField(QStringLiteral("fSumMoney"), ftCurrency);
        DBLines->FieldByName(QStringLiteral("fwagesitemcode")).OnChange = [this](TField&) {
            itemChosen();
        };
        DBLines->CreateDataSet();
    }
    DBEmp->Open();
}

bool Tfrm_KQ_Emp_Wages::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && watched == cxGridEmp->View()) m_employeesFocused = true;
    return Tbase_frm::eventFilter(watched, event);
}

void Tfrm_KQ_Emp_Wages::itemChosen() {
    if (m_loading) return;
    TRemoteUdpDataSet& line = *DBLines;
    const QString code = line.FieldByName(QStringLiteral("fwagesitemcode")).AsString();
    const QVariant name =
        DBWagesItem->Lookup(QStringLiteral("fcode"), code, QStringLiteral("fname"));
    const QVariant mode =
        DBWagesItem->Lookup(QStringLiteral("fcode"), code, QStringLiteral("fmode"));
    line.FieldByName(QStringLiteral("fwagesItemname")).SetValue(name);
    line.FieldByName(QStringLiteral("fmode")).SetValue(mode);
}

void Tfrm_KQ_Emp_Wages::lineBeforePost() {
    if (m_loading) return;
    TRemoteUdpDataSet& line = *DBLines;
    const QString code = line.FieldByName(QStringLiteral("fwagesitemcode")).AsString().trimmed();
    if (code.isEmpty()) Refuse(QStringLiteral("请选择工资项目!"));
    // One line per item: a second one would be saved over the first.
    const TBookmark self = line.GetBookmark();
    for (int row = 0; row < line.RecordCount(); ++row) {
        if (line.bookmarkAt(row) == self) continue;
        if (line.valueAt(row, line.FieldByName(QStringLiteral("fwagesitemcode")).Index())
                .toString()
                .trimmed() == code)
            Refuse(QStringLiteral("此工资项目已存在,请重新选择!"));
    }
    // A line adds or deducts, never both.
    const QVariant mode = line.FieldByName(QStringLiteral("fmode")).Value();
    if (mode.isNull()) return;
    if (mode.toInt() == 1)
        line.FieldByName(QStringLiteral("fSubMoney")).SetAsFloat(0);
    else if (mode.toInt() == -1)
        line.FieldByName(QStringLiteral("fAddMoney")).SetAsFloat(0);
}

void Tfrm_KQ_Emp_Wages::LoadLines() {
    TControlsDisabled quiet(*DBLines);
    m_loading = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_loading};
    DBLines->EmptyDataSet();
    DBEmpWages->Close();
    if (!DBEmp->Active() || DBEmp->IsEmpty()) return;
    DBEmpWages->ParamByName(u"fempcode")
        .SetAsString(DBEmp->FieldByName(QStringLiteral("fcode")).AsString());
    DBEmpWages->Open();
    for (DBEmpWages->First(); !DBEmpWages->Eof(); DBEmpWages->Next()) {
        const QVariant mode = DBEmpWages->FieldByName(QStringLiteral("fmode")).Value();
        const double money = DBEmpWages->FieldByName(QStringLiteral("fmoney")).AsFloat();
        const bool adds = !mode.isNull() && mode.toInt() == 1;
        DBLines->Append();
        for (const char* name : {"fempcode", "fwagesitemcode", "fwagesItemname", "fmode"})
            DBLines->FieldByName(QString::fromLatin1(name))
                .SetValue(DBEmpWages->FieldByName(QString::fromLatin1(name)).Value());
        // A deduction is stored negative: its 减项金额 is the stored amount's opposite.
        DBLines->FieldByName(QStringLiteral("fAddMoney")).SetAsFloat(adds ? money : 0);
        DBLines->FieldByName(QStringLiteral("fSubMoney")).SetAsFloat(adds ? 0 : -money);
        DBLines->Post();
    }
    DBLines->First();
}

void Tfrm_KQ_Emp_Wages::SaveLines() {
    cxGridWages->View()->PostEditor();
    DBLines->CheckBrowseMode();
    if (!DBEmpWages->Active()) return;
    {
        TBookmarkKept keep(*DBLines);
        TControlsDisabled quiet(*DBLines);
        for (DBLines->First(); !DBLines->Eof(); DBLines->Next()) {
            const QString code = DBLines->FieldByName(QStringLiteral("fwagesitemcode")).AsString();
            if (code.trimmed().isEmpty()) continue;
            const double total = DBLines->FieldByName(QStringLiteral("fSumMoney")).AsFloat();
            if (DBEmpWages->Locate(QStringLiteral("fwagesitemcode"), code)) {
                DBEmpWages->Edit();
            } else {
                DBEmpWages->Append();
                DBEmpWages->FieldByName(QStringLiteral("fempcode"))
                    .SetAsString(DBLines->FieldByName(QStringLiteral("fempcode")).AsString());
                DBEmpWages->FieldByName(QStringLiteral("fwagesitemcode")).SetAsString(code);
            }
            // Posting an unchanged amount caches nothing.
            DBEmpWages->FieldByName(QStringLiteral("fmoney")).SetAsFloat(total);
            DBEmpWages->Post();
        }
    }
    DBEmpWages->UpdateBatch();
}

bool Tfrm_KQ_Emp_Wages::LinesChanged() {
    if (DBLines->InEditState() && DBLines->Modified()) return true;
    if (DBEmpWages->Active() && DBEmpWages->UpdatesPending()) return true;
    if (!DBEmpWages->Active()) return false;
    const int codeAt = DBLines->FieldByName(QStringLiteral("fwagesitemcode")).Index();
    const int addAt = DBLines->FieldByName(QStringLiteral("fAddMoney")).Index();
    const int subAt = DBLines->FieldByName(QStringLiteral("fSubMoney")).Index();
    for (int row = 0; row < DBLines->RecordCount(); ++row) {
        const QVariant code = DBLines->valueAt(row, codeAt);
        const QString key = QStringLiteral("fwagesitemcode");
        if (DBEmpWages->Lookup(key, code, key).isNull()) return true;
        const double stored = DBEmpWages->Lookup(key, code, QStringLiteral("fmoney")).toDouble();
        const double total =
            DBLines->valueAt(row, addAt).toDouble() - DBLines->valueAt(row, subAt).toDouble();
        if (qAbs(stored - total) > 0.00001) return true;
    }
    return false;
}

void Tfrm_KQ_Emp_Wages::But_OKClick() {
    SaveLines();
    accept();
}

void Tfrm_KQ_Emp_Wages::But_CancelClick() {
    if (LinesChanged() && !md::ui::AskYesNo(QStringLiteral("是否确认取消？"))) return;
    if (DBLines->InEditState()) DBLines->Cancel();
    if (DBEmpWages->Active()) DBEmpWages->CancelUpdates();
    reject();
}

MD_REGISTER_FORM(Tfrm_KQ_Emp_Wages);
