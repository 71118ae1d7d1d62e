// The detail page of the goods form: saving (codes carried to the child rows,
// colour descriptions, a failing transaction), copying, deleting, the checks,
// the switches read at creation, colours and the picture.
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "goodsfixture.h"
#include "gridmodel.h"
#include "serverdb.h"

using namespace md::test;
using md::ui::Answer;

namespace {

const QChar CR(13);

}  // namespace

class GoodsRecord : public GoodsTest {};

TEST_F(GoodsRecord, ChangedCodeCarriesColoursAndItemPricesInTheSameSave) {
    addGoods(QStringLiteral("A01"), QStringLiteral("雅韵"), QStringLiteral("春"),
             QStringLiteral("01,02"));
    db.exec(
        QStringLiteral("insert into goodsitemprice(fgoodsid,fitem,fprice,GoodsNo) "
                       "values('A01','包装',1.5,'NA01')"));
    Tfrm_goods* form = open();
    ASSERT_EQ(field(form->DBmaster_table, "goodsid"), QStringLiteral("A01"));
    trigger(form->edit_action);
    ASSERT_TRUE(
        form->cxDBVerticalGrid1->SetRowText(QStringLiteral("goodsid"), QStringLiteral("b01")));
    db.conn().log().clear();
    trigger(form->post_action);

    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join(QLatin1Char('/')).toStdString();
    EXPECT_EQ(rows(QStringLiteral("select goodsid,goodsno from goods")),
              QStringList{QStringLiteral("B01|NA01")});
    EXPECT_EQ(rows(QStringLiteral("select fgoodsid,fcolorid from goodscolor order by fcolorid")),
              (QStringList{QStringLiteral("B01|01"), QStringLiteral("B01|02")}));
    EXPECT_EQ(rows(QStringLiteral("select fgoodsid,fitem from goodsitemprice")),
              QStringList{QStringLiteral("B01|包装")});
    const QStringList log = statements();
    EXPECT_TRUE(log.contains(QStringLiteral(
        "update goodscolor set fcolorid=:fcolorid,fgoodsid=:fgoodsid where colorno=:colorno")));
    EXPECT_TRUE(log.contains(QStringLiteral(
        "update goodsitemprice set fgoodsid=:fgoodsid,fitem=:fitem,fprice=:fprice,GoodsNo=:GoodsNo "
        "where fautoid=:fautoid")));
    EXPECT_TRUE(log.contains(QStringLiteral("exec P_UpdateGoodsSize 'B01'")));
    // The goods statement sets every column but the row key, addressed by it.
    const QString update =
        log.filter(QStringLiteral("update goods set goodsid=:goodsid,goodssortid=:goodssortid,"))
            .value(0);
    EXPECT_TRUE(update.endsWith(QStringLiteral(
        ",fshopenddate=:fshopenddate,lastupdate=:lastupdate where GoodsNo=:GoodsNo")))
        << update;
    // The list shows the new code without being read again, and sends nothing for it.
    EXPECT_EQ(listCodes(form), QStringList{QStringLiteral("B01")});
    EXPECT_FALSE(form->DBgoodslist->UpdatesPending());
    EXPECT_EQ(rows(QStringLiteral("select goodsid from goodssize")).size(),
              3);  // the sizes followed the code
}

