// Pictures of the goods form's two pages for a person to look at
// (/tmp/goods_detail.png, goods_prices.png, goods_shop.png, goods_list.png).
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QTabWidget>

#include "goodsfixture.h"

using namespace md::test;

namespace {

QByteArray swatch() {
    QImage image(240, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient shade(0, 0, 0, 300);
    shade.setColorAt(0, QColor(40, 60, 120));
    shade.setColorAt(1, QColor(20, 30, 70));
    painter.fillRect(image.rect(), shade);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(28);
    painter.setFont(font);
    painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("雅韵\nA01"));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return bytes;
}

}  // namespace

class GoodsPictures : public GoodsTest {};

TEST_F(GoodsPictures, DetailAndListPages) {
    addGoods(QStringLiteral("A01"), QStringLiteral("雅韵"), QStringLiteral("春"),
             QStringLiteral("01,02,03"));
    addGoods(QStringLiteral("A02"), QStringLiteral("悦动"), QStringLiteral("夏"),
             QStringLiteral("04"));
    db.exec(QStringLiteral(
        "update goods set picture='true',unit='件',price1=120,price2=135.5,remark='春季主推' where "
        "goodsid='A01'"));
    db.exec(
        QStringLiteral("insert into ba_goodscolor(fgoodsid,fcolorid,fcolor,GoodsNo,ColorNo) "
                       "values('A01','02','米白','NA01','CA012')"));
    db.exec(
        QStringLiteral("insert into goodsitemprice(fgoodsid,fitem,fprice,GoodsNo) "
                       "values('A01','水洗',2.5,'NA01')"));
    const ParamMap image{{QStringLiteral("fimage"), swatch()}};
    db.conn().ExecSQL(
        QStringLiteral(
            "insert into GoodsImage(fgoodsid,GoodsNo,fimage)values('A01','NA01',:fimage)"),
        &image);
    Tfrm_goods* form = open();
    form->resize(1100, 680);
    form->show();
    select(form, QStringLiteral("A01"));
    form->ShowDetailPage();
    form->LoadPicture();
    QApplication::processEvents();
    const QImage detail = form->grab().toImage();
    EXPECT_TRUE(detail.save(QDir::temp().filePath(QStringLiteral("goods_detail.png"))));
    form->PageControl2->setCurrentWidget(form->TabPrice);
    QApplication::processEvents();
    EXPECT_TRUE(
        form->grab().toImage().save(QDir::temp().filePath(QStringLiteral("goods_prices.png"))));
    form->PageControl2->setCurrentWidget(form->TabShop);
    QApplication::processEvents();
    EXPECT_TRUE(
        form->grab().toImage().save(QDir::temp().filePath(QStringLiteral("goods_shop.png"))));
    form->ShowListPage();
    QApplication::processEvents();
    EXPECT_TRUE(
        form->grab().toImage().save(QDir::temp().filePath(QStringLiteral("goods_list.png"))));
    EXPECT_EQ(form->Label_Picture->text(), QStringLiteral("双击显示图片"));
    EXPECT_TRUE(form->cxDBImage1->HasPicture());
}
