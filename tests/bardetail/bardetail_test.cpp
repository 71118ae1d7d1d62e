// 条形码批量打印: typing the quantity list, its checks, printing the pieces it
// expands into, the label menu settings, material mode, and what the list
// keeps after clearing and closing.
#include "bardetailfixture.h"

using namespace md::test;

class Bardetail : public BardetailTest {};

TEST_F(Bardetail, AListWithoutQuantitiesPrintsNothing) {
    db.exec(
        "insert into barcodedetail(fGoodsId,fcolorid,qty,s1,s2,s3) values('A1001','01',0,0,0,0)");
    auto* form = openForm();
    ASSERT_EQ(form->Quantities->DBdetail_table->RecordCount(), 1);
    form->PopupMenu1->Menu_bar->trigger();
    EXPECT_EQ(script.texts(), QStringList{"请选择录入要打印的明细内容"});
    EXPECT_EQ(db.count("barcode_temp"), 0);
    EXPECT_FALSE(QFile::exists(pdf));

    // An empty list says the same.
    script.clear();
    db.exec("delete from barcodedetail");
    form->Quantities->OpenList();
    form->PopupMenu1->Menu_bar->trigger();
    EXPECT_EQ(script.texts(), QStringList{"请选择录入要打印的明细内容"});
    EXPECT_FALSE(QFile::exists(pdf));
}

