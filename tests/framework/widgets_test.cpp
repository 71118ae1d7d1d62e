// Widgets on their own: tree list, check tree and the goods attribute tree,
// data-aware editors, grid lookups, bands and clipboard.
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>

#include "dbcontrols.h"
#include "fixture.h"
#include "goodsattributefilter.h"
#include "gridfooter.h"

using namespace md::test;

namespace {

// An in-memory table: fcode, fname, fparentcode, fqty, fflag (bit), fkind.
std::unique_ptr<TRemoteUdpDataSet> table(const QList<QStringList>& rows) {
    auto ds = std::make_unique<TRemoteUdpDataSet>(QStringLiteral("mem"), nullptr);
    ds->AddField("fcode", ftString, 20);
    ds->AddField("fname", ftString, 50);
    ds->AddField("fparentcode", ftString, 20);
    ds->AddField("fqty", ftInteger);
    ds->AddField("fflag", ftInteger);
    ds->AddField("fkind", ftString, 10);
    ds->CreateDataSet();
    for (const QStringList& row : rows) {
        ds->Append();
        for (int i = 0; i < row.size(); ++i) ds->Fields(i).SetAsString(row.at(i));
        ds->Post();
    }
    ds->First();
    return ds;
}

QStringList codes(TRemoteUdpDataSet* ds) {
    QStringList out;
    for (ds->First(); !ds->Eof(); ds->Next()) out << ds->FieldByName("fcode").AsString();
    return out;
}

QStringList topTexts(const QAbstractItemModel& model, const QModelIndex& parent = QModelIndex()) {
    QStringList out;
    for (int r = 0; r < model.rowCount(parent); ++r)
        out << model.index(r, 0, parent).data().toString();
    return out;
}

}  // namespace

