// The description-field settings dialog and the demo's description fields.
#include <QPushButton>

#include "datasource.h"
#include "demo/demodata.h"
#include "goods/frm_GoodsField.h"
#include "goodsattributefilter.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "sizesfixture.h"

using namespace md::test;

namespace {

class GoodsFieldTest : public SizesTest {
  protected:
    GoodsFieldTest() {
        db.exec(
            "insert into "
            "ba_fieldremark(fid,ftablename,fname,ffieldname_sys,ffieldremark,visiblebit) "
            "values(2,'goods','season','季节','季节',1)");
        db.exec(
            "insert into "
            "ba_fieldremark(fid,ftablename,fname,ffieldname_sys,ffieldremark,visiblebit) "
            "values(1,'goods','brand','品牌','品牌',1)");
        db.exec(
            "insert into "
            "ba_fieldremark(fid,ftablename,fname,ffieldname_sys,ffieldremark,visiblebit) "
            "values(1001,'dt_client','discount1','折扣1','期货折扣',1)");
        db.exec(
            "insert into ba_fieldvalues(ftablename,ffieldname,fFieldValues) "
            "values('goods','season','春')");
        db.exec(
            "insert into ba_fieldvalues(ftablename,ffieldname,fFieldValues) "
            "values('goods','brand','雅韵')");
        for (const char* row :
             {"'brand','品牌'", "'season','季节'", "'goodsid','货号'", "'discount1','折扣'"})
            db.exec(QStringLiteral("insert into repofield(fieldname,fieldremark) values(%1)")
                        .arg(QString::fromUtf8(row)));
    }

    QStringList remarks() {
        return rows("select fid,ffieldremark,visiblebit from ba_fieldremark order by fid");
    }
    QStringList reportCaptions() {
        return rows("select fieldname,fieldremark from repofield order by fieldname");
    }

    // Runs the dialog; `work` edits it and presses a button.
    int run(const std::function<void(Tfrm_GoodsField&)>& work) {
        script.onDialog([&](QDialog& dialog) {
            auto& form = static_cast<Tfrm_GoodsField&>(dialog);
            EXPECT_EQ(Tfrm_GoodsField::Instance(), &form);
            work(form);
            return int(QDialog::Rejected);
        });
        return Tfrm_GoodsField::Execute();
    }
};

}  // namespace

TEST_F(GoodsFieldTest, ConfirmSendsTheChangesAndCopiesTheCaptionsToReports) {
    const int result = run([](Tfrm_GoodsField& form) {
        TRemoteUdpDataSet& ds = *form.DBmaster_table;
        ASSERT_EQ(ds.RecordCount(), 2) << "goods fields only";
        ds.First();
        EXPECT_EQ(ds.FieldByName("fname").AsString(), "brand") << "in fid order";
        ds.Edit();
        ds.FieldByName("ffieldremark").SetAsString("品牌名");
        ds.Next();
        ds.Edit();
        ds.FieldByName("visiblebit").SetAsBoolean(false);  // left in the edit state
        form.But_OK->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(Tfrm_GoodsField::Instance(), nullptr) << "freed on close";
    EXPECT_EQ(remarks(), (QStringList{"1|品牌名|1", "2|季节|0", "1001|期货折扣|1"}));
    EXPECT_EQ(reportCaptions(),
              (QStringList{"brand|品牌名", "discount1|折扣", "goodsid|货号", "season|季节"}));

    // A tree filled afterwards has the new caption and no season.
    TCheckTree tree;
    md::ui::FillGoodsAttributeTree(tree);
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    EXPECT_EQ(tree.topLevelItem(0)->text(0), "品牌名");
}

TEST_F(GoodsFieldTest, CancelAndTheFrameLeaveBothTablesAsTheyWere) {
    const QStringList before = remarks();
    const QStringList reports = reportCaptions();
    auto editBoth = [](Tfrm_GoodsField& form) {
        TRemoteUdpDataSet& ds = *form.DBmaster_table;
        for (ds.First(); !ds.Eof(); ds.Next()) {
            ds.Edit();
            ds.FieldByName("ffieldremark")
                .SetAsString("改" + ds.FieldByName("ffieldremark").AsString());
            ds.FieldByName("visiblebit").SetAsBoolean(false);
            ds.Post();
        }
    };
    EXPECT_EQ(run([&](Tfrm_GoodsField& form) {
                  editBoth(form);
                  form.But_Cancel->click();
              }),
              QDialog::Rejected);
    EXPECT_EQ(remarks(), before);
    EXPECT_EQ(reportCaptions(), reports);

    // Closed by the frame: the cached changes go with the dialog.
    EXPECT_EQ(run(editBoth), QDialog::Rejected);
    EXPECT_EQ(remarks(), before);
    EXPECT_EQ(Tfrm_GoodsField::Instance(), nullptr);
}

TEST_F(SizesTest, TheDemoOffersItsDescriptionFieldsForFiltering) {
    md::server::createDemoData(db.conn());
    TCheckTree tree;
    md::ui::FillGoodsAttributeTree(tree);
    QTreeWidgetItem* brand = tree.TopNode("品牌");
    ASSERT_NE(brand, nullptr);
    EXPECT_TRUE(TCheckTree::Children(brand).contains(md::server::demo::kShopUserBrand));
    EXPECT_EQ(tree.TopNode("货号"), nullptr) << "the goods code does not filter";
    EXPECT_EQ(db.count("ba_fieldremark where ftablename='dt_client' and fid between 1001 and 1006"),
              6);
    EXPECT_EQ(
        db.count(
            "repofield a join ba_fieldremark b on a.fieldname=b.fname where b.ftablename='goods' "
            "and a.fieldremark=b.ffieldremark"),
        db.count("ba_fieldremark where ftablename='goods'"));
}