TEST_F(GoodsRecord, ColourDescriptionIsStoredOnlyWhenItDiffersFromTheColourName) {
    addGoods(QStringLiteral("A01"), QStringLiteral("雅韵"), QStringLiteral("春"),
             QStringLiteral("01,02"));
    Tfrm_goods* form = open();
    auto describe = [&](int row, const QString& text) {
        form->DBcolor->SetRecNo(row);
        form->DBcolor->Edit();
        form->DBcolor->FieldByName(QStringLiteral("goodscolor")).SetAsString(text);
        form->DBcolor->Post();
    };
    trigger(form->edit_action);
    describe(1, QStringLiteral("黑色"));  // the basic colour's own name
    describe(2, QStringLiteral("米白"));
    db.conn().log().clear();
    trigger(form->post_action);
    EXPECT_EQ(
        rows(QStringLiteral("select fgoodsid,fcolorid,fcolor,GoodsNo,ColorNo from ba_goodscolor")),
        QStringList{QStringLiteral("A01|02|米白|NA01|CA012")});
    EXPECT_TRUE(statements().contains(
        QStringLiteral("insert into ba_goodscolor(fgoodsid,fcolorid,fcolor,GoodsNo,ColorNo)") + CR +
        QStringLiteral("values('A01','02','米白','NA01','CA012')")));
    form->DBcolor->SetRecNo(2);
    ASSERT_EQ(field(form->DBcolor, "goodscolor"),
              QStringLiteral("米白"));  // read back through the join

    // Back to the colour's name: the stored description stays as it is.
    trigger(form->edit_action);
    describe(2, QStringLiteral("白色"));
    trigger(form->post_action);
    EXPECT_EQ(rows(QStringLiteral("select fcolor from ba_goodscolor")),
              QStringList{QStringLiteral("米白")});
    // Another description replaces it.
    trigger(form->edit_action);
    describe(2, QStringLiteral("象牙白"));
    db.conn().log().clear();
    trigger(form->post_action);
    EXPECT_TRUE(statements().contains(
        QStringLiteral("update ba_goodscolor set fcolor='象牙白',fgoodsid='A01',fcolorid='02' "
                       "where ColorNo='CA012'")));
    EXPECT_EQ(rows(QStringLiteral("select fcolor from ba_goodscolor")),
              QStringList{QStringLiteral("象牙白")});
}

TEST_F(GoodsRecord, CopyIsAnUnsavedItemWithTheAttributesAndColoursOnly) {
    addGoods(QStringLiteral("A01"), QStringLiteral("悦动"), QStringLiteral("夏"),
             QStringLiteral("01,03"));
    db.exec(QStringLiteral(
        "update goods set price3=88,picture='true',remark='旧备注' where goodsid='A01'"));
    db.exec(
        QStringLiteral("insert into goodsitemprice(fgoodsid,fitem,fprice,GoodsNo) "
                       "values('A01','包装',1.5,'NA01')"));
    const ParamMap picture{{QStringLiteral("fimage"), jpeg(Qt::red)}};
    db.conn().ExecSQL(
        QStringLiteral(
            "insert into GoodsImage(fgoodsid,GoodsNo,fimage)values('A01','NA01',:fimage)"),
        &picture);
    Tfrm_goods* form = open();
    trigger(form->copy_action);

    TRemoteUdpDataSet* goods = form->DBmaster_table;
    EXPECT_EQ(goods->State(), dsInsert);
    EXPECT_EQ(field(goods, "goodsid"), QStringLiteral("A01@"));
    EXPECT_EQ(field(goods, "brand"), QStringLiteral("悦动"));
    EXPECT_EQ(field(goods, "season"), QStringLiteral("夏"));
    EXPECT_EQ(field(goods, "size_class"), QStringLiteral("TOPS"));
    EXPECT_EQ(goods->FieldByName(QStringLiteral("price3")).AsFloat(), 88.0);
    EXPECT_TRUE(field(goods, "remark").isEmpty());
    EXPECT_EQ(field(goods, "goodsno").size(), 12);
    EXPECT_FALSE(form->copy_action->isEnabled());
    EXPECT_TRUE(form->post_action->isEnabled());
    QStringList colours, colorNos;
    for (form->DBcolor->First(); !form->DBcolor->Eof(); form->DBcolor->Next()) {
        colours << field(form->DBcolor, "fcolorid") + QLatin1Char('|') +
                       field(form->DBcolor, "colorname_ch");
        colorNos << field(form->DBcolor, "ColorNo");
    }
    EXPECT_EQ(colours, (QStringList{QStringLiteral("01|黑色"), QStringLiteral("03|红色")}));
    EXPECT_FALSE(colorNos.contains(QStringLiteral("CA011")));
    EXPECT_TRUE(form->DBitemprice->IsEmpty());
    EXPECT_TRUE(form->DBimage->FieldByName(QStringLiteral("fimage")).IsNull());

    trigger(form->post_action);
    EXPECT_EQ(db.count(QStringLiteral(
                  "goods where goodsid='A01@' and goodsno<>'NA01' and isnull(picture,'')=''")),
              1);
    EXPECT_EQ(db.count(QStringLiteral("goodscolor where fgoodsid='A01@'")), 2);
    EXPECT_EQ(db.count(QStringLiteral("goodsitemprice where fgoodsid='A01@'")), 0);
    EXPECT_EQ(db.count(QStringLiteral("GoodsImage where fgoodsid='A01@'")), 0);
    EXPECT_EQ(db.count(QStringLiteral("goodscolor where fgoodsid='A01'")),
              2);  // the original keeps its colours
}