// Two in slot 1 and one in slot 3: three pieces, two of the first size and one
// of the third, in barcode_temp, in the local copy and on three printed tags.
TEST_F(Bardetail, TypedQuantitiesPrintOneTagPerPiece) {
    auto* form = openForm();
    typeRow(form, "a1001", "02", {"2", "", "1"});
    EXPECT_EQ(cell(form, 0, "fGoodsId"), "A1001") << "upper case as typed";
    EXPECT_EQ(cell(form, 0, "goodsname"), "品名A1001");
    EXPECT_EQ(cell(form, 0, "colorname_ch"), "白色");
    EXPECT_EQ(cell(form, 0, "fretailprice"), "199.00") << "the goods' price to start with";
    EXPECT_EQ(cell(form, 0, "s2"), "") << "0 is drawn empty";

    form->PopupMenu1->Menu_bar->trigger();
    EXPECT_EQ(script.texts(), QStringList{"您是否现在确认批量打印条形码？"});
    EXPECT_EQ(rows("select fGoodsId,fcolorid,qty,s1,s2,s3,fretailprice from barcodedetail"),
              QStringList{"A1001|02|3|2|0|1|199"});
    EXPECT_EQ(pieces(), (QStringList{"A1001|02|L", "A1001|02|S", "A1001|02|S"}));
    EXPECT_EQ(localPieces(),
              (QStringList{"A1001|02|L|A100102L", "A1001|02|S|A100102S", "A1001|02|S|A100102S"}));
    EXPECT_EQ(rows(Tfrm_bardetail::PrintSQL()).size(), 3);
    EXPECT_EQ(pdfPages(), 3);

    // No to the question prints nothing, but the pieces are counted again.
    QFile::remove(pdf);
    script.clear();
    script.answer(md::ui::Answer::No);
    goTo(form, 0, "s2");
    typeCell("4");
    form->PopupMenu1->Menu_bar->trigger();
    EXPECT_EQ(db.count("barcode_temp"), 7);
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(Bardetail, TheSizeCaptionsFollowTheCurrentRow) {
    db.exec("insert into barcodedetail(fGoodsId,fcolorid,qty,s1,s2) values('P2001','01',3,1,2)");
    db.exec("insert into barcodedetail(fGoodsId,fcolorid,qty,s1) values('A1001','01',1,1)");
    auto* form = openForm();
    TBarQuantityGrid* grid = form->Quantities;
    const int first = grid->DBdetail_table->FieldByName("fGoodsId").AsString() == "P2001" ? 0 : 1;
    EXPECT_EQ(grid->SizeCaptions(), (QStringList{"28", "30", ""})) << "the first row's at opening";
    goTo(form, 1 - first, "s1");
    EXPECT_EQ(grid->SizeCaptions(), (QStringList{"S", "M", "L"}));
    press(Qt::Key_Up);
    press(Qt::Key_Down);
    press(Qt::Key_Up);
    EXPECT_EQ(grid->DBdetail_table->FieldByName("fGoodsId").AsString(), "P2001");
    EXPECT_EQ(grid->SizeCaptions(), (QStringList{"28", "30", ""}));
    EXPECT_TRUE(view(form)->horizontalHeader()->isSectionHidden(view(form)->SectionOf("s4")))
        << "slots above the ones in use are hidden";
    EXPECT_EQ(form->size(), QSize(734, 494));
}

// What is refused is told and nothing reaches barcodedetail.
TEST_F(Bardetail, WrongInputIsRefusedBeforeAnythingIsWritten) {
    auto* form = openForm();
    view(form)->setFocus();
    press(Qt::Key_F2);
    typeCell("X9999");
    EXPECT_EQ(script.texts(), QStringList{"没有此货号,请检查重新录入!"});
    EXPECT_EQ(cell(form, 0, "fGoodsId"), "");
    EXPECT_EQ(cell(form, 0, "goodsname"), "");

    script.clear();
    goTo(form, 0, "fcolorid");
    typeCell("01");
    EXPECT_EQ(script.texts(), QStringList{"请先输入货号！"});
    view(form)->CancelEditor();

    script.clear();
    goTo(form, 0, "fGoodsId");
    typeCell("A1001");
    goTo(form, 0, "s1");
    for (const char* wrong : {"-1", "1.5"}) {
        script.clear();
        QWidget* editor = openEditor(form);
        if (editor) editor->setFocus();
        typeCell(QString::fromLatin1(wrong));
        EXPECT_EQ(script.texts().size(), 1) << wrong;
        EXPECT_NE(openEditor(form), nullptr) << wrong;
        view(form)->CancelEditor();
    }
    EXPECT_EQ(cell(form, 0, "s1"), "");

    // A row without a colour is not saved; the print stops there.
    script.clear();
    goTo(form, 0, "s1");
    typeCell("2");
    form->PopupMenu1->Menu_bar->trigger();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown().at(0).text, "颜色编号不能为空");
    EXPECT_EQ(script.shown().at(0).title, "提示");
    EXPECT_EQ(db.count("barcodedetail"), 0);
    EXPECT_EQ(db.count("barcode_temp"), 0);

    // An unknown colour of a known item is kept, without a name.
    script.clear();
    goTo(form, 0, "fcolorid");
    typeCell("77");
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('|').toStdString();
    EXPECT_EQ(cell(form, 0, "colorname_ch"), "");
}

TEST_F(Bardetail, F3DeletesTheCurrentRowAfterTheQuestion) {
    db.exec("insert into barcodedetail(fGoodsId,fcolorid,qty,s1) values('A1001','01',1,1)");
    auto* form = openForm();
    view(form)->setFocus();
    script.answer(md::ui::Answer::No);
    press(Qt::Key_F3);
    EXPECT_EQ(script.texts(), QStringList{"是否确认删除一行？"});
    EXPECT_EQ(form->Quantities->DBdetail_table->RecordCount(), 1);
    press(Qt::Key_F3);
    EXPECT_EQ(form->Quantities->DBdetail_table->RecordCount(), 0);
    form->Quantities->SendChanges();
    EXPECT_EQ(db.count("barcodedetail"), 0);
}

