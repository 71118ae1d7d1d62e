// 版单款号: saving a sample with its colours, the checks, captions from the
// description fields, the colour look-ups, and the conversion into goods.
#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QPushButton>

#include "formfactory.h"
#include "goods/frm_MrGoodsImage.h"
#include "samplesfixture.h"

using namespace md::test;

class Samples : public SamplesTest {};

TEST_F(Samples, ConversionMakesGoodsWithKeysOnceAndLinksTheSampleDocuments) {
    addGoods(QStringLiteral("G0"), QStringLiteral("01"));
    addSample(QStringLiteral("S1"), QStringLiteral("G1"), QStringLiteral("01,02"));
    addSample(QStringLiteral("S2"), QString(), QStringLiteral("03"));  // no goods code yet
    addSample(QStringLiteral("S3"), QStringLiteral("g0"), QStringLiteral("03"));  // G0 exists
    addSample(QStringLiteral("S4"), QStringLiteral("G1"), QStringLiteral("04"));  // S1's code
    for (const char* sample : {"S1", "S2", "S3"})
        db.exec(QStringLiteral("insert into mr_smp(fbillid,foldgoodsid) values('B%1','%1')")
                    .arg(QString::fromLatin1(sample)));
    Tfrm_MrGoods* form = open();

    trigger(form->convert_action);
    EXPECT_TRUE(script.shown().isEmpty()) << script.texts().join(QLatin1Char('\n'));
    EXPECT_EQ(rows(QStringLiteral("select goodsid,goodsname,brand,ayear,season,sort,size_class,"
                                  "style,masterial,lining,item from goods order by goodsid")),
              QStringList({QStringLiteral("G0|货G0|雅韵||||TOPS||||"),
                           QStringLiteral("G1|样S1|雅韵|2026|春|T恤|TOPS|常规|纯棉||S1")}));
    // Keys the goods form addresses the item and its colour rows by.
    const QString goodsNo =
        db.scalar(QStringLiteral("select goodsno from goods where goodsid='G1'")).toString();
    EXPECT_EQ(goodsNo.size(), 12);
    EXPECT_EQ(rows(QStringLiteral("select fcolorid,GoodsNo from goodscolor where fgoodsid='G1' "
                                  "order by fcolorid")),
              QStringList({QStringLiteral("01|") + goodsNo, QStringLiteral("02|") + goodsNo}));
    EXPECT_EQ(db.count(QStringLiteral("goodscolor where fgoodsid='G1' and len(ColorNo)=12")), 2);
    EXPECT_EQ(db.scalar(QStringLiteral("select count(distinct ColorNo) from goodscolor")).toInt(),
              3);
    // An existing code (in any case) is skipped whole: G0 gets no colour of S3.
    EXPECT_EQ(rows(QStringLiteral("select fcolorid from goodscolor where fgoodsid='G0'")),
              QStringList({QStringLiteral("01")}));
    EXPECT_EQ(
        rows(QStringLiteral("select foldgoodsid,isnull(fgoodsid,'-') from mr_smp order by "
                            "foldgoodsid")),
        QStringList({QStringLiteral("S1|G1"), QStringLiteral("S2|-"), QStringLiteral("S3|g0")}));

    const QStringList goodsBefore = rows(QStringLiteral("select * from goods order by goodsid"));
    const QStringList coloursBefore =
        rows(QStringLiteral("select * from goodscolor order by fautoid"));
    trigger(form->convert_action);
    EXPECT_EQ(rows(QStringLiteral("select * from goods order by goodsid")), goodsBefore);
    EXPECT_EQ(rows(QStringLiteral("select * from goodscolor order by fautoid")), coloursBefore);
}

