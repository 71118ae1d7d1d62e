// Demo sample styles (版单款号): a few styles of next season before production,
// with their colours and sample documents. Two already name the goods code
// they will become, one has become it (its goods item is one of the demo
// goods and its sample documents point at it), the rest have no code yet.
#include "demodata.h"

namespace md::server {

namespace {

struct DemoSample {
    const char* code;
    const char* name;
    const char* brand;
    const char* sort;
    const char* sizeGroup;
    const char* fabric;
    const char* colours;          // colour codes, comma-separated
    const char* targetCode;       // the goods code it becomes; "*" an existing demo goods item
    const char* firstColourNote;  // the description of its first colour
};

const DemoSample kSamples[] = {
    {"YB2701", "真丝印花连衣裙", "雅韵", "连衣裙", "上衣", "真丝", "01,03", "YY271Q0901",
     "黑底碎花"},
    {"YB2702", "羊毛双面呢大衣", "雅韵", "大衣", "上衣", "羊毛", "04,06,08", "YY271D0902",
     "燕麦色"},
    {"YB2703", "商务修身衬衫", "城野", "衬衫", "上衣", "纯棉", "02,05", "*", ""},
    {"YB2704", "轻量跑步短裤", "悦动", "运动裤", "裤装", "涤纶", "01,08", "", "黑拼荧光绿"},
    {"YB2705", "亲子卫衣", "童趣", "卫衣", "童装", "纯棉", "02,03,07", "", ""},
};

void generateSamples(DemoContext& demo) {
    ResultTable converted;
    demo.connection().OpenSQL(
        QStringLiteral("select top 1 goodsid from goods where brand='城野' order by goodsid"),
        converted);
    const QString existing = converted.rowCount > 0 ? converted.at(0, 0).toString() : QString();
    const QStringList sampleColumns{
        QStringLiteral("goodsid"),    QStringLiteral("goodsname"),   QStringLiteral("brand"),
        QStringLiteral("ayear"),      QStringLiteral("season"),      QStringLiteral("sort"),
        QStringLiteral("size_class"), QStringLiteral("style"),       QStringLiteral("masterial"),
        QStringLiteral("lining"),     QStringLiteral("fnewgoodsid"), QStringLiteral("patter"),
        QStringLiteral("item"),       QStringLiteral("whence"),      QStringLiteral("unit"),
        QStringLiteral("sex"),        QStringLiteral("unitprice"),   QStringLiteral("inputdate")};
    int number = 0;
    for (const DemoSample& sample : kSamples) {
        const QString code = QString::fromUtf8(sample.code);
        const bool becameGoods = QLatin1String(sample.targetCode) == QLatin1String("*");
        const QString target = becameGoods ? existing : QString::fromUtf8(sample.targetCode);
        ++number;
        demo.insert(
            QStringLiteral("mr_goods"), sampleColumns,
            {code, QString::fromUtf8(sample.name), QString::fromUtf8(sample.brand),
             QStringLiteral("2027"), QStringLiteral("春"), QString::fromUtf8(sample.sort),
             QString::fromUtf8(sample.sizeGroup), QStringLiteral("常规"),
             QString::fromUtf8(sample.fabric), QStringLiteral("无里料"),
             target.isEmpty() ? QVariant() : QVariant(target), QStringLiteral("基础款"),
             QStringLiteral("GZ9%1").arg(number, 3, 10, QLatin1Char('0')), QStringLiteral("广州"),
             QStringLiteral("件"), QStringLiteral("女"), 199 + 100 * number,
             QStringLiteral("2026-09-%1").arg(number, 2, 10, QLatin1Char('0'))});
        const QStringList colours =
            QString::fromLatin1(sample.colours).split(QLatin1Char(','), Qt::SkipEmptyParts);
        const QString note = QString::fromUtf8(sample.firstColourNote);
        for (const QString& colour : colours)
            demo.insert(
                QStringLiteral("mr_goodscolor"),
                {QStringLiteral("fgoodsid"), QStringLiteral("fcolorid"), QStringLiteral("fcolor")},
                {code, colour,
                 colour == colours.first() && !note.isEmpty() ? QVariant(note) : QVariant()});
        // Every other sample has its sample documents; the converted one's know its goods code.
        if (number % 2 == 1 || becameGoods)
            demo.insert(QStringLiteral("mr_smp"),
                        {QStringLiteral("fbillid"), QStringLiteral("foldgoodsid"),
                         QStringLiteral("fgoodsid"), QStringLiteral("fbilldate")},
                        {QStringLiteral("YP2609%1").arg(number, 3, 10, QLatin1Char('0')), code,
                         becameGoods ? QVariant(target) : QVariant(),
                         QStringLiteral("2026-09-%1").arg(number + 10)});
    }
}

const RegisterDemoGenerator registerSamples(62, "sample styles", &generateSamples);

}  // namespace

}  // namespace md::server
