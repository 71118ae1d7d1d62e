// The goods attribute filter on the database: the tree from the visible
// description fields, the condition built from it, and the rows it selects.
#include "goodsattributefilter.h"
#include "sizesfixture.h"
#include "sqlquote.h"

using namespace md::test;

namespace {

class AttributeFilterTest : public SizesTest {
  protected:
    AttributeFilterTest() {
        field(1, "brand", "品牌", true);
        field(2, "season", "季节", true);
        field(3, "sort", "类别", false);
        field(4, "sex", "品牌", true);  // a second field under the caption of the first
        for (const char* brand : {"雅韵", "O'K", "悦动"}) value("brand", brand);
        for (const char* season : {"春", "夏"}) value("season", season);
        value("sort", "外套");
        value("sex", "女");
        goods("G1", "雅韵", "春", "外套");
        goods("G2", "O'K", "夏", "外套");
        goods("G3", "悦动", "春", "T恤");
    }

    void field(int fid, const QString& name, const QString& caption, bool filters) {
        db.exec(QStringLiteral(
                    "insert into "
                    "ba_fieldremark(fid,ftablename,fname,ffieldname_sys,ffieldremark,visiblebit) "
                    "values(%1,'goods','%2','%3','%3',%4)")
                    .arg(fid)
                    .arg(name, caption)
                    .arg(filters ? 1 : 0));
    }
    void value(const QString& field, const QString& text) {
        db.exec(QStringLiteral("insert into ba_fieldvalues(ftablename,ffieldname,fFieldValues) "
                               "values('goods','%1',%2)")
                    .arg(field, QuotedStr(text)));
    }
    void goods(const QString& id, const QString& brand, const QString& season,
               const QString& sort) {
        db.exec(
            QStringLiteral(
                "insert into goods(goodsid,brand,season,sort,sex) values('%1',%2,'%3','%4','女')")
                .arg(id, QuotedStr(brand), season, sort));
    }
    QStringList selected(const QString& condition) {
        return rows(QStringLiteral("select a.goodsid from goods a where 1=1") +
                    (condition.isEmpty() ? QString() : QStringLiteral(" and ") + condition) +
                    QStringLiteral(" order by a.goodsid"));
    }

    TCheckTree tree;
};

}  // namespace

TEST_F(AttributeFilterTest, TheTreeHoldsTheFilteringFieldsOnly) {
    md::ui::FillGoodsAttributeTree(tree);
    QStringList captions;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) captions << tree.topLevelItem(i)->text(0);
    EXPECT_EQ(captions, (QStringList{"品牌", "季节", "品牌"})) << "类别 does not filter";
    const QStringList brands = serverFieldValues(db, "brand");
    EXPECT_EQ(TCheckTree::Children(tree.topLevelItem(0)), brands);
    EXPECT_EQ(QSet<QString>(brands.begin(), brands.end()), (QSet<QString>{"雅韵", "O'K", "悦动"}));

    // Unticking "是否过滤显示" takes the field out of every tree filled afterwards.
    db.exec("update ba_fieldremark set visiblebit=0 where fname='season'");
    md::ui::FillGoodsAttributeTree(tree);
    EXPECT_EQ(tree.topLevelItemCount(), 2);
    EXPECT_EQ(tree.TopNode("季节"), nullptr);
}

TEST_F(AttributeFilterTest, PartiallyTickedFieldsRestrictAndSelectTheSameRows) {
    md::ui::FillGoodsAttributeTree(tree);
    EXPECT_EQ(md::ui::GoodsAttributeCondition(tree, "a."), "");

    tree.SetChecked("品牌", "O'K", true);
    tree.SetChecked("品牌", "雅韵", true);
    const QString condition = md::ui::GoodsAttributeCondition(tree, "a.");
    EXPECT_EQ(condition, inCondition("a.brand", serverFieldValues(db, "brand"), {"雅韵", "O'K"}));
    EXPECT_EQ(selected(condition), (QStringList{"G1", "G2"}))
        << "a value with a quote selects its goods";

    // A fully ticked field restricts nothing; a partial one joins with "and".
    tree.TopNode("季节")->setCheckState(0, Qt::Checked);
    EXPECT_EQ(md::ui::GoodsAttributeCondition(tree, "a."), condition);
    tree.SetChecked("季节", "夏", false);
    EXPECT_EQ(md::ui::GoodsAttributeCondition(tree, "a."), condition + "and(a.season in('春'))");
    EXPECT_EQ(selected(md::ui::GoodsAttributeCondition(tree, "a.")), QStringList{"G1"});
}

TEST_F(AttributeFilterTest, CaptionsNameTheirColumnThroughTheFilteringFields) {
    md::ui::FillGoodsAttributeTree(tree);
    // The second "品牌" node holds the values of sex, but the first field in fid
    // order with that caption supplies the column.
    QTreeWidgetItem* second = tree.topLevelItem(2);
    tree.AddChild(second, "男");
    second->child(0)->setCheckState(0, Qt::Checked);
    // A caption that names no filtering field adds nothing, whatever is ticked.
    QTreeWidgetItem* sort = tree.AddTopNode("类别");
    tree.AddChild(sort, "外套")->setCheckState(0, Qt::Checked);
    tree.AddChild(sort, "T恤");
    ASSERT_EQ(sort->checkState(0), Qt::PartiallyChecked);
    EXPECT_EQ(md::ui::GoodsAttributeCondition(tree), "(brand in('女'))");
}

// A filtering field names its column in the condition: a name that is no goods
// column (here one that would select every row) is refused.
TEST_F(AttributeFilterTest, AFieldThatNamesNoGoodsColumnIsRefused) {
    field(5, "1=1 or brand", "风格", true);
    value("1=1 or brand", "雅韵");
    md::ui::FillGoodsAttributeTree(tree);
    QTreeWidgetItem* style = tree.topLevelItem(tree.topLevelItemCount() - 1);
    ASSERT_EQ(style->text(0), QStringLiteral("风格"));
    tree.AddChild(style, "悦动");
    style->child(0)->setCheckState(0, Qt::Checked);
    ASSERT_EQ(style->checkState(0), Qt::PartiallyChecked);
    EXPECT_THROW(md::ui::GoodsAttributeCondition(tree), EDatabaseError);
}