TEST_F(GoodsRecord, DeleteChecksBusinessBeforeAskingAndRemovesTheGoodsRows) {
    addGoods(QStringLiteral("A01"), QStringLiteral("雅韵"), QStringLiteral("春"),
             QStringLiteral("01"));
    addGoods(QStringLiteral("A02"), QStringLiteral("雅韵"), QStringLiteral("春"),
             QStringLiteral("01,02"));
    db.exec(QStringLiteral(
        "insert into stock(fhousecode,fgoodsid,fcolorid,qty) values('CK01','A01','01',5)"));
    db.exec(QStringLiteral(
        "insert into ba_goodscolor(fgoodsid,fcolorid,fcolor) values('A02','01','深黑')"));
    db.exec(QStringLiteral("insert into barcode(fgoodsid,fcolorid,fsize) values('A02','01','S')"));
    db.exec(
        QStringLiteral("insert into goodsitemprice(fgoodsid,fitem,fprice) values('A02','包装',1)"));
    db.exec(QStringLiteral("insert into GoodsImage(fgoodsid) values('A02')"));
    db.exec(QStringLiteral("exec P_UpdateGoodsSize 'A02'"));
    Tfrm_goods* form = open();

    // In use: refused before any question.
    select(form, QStringLiteral("A01"));
    trigger(form->del_action);
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("此货号已发生业务，不能删除此货号!")});
    EXPECT_EQ(db.count(QStringLiteral("goods where goodsid='A01'")), 1);

    // Not in use: "No" keeps it, "Yes" deletes it.
    ASSERT_TRUE(form->DBgoodslist->Locate(QStringLiteral("goodsid"), QStringLiteral("A02")));
    script.clear();
    script.answer(Answer::No);
    trigger(form->del_action);
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("是否确认删除此记录？")});
    EXPECT_EQ(db.count(QStringLiteral("goods where goodsid='A02'")), 1);
    db.conn().log().clear();
    trigger(form->del_action);
    EXPECT_TRUE(statements().contains(
        QStringLiteral("delete from goods where goodsid='A02'") + CR +
        QStringLiteral("delete from goodssize where goodsid='A02'") + CR +
        QStringLiteral("delete from goodscolor where fgoodsid='A02'") + CR +
        QStringLiteral("delete from ba_goodscolor where fgoodsid='A02'") + CR +
        QStringLiteral("delete from barcode where fgoodsid='A02'") + CR));
    for (const char* table :
         {"goods where goodsid", "goodssize where goodsid", "goodscolor where fgoodsid",
          "ba_goodscolor where fgoodsid", "barcode where fgoodsid"})
        EXPECT_EQ(db.count(QString::fromLatin1(table) + QStringLiteral("='A02'")), 0) << table;
    // Pictures and item prices are not the delete's business.
    EXPECT_EQ(db.count(QStringLiteral("goodsitemprice where fgoodsid='A02'")), 1);
    EXPECT_EQ(db.count(QStringLiteral("GoodsImage where fgoodsid='A02'")), 1);
    EXPECT_EQ(GoodsTest::listCodes(form), QStringList{QStringLiteral("A01")});
    EXPECT_EQ(field(form->DBmaster_table, "goodsid"), QStringLiteral("A01"));
    EXPECT_FALSE(form->DBgoodslist->UpdatesPending());
    EXPECT_EQ(db.count(QStringLiteral("syslog where fbillid='A02' and fstate='删除'")), 1);
}