TEST(TreeList, OrphansAndCyclesBecomeTopLevelNodes) {
    auto ds = table({{"A", "甲", "0"},
                     {"B", "乙", "A"},
                     {"C", "丙", "X"},
                     {"D", "丁", "E"},
                     {"E", "戊", "D"},
                     {"F", "己", "F"},
                     {"G", "庚", ""}});
    TDataSource source;
    source.setDataSet(ds.get());
    TDBTreeList tree;
    tree.AddColumn("fname", "名称");
    tree.setDataSource(&source);
    QAbstractItemModelTester tester(tree.model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(topTexts(*tree.model()), (QStringList{"甲", "丙", "丁", "己", "庚"}));
    const QModelIndex d = tree.model()->index(2, 0);
    EXPECT_EQ(topTexts(*tree.model(), d), QStringList{"戊"}) << "the cycle D-E breaks at D";
    EXPECT_EQ(topTexts(*tree.model(), tree.model()->index(0, 0)), QStringList{"乙"});

    // A changed parent moves the node; a changed name only repaints it.
    ds->Locate("fcode", "C");
    ds->Edit();
    ds->FieldByName("fparentcode").SetAsString("A");
    ds->Post();
    EXPECT_EQ(topTexts(*tree.model(), tree.model()->index(0, 0)), (QStringList{"乙", "丙"}));
    EXPECT_EQ(tree.currentIndex().data().toString(), "丙");
    tree.reportColumnCount();
    EXPECT_EQ(tree.reportRowCount(), 7);
    EXPECT_EQ(tree.reportText(2, 0), "  丙");
}

TEST(CheckTree, ParentsShowTheirChildrensState) {
    TCheckTree tree;
    QTreeWidgetItem* brand = tree.AddTopNode("品牌");
    tree.AddChild(brand, "甲");
    tree.AddChild(brand, "乙");
    tree.AddChild(brand, "丙", true);
    EXPECT_EQ(TCheckTree::Children(brand), (QStringList{"丙", "甲", "乙"}));
    EXPECT_EQ(brand->checkState(0), Qt::Unchecked);
    tree.SetChecked("品牌", "甲", true);
    EXPECT_EQ(brand->checkState(0), Qt::PartiallyChecked);
    tree.SetChecked("品牌", "乙", true);
    tree.SetChecked("品牌", "丙", true);
    EXPECT_EQ(brand->checkState(0), Qt::Checked);
    brand->setCheckState(0, Qt::Unchecked);
    EXPECT_TRUE(TCheckTree::CheckedChildren(brand).isEmpty())
        << "unticking the field unticks its values";
}

TEST_F(FrameworkTest, GoodsAttributeTreeKeepsTheServersOrderAndBuildsTheCondition) {
    db.exec(
        "insert into ba_fieldremark(fid,ftablename,fname,ffieldremark,visiblebit) "
        "values(2,'goods','season','季节',1)");
    db.exec(
        "insert into ba_fieldremark(fid,ftablename,fname,ffieldremark,visiblebit) "
        "values(1,'goods','brand','品牌',1)");
    db.exec(
        "insert into ba_fieldremark(fid,ftablename,fname,ffieldremark,visiblebit) "
        "values(3,'goods','sort','类别',0)");
    db.exec(
        "insert into ba_fieldremark(fid,ftablename,fname,ffieldremark,visiblebit) "
        "values(4,'goods','item','季节',1)");
    for (const char* row :
         {"'goods','brand','乙牌'", "'goods','season','春'", "'goods','brand','甲牌 '",
          "'goods','season','夏'", "'goods','sort','上衣'", "'goods','brand','O''K'"})
        db.exec(QStringLiteral(
                    "insert into ba_fieldvalues(ftablename,ffieldname,fFieldValues) values(%1)")
                    .arg(QString::fromUtf8(row)));
    TCheckTree tree;
    md::ui::FillGoodsAttributeTree(tree);
    ASSERT_EQ(tree.topLevelItemCount(), 3);
    EXPECT_EQ(tree.topLevelItem(0)->text(0), "品牌");
    const QStringList brands = md::test::serverFieldValues(db, "brand");
    EXPECT_EQ(TCheckTree::Children(tree.topLevelItem(0)), brands);
    EXPECT_EQ(QSet<QString>(brands.begin(), brands.end()), (QSet<QString>{"乙牌", "甲牌", "O'K"}))
        << "values trimmed";
    EXPECT_EQ(TCheckTree::Children(tree.topLevelItem(1)),
              md::test::serverFieldValues(db, "season"));
    EXPECT_EQ(tree.topLevelItem(2)->text(0), "季节");

    EXPECT_EQ(md::ui::GoodsAttributeCondition(tree, "a."), "")
        << "nothing ticked restricts nothing";
    tree.SetChecked("品牌", "乙牌", true);
    tree.SetChecked("品牌", "O'K", true);
    tree.topLevelItem(1)->setCheckState(0, Qt::Checked);  // all values: no restriction
    EXPECT_EQ(md::ui::GoodsAttributeCondition(tree, "a."),
              md::test::inCondition("a.brand", brands, {"乙牌", "O'K"}));
    // Two fields with one caption: the first in fid order supplies the column for both.
    tree.topLevelItem(2)->setCheckState(0, Qt::Unchecked);
    tree.SetChecked("季节", "春", false);
    EXPECT_EQ(md::ui::GoodsAttributeCondition(tree),
              md::test::inCondition("brand", brands, {"乙牌", "O'K"}) + "and(season in('夏'))");
}

TEST_F(FrameworkTest, DataAwareEditorsShowAndWriteTheCurrentRecord) {
    auto ds = table({{"A", "甲", "0", "1", "1", "X"}, {"B", "乙", "0", "2", "0", "Y"}});
    TDataSource source;
    source.setDataSet(ds.get());
    TDBEdit edit(&source, "fname");
    TDBCheckBox check("启用", &source, "fflag");
    TDBComboBox kind(&source, "fkind", {"X", "Y", "Z"}, false);
    TDBMemo memo(&source, "fname");
    EXPECT_EQ(edit.text(), "甲");
    EXPECT_TRUE(check.isChecked());
    EXPECT_EQ(kind.currentText(), "X");
    ds->Next();
    EXPECT_EQ(edit.text(), "乙");
    EXPECT_FALSE(check.isChecked());
    EXPECT_FALSE(edit.isReadOnly()) << "the source edits on typing by default";

    edit.setText("乙二");
    Q_EMIT edit.textEdited("乙二");
    EXPECT_EQ(ds->State(), dsEdit);
    EXPECT_EQ(memo.text(), "乙二") << "other editors of the field follow";
    check.click();
    EXPECT_EQ(ds->FieldByName("fflag").AsInteger(), 1);
    kind.setCurrentIndex(2);
    Q_EMIT kind.textActivated("Z");
    EXPECT_EQ(ds->FieldByName("fkind").AsString(), "Z");
    ds->Post();

    // Without AutoEdit, a browsing record takes nothing.
    source.SetAutoEdit(false);
    ds->First();
    ds->Next();
    EXPECT_TRUE(edit.isReadOnly());
    check.click();
    EXPECT_EQ(ds->State(), dsBrowse);
    EXPECT_TRUE(check.isChecked());
    // A refused value is shown back as stored.
    ds->FieldByName("fname").OnValidate = [](TField& f) {
        if (f.AsString() == "坏") md::ui::Refuse("名称不对");
    };
    ds->Edit();
    edit.setText("坏");
    Q_EMIT edit.textEdited("坏");
    EXPECT_EQ(edit.text(), "乙二");
    EXPECT_EQ(script.texts(), QStringList{"名称不对"});
}

TEST_F(FrameworkTest, GridLookupColumnsShowTheListsText) {
    auto kinds = table({{"X", "西服"}, {"Y", "衬衫"}});
    auto goods = table({{"A", "甲", "", "1", "0", "X"},
                        {"B", "乙", "", "2", "1", "Y"},
                        {"C", "丙", "", "3", "0", "Q"}});
    TDataSource source;
    source.setDataSet(goods.get());
    TDBGrid grid(nullptr);
    TDBTableView* v = grid.View();
    v->AddColumn("fcode", "编号");
    v->AddColumn("fkind", "类型")
        .lookup(kinds.get(), "fcode", {"fcode", "fname"}, {"编号", "名称"}, "fname");
    v->AddColumn("fflag", "标记").checkBox();
    v->setDataSource(&source);
    TGridModel* m = v->gridModel();
    QAbstractItemModelTester tester(m, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(v->VisibleSections(), (QList<int>{0, 5, 4}));
    EXPECT_EQ(m->index(0, 5).data().toString(), "西服");
    EXPECT_EQ(m->index(2, 5).data().toString(), "Q")
        << "a value missing from the list shows as stored";
    EXPECT_EQ(m->index(1, 4).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    EXPECT_EQ(m->headerData(5, Qt::Horizontal).toString(), "类型");
    v->reportColumnCount();
    EXPECT_EQ(v->reportText(1, 1), "衬衫");
    EXPECT_EQ(v->reportText(1, 2), "是");
    EXPECT_FALSE(v->reportNumber(1, 1).isValid());

    // A hidden column leaves the grid, the print and the export.
    v->Column("fkind")->hidden();
    EXPECT_EQ(v->reportColumnCount(), 2);
}

TEST_F(FrameworkTest, BandsSpanTheirColumnsAndClipboardCopiesAndPastes) {
    auto goods = table({{"A", "甲", "", "1"}, {"B", "乙", "", "2"}});
    TDataSource source;
    source.setDataSet(goods.get());
    TDBGrid grid(nullptr);
    grid.resize(600, 300);
    TDBTableView* v = grid.View();
    const int basic = v->AddBand("基础资料");
    const int stock = v->AddBand("库存");
    v->AddColumn("fcode", "编号").band(basic).width(80);
    v->AddColumn("fname", "名称").band(basic).width(100);
    v->AddColumn("fqty", "数量").band(stock).width(60);
    v->Options().Clipboard = true;
    v->setDataSource(&source);
    grid.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(grid.BandHeader()->isVisible());
    EXPECT_EQ(grid.BandHeader()->bandRect(basic).width(), 180);
    EXPECT_EQ(grid.BandHeader()->bandRect(stock).width(), 60);
    EXPECT_EQ(grid.BandHeader()->bandRect(stock).left(),
              grid.BandHeader()->bandRect(basic).right() + 1);

    v->selectRow(1);
    v->CopyToClipboard();
    EXPECT_EQ(QApplication::clipboard()->text(), "B\t乙\t2");

    QApplication::clipboard()->setText("C\t丙\t7\nD\t丁\t8\n");
    v->SetInputAllowed(false);
    v->setCurrentIndex(v->gridModel()->index(1, 0));
    v->PasteFromClipboard();
    EXPECT_EQ(goods->RecordCount(), 2) << "no input outside editing";
    v->SetInputAllowed(true);
    v->PasteFromClipboard();
    goods->CheckBrowseMode();
    EXPECT_EQ(goods->RecordCount(), 3);
    EXPECT_EQ(codes(goods.get()), (QStringList{"A", "C", "D"}));
    goods->Last();
    EXPECT_EQ(goods->FieldByName("fqty").AsInteger(), 8);
}
