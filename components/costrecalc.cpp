#include "costrecalc.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>
#include <cmath>
#include <memory>

#include "dbchecks.h"
#include "grid.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "scopes.h"
#include "session.h"
#include "styles.h"
#include "waitcursor.h"

using md::ui::Refuse;

const QString TCostRecalcForm::kNoSnapshotDate = QStringLiteral("1901-01-01");
const QString TCostRecalcForm::kNoBalanceDate = QStringLiteral("1910-01-01");

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

// How often a long adoption moves the progress bar and lets the window paint.
constexpr qint64 kProgressMs = 100;

// A date column as the statements write dates.
QString dateText(const TField& field) {
    return field.IsNull() ? QString() : field.AsDateTime().date().toString(kDateFormat);
}

// Cells whose value is 0 stay empty (the third section, a blank).
const QString kQuantity = QStringLiteral("0.##;-0.##; ");
const QString kAmount = QStringLiteral("0.00;-0.00; ");

QVariant rounded(const QVariant& value, int decimals) {
    if (decimals < 0 || value.isNull()) return value;
    const double scale = std::pow(10.0, decimals);
    return double(std::llround(TField::floatOf(value) * scale)) / scale;
}

}  // namespace

TCostRecalcForm::TCostRecalcForm(QWidget* owner, const QString& caption) : Tbase_frmMdi(owner) {
    setWindowTitle(caption);

    Panel_top = new QWidget(ClientPanel);
    Panel_top->setObjectName(QStringLiteral("Panel_top"));
    m_chooserRow = new QHBoxLayout(Panel_top);
    m_chooserRow->setContentsMargins(8, 6, 8, 6);
    Combo_date = new QComboBox(Panel_top);
    Combo_date->setObjectName(QStringLiteral("Combo_date"));
    Combo_date->setMinimumWidth(120);
    DateEdit_end = new QDateEdit(Panel_top);
    DateEdit_end->setObjectName(QStringLiteral("DateEdit_end"));
    DateEdit_end->setDisplayFormat(kDateFormat);
    DateEdit_end->setCalendarPopup(true);
    DateEdit_end->setMinimumWidth(110);
    m_chooserRow->addWidget(new QLabel(QStringLiteral("上期结存日期:"), Panel_top));
    m_chooserRow->addWidget(Combo_date);
    m_chooserRow->addSpacing(16);
    m_chooserRow->addWidget(new QLabel(QStringLiteral("截止日期:"), Panel_top));
    m_chooserRow->addWidget(DateEdit_end);
    m_chooserRow->addStretch(1);

    cxGrid1 = new TDBGrid(ClientPanel, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    cxGrid1DBTableView1->setDataSource(DbMaster_Source);
    TGridViewOptions& options = cxGrid1DBTableView1->Options();
    options.Footer = true;
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    cxGrid1DBTableView1->ApplyOptions();
    cxGrid1DBTableView1->SetInputAllowed(false);
    DBmaster_table->AddField(QStringLiteral("fgoodsid"), ftString, 30);
    AddResultColumn(QStringLiteral("fgoodsid"), QStringLiteral("货号"), 110, QString())
        .footer(TSummaryKind::Count, QStringLiteral("合计：0"));
    AddResultColumn(QStringLiteral("firstqty"), QStringLiteral("上期结存数量"), 90, kQuantity)
        .footer(TSummaryKind::Sum, QStringLiteral("0.##"));
    AddResultColumn(QStringLiteral("firstsumto"), QStringLiteral("上期结存金额"), 100, kAmount)
        .footer(TSummaryKind::Sum, QStringLiteral("0.00"));
    AddResultColumn(QStringLiteral("receqty"), QStringLiteral("本期进货数量"), 90, kQuantity)
        .footer(TSummaryKind::Sum, QStringLiteral("0.##"));
    AddResultColumn(QStringLiteral("recesumto"), QStringLiteral("本期进货金额"), 100, kAmount)
        .footer(TSummaryKind::Sum, QStringLiteral("0.00"));
    AddResultColumn(QStringLiteral("planprice"), QStringLiteral("本期成本单价"), 100, kUnitCost);

    auto* layout = new QVBoxLayout(ClientPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel_top);
    layout->addWidget(cxGrid1, 1);

    ProgressBar1 = new QProgressBar(StatusBar1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);
    ProgressBar1->setMaximumWidth(260);
    StatusBar1->addPermanentWidget(ProgressBar1);

    cac_action = NewAction(QStringLiteral("cac_action"), QStringLiteral("计算"),
                           [this] { cac_actionExecute(); });
    cac_action->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    update_action = NewAction(QStringLiteral("update_action"), QStringLiteral("更新当前成本"),
                              [this] { update_actionExecute(); });
    update_action->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    SetToolbar({cac_action, update_action, nullptr, close_action});
    resize(860, 540);
}

const QString TCostRecalcForm::kUnitCost = QStringLiteral("0.####;-0.####; ");

TGridColumn& TCostRecalcForm::AddResultColumn(const QString& field, const QString& caption,
                                              int width, const QString& format) {
    // Declared fields give the grid its headers before the first "计算".
    if (!DBmaster_table->FindField(field)) DBmaster_table->AddField(field, ftFloat);
    cxGrid1DBTableView1->setDataSource(DbMaster_Source);
    TGridColumn& column = cxGrid1DBTableView1->AddColumn(field, caption).width(width).readOnly();
    if (!format.isEmpty()) column.displayFormat(format);
    return column;
}

void TCostRecalcForm::FormCreate() {
    Tbase_frmMdi::FormCreate();
    md::ui::ApplySharedColours(this);
    DateEdit_end->setDate(QDate::currentDate());
}

bool TCostRecalcForm::FormCloseQuery() {
    // The adoption lets the window paint while it runs; it is not closed under it.
    return !m_adopting && Tbase_frmMdi::FormCloseQuery();
}

bool TCostRecalcForm::FormKeyPress(QKeyEvent& event) {
    if (event.key() == Qt::Key_Delete && Combo_date->hasFocus()) {
        Combo_date->setCurrentIndex(-1);
        return true;
    }
    return Tbase_frmMdi::FormKeyPress(event);
}

void TCostRecalcForm::UpdateActionState() {
    Tbase_frmMdi::UpdateActionState();
    cac_action->setEnabled(!m_adopting);
    update_action->setEnabled(!m_adopting);
    cxGrid1DBTableView1->SetInputAllowed(false);
    StatusBar1->setEnabled(true);
}

void TCostRecalcForm::FillOpeningDates(const QString& sql) {
    Combo_date->clear();
    TRemoteUdpDataSet dates;
    md::OpenQuery(dates, sql);
    TField& date = dates.FieldByName(QStringLiteral("stockdate"));
    for (dates.First(); !dates.Eof(); dates.Next()) Combo_date->addItem(dateText(date));
    if (Combo_date->count() == 0) Combo_date->addItem(kNoSnapshotDate);
}

void TCostRecalcForm::cac_actionExecute() {
    const QString owner = RecalcOwner();
    const QString d = Combo_date->currentText().trimmed();
    if (d.isEmpty()) Refuse(QStringLiteral("请选择上期结存日期!"));
    const QDate end = DateEdit_end->date();
    const QDate from = QDate::fromString(d, kDateFormat);
    if (from.isValid() && end < from) Refuse(QStringLiteral("截止日期不能小于上期结存日期!"));
    md::ui::TWaitCursor hourglass;
    if (d != kNoSnapshotDate && !md::ui::QueryReturnsRow(OpeningExistsSQL(owner, d)))
        prepareOpening(owner, d);
    {
        TControlsDisabled still(*DBmaster_table);
        DBmaster_table->Close();
        DBmaster_table->SetSQL(ResultSQL(owner, d, end.toString(kDateFormat)));
        DBmaster_table->Open();
    }
    m_shownOwner = owner;
    ProgressBar1->setValue(0);
    UpdateActionState();
}

void TCostRecalcForm::prepareOpening(const QString& owner, const QString& d) {
    TRemoteUdpDataSet query;
    md::OpenQuery(query, SnapshotTableSQL(owner, d));
    const QString table = query.IsEmpty()
                              ? QString()
                              : query.FieldByName(QStringLiteral("tablename")).AsString().trimmed();
    // A snapshot without its table has no quantities to open the period with.
    if (table.isEmpty()) return;
    TRemoteUdpConnection* connection = md::Session().Connection;
    if (!connection) throw EDatabaseError(QStringLiteral("没有数据库连接"));
    // The balances and their unit cost go together: balances left without a
    // cost would be found next time and never costed.
    TTransactionScope transaction(*connection);
    md::ExecuteSQL(InsertOpeningSQL(owner, table, d));
    md::OpenQuery(query, PreviousDateSQL(owner, d));
    QString p = query.IsEmpty() ? QString() : dateText(query.FieldByName(QStringLiteral("fdate")));
    if (p.isEmpty()) p = kNoBalanceDate;
    md::ExecuteSQL(UpdateOpeningSQL(owner, p, d));
    transaction.commit();
}

void TCostRecalcForm::update_actionExecute() {
    if (!DBmaster_table->Active()) cac_actionExecute();
    adopt(Adoption(m_shownOwner));
}

void TCostRecalcForm::adopt(const TCostAdoption& adoption) {
    // The actions wait while the window paints between rows, and come back
    // however the writing ends.
    m_adopting = true;
    UpdateActionState();
    try {
        writeAdopted(adoption);
    } catch (...) {
        m_adopting = false;
        UpdateActionState();
        throw;
    }
    m_adopting = false;
    UpdateActionState();
    md::ui::MessageBox(adoption.doneMessage);
}

void TCostRecalcForm::writeAdopted(const TCostAdoption& adoption) {
    TRemoteUdpConnection* connection = md::Session().Connection;
    if (!connection) throw EDatabaseError(QStringLiteral("没有数据库连接"));
    TRemoteUdpDataSet& result = *DBmaster_table;
    auto costs = std::make_unique<TRemoteUdpDataSet>();
    costs->setObjectName(QStringLiteral("DBcosts"));
    costs->SetLockType(etBatchOptimistic);
    costs->SetupDataObject(adoption.statements);
    md::OpenQuery(*costs, adoption.targetSQL);

    // The rows' places by goods code, as the database compares codes: ignoring
    // case. Rows are only appended, so a place stays where it is.
    TField& key = costs->FieldByName(QStringLiteral("fgoodsid"));
    TField& cost = costs->FieldByName(adoption.costField);
    QHash<QString, int> rows;
    rows.reserve(costs->RecordCount() + result.RecordCount());
    for (int row = 0; row < costs->RecordCount(); ++row)
        rows.insert(costs->valueAt(row, key.Index()).toString().toCaseFolded(), row);

    const int resultKey = result.FieldByName(QStringLiteral("fgoodsid")).Index();
    const int resultCost = result.FieldByName(adoption.resultField).Index();
    const int total = result.RecordCount();
    ProgressBar1->setRange(0, qMax(1, total));
    ProgressBar1->setValue(0);
    QElapsedTimer sinceShown;
    sinceShown.start();
    for (int row = 0; row < total; ++row) {
        const QString code = result.valueAt(row, resultKey).toString();
        const QString folded = code.toCaseFolded();
        const auto found = rows.constFind(folded);
        const bool known = found != rows.cend();
        if (known) {
            costs->SetRecNo(*found + 1);
            costs->Edit();
        } else {
            costs->Append();
            key.SetAsString(code);
            if (adoption.fillNew) adoption.fillNew(*costs);
        }
        cost.SetValue(rounded(result.valueAt(row, resultCost), adoption.decimals));
        costs->Post();
        if (!known) rows.insert(folded, costs->RecNo() - 1);
        if (sinceShown.elapsed() >= kProgressMs) {
            ProgressBar1->setValue(row + 1);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            sinceShown.restart();
        }
    }
    ProgressBar1->setValue(ProgressBar1->maximum());
    TTransactionScope transaction(*connection);
    costs->UpdateBatch();
    if (!adoption.afterSave.isEmpty()) md::ExecuteSQL(adoption.afterSave);
    transaction.commit();
}

namespace md::ui {

void ShowModeless(QWidget& window) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window.parentWidget())) {
        frame->show();
        if (QMdiArea* area = frame->mdiArea()) area->setActiveSubWindow(frame);
        return;
    }
    auto* host = qobject_cast<QWidget*>(md::Session().HostMainForm);
    if (QMdiArea* area = host ? host->findChild<QMdiArea*>() : nullptr) {
        QMdiSubWindow* frame = area->addSubWindow(&window);
        frame->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(&window, &QObject::destroyed, frame, &QObject::deleteLater);
        frame->show();
        area->setActiveSubWindow(frame);
        return;
    }
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace md::ui