TEST_F(GoodsRecord, WithoutSizesTheFormWarnsOnceAndSaveStopsAtTheSizeGroup) {
    db.exec(QStringLiteral("delete from ba_size"));
    md::Shared().SizeSlotCount = 0;
    Tfrm_goods* form = open();
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("请先建立尺码资料!")});
    script.clear();

    trigger(form->append_action);
    EXPECT_EQ(form->PageControl1->currentWidget(), form->TabDetail);
    TRemoteUdpDataSet* goods = form->DBmaster_table;
    EXPECT_EQ(field(goods, "goodsno").size(), 12);
    EXPECT_TRUE(goods->FieldByName(QStringLiteral("strat")).AsBoolean());
    trigger(form->post_action);
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("请输入货号!")});
    ASSERT_TRUE(
        form->cxDBVerticalGrid1->SetRowText(QStringLiteral("goodsid"), QStringLiteral("N01")));
    trigger(form->post_action);
    EXPECT_EQ(script.texts().last(), QStringLiteral("请选择尺码类别!"));
    EXPECT_EQ(goods->State(), dsInsert);
    EXPECT_EQ(field(goods, "goodsid"), QStringLiteral("N01"));
    EXPECT_EQ(db.count(QStringLiteral("goods")), 0);
}

TEST_F(GoodsRecord, FailedTransactionRollsEverythingBackAndTheLaterStepsStillRun) {
    addGoods(QStringLiteral("A01"), QStringLiteral("雅韵"), QStringLiteral("春"),
             QStringLiteral("01"));
    Tfrm_goods* form = open();
    trigger(form->edit_action);
    ASSERT_TRUE(
        form->cxDBVerticalGrid1->SetRowText(QStringLiteral("goodsname"), QStringLiteral("新品名")));
    form->DBcolor->Edit();
    form->DBcolor->FieldByName(QStringLiteral("fcolorid")).SetAsString(QStringLiteral("02"));
    form->DBcolor->Post();
    form->DBitemprice->Append();
    form->DBitemprice->FieldByName(QStringLiteral("fitem")).SetAsString(QStringLiteral("水洗"));
    form->DBitemprice->Post();
    // The item prices, sent last inside the transaction, cannot be written.
    db.exec(QStringLiteral("drop table goodsitemprice"));
    db.conn().log().clear();
    trigger(form->post_action);

    ASSERT_FALSE(script.shown().isEmpty());
    EXPECT_TRUE(script.shown().last().isError);
    EXPECT_FALSE(db.conn().InTransaction());
    EXPECT_EQ(rows(QStringLiteral("select goodsname from goods")),
              QStringList{QStringLiteral("品名A01")});
    EXPECT_EQ(rows(QStringLiteral("select fcolorid from goodscolor")),
              QStringList{QStringLiteral("01")});
    const QStringList log = statements();
    EXPECT_TRUE(log.contains(QStringLiteral("exec P_UpdateGoodsSize 'A01'")));
    EXPECT_EQ(db.count(QStringLiteral("syslog where fstate='保存'")), 0);
    // The list row shows the record; the record and its colours are pending
    // again, so saving later sends them.
    ASSERT_TRUE(form->DBgoodslist->Locate(QStringLiteral("goodsid"), QStringLiteral("A01")));
    EXPECT_EQ(field(form->DBgoodslist, "goodsname"), QStringLiteral("新品名"));
    EXPECT_TRUE(form->DBmaster_table->UpdatesPending());
    EXPECT_EQ(field(form->DBmaster_table, "goodsname"), QStringLiteral("新品名"));
    EXPECT_TRUE(form->DBcolor->UpdatesPending());
    EXPECT_EQ(field(form->DBcolor, "fcolorid"), QStringLiteral("02"));
}