TEST_F(Bardetail, F5TakesTheQuantitiesOfTheColourSizeEntry) {
    auto* form = openForm();
    script.onDialog([](QDialog& dialog) {
        auto& entry = dynamic_cast<Tfrm_colorsize&>(dialog);
        entry.LoadColors("A1001");
        TRemoteUdpDataSet& rows = *entry.DBmaster_table;
        EXPECT_TRUE(rows.Locate("colorid", "02"));
        rows.Edit();
        rows.FieldByName("s2").SetAsInteger(3);
        rows.Post();
        entry.But_AddClick();
        return int(QDialog::Accepted);
    });
    view(form)->setFocus();
    press(Qt::Key_F5);
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('|').toStdString();
    ASSERT_EQ(form->Quantities->DBdetail_table->RecordCount(), 1);
    EXPECT_EQ(cell(form, 0, "fGoodsId"), "A1001");
    EXPECT_EQ(cell(form, 0, "colorname_ch"), "白色");
    EXPECT_EQ(cell(form, 0, "qty"), "3");
    EXPECT_EQ(form->Quantities->SizeCaptions(), (QStringList{"S", "M", "L"}));
}

// With Bar1 set the menu offers its program instead of the report; a program
// item starts the program folder (lower case) + the setting with opentype,
// after the pieces went to the local table.
TEST_F(Bardetail, TheLabelMenuFollowsBarList) {
    home.writeFile("softconfig.ini", "[BarList]\nopentype=open\nBar1=TagPrint.exe\nBar3=\n");
    QStringList started;
    md::ui::SetLabelProgramStarter(
        [&](const QString& verb, const QString& path) { started << verb + " " + path; });
    db.exec("insert into barcodedetail(fGoodsId,fcolorid,qty,s1) values('P2001','01',2,2)");
    auto* form = openForm();
    TLabelMenu* menu = form->PopupMenu1;
    EXPECT_FALSE(menu->Menu_bar->isVisible());
    EXPECT_TRUE(menu->Menu_ShoeBar1->isVisible());
    EXPECT_EQ(menu->Menu_ShoeBar1->text(), "TagPrint.exe");
    EXPECT_FALSE(menu->Menu_ShoeBar2->isVisible());
    EXPECT_FALSE(menu->Menu_ShoeBar3->isVisible());

    menu->Menu_ShoeBar1->trigger();
    EXPECT_EQ(started, QStringList{"open " + md::HostProgramFolder().toLower() + "TagPrint.exe"});
    EXPECT_EQ(localPieces(), (QStringList{"P2001|01|28|P20010128", "P2001|01|28|P20010128"}));
    EXPECT_FALSE(QFile::exists(pdf));

    // Bar1 empty: the report item is back, captions as built.
    menu->Apply(TBarListSettings{});
    EXPECT_TRUE(menu->Menu_bar->isVisible());
    EXPECT_FALSE(menu->Menu_ShoeBar1->isVisible());
    TBarListSettings two;
    two.bar2 = "Price.exe";
    menu->Apply(two);
    EXPECT_TRUE(menu->Menu_bar->isVisible());
    EXPECT_EQ(menu->Menu_ShoeBar2->text(), "Price.exe");
    EXPECT_EQ(two.opentype, "Print");
}

// Material mode: "货品名称" is captioned "材质" and holds the goods' material
// (color1), "颜色说明" the colour's own description (color2).
TEST_F(Bardetail, MaterialModeShowsTheMaterialAndTheColourDescription) {
    db.exec("insert into config([id],mode) values(50018,1)");
    db.exec("insert into ba_goodscolor(fgoodsid,fcolorid,fcolor) values('A1001','02','珍珠白')");
    auto* form = openForm();
    EXPECT_TRUE(form->Quantities->MaterialMode());
    EXPECT_EQ(view(form)->Column("goodsname")->Caption(), "材质");
    typeRow(form, "A1001", "02", {"1"});
    EXPECT_EQ(cell(form, 0, "goodsname"), "纯棉");
    EXPECT_EQ(cell(form, 0, "colorname_ch"), "珍珠白");
    EXPECT_EQ(form->Quantities->DBcolor_list->FieldNames(),
              (QStringList{"goodsid", "colorid", "color", "color1"}));

    // A goods item without material text: 材质 stays empty.
    typeRow(form, "P2001", "01", {"1"});
    EXPECT_EQ(cell(form, 1, "goodsname"), "");
    EXPECT_EQ(cell(form, 1, "colorname_ch"), "黑色");
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('|').toStdString();
}

