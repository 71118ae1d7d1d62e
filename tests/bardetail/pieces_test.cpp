// get_barcodetemp: the quantity list expanded into one barcode_temp row per
// piece, the slot's size by position in the group (gaps in displayindex do
// not count), whatever the quantities were the time before.
#include "bardetailfixture.h"

using namespace md::test;

class Pieces : public BardetailTest {
  protected:
    QStringList countsBySize() {
        return rows(
            "select fgoodsid,fcolorid,fsize,count(*) from barcode_temp "
            "group by fgoodsid,fcolorid,fsize order by fgoodsid,fcolorid,fsize");
    }
};

TEST_F(Pieces, EverySlotQuantityBecomesThatManyPiecesOfItsSize) {
    for (const auto& [size, index] : {std::pair{"XS", 10}, {"XL", 30}, {"M", 20}})
        db.exec(QStringLiteral("insert into ba_size(size_class,size_name,displayindex) "
                               "values('GAPS','%1',%2)")
                    .arg(QString::fromLatin1(size))
                    .arg(index));
    addGoods("G3001", "GAPS", QString(), {"01"});
    db.exec("insert into barcodedetail(fGoodsId,fcolorid,s1,s2,s3) values('G3001','01',3,0,1000)");
    db.exec("insert into barcodedetail(fGoodsId,fcolorid,s2,s4) values('A1001','01',5,7)");
    db.exec("exec get_barcodetemp");
    EXPECT_EQ(countsBySize(), (QStringList{"A1001|01|M|5", "G3001|01|XL|1000", "G3001|01|XS|3"}))
        << "slot 4 of a three-size group has no size";

    // Fewer pieces the next time: the old ones are gone, the numbers reused.
    db.exec("update barcodedetail set s3=2 where fGoodsId='G3001'");
    db.exec("delete from barcodedetail where fGoodsId='A1001'");
    db.exec("exec get_barcodetemp");
    EXPECT_EQ(countsBySize(), (QStringList{"G3001|01|XL|2", "G3001|01|XS|3"}));

    db.exec("update barcodedetail set s1=0,s3=0");
    db.exec("exec get_barcodetemp");
    EXPECT_EQ(db.count("barcode_temp"), 0);
}