// The form saves every column of the item by its GoodsNo: what another user
// changed after the item was read is refused, not written back. An item made
// from a sample style comes without a GoodsNo and is given one when read, so
// it saves like any other.
TEST_F(GoodsRecord, SavingNeverWritesBackAnotherUsersChangeAndEveryItemCanBeSaved) {
    addGoods(QStringLiteral("A01"));
    Tfrm_goods* form = open();
    trigger(form->edit_action);
    ASSERT_TRUE(
        form->cxDBVerticalGrid1->SetRowText(QStringLiteral("goodsname"), QStringLiteral("新品名")));
    TRemoteUdpConnection other;
    other.Open(db.settings(), md::server::objects());
    other.ExecSQL(QStringLiteral("update goods set unitprice=299 where goodsid='A01'"));
    trigger(form->post_action);
    EXPECT_TRUE(
        script.texts().contains(QStringLiteral("记录已被其他用户修改或删除，请刷新后重试。")))
        << script.texts().join(QLatin1Char('/')).toStdString();
    EXPECT_EQ(rows(QStringLiteral("select goodsname,unitprice from goods")),
              QStringList{QStringLiteral("品名A01|299")});

    db.exec(QStringLiteral("delete from goods"));
    db.exec(
        QStringLiteral("insert into goods(goodsid,goodsname,brand,season,size_class,unitprice) "
                       "values('S01','样品转货品','雅韵','春','TOPS',99)"));
    script.clear();
    form->OpenGoods(QStringLiteral("S01"));
    EXPECT_EQ(field(form->DBmaster_table, "goodsno").size(), 12);
    trigger(form->edit_action);
    ASSERT_TRUE(form->cxDBVerticalGrid1->SetRowText(QStringLiteral("goodsname"),
                                                    QStringLiteral("正式货品")));
    trigger(form->post_action);
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join(QLatin1Char('/')).toStdString();
    EXPECT_EQ(rows(QStringLiteral("select goodsname,len(goodsno) from goods")),
              QStringList{QStringLiteral("正式货品|12")});
}

TEST_F(GoodsRecord, CodeCheckColourRulesAndCancel) {
    addGoods(QStringLiteral("A01"), QStringLiteral("雅韵"), QStringLiteral("春"),
             QStringLiteral("01"));
    addGoods(QStringLiteral("A02"));
    Tfrm_goods* form = open();
    select(form, QStringLiteral("A01"));
    TRemoteUdpDataSet* colours = form->DBcolor;
    // Outside editing colour rows do not change.
    EXPECT_THROW(colours->Append(), EAbort);
    trigger(form->addcolor_action);
    EXPECT_EQ(colours->RecordCount(), 1);

    trigger(form->edit_action);
    EXPECT_FALSE(
        form->cxDBVerticalGrid1->SetRowText(QStringLiteral("goodsid"), QStringLiteral("A02")));
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("此货号已存在，请重新录入！")});
    EXPECT_EQ(field(form->DBmaster_table, "goodsid"), QStringLiteral("A01"));

    trigger(form->addcolor_action);  // F9
    ASSERT_EQ(colours->State(), dsInsert);
    EXPECT_EQ(field(colours, "ColorNo").size(), 12);
    colours->FieldByName(QStringLiteral("fcolorid")).SetAsString(QStringLiteral("03"));
    EXPECT_EQ(field(colours, "colorname_ch"), QStringLiteral("红色"));
    EXPECT_EQ(field(colours, "colorname_en"), QStringLiteral("Red"));
    colours->FieldByName(QStringLiteral("colorname_ch")).SetAsString(QStringLiteral("藏青"));
    EXPECT_EQ(field(colours, "fcolorid"), QStringLiteral("04"));
    colours->Post();
    EXPECT_EQ(field(colours, "fgoodsid"), QStringLiteral("A01"));
    EXPECT_EQ(field(colours, "GoodsNo"), QStringLiteral("NA01"));
    colours->Append();
    script.clear();
    EXPECT_THROW(colours->Post(), EAbort);
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("请选择颜色编号！")});
    colours->Cancel();
    colours->First();
    trigger(form->delcolor_action);  // F10
    EXPECT_EQ(script.texts().last(), QStringLiteral("是否确认删除此颜色？"));
    EXPECT_EQ(colours->RecordCount(), 1);
    ASSERT_TRUE(
        form->cxDBVerticalGrid1->SetRowText(QStringLiteral("goodsname"), QStringLiteral("改名")));

    // Cancel drops the record's and the colours' changes.
    trigger(form->cacel_action);
    EXPECT_EQ(form->DBmaster_table->State(), dsBrowse);
    EXPECT_EQ(field(form->DBmaster_table, "goodsname"), QStringLiteral("品名A01"));
    QStringList codes;
    for (colours->First(); !colours->Eof(); colours->Next()) codes << field(colours, "fcolorid");
    EXPECT_EQ(codes, QStringList{QStringLiteral("01")});
    EXPECT_EQ(rows(QStringLiteral("select fcolorid from goodscolor")),
              QStringList{QStringLiteral("01")});
}

