// Size slots: a group's sizes in slot order, the views over them, the captions.
#include "sizeslots.h"

#include "sizesfixture.h"

using namespace md::test;

TEST_F(SizesTest, SlotsFollowThePositionInDisplayOrder) {
    addSizes("A", {"M", "XS", "S"}, {7, 1, 3});
    addSizes("B", {"28", "29"});
    db.exec("insert into goods(goodsid,size_class) values('G1','A')");

    EXPECT_EQ(md::GroupSizesQuery("O'B"),
              "select size_name from ba_size where size_class='O''B' order by displayindex");
    const QStringList sizes = md::GroupSizes("A");
    EXPECT_EQ(sizes, (QStringList{"XS", "S", "M"}));
    EXPECT_EQ(md::SizeSlotOf(sizes, "m "), 3) << "compared as the server compares";
    EXPECT_EQ(md::SizeSlotOf(sizes, "L"), 0);

    // The views give the same slots.
    EXPECT_EQ(rows("select size_class,S1,S2,S3,S4 from v_size order by size_class"),
              (QStringList{"A|XS|S|M|", "B|28|29||"}));
    EXPECT_EQ(
        rows("select size_name,fieldname from vgoodssize where goodsid='G1' order by displayindex"),
        (QStringList{"XS|S1", "S|S3", "M|S7"}));

    md::Shared().SizeSlotCount = 31;
    EXPECT_EQ(md::SizeSlotCaptions().size(), 30) << "no slot beyond s30";
    EXPECT_EQ(md::SizeSlotCaptions().last(), "S30");
}
