#include "frm_barcodeAdd.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "datasource.h"
#include "frm_barcolor.h"
#include "frm_barsize.h"
#include "grid.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "scopes.h"
#include "session.h"
#include "sharedvalues.h"
#include "styles.h"
#include "waitcursor.h"

using namespace md::ui;

namespace {

const QString kPartGoods = QStringLiteral("货号");
const QString kPartColour = QStringLiteral("颜色");
const QString kPartSize = QStringLiteral("尺码");

// A pass over every listed row. The controls that could start another pass or
// edit the rows are disabled while it runs; the progress bar moves at most
// every 100 ms and waiting events are processed at the same moments, by the
// clock and not per row, so the window stays responsive and a million rows do
// not pay for a million event loops.
class TRowPass {
  public:
    TRowPass(QProgressBar* bar, int rows, const QList<QWidget*>& frozen, bool& busy)
        : m_bar(bar), m_busy(busy) {
        for (QWidget* widget : frozen)
            if (widget->isEnabled()) {
                widget->setEnabled(false);
                m_frozen << widget;
            }
        m_busy = true;
        m_bar->setRange(0, qMax(1, rows));
        m_bar->setValue(0);
        m_clock.start();
    }
    ~TRowPass() {
        for (QWidget* widget : std::as_const(m_frozen)) widget->setEnabled(true);
        m_bar->setValue(0);
        m_busy = false;
    }
    TRowPass(const TRowPass&) = delete;
    TRowPass& operator=(const TRowPass&) = delete;

    void step(int row) {
        if ((row & 63) != 0 || m_clock.elapsed() < kInterval) return;
        m_bar->setValue(row);
        QCoreApplication::processEvents();
        m_clock.restart();
    }