TEST_F(GoodsRecord, SwitchesCaptionsAndPriceOptionsReadAtCreation) {
    db.exec(QStringLiteral("insert into config([id],mode) values(40005,1)"));
    db.exec(QStringLiteral("insert into config([id],mode) values(70009,1)"));
    db.exec(QStringLiteral("update ba_fieldremark set ffieldremark='垫脚' where fname='mat'"));
    db.exec(QStringLiteral("update ba_fieldremark set ffieldremark='品类' where fname='sort'"));
    db.exec(QStringLiteral("update ba_fieldremark set ffieldremark='供应商' where fname='patter'"));
    md::Shared().PriceDecimals = 3;
    md::Shared().PriceEdit = false;
    addGoods(QStringLiteral("A01"), QStringLiteral("雅韵"), QStringLiteral("春"),
             QStringLiteral("01"));
    db.exec(QStringLiteral("update goods set price1=12.5 where goodsid='A01'"));
    Tfrm_goods* form = open();
    TDBVerticalGrid* grid = form->cxDBVerticalGrid1;

    EXPECT_EQ(grid->Row(QStringLiteral("mat"))->Caption(), QStringLiteral("包装数量"));
    EXPECT_TRUE(grid->Row(QStringLiteral("mat"))->Items().isEmpty());
    EXPECT_EQ(grid->Row(QStringLiteral("sort"))->Caption(), QStringLiteral("品类"));
    EXPECT_EQ(grid->Row(QStringLiteral("patter"))->Caption(), QStringLiteral("供应商"));
    EXPECT_EQ(sorted(grid->Row(QStringLiteral("brand"))->Items()),
              sorted({QStringLiteral("雅韵"), QStringLiteral("悦动")}));
    EXPECT_EQ(sorted(grid->Row(QStringLiteral("unit"))->Items()),
              sorted({QStringLiteral("件"), QStringLiteral("条")}));
    EXPECT_EQ(form->GridPriceView->reportText(0, 0), QStringLiteral("￥12.500"));
    QStringList captions;
    for (int i = 0; i < form->Combo_Field->count(); ++i) captions << form->Combo_Field->itemText(i);
    EXPECT_EQ(captions,
              (QStringList{QStringLiteral("品牌"), QStringLiteral("季节"), QStringLiteral("品类"),
                           QStringLiteral("单位"), QStringLiteral("供应商"), QStringLiteral("垫脚"),
                           QStringLiteral("设计师")}));

    trigger(form->edit_action);
    EXPECT_FALSE(form->GridPriceView->InputAllowed());  // sales prices need the price right
    EXPECT_FALSE(grid->SetRowText(QStringLiteral("mat"), QStringLiteral("12件")));
    EXPECT_TRUE(grid->SetRowText(QStringLiteral("mat"), QStringLiteral("12")));
    db.conn().log().clear();
    trigger(form->post_action);
    EXPECT_TRUE(statements().contains(QStringLiteral("exec get_BarcodeOneGoods 'A01'")));
    EXPECT_EQ(db.count(QStringLiteral("barcode where fgoodsid='A01'")),
              3);  // one colour in three sizes
}

