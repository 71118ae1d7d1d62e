// The grid view on its own: cell editors of every kind, sorting that leaves
// the dataset's order alone, and a table of 100,000 rows.
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <iostream>

#include "editors.h"
#include "fixture.h"
#include "griddelegate.h"

using namespace md::test;

namespace {

std::unique_ptr<TRemoteUdpDataSet> sample(const QStringList& codes) {
    auto ds = std::make_unique<TRemoteUdpDataSet>(QStringLiteral("sample"), nullptr);
    ds->AddField("fcode", ftString, 5);
    ds->AddField("fdate", ftDate);
    ds->AddField("ftime", ftTime);
    ds->AddField("fprice", ftCurrency);
    ds->AddField("fkind", ftString, 10);
    ds->AddField("fnote", ftString, 200);
    ds->AddField("fname", ftString, 20);
    ds->AddField("fbegin", ftDateTime);
    ds->CreateDataSet();
    for (const QString& code : codes) {
        ds->Append();
        ds->FieldByName("fcode").SetAsString(code);
        ds->Post();
    }
    ds->First();
    return ds;
}

class Cells {
  public:
    explicit Cells(TRemoteUdpDataSet* ds) : grid(nullptr) {
        source.setDataSet(ds);
        view = grid.View();
        view->AddColumn("fcode", "编号");
        view->AddColumn("fdate", "日期").date();
        view->AddColumn("ftime", "时间").time();
        view->AddColumn("fbegin", "上班时间").time();
        view->AddColumn("fprice", "单价").currency("0.00");
        view->AddColumn("fkind", "类型").valueList({"西服", "衬衫"});
        view->AddColumn("fnote", "备注").memo();
        view->AddColumn("fname", "名称").button([this](TGridColumn&) {
            ++clicks;
            source.DataSet()->FieldByName("fname").SetAsString("选中的");
        });
        view->setDataSource(&source);
        delegate = qobject_cast<TGridDelegate*>(view->itemDelegate());
    }
    QModelIndex at(int row, const char* field) {
        return view->gridModel()->index(row, view->SectionOf(field));
    }
    QWidget* open(const QModelIndex& index) {
        QWidget* editor = delegate->createEditor(view->viewport(), QStyleOptionViewItem(), index);
        delegate->setEditorData(editor, index);
        return editor;
    }
    void write(QWidget* editor, const QModelIndex& index) {
        delegate->setModelData(editor, view->gridModel(), index);
    }

    TDataSource source;
    TDBGrid grid;
    TDBTableView* view;
    TGridDelegate* delegate;
    int clicks = 0;
};

}  // namespace

TEST(GridCells, EveryEditorKindReadsAndWritesItsField) {
    auto ds = sample({"A"});
    Cells cells(ds.get());

    auto* code = qobject_cast<QLineEdit*>(cells.open(cells.at(0, "fcode")));
    ASSERT_TRUE(code);
    EXPECT_EQ(code->maxLength(), 5);

    const QModelIndex date = cells.at(0, "fdate");
    auto* dateEdit = qobject_cast<md::ui::TNullDateEdit*>(cells.open(date));
    ASSERT_TRUE(dateEdit);
    EXPECT_EQ(dateEdit->valueText(), "") << "an empty date stays empty";
    cells.write(dateEdit, date);
    EXPECT_EQ(ds->State(), dsBrowse) << "writing back an unchanged value does not edit";
    dateEdit->setDate(QDate(2024, 5, 1));
    cells.write(dateEdit, date);
    EXPECT_EQ(ds->FieldByName("fdate").AsString(), "2024-05-01");
    EXPECT_EQ(date.data().toString(), "2024-05-01");

    const QModelIndex time = cells.at(0, "ftime");
    auto* timeEdit = qobject_cast<md::ui::TNullTimeEdit*>(cells.open(time));
    ASSERT_TRUE(timeEdit);
    timeEdit->setText("08:30:00");
    cells.write(timeEdit, time);
    EXPECT_EQ(ds->FieldByName("ftime").AsString(), "08:30:00");

    // A time in a date-time column: shown as a time, written with a date.
    const QModelIndex begin = cells.at(0, "fbegin");
    auto* beginEdit = qobject_cast<md::ui::TNullTimeEdit*>(cells.open(begin));
    beginEdit->setText("09:15:00");
    cells.write(beginEdit, begin);
    EXPECT_EQ(ds->FieldByName("fbegin").AsDateTime(), QDateTime(QDate(1900, 1, 1), QTime(9, 15)));
    EXPECT_EQ(begin.data().toString(), "09:15:00");

    const QModelIndex price = cells.at(0, "fprice");
    auto* priceEdit = qobject_cast<QLineEdit*>(cells.open(price));
    ASSERT_TRUE(priceEdit);
    int pos = 0;
    QString bad = "12a";
    EXPECT_EQ(priceEdit->validator()->validate(bad, pos), QValidator::Invalid);
    priceEdit->setText("12.5");
    cells.write(priceEdit, price);
    EXPECT_DOUBLE_EQ(ds->FieldByName("fprice").AsFloat(), 12.5);
    EXPECT_EQ(price.data().toString(), "12.50");
    EXPECT_EQ(qobject_cast<QLineEdit*>(cells.open(price))->text(), "12.5")
        << "edited without the display format";

    const QModelIndex kind = cells.at(0, "fkind");
    auto* combo = qobject_cast<QComboBox*>(cells.open(kind));
    ASSERT_TRUE(combo);
    EXPECT_FALSE(combo->isEditable()) << "a fixed list";
    combo->setCurrentIndex(1);
    cells.write(combo, kind);
    EXPECT_EQ(ds->FieldByName("fkind").AsString(), "衬衫");

    const QModelIndex note = cells.at(0, "fnote");
    auto* memo = qobject_cast<QPlainTextEdit*>(cells.open(note));
    ASSERT_TRUE(memo);
    memo->setPlainText("第一行\n第二行");
    cells.write(memo, note);
    EXPECT_EQ(ds->FieldByName("fnote").AsString(), "第一行\n第二行");
    EXPECT_EQ(note.data().toString(), "第一行 …");

    const QModelIndex name = cells.at(0, "fname");
    auto* button = qobject_cast<md::ui::TButtonEdit*>(cells.open(name));
    ASSERT_TRUE(button);
    button->button()->click();
    EXPECT_EQ(cells.clicks, 1);
    EXPECT_EQ(button->text(), "选中的") << "the editor shows what the handler wrote";
}