  private:
    static constexpr qint64 kInterval = 100;  // ms
    QProgressBar* m_bar;
    bool& m_busy;
    QList<QWidget*> m_frozen;
    QElapsedTimer m_clock;
};

// A mapping table as a hash, built once per composing: the key as the
// case-insensitive whole-value search compares it, the first row of a key wins.
QHash<QString, QString> mappingOf(const TRemoteUdpDataSet& table, const QString& keyField,
                                  const QString& valueField) {
    QHash<QString, QString> map;
    const int key = table.FieldByName(keyField).Index();
    const int value = table.FieldByName(valueField).Index();
    map.reserve(table.RecordCount());
    for (int row = 0; row < table.RecordCount(); ++row) {
        const QString folded = table.valueAt(row, key).toString().toCaseFolded();
        if (!map.contains(folded)) map.insert(folded, table.valueAt(row, value).toString());
    }
    return map;
}

// The mapped code of a colour or size; the code itself when the table has no
// row for it or maps it to nothing.
QString mappedPart(const QHash<QString, QString>& map, const QString& code) {
    const auto found = map.constFind(code.trimmed().toCaseFolded());
    if (found != map.constEnd() && !found->trimmed().isEmpty()) return *found;
    return code;
}

QLabel* label(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

}  // namespace

Tfrm_barcodeAdd::Tfrm_barcodeAdd(QWidget* owner) : Tbase_frm(owner) {
    setObjectName(QStringLiteral("frm_barcodeAdd"));
    setWindowTitle(QStringLiteral("条形码生成向导"));

    Query_Check = new TRemoteUdpDataSet(QStringLiteral("Query_Check"), this);
    Query_Check->SetLockType(etBatchOptimistic);
    DS_Check = new TDataSource(QStringLiteral("DS_Check"), this);
    DS_Check->setDataSet(Query_Check);
    Query_Color = new TRemoteUdpDataSet(QStringLiteral("Query_Color"), this);
    Query_Size = new TRemoteUdpDataSet(QStringLiteral("Query_Size"), this);
    Query_Insert = new TRemoteUdpDataSet(QStringLiteral("Query_Insert"), this);
    Query_Insert->SetLockType(etBatchOptimistic);
    Query_Temp = new TRemoteUdpDataSet(QStringLiteral("Query_Temp"), this);

    auto* layout = new QVBoxLayout(this);
    GroupBox_Rule = new QGroupBox(QStringLiteral("生成规则"), this);
    GroupBox_Rule->setObjectName(QStringLiteral("GroupBox_Rule"));
    buildRulePanel(GroupBox_Rule);
    layout->addWidget(GroupBox_Rule);
    buildGrid(this);
    layout->addWidget(cxGrid1, 1);
    buildButtons(this);

    // A dialog of fixed size.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(860, 600);
}

void Tfrm_barcodeAdd::buildRulePanel(QWidget* parent) {
    auto* grid = new QGridLayout(parent);
    grid->setHorizontalSpacing(6);

    Radio_Rule1 = new QRadioButton(QStringLiteral("货号+颜色+尺码"), parent);
    Radio_Rule1->setObjectName(QStringLiteral("Radio_Rule1"));
    Radio_Rule1->setChecked(true);
    grid->addWidget(Radio_Rule1, 0, 0);

    // Rule 2: text, part, text, part, text, part, serial.
    Radio_Rule2 = new QRadioButton(QStringLiteral("万能设置"), parent);
    Radio_Rule2->setObjectName(QStringLiteral("Radio_Rule2"));
    grid->addWidget(Radio_Rule2, 1, 0);
    auto* pattern = new QHBoxLayout;
    QLineEdit** texts[] = {&Edit_Text1, &Edit_Text2, &Edit_Text3};
    QComboBox** parts[] = {&Combo_Part1, &Combo_Part2, &Combo_Part3};
    for (int i = 0; i < 3; ++i) {
        QLineEdit* text = *texts[i] = new QLineEdit(parent);
        text->setObjectName(QStringLiteral("Edit_Text%1").arg(i + 1));
        text->setFixedWidth(64);
        pattern->addWidget(text);
        QComboBox* part = *parts[i] = new QComboBox(parent);
        part->setObjectName(QStringLiteral("Combo_Part%1").arg(i + 1));
        part->setEditable(true);
        part->addItems({kPartGoods, kPartColour, kPartSize});
        part->setCurrentIndex(-1);
        part->setFixedWidth(76);
        pattern->addWidget(part);
    }
    pattern->addSpacing(8);
    pattern->addWidget(label(QStringLiteral("流水号("), parent));
    Spin_Digits = new QSpinBox(parent);
    Spin_Digits->setObjectName(QStringLiteral("Spin_Digits"));
    Spin_Digits->setRange(0, 12);
    Spin_Digits->setValue(6);
    pattern->addWidget(Spin_Digits);
    pattern->addWidget(label(QStringLiteral("位数字)"), parent));
    pattern->addStretch();
    grid->addLayout(pattern, 1, 1);

    Radio_Rule3 = new QRadioButton(QStringLiteral("国标码"), parent);
    Radio_Rule3->setObjectName(QStringLiteral("Radio_Rule3"));
    grid->addWidget(Radio_Rule3, 2, 0);
    auto* national = new QHBoxLayout;
    Edit_Prefix = new QLineEdit(parent);
    Edit_Prefix->setObjectName(QStringLiteral("Edit_Prefix"));
    Edit_Prefix->setFixedWidth(140);
    national->addWidget(Edit_Prefix);
    national->addStretch();
    grid->addLayout(national, 2, 1);

    auto* mapping = new QHBoxLayout;
    Check_Mapping = new QCheckBox(QStringLiteral("使用颜色与尺码对照表"), parent);
    Check_Mapping->setObjectName(QStringLiteral("Check_Mapping"));
    mapping->addWidget(Check_Mapping);
    mapping->addSpacing(12);
    But_Color = new QPushButton(QStringLiteral("颜色对照表"), parent);
    But_Color->setObjectName(QStringLiteral("But_Color"));
    But_Size = new QPushButton(QStringLiteral("尺码对照表"), parent);
    But_Size->setObjectName(QStringLiteral("But_Size"));
    for (QPushButton* button : {But_Color, But_Size}) {
        button->setAutoDefault(false);
        mapping->addWidget(button);
    }
    mapping->addStretch();
    grid->addLayout(mapping, 3, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    OnClick(But_Color, [this] { But_ColorClick(); });
    OnClick(But_Size, [this] { But_SizeClick(); });
}

void Tfrm_barcodeAdd::buildGrid(QWidget* parent) {
    cxGrid1 = new TDBGrid(parent, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    TDBTableView* v = cxGrid1DBTableView1;
    v->setDataSource(DS_Check);
    // The variant is what the row is for; only its codes are corrected by hand.
    v->AddColumn(QStringLiteral("goodsid"), QStringLiteral("货号"))
        .width(130)
        .readOnly()
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    v->AddColumn(QStringLiteral("colorid"), QStringLiteral("颜色编号")).width(80).readOnly();
    v->AddColumn(QStringLiteral("size_name"), QStringLiteral("尺码")).width(70).readOnly();
    v->AddColumn(QStringLiteral("fbarcode1"), QStringLiteral("条形码1")).width(220);
    v->AddColumn(QStringLiteral("fbarcode2"), QStringLiteral("条形码2")).width(220);
    TGridViewOptions& options = v->Options();
    options.Footer = true;
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    options.ColumnSorting = false;
    options.ColumnFiltering = false;
    v->ApplyOptions();
    v->SetInputAllowed(true);
}

void Tfrm_barcodeAdd::buildButtons(QWidget* parent) {
    auto* bar = new QHBoxLayout;
    ProgressBar1 = new QProgressBar(parent);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setValue(0);
    bar->addWidget(ProgressBar1, 1);
    bar->addSpacing(12);
    auto button = [&](QPushButton*& member, const char* name, const QString& caption,
                      void (Tfrm_barcodeAdd::*handler)()) {
        member = new QPushButton(caption, parent);
        member->setObjectName(QString::fromLatin1(name));
        member->setAutoDefault(false);
        member->setMinimumWidth(96);
        bar->addWidget(member);
        OnClick(member, [this, handler] { (this->*handler)(); });
    };
    button(But_Code1, "But_Code1", QStringLiteral("更新条形码1"), &Tfrm_barcodeAdd::But_Code1Click);
    button(But_Code2, "But_Code2", QStringLiteral("更新条形码2"), &Tfrm_barcodeAdd::But_Code2Click);
    button(But_OK, "But_OK", QStringLiteral("确定"), &Tfrm_barcodeAdd::But_OKClick);
    button(But_Cancel, "But_Cancel", QStringLiteral("取消"), &Tfrm_barcodeAdd::But_CancelClick);
    static_cast<QVBoxLayout*>(parent->layout())->addLayout(bar);
}

// ---------------------------------------------------------------- create and show

void Tfrm_barcodeAdd::FormCreate() {
    Tbase_frm::FormCreate();
    ApplySharedColours(this);
}

void Tfrm_barcodeAdd::FormShow() {
    Tbase_frm::FormShow();
    Edit_Prefix->setText(md::Shared().NationalCodePrefix);
    md::ui::TWaitCursor wait;
    md::OpenQuery(*Query_Check, QStringLiteral("select * from FN_barcodecheck()"));
}

QList<QWidget*> Tfrm_barcodeAdd::controls() const {
    return {GroupBox_Rule, cxGrid1, But_Code1, But_Code2, But_OK, But_Cancel};
}

bool Tfrm_barcodeAdd::FormCloseQuery() {
    return !m_busy && Tbase_frm::FormCloseQuery();
}

// ---------------------------------------------------------------- mapping tables

void Tfrm_barcodeAdd::But_ColorClick() {
    Tfrm_barcolor::Execute(this);
    // The next composing reads the mapping as the dialog left it.
    Query_Color->Close();
}

void Tfrm_barcodeAdd::But_SizeClick() {
    Tfrm_barsize::Execute(this);
    Query_Size->Close();
}

// ---------------------------------------------------------------- composing

void Tfrm_barcodeAdd::But_Code1Click() {
    composeCodes(QStringLiteral("fbarcode1"));
}

void Tfrm_barcodeAdd::But_Code2Click() {
    composeCodes(QStringLiteral("fbarcode2"));
}

void Tfrm_barcodeAdd::composeCodes(const QString& targetField) {
    if (!Query_Check->Active()) return;
    enum class Rule { None, Plain, Pattern, National };
    const Rule rule = Radio_Rule1->isChecked()   ? Rule::Plain
                      : Radio_Rule2->isChecked() ? Rule::Pattern
                      : Radio_Rule3->isChecked() ? Rule::National
                                                 : Rule::None;
    const QString prefix = Edit_Prefix->text();
    if (rule == Rule::National) {
        const QString problem = md::NationalCodePrefixProblem(prefix);
        if (!problem.isEmpty()) Refuse(problem);
    }
    Query_Check->CheckBrowseMode();

    if (!Query_Color->Active())
        md::OpenQuery(*Query_Color, QStringLiteral("select * from barcode_color"));
    if (!Query_Size->Active())
        md::OpenQuery(*Query_Size, QStringLiteral("select * from barcode_size"));
    md::OpenQuery(*Query_Temp, QStringLiteral("select count(*) as fno from barcode"));
    qint64 serial = Query_Temp->FieldByName(QStringLiteral("fno")).AsLargeInt() + 1;
    Query_Temp->Close();

    TField& target = Query_Check->FieldByName(targetField);
    const int rowCount = Query_Check->RecordCount();
    const int serialDigits = 12 - int(prefix.trimmed().size());
    if (rule == Rule::National) {
        // Serials beyond their digits would be cut to codes given before:
        // refuse before any row changes.
        int toCode = 0;
        for (int row = 0; row < rowCount; ++row)
            if (Query_Check->valueAt(row, target.Index()).toString().trimmed().isEmpty()) ++toCode;
        const qint64 last = serial + toCode - 1;
        if (toCode > 0 && QString::number(last).size() > serialDigits)
            Refuse(QStringLiteral("国标码“%1”后只有%2位流水号，给%3个条码编号要用到%4，超出了位数。"
                                  "请改用位数较少的国标码前缀。")
                       .arg(prefix)
                       .arg(serialDigits)
                       .arg(toCode)
                       .arg(last));
    }

    QHash<QString, QString> colours, sizes;
    const bool mapped = Check_Mapping->isChecked();
    if (mapped) {
        colours =
            mappingOf(*Query_Color, QStringLiteral("fcolorid"), QStringLiteral("fbarcolorid"));
        sizes = mappingOf(*Query_Size, QStringLiteral("fsize"), QStringLiteral("fbarcodesize"));
    }
    const QString texts[] = {Edit_Text1->text().trimmed(), Edit_Text2->text().trimmed(),
                             Edit_Text3->text().trimmed()};
    const QString parts[] = {Combo_Part1->currentText(), Combo_Part2->currentText(),
                             Combo_Part3->currentText()};
    const int patternDigits = Spin_Digits->value();

    const TField& goods = Query_Check->FieldByName(QStringLiteral("goodsid"));
    const TField& colour = Query_Check->FieldByName(QStringLiteral("colorid"));
    const TField& size = Query_Check->FieldByName(QStringLiteral("size_name"));
    {
        TRowPass pass(ProgressBar1, rowCount, controls(), m_busy);
        TControlsDisabled detached(*Query_Check);
        int row = 0;
        for (Query_Check->First(); !Query_Check->Eof(); Query_Check->Next()) {
            pass.step(++row);
            if (!target.AsString().trimmed().isEmpty()) continue;  // no serial taken
            const QString c = mapped ? mappedPart(colours, colour.AsString()) : colour.AsString();
            const QString s = mapped ? mappedPart(sizes, size.AsString()) : size.AsString();
            QString code;
            if (rule == Rule::Plain) {
                code = goods.AsString().trimmed() + c + s;
            } else if (rule == Rule::Pattern) {
                for (int i = 0; i < 3; ++i) {
                    code += texts[i];
                    if (parts[i] == kPartGoods)
                        code += goods.AsString().trimmed();
                    else if (parts[i] == kPartColour)
                        code += c;
                    else if (parts[i] == kPartSize)
                        code += s;
                }
                if (patternDigits > 0)
                    code += QString::number(serial).rightJustified(patternDigits, QLatin1Char('0'));
            } else if (rule == Rule::National) {
                code = md::CompleteEan13(prefix + QString::number(serial).rightJustified(
                                                      serialDigits, QLatin1Char('0')));
            }
            if (rule != Rule::None) {
                Query_Check->Edit();
                target.SetAsString(code);
                Query_Check->Post();
            }
            ++serial;
        }
    }
    // After the grid has taken the rows again, so that it follows to the first.
    Query_Check->First();
}

// ---------------------------------------------------------------- saving

void Tfrm_barcodeAdd::But_OKClick() {
    TRemoteUdpConnection* connection = md::Session().Connection;
    if (!connection) throw EDatabaseError(QStringLiteral("没有数据库连接"));
    if (Query_Check->Active()) Query_Check->CheckBrowseMode();
    md::OpenQuery(*Query_Insert, QStringLiteral("select fgoodsid,fcolorid,fsize,fbarcode1,"
                                                "fbarcode2 from barcode where 1=2"));
    if (Query_Check->Active()) {
        TRowPass pass(ProgressBar1, Query_Check->RecordCount(), controls(), m_busy);
        TControlsDisabled detached(*Query_Check);
        TBookmarkKept place(*Query_Check);
        const TField* from[] = {&Query_Check->FieldByName(QStringLiteral("goodsid")),
                                &Query_Check->FieldByName(QStringLiteral("colorid")),
                                &Query_Check->FieldByName(QStringLiteral("size_name")),
                                &Query_Check->FieldByName(QStringLiteral("fbarcode1")),
                                &Query_Check->FieldByName(QStringLiteral("fbarcode2"))};
        TField* to[] = {&Query_Insert->FieldByName(QStringLiteral("fgoodsid")),
                        &Query_Insert->FieldByName(QStringLiteral("fcolorid")),
                        &Query_Insert->FieldByName(QStringLiteral("fsize")),
                        &Query_Insert->FieldByName(QStringLiteral("fbarcode1")),
                        &Query_Insert->FieldByName(QStringLiteral("fbarcode2"))};
        int row = 0;
        for (Query_Check->First(); !Query_Check->Eof(); Query_Check->Next()) {
            pass.step(++row);
            Query_Insert->Append();
            for (int i = 0; i < 5; ++i) to[i]->SetValue(from[i]->Value());
            Query_Insert->Post();
        }
    }
    {
        // The new rows and their goods numbers arrive together or not at all;
        // a failure leaves the appended rows cached for another try.
        md::ui::TWaitCursor wait;
        TTransactionScope transaction(*connection);
        TRowPass pass(ProgressBar1, Query_Insert->RecordCount(), controls(), m_busy);
        // The send moves the bar too; the hook goes before the bar on every way out.
        struct TProgressHook {
            TRemoteUdpDataSet& rows;
            ~TProgressHook() { rows.OnUpdateProgress = nullptr; }
        } hook{*Query_Insert};
        Query_Insert->OnUpdateProgress = [&pass](int sent, int) { pass.step(sent); };
        Query_Insert->UpdateBatch();
        md::ExecuteSQL(
            QStringLiteral("update barcode set goodsno=b.goodsno from barcode a join goods b on "
                           "a.fgoodsid=b.goodsid"));
        transaction.commit();
    }
    Query_Insert->Close();
    accept();
}

void Tfrm_barcodeAdd::But_CancelClick() {
    reject();
}
