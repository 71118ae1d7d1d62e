// The size editor keeps the workstation's copy of the size groups in step.
#include <QAction>
#include <QTableWidget>

#include "goods/frm_size.h"
#include "goodsimportfixture.h"

using namespace md::test;

namespace {

QStringList localSizes() {
    QStringList out;
    for (const QVariantList& row :
         md::ReadLocalRows("ba_size",
                           "select size_class,size_name,displayindex,fieldname from ba_size "
                           "order by size_class,displayindex"))
        out << row.value(0).toString() + "|" + row.value(1).toString() + "|" +
                   row.value(2).toString() + "|" + row.value(3).toString();
    return out;
}

}  // namespace

TEST_F(GoodsImportTest, SavingAndDeletingSizesCopyThemToTheLocalDatabase) {
    auto* sizes = open<Tfrm_size>();
    sizes->edit_action->trigger();
    sizes->SetCells(1, 1, "XS");  // the first group's first size
    sizes->post_action->trigger();
    EXPECT_TRUE(script.shown().isEmpty());
    const QStringList server = rows(
        "select size_class,size_name,displayindex,fieldname from ba_size "
        "order by size_class,displayindex");
    EXPECT_EQ(localSizes(), server);
    EXPECT_EQ(server.size(), 5);

    // The group the import knew nothing of is now known to it.
    auto* form = openImport();
    form->PasteText(goodsSheet({{"K01", "童装", "KIDS", "01", "", ""}}));
    form->But_Check->click();
    EXPECT_EQ(form->Cell(0, "fremark"), "");

    script.answer(md::ui::Answer::Ok);
    script.answer(md::ui::Answer::Ok);
    sizes->StringGrid1->setCurrentCell(0, 0);
    const QString deleted = sizes->Cells(0, 1);
    sizes->del_action->trigger();
    EXPECT_EQ(localSizes().filter(deleted + "|").size(), 0);
    EXPECT_EQ(localSizes().size(), rows("select * from ba_size").size());
}

TEST_F(GoodsImportTest, ALocalDatabaseThatCannotBeWrittenDoesNotFailTheSave) {
    md::Shared().LocalDataConnStr =
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + home.filePath("no/such/folder/x.db");
    auto* sizes = open<Tfrm_size>();
    sizes->edit_action->trigger();
    sizes->SetCells(1, 1, "XS");
    sizes->post_action->trigger();
    EXPECT_TRUE(script.shown().isEmpty()) << script.texts().join("\n");
    EXPECT_EQ(db.count("ba_size where size_name='XS'"), 1);
    EXPECT_EQ(sizes->State(), Tfrm_size::ssBrowse);
}
