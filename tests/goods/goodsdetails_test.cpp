// Colours, item prices and the picture follow the goods record through their
// links: what a copy starts with, rows added by one save and changed by the
// next, and the picture flag.
#include <QSignalBlocker>
#include <QTabWidget>

#include "goodsfixture.h"

using namespace md::test;

class GoodsDetails : public GoodsTest {};

// A second copy of an item starts with that item's colours only, although the
// first copy's code ("A01@") exists by then; saving it under another code
// leaves the first copy's colours alone.
TEST_F(GoodsDetails, ASecondCopyTakesOnlyItsSourcesColours) {
    addGoods(QStringLiteral("A01"), QStringLiteral("雅韵"), QStringLiteral("春"),
             QStringLiteral("01,02"));
    Tfrm_goods* form = open();
    select(form, QStringLiteral("A01"));
    trigger(form->copy_action);
    ASSERT_EQ(form->DBcolor->RecordCount(), 2);
    form->DBcolor->Last();
    trigger(form->delcolor_action);  // 是否确认删除此颜色？ answered yes by default
    trigger(form->post_action);
    ASSERT_EQ(db.count(QStringLiteral("goodscolor where fgoodsid='A01@'")), 1);

    select(form, QStringLiteral("A01"));
    trigger(form->copy_action);
    EXPECT_EQ(form->DBcolor->RecordCount(), 2);
    ASSERT_TRUE(
        form->cxDBVerticalGrid1->SetRowText(QStringLiteral("goodsid"), QStringLiteral("A01X")));
    trigger(form->post_action);
    EXPECT_EQ(db.count(QStringLiteral("goodscolor where fgoodsid='A01X'")), 2);
    EXPECT_EQ(db.count(QStringLiteral("goodscolor where fgoodsid='A01@'")), 1);
    EXPECT_EQ(db.count(QStringLiteral("goodscolor where fgoodsid='A01'")), 2);
}

// On the list page "复制" copies the row the list shows as current.
TEST_F(GoodsDetails, CopyOnTheListPageCopiesTheSelectedRow) {
    addGoods(QStringLiteral("A01"));
    addGoods(QStringLiteral("A02"));
    Tfrm_goods* form = open();
    select(form, QStringLiteral("A01"));
    form->ShowListPage();
    {
        // The list moves without the record following, as a grid click between pages does.
        QSignalBlocker quiet(form->DSgoodslist);
        ASSERT_TRUE(form->DBgoodslist->Locate(QStringLiteral("goodsid"), QStringLiteral("A02")));
    }
    trigger(form->copy_action);
    EXPECT_EQ(field(form->DBmaster_table, "goodsid"), QStringLiteral("A02@"));
}

// Item prices added by one save are changed and deleted by the next ones of
// the same visit, without a conflict message.
TEST_F(GoodsDetails, ItemPricesAddedBySaveCanBeChangedAndDeletedInTheSameVisit) {
    addGoods(QStringLiteral("A01"));
    Tfrm_goods* form = open();
    select(form, QStringLiteral("A01"));
    TRemoteUdpDataSet* prices = form->DBitemprice;
    trigger(form->edit_action);
    prices->Append();
    prices->FieldByName(QStringLiteral("fitem")).SetAsString(QStringLiteral("包装"));
    prices->FieldByName(QStringLiteral("fprice")).SetAsFloat(1.5);
    prices->Post();
    trigger(form->post_action);
    ASSERT_EQ(rows(QStringLiteral("select fitem,fprice from goodsitemprice")),
              QStringList{QStringLiteral("包装|1.5")});

    trigger(form->edit_action);
    ASSERT_TRUE(prices->Locate(QStringLiteral("fitem"), QStringLiteral("包装")));
    prices->Edit();
    prices->FieldByName(QStringLiteral("fprice")).SetAsFloat(2.5);
    prices->Post();
    trigger(form->post_action);
    EXPECT_EQ(rows(QStringLiteral("select fitem,fprice from goodsitemprice")),
              QStringList{QStringLiteral("包装|2.5")});

    trigger(form->edit_action);
    ASSERT_TRUE(prices->Locate(QStringLiteral("fitem"), QStringLiteral("包装")));
    prices->Delete();
    trigger(form->post_action);
    EXPECT_EQ(db.count(QStringLiteral("goodsitemprice")), 0);
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join(QLatin1Char('/')).toStdString();
}

// The flag says there is a picture: editing an item without one sets nothing,
// and "清除图片" takes a stored picture away with its flag.
TEST_F(GoodsDetails, PictureFlagFollowsThePictureAndClearingIsSaved) {
    addGoods(QStringLiteral("A01"));
    Tfrm_goods* form = open();
    select(form, QStringLiteral("A01"));
    for (int i = 0; i < 2; ++i) {
        trigger(form->edit_action);  // F3
        trigger(form->post_action);  // F4
    }
    EXPECT_EQ(db.count(QStringLiteral("goods where isnull(picture,'')=''")), 1);
    EXPECT_EQ(db.count(QStringLiteral("GoodsImage")), 0);

    trigger(form->edit_action);
    form->AssignPicture(jpeg(Qt::red));
    trigger(form->post_action);
    EXPECT_EQ(db.count(QStringLiteral("goods where picture='true'")), 1);
    EXPECT_EQ(db.count(QStringLiteral("GoodsImage where fgoodsid='A01'")), 1);

    trigger(form->edit_action);
    trigger(form->clearpic_action);
    trigger(form->post_action);
    EXPECT_EQ(db.count(QStringLiteral("goods where isnull(picture,'')=''")), 1);
    EXPECT_TRUE(db.scalar(QStringLiteral("select fimage from GoodsImage where fgoodsid='A01'"))
                    .toByteArray()
                    .isEmpty());
}
