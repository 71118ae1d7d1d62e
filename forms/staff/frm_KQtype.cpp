#include "frm_KQtype.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "datasource.h"
#include "formfactory.h"
#include "frm_KQtypeEdit.h"
#include "grid.h"
#include "remoteudpdataset.h"

using md::ui::Refuse;

namespace {

const char* const kCategories[] = {"加班", "请假", "出差", "休假"};

QString word(int category) {
    return QString::fromUtf8(kCategories[category - 1]);
}

}  // namespace

QString Tfrm_KQtype::CategoryName(int category) {
    return category >= 1 && category <= 4 ? word(category) : QString();
}

Tfrm_KQtype::Tfrm_KQtype(QWidget* owner) : Tbase_frmMdi(owner) {
    setWindowTitle(QStringLiteral("考勤参数设定"));
    DBmaster_table->SetSQL(QStringLiteral("select * from kq_type"));
    DBmaster_table->SetLockType(etOptimistic);
    DBmaster_table->OnCalcFields = [](TRemoteUdpDataSet& ds) {
        ds.FieldByName(QStringLiteral("ftypename"))
            .SetAsString(CategoryName(ds.FieldByName(QStringLiteral("ftype")).AsInteger()));
    };
    // The pages' own buttons take the place of the record editor's toolbar.
    ToolBar1->hide();
    auto* layout = qobject_cast<QVBoxLayout*>(ClientPanel->layout());
    if (!layout) layout = new QVBoxLayout(ClientPanel);
    PageControl1 = new QTabWidget(ClientPanel);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(PageControl1);
    for (int category = 1; category <= 4; ++category) buildPage(category);
    connect(PageControl1, &QTabWidget::currentChanged, this,
            [this] { Run([this] { PageChange(); }); });
    resize(680, 460);
}

void Tfrm_KQtype::buildPage(int category) {
    const QString kind = word(category);
    auto* page = new QWidget(PageControl1);
    page->setObjectName(QStringLiteral("TabSheet%1").arg(category));
    PageControl1->addTab(page, kind + QStringLiteral("类型定义"));
    auto* layout = new QVBoxLayout(page);
    auto* buttons = new QHBoxLayout;
    auto button = [&](const QString& name, const QString& caption) {
        auto* b = new QPushButton(caption, page);
        b->setObjectName(name + QString::number(category));
        buttons->addWidget(b);
        return b;
    };
    QPushButton* add =
        button(QStringLiteral("But_Add"), QStringLiteral("添加") + kind + QStringLiteral("类型"));
    QPushButton* edit =
        button(QStringLiteral("But_Edit"), QStringLiteral("修改") + kind + QStringLiteral("类型"));
    QPushButton* del =
        button(QStringLiteral("But_Del"), QStringLiteral("删除") + kind + QStringLiteral("类型"));
    QPushButton* excel = button(QStringLiteral("But_Excel"), QStringLiteral("输出EXCEL"));
    buttons->addStretch(1);
    OnClick(add, [this] { AddClick(); });
    OnClick(edit, [this] { EditClick(); });
    OnClick(del, [this] { DelClick(); });
    OnClick(excel, [this] { ExcelClick(); });
    AddButtons << add;
    EditButtons << edit;
    DelButtons << del;
    ExcelButtons << excel;
    layout->addLayout(buttons);

    auto* grid = new TDBGrid(page, QStringLiteral("cxGrid%1").arg(category),
                             QStringLiteral("cxGrid%1DBTableView1").arg(category));
    TDBTableView* v = grid->View();
    v->setDataSource(DbMaster_Source);
    v->AddColumn(QStringLiteral("fname"), kind + QStringLiteral("类型名称")).width(160);
    v->AddColumn(QStringLiteral("fremark"), kind + QStringLiteral("类型说明")).width(260);
    v->AddColumn(QStringLiteral("ftypename"), QStringLiteral("所属类别")).width(80);
    v->SetInputAllowed(false);
    connect(v, &QAbstractItemView::doubleClicked, this, [this] { Run([this] { EditClick(); }); });
    layout->addWidget(grid);
    Grids << grid;
}

void Tfrm_KQtype::FormCreate() {
    Tbase_frmMdi::FormCreate();
    if (!DBmaster_table->FindField(QStringLiteral("ftypename")))
        DBmaster_table->AddCalcField(QStringLiteral("ftypename"), ftString, 10);
    DBmaster_table->Open();
    PageChange();
}

int Tfrm_KQtype::Category() const {
    return PageControl1->currentIndex() + 1;
}

TDBTableView* Tfrm_KQtype::MasterView() const {
    return Grids.value(PageControl1->currentIndex())
               ? Grids.value(PageControl1->currentIndex())->View()
               : nullptr;
}

void Tfrm_KQtype::PageChange() {
    if (!DBmaster_table->Active()) return;
    DBmaster_table->SetFilter(QStringLiteral("ftype=") + QString::number(Category()));
    DBmaster_table->SetFiltered(true);
}

void Tfrm_KQtype::refuseSystemType() {
    if (DBmaster_table->FieldByName(QStringLiteral("fisSys")).AsBoolean())
        Refuse(QStringLiteral("系统默认的考勤类型，不能修改与删除！"));
}

void Tfrm_KQtype::runEditDialog(const QString& heading) {
    QPointer<Tfrm_KQtypeEdit> dialog =
        md::ui::CreateForm<Tfrm_KQtypeEdit>(DbMaster_Source, heading, this);
    md::ui::ExecModal(*dialog);
    if (dialog) dialog->deleteLater();
    // Closed by its frame: what was typed is dropped, as with 取消.
    if (DBmaster_table->InEditState()) DBmaster_table->Cancel();
}

void Tfrm_KQtype::AddClick() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    ds.Append();
    ds.FieldByName(QStringLiteral("fisSys")).SetAsBoolean(false);
    ds.FieldByName(QStringLiteral("ftype")).SetAsInteger(Category());
    runEditDialog(AddButtons.at(Category() - 1)->text());
}

void Tfrm_KQtype::EditClick() {
    if (DBmaster_table->IsEmpty()) return;
    refuseSystemType();
    DBmaster_table->Edit();
    runEditDialog(EditButtons.at(Category() - 1)->text());
}

void Tfrm_KQtype::DelClick() {
    if (DBmaster_table->IsEmpty()) return;
    refuseSystemType();
    if (!md::ui::AskYesNo(QStringLiteral("是否确认删除此记录?"))) return;
    DBmaster_table->Delete();
}

void Tfrm_KQtype::ExcelClick() {
    excel_actionExecute();
}

MD_REGISTER_FORM(Tfrm_KQtype);