TEST_F(GoodsRecord, PictureIsAssignedWhileEditingAndTheViewerFollowsTheRecord) {
    addGoods(QStringLiteral("A01"));
    addGoods(QStringLiteral("A02"));
    const ParamMap blue{{QStringLiteral("fimage"), jpeg(Qt::blue)}};
    db.conn().ExecSQL(
        QStringLiteral("insert into GoodsImage(fgoodsid,fimage)values('A02',:fimage)"), &blue);
    db.exec(QStringLiteral("update goods set picture='true' where goodsid='A02'"));
    Tfrm_goods* form = open();
    select(form, QStringLiteral("A01"));
    EXPECT_EQ(form->Label_Picture->text(), QStringLiteral("尚未加载图片，双击加载图片"));
    EXPECT_THROW(form->AssignPicture(jpeg(Qt::red)), EAbort);

    trigger(form->edit_action);
    QImage png(20, 20, QImage::Format_RGB32);
    png.fill(Qt::red);
    QByteArray pngBytes;
    QBuffer buffer(&pngBytes);
    buffer.open(QIODevice::WriteOnly);
    png.save(&buffer, "PNG");
    form->AssignPicture(pngBytes);  // stored as JPEG
    trigger(form->post_action);
    const QByteArray stored =
        db.scalar(QStringLiteral("select fimage from GoodsImage where fgoodsid='A01'"))
            .toByteArray();
    EXPECT_TRUE(stored.startsWith("\xFF\xD8\xFF"));
    EXPECT_EQ(db.scalar(QStringLiteral("select picture from goods where goodsid='A01'")).toString(),
              QStringLiteral("true"));
    EXPECT_EQ(form->Label_Picture->text(), QStringLiteral("双击显示图片"));

    trigger(form->showpic_action);  // F8
    ASSERT_TRUE(form->PictureViewer());
    EXPECT_TRUE(form->PictureViewer()->cxDBImage1->HasPicture());
    form->ShowListPage();
    ASSERT_TRUE(form->DBgoodslist->Locate(QStringLiteral("goodsid"), QStringLiteral("A02")));
    form->ShowDetailPage();
    ASSERT_EQ(field(form->DBmaster_table, "goodsid"), QStringLiteral("A02"));
    const QImage shown = form->PictureViewer()->cxDBImage1->Picture();
    ASSERT_FALSE(shown.isNull());
    EXPECT_GT(shown.pixelColor(10, 10).blue(), 200);
}

// A browse-only user may look but not change: 复制, 批量导入, 国际码 and the
// batch changes say so and change nothing; the list's 上架 cannot be ticked.
TEST_F(GoodsRecord, WithoutTheAddAndEditRightsChangingActionsAreRefused) {
    db.exec(QStringLiteral("delete from dr_rightdetail"));
    db.exec(QStringLiteral("delete from dr_right"));
    grant({QStringLiteral("b_browse")});
    addGoods(QStringLiteral("A01"), QStringLiteral("雅韵"), QStringLiteral("春"),
             QStringLiteral("01"));
    Tfrm_goods* form = open();
    form->Check_All->click();
    const QString refused = QStringLiteral("您没有足够的权限进行此操作!");
    for (QAction* action : {form->copy_action, form->import_action, form->ean13_action}) {
        SCOPED_TRACE(action->text().toStdString());
        script.clear();
        trigger(action);
        EXPECT_EQ(script.texts(), QStringList{refused});
        EXPECT_EQ(form->DBmaster_table->State(), dsBrowse);
    }
    script.clear();
    form->Lookup_Type->setKeyValue(QStringLiteral("T1"));
    form->But_TypeOK->click();
    form->Combo_Field->setCurrentIndex(form->Combo_Field->findText(QStringLiteral("品牌")));
    form->Edit_Value->setText(QStringLiteral("悦动"));
    form->But_FieldOK->click();
    EXPECT_EQ(script.texts(), (QStringList{refused, refused}));
    EXPECT_EQ(rows(QStringLiteral("select goodsid,brand,isnull(typecode,'') from goods")),
              QStringList{QStringLiteral("A01|雅韵|")});

    TGridModel* m = form->GridListView->gridModel();
    const QModelIndex online =
        m->index(0, form->GridListView->SectionOf(QStringLiteral("fisshoptop")));
    EXPECT_FALSE(m->flags(online) & Qt::ItemIsUserCheckable);
}

// A stray size count (a displayindex of 2^31-1) stops at the 30 slots: the
// form opens and its size group list shows S1 to S30.
TEST_F(GoodsRecord, AStraySizeSlotCountStopsAtThirtySlots) {
    md::Shared().SizeSlotCount = 2147483647;
    addGoods(QStringLiteral("A01"));
    Tfrm_goods* form = open();
    const QStringList shown =
        form->cxDBVerticalGrid1->Row(QStringLiteral("size_class"))->LookupShownFields();
    ASSERT_EQ(shown.size(), 31);
    EXPECT_EQ(shown.last(), QStringLiteral("S30"));
}