TEST_F(Samples, SampleAndColoursAreSavedTogetherOrNotAtAll) {
    Tfrm_MrGoods* form = open();
    trigger(form->append_action);
    ASSERT_TRUE(form->Edit_goodsid->isEnabled());
    type(form, "goodsid", QStringLiteral("yb01"));
    type(form, "goodsname", QStringLiteral("印花衬衫"));
    type(form, "size_class", QStringLiteral("TOPS"));
    TRemoteUdpDataSet* colours = form->DBcolor;
    for (const char* code : {"01", "01"}) {
        colours->Append();
        colours->FieldByName(QStringLiteral("fcolorid")).SetAsString(QString::fromLatin1(code));
        colours->Post();
    }
    EXPECT_EQ(field(colours, "colorname_ch"), QStringLiteral("黑色"));

    // The second row repeats the colour: the database refuses it and nothing stays.
    trigger(form->post_action);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().isError);
    EXPECT_EQ(db.count(QStringLiteral("mr_goods")), 0);
    EXPECT_EQ(db.count(QStringLiteral("mr_goodscolor")), 0);
    EXPECT_TRUE(form->post_action->isEnabled()) << "still editing, everything kept";

    colours->Last();
    colours->Delete();
    colours->Append();
    colours->FieldByName(QStringLiteral("colorname_ch")).SetAsString(QStringLiteral("藏青"));
    colours->FieldByName(QStringLiteral("fcolor")).SetAsString(QStringLiteral("深海蓝"));
    colours->Post();
    script.clear();
    trigger(form->post_action);
    EXPECT_TRUE(script.shown().isEmpty()) << script.texts().join(QLatin1Char('\n'));
    EXPECT_EQ(rows(QStringLiteral("select goodsid,goodsname,size_class from mr_goods")),
              QStringList({QStringLiteral("YB01|印花衬衫|TOPS")}));
    EXPECT_EQ(rows(QStringLiteral("select fgoodsid,fcolorid,isnull(fcolor,'') from mr_goodscolor "
                                  "order by fcolorid")),
              QStringList({QStringLiteral("YB01|01|"), QStringLiteral("YB01|04|深海蓝")}));
    EXPECT_FALSE(form->post_action->isEnabled());

    // A saved sample keeps its code; its colours change only while it is edited.
    trigger(form->edit_action);
    EXPECT_FALSE(form->Edit_goodsid->isEnabled());
    trigger(form->cacel_action);
    EXPECT_TRUE(form->Edit_goodsid->isEnabled());
    const int before = colours->RecordCount();
    EXPECT_FALSE(form->Run([&] { colours->Append(); }));
    EXPECT_EQ(colours->RecordCount(), before);
}

TEST_F(Samples, ChecksRefuseTheSaveInOrderAndKeepTheInput) {
    Tfrm_MrGoods* form = open();
    trigger(form->append_action);
    type(form, "goodsname", QStringLiteral("无款号"));
    trigger(form->post_action);
    type(form, "goodsid", QStringLiteral("YB02"));
    trigger(form->post_action);
    type(form, "size_class", QStringLiteral("TOPS"));
    form->DBcolor->Append();
    form->DBcolor->FieldByName(QStringLiteral("fcolor")).SetAsString(QStringLiteral("只有说明"));
    trigger(form->post_action);
    EXPECT_EQ(script.texts(),
              QStringList({QStringLiteral("请输入货号!"), QStringLiteral("请选择尺码类别!"),
                           QStringLiteral("请选择颜色编号！")}));
    for (const md::ui::ShownMessage& shown : script.shown())
        EXPECT_EQ(shown.title, QStringLiteral("系统提示"));
    EXPECT_EQ(db.count(QStringLiteral("mr_goods")), 0);
    EXPECT_EQ(field(form->DBmaster_table, "goodsname"), QStringLiteral("无款号"));
}

TEST_F(Samples, CaptionsComeFromTheGoodsDescriptionFields) {
    for (const auto& [name, caption] : {std::pair{"season", "季度"},
                                        {"patter", "供应商名"},
                                        {"unit", "计量单位"},
                                        {"fnewgoodsid", "不改"}})
        db.exec(QStringLiteral("insert into ba_fieldremark(fid,ftablename,fname,ffieldremark,"
                               "visiblebit) values(%1,'goods','%2',' %3 ',1)")
                    .arg(db.count(QStringLiteral("ba_fieldremark")) + 1)
                    .arg(QString::fromLatin1(name), QString::fromUtf8(caption)));
    Tfrm_MrGoods* form = open();
    TDBTableView* list = form->cxGrid1DBTableView1;
    EXPECT_EQ(list->Column(QStringLiteral("season"))->Caption(), QStringLiteral("季度"));
    EXPECT_EQ(form->EditorLabel(QStringLiteral("season"))->text(), QStringLiteral("季度:"));
    EXPECT_EQ(form->EditorLabel(QStringLiteral("patter"))->text(), QStringLiteral("供应商名:"));
    EXPECT_EQ(list->Column(QStringLiteral("unit"))->Caption(), QStringLiteral("计量单位"));
    // Neither list: the form's own captions stay.
    EXPECT_EQ(list->Column(QStringLiteral("fnewgoodsid"))->Caption(),
              QStringLiteral("对应成品货号"));
    EXPECT_EQ(form->EditorLabel(QStringLiteral("fnewgoodsid"))->text(),
              QStringLiteral("对应成品货号:"));
    EXPECT_EQ(form->EditorLabel(QStringLiteral("brand"))->text(), QStringLiteral("品牌:"));
}