// No on close keeps what the last print sent for the next opening (rows typed
// since are dropped); Yes empties both lists. 清 空 asks the same question.
TEST_F(Bardetail, ClosingAndClearingKeepOrEmptyTheList) {
    auto* form = openForm();
    typeRow(form, "A1001", "01", {"1"});
    form->PopupMenu1->Menu_bar->trigger();
    typeRow(form, "P2001", "01", {"2"});
    script.clear();
    script.answer(md::ui::Answer::No);
    form->But_Close->click();
    flushDeletes();
    EXPECT_EQ(script.texts(), QStringList{"您是否确认清空此表?"});
    EXPECT_EQ(rows("select fGoodsId,qty from barcodedetail"), QStringList{"A1001|1"});
    EXPECT_EQ(db.count("barcode_temp"), 1);

    form = openForm();
    EXPECT_EQ(form->Quantities->DBdetail_table->RecordCount(), 1);
    script.clear();
    script.answer(md::ui::Answer::No);
    form->But_Clear->click();
    EXPECT_EQ(form->Quantities->DBdetail_table->RecordCount(), 1);
    form->But_Clear->click();
    EXPECT_EQ(script.texts(), (QStringList{"您是否确认清空此表?", "您是否确认清空此表?"}));
    EXPECT_EQ(form->Quantities->DBdetail_table->RecordCount(), 0);
    EXPECT_TRUE(form->Quantities->DBdetail_table->Active());
    EXPECT_EQ(db.count("barcodedetail"), 0);

    typeRow(form, "A1001", "01", {"1"});
    form->Quantities->SendChanges();
    form->But_Close->click();
    flushDeletes();
    EXPECT_EQ(db.count("barcodedetail"), 0);
    EXPECT_EQ(db.count("barcode_temp"), 0);
}

TEST_F(Bardetail, TheBarcodeFormsBatchPrintOpensThisWindow) {
    auto* factory = md::ui::formFactoryFor("Tfrm_bardetail");
    ASSERT_NE(factory, nullptr);
}

// F4 (and the "货号" cell's button): the goods colours marked in the pick
// dialog that the list does not hold yet become rows, named and priced.
TEST_F(Bardetail, F4AppendsThePickedGoodsColoursNotListedYet) {
    db.exec("insert into barcodedetail(fGoodsId,fcolorid,qty,s1) values('A1001','01',1,1)");
    auto* form = openForm();
    script.onDialog([](QDialog& dialog) {
        auto& pick = dynamic_cast<TGoodsPickDialog&>(dialog);
        pick.But_FindClick();
        TRemoteUdpDataSet& rows = *pick.DBmaster_table;
        for (rows.First(); !rows.Eof(); rows.Next()) {
            rows.Edit();
            rows.FieldByName("checkid").SetAsBoolean(true);
            rows.Post();
        }
        pick.But_OK->click();
        return pick.result();
    });
    view(form)->setFocus();
    press(Qt::Key_F4);
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('|').toStdString();
    QStringList listed;
    const TRemoteUdpDataSet& list = *form->Quantities->DBdetail_table;
    for (int row = 0; row < list.RecordCount(); ++row)
        listed << cell(form, row, "fGoodsId") + "|" + cell(form, row, "fcolorid") + "|" +
                      cell(form, row, "colorname_ch") + "|" + cell(form, row, "fretailprice");
    listed.sort();
    EXPECT_EQ(listed,
              (QStringList{"A1001|01|黑色|", "A1001|02|白色|199.00", "P2001|01|黑色|199.00"}));
}