TEST(GridCells, SortingReordersTheViewOnly) {
    auto ds = sample({"B", "D", "A", "C", "E"});
    Cells cells(ds.get());
    TDBTableView* v = cells.view;
    QAbstractItemModelTester tester(v->gridModel(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    v->Options().ColumnSorting = true;
    v->ApplyOptions();
    v->sortByColumn(v->SectionOf("fcode"), Qt::AscendingOrder);
    EXPECT_EQ(cells.at(0, "fcode").data().toString(), "A");
    v->setCurrentIndex(cells.at(0, "fcode"));
    EXPECT_EQ(ds->FieldByName("fcode").AsString(), "A");
    EXPECT_EQ(ds->RecNo(), 3) << "the dataset keeps its order";
    ds->Locate("fcode", "E");
    EXPECT_EQ(v->currentIndex().row(), 4);
    v->reportColumnCount();
    EXPECT_EQ(v->reportText(1, 0), "B") << "print and export follow the screen";
    v->Options().ColumnSorting = false;
    v->ApplyOptions();
    EXPECT_EQ(cells.at(0, "fcode").data().toString(), "B");
}

TEST(GridScale, AHundredThousandRows) {
    auto ds = std::make_unique<TRemoteUdpDataSet>(QStringLiteral("big"), nullptr);
    ds->AddField("fcode", ftString, 12);
    ds->AddField("fname", ftString, 30);
    ds->AddField("fqty", ftInteger);
    ds->AddField("fprice", ftCurrency);
    ds->CreateDataSet();
    ds->DisableControls();
    for (int i = 0; i < 100000; ++i) {
        ds->Append();
        ds->Fields(0).SetAsString(QStringLiteral("G%1").arg(i, 6, 10, QLatin1Char('0')));
        ds->Fields(1).SetAsString(QStringLiteral("货品%1").arg(i));
        ds->Fields(2).SetAsInteger(i % 7);
        ds->Fields(3).SetAsFloat(1.25);
        ds->Post();
    }
    ds->First();
    ds->EnableControls();
    TDataSource source;
    source.setDataSet(ds.get());
    TDBGrid grid(nullptr);
    TDBTableView* v = grid.View();
    v->AddColumn("fcode", "货号");
    v->AddColumn("fname", "货品名称");
    v->AddColumn("fqty", "数量").footer(TSummaryKind::Sum, "0");
    v->AddColumn("fprice", "单价").currency().footer(TSummaryKind::Sum, "合计：0.00");
    v->Options().Footer = true;
    grid.resize(800, 600);

    QElapsedTimer timer;
    timer.start();
    v->setDataSource(&source);
    grid.show();
    QCoreApplication::processEvents();
    const qint64 shown = timer.restart();
    EXPECT_EQ(v->gridModel()->rowCount(), 100000);
    EXPECT_EQ(grid.Footer()->text(*v->Column("fprice")), "合计：125000.00");
    const qint64 footer = timer.restart();
    v->scrollToBottom();
    v->setCurrentIndex(v->gridModel()->index(99999, 0));
    QCoreApplication::processEvents();
    EXPECT_EQ(ds->RecNo(), 100000);
    const qint64 bottom = timer.restart();
    v->Options().ColumnSorting = true;
    v->ApplyOptions();
    v->sortByColumn(v->SectionOf("fcode"), Qt::DescendingOrder);
    EXPECT_EQ(v->gridModel()->index(0, 0).data().toString(), "G099999");
    const qint64 sorted = timer.restart();
    QTemporaryDir dir;
    md::ui::ExportToXlsx(*v, dir.filePath("big.xlsx"));
    const qint64 exported = timer.restart();
    ds->Close();
    ds->CreateDataSet();
    EXPECT_EQ(v->gridModel()->rowCount(), 0);
    std::cout << "[ timing ] 100000 rows: shown " << shown << " ms, footer " << footer
              << " ms, to the last row " << bottom << " ms, sorted " << sorted << " ms, exported "
              << exported << " ms" << std::endl;
}