TEST_F(Samples, ColourCodeAndNameFillEachOtherOnlyForKnownColours) {
    addSample(QStringLiteral("S1"), QString(), QStringLiteral("01"));
    Tfrm_MrGoods* form = open();
    ASSERT_EQ(form->DBcolor->RecordCount(), 1);
    trigger(form->edit_action);
    TRemoteUdpDataSet* colours = form->DBcolor;
    colours->Edit();
    colours->FieldByName(QStringLiteral("fcolorid")).SetAsString(QStringLiteral("03"));
    EXPECT_EQ(field(colours, "colorname_ch"), QStringLiteral("红色"));
    colours->FieldByName(QStringLiteral("colorname_ch")).SetAsString(QStringLiteral("藏青"));
    EXPECT_EQ(field(colours, "fcolorid"), QStringLiteral("04"));
    colours->FieldByName(QStringLiteral("fcolorid")).SetAsString(QStringLiteral("99"));
    EXPECT_EQ(field(colours, "colorname_ch"), QStringLiteral("藏青"));
    colours->FieldByName(QStringLiteral("colorname_ch")).SetAsString(QStringLiteral("无此色"));
    EXPECT_EQ(field(colours, "fcolorid"), QStringLiteral("99"));
    colours->FieldByName(QStringLiteral("fcolorid")).SetAsString(QStringLiteral("02"));
    colours->Post();
    trigger(form->post_action);
    // The row changed its colour code: the old code's row is the one rewritten.
    EXPECT_EQ(rows(QStringLiteral("select fgoodsid,fcolorid from mr_goodscolor")),
              QStringList({QStringLiteral("S1|02")}));
}

TEST_F(Samples, DeletingASampleTakesItsColoursAlong) {
    addSample(QStringLiteral("S1"), QString(), QStringLiteral("01,02"));
    addSample(QStringLiteral("S2"), QString(), QStringLiteral("03"));
    Tfrm_MrGoods* form = open();
    ASSERT_TRUE(form->DBmaster_table->Locate(QStringLiteral("goodsid"), QStringLiteral("S1")));
    trigger(form->del_action);
    EXPECT_EQ(script.texts(), QStringList({QStringLiteral("是否确认删除此记录？")}));
    EXPECT_EQ(rows(QStringLiteral("select fgoodsid,fcolorid from mr_goodscolor")),
              QStringList({QStringLiteral("S2|03")}));
    EXPECT_EQ(rows(QStringLiteral("select goodsid from mr_goods")),
              QStringList({QStringLiteral("S2")}));
}

TEST_F(Samples, ImportRunsForTheSampleTableAndTheListIsReadAgain) {
    if (!md::ui::formFactoryFor("Tfrm_GoodsBathIN"))
        GTEST_SKIP() << "no goods import in this build";
    Tfrm_MrGoods* form = open();
    QString target;
    script.onDialog([&](QDialog& dialog) {
        target = dialog.property("TargetName").toString();
        db.exec(QStringLiteral("insert into mr_goods(goodsid,size_class) values('IMP1','TOPS')"));
        return int(QDialog::Rejected);
    });
    trigger(form->import_action);
    EXPECT_EQ(target, QStringLiteral("Mr_Goods"));
    EXPECT_EQ(form->DBmaster_table->SQL(), QStringLiteral(" select * from Mr_goods"));
    EXPECT_TRUE(form->DBmaster_table->Locate(QStringLiteral("goodsid"), QStringLiteral("IMP1")));
}

TEST_F(Samples, F7ShowsTheSamplePictureWhichOkStoresUnderTheSampleCode) {
    addSample(QStringLiteral("S1"));
    Tfrm_MrGoods* form = open();
    QImage image(40, 60, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    QStringList captions;
    bool store = false;
    script.onDialog([&](QDialog& dialog) {
        captions << dialog.windowTitle();
        auto& picture = static_cast<Tfrm_MrGoodsImage&>(dialog);
        EXPECT_EQ(picture.SampleCode(), QStringLiteral("S1"));
        picture.AssignPicture(png);
        (store ? picture.But_OK : picture.But_Close)->click();
        return int(QDialog::Accepted);
    });
    trigger(form->picture_action);
    EXPECT_EQ(db.count(QStringLiteral("goodsimage")), 0) << "关闭 stores nothing";
    store = true;
    trigger(form->picture_action);
    EXPECT_EQ(captions, QStringList({QStringLiteral("样板图片"), QStringLiteral("样板图片")}));
    const QByteArray stored =
        db.scalar(QStringLiteral("select fimage from goodsimage where fgoodsid='S1'"))
            .toByteArray();
    EXPECT_TRUE(stored.startsWith("\xFF\xD8\xFF")) << "kept as JPEG";
    EXPECT_EQ(QImage::fromData(stored).size(), QSize(40, 60));
}
