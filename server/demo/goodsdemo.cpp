// Demo goods: styles of five brands over three years and four seasons, each
// with its size group, two to five colours, tag and sales prices, online-shop
// flags, item prices for some, and for the everyday demo's goods their sizes,
// barcodes, a little stock and a few documents. The count follows the size
// factor (200,000 goods for the list benchmark), so the rows go through one
// prepared statement per table. Beyond the everyday demo's size every item
// has its barcodes (without national codes: the prefix's serials run out) and
// every third item has stock, as at a company of that size.
#include <QDate>
#include <QHash>
#include <algorithm>
#include <vector>

#include "demodata.h"
#include "procedures/goodsbarcodes.h"

namespace md::server {

namespace {

// ---------------------------------------------------------------- the range

// The words of the goods description fields (the attribute filter offers the
// same values).
struct Brand {
    const char* name;
    const char* code;   // leads the goods code
    const char* story;  // catena
    int weight;         // share of the range
    const char* sorts;  // the categories it makes, by their code letters
    const char* sexes;  // drawn from, so a word listed twice comes twice as often
};

const Brand kBrands[] = {
    {"雅韵", "YY", "都市通勤", 30, "CQZJKTYN", "女"},
    {"悦动", "YD", "运动活力", 20, "TWKXJY", "男 女 中性"},
    {"森屿", "SY", "自然森系", 20, "TCQZKJ", "女 女 女 中性"},
    {"城野", "CY", "都市通勤", 20, "TCNJWKY", "男"},
    {"童趣", "TQ", "童趣乐园", 10, "TWJYQK", "童"},
};

// A name stem with its mnemonic (pinyin initials).
struct Stem {
    const char* name;
    const char* initials;
};

struct Category {
    char letter;            // in the goods code
    const char* sort;       // the category value
    const char* sizeGroup;  // adults; children wear the children's group
    const char* unit;
    const char* typeCode;  // leaf of the online goods type tree
    const char* seasons;
    std::vector<Stem> stems;
    std::vector<const char*> fabrics;
    std::vector<const char*> colours;  // basic colour codes that suit it
    int priceFrom, priceTo;            // tag price range, yuan
    const char* standard;
    const char* packing;  // pieces per carton
    bool lined;
};

const QString kChildren = QStringLiteral("童装");  // the children's size group

const std::vector<Category>& categories() {
    static const std::vector<Category> list = {
        {'T',
         "T恤",
         "上衣",
         "件",
         "010101",
         "春夏",
         {{"圆领短袖T恤", "YLDXTX"},
          {"V领短袖T恤", "VLDXTX"},
          {"印花T恤", "YHTX"},
          {"条纹长袖T恤", "TWCXTX"},
          {"落肩宽松T恤", "LJKSTX"},
          {"POLO衫", "POLOS"}},
         {"纯棉", "纯棉", "涤纶"},
         {"01", "02", "08", "09", "10", "11", "13", "15", "17", "20", "24"},
         79,
         199,
         "GB/T 22849-2014",
         "50",
         false},
        {'C',
         "衬衫",
         "上衣",
         "件",
         "010102",
         "春夏秋",
         {{"牛津纺长袖衬衫", "NJFCXCS"},
          {"免烫商务衬衫", "MTSWCS"},
          {"格子休闲衬衫", "GZXXCS"},
          {"雪纺衬衫", "XFCS"},
          {"立领短袖衬衫", "LLDXCS"}},
         {"纯棉", "亚麻", "真丝", "涤纶"},
         {"02", "03", "04", "09", "11", "13", "17"},
         159,
         459,
         "GB/T 2660-2017",
         "40",
         false},
        {'Z',
         "针织衫",
         "上衣",
         "件",
         "010103",
         "春秋冬",
         {{"圆领套头毛衣", "YLTTMY"},
          {"V领开衫", "VLKS"},
          {"高领针织衫", "GLZZS"},
          {"镂空针织开衫", "LKZZKS"}},
         {"羊毛", "羊毛", "纯棉", "锦纶"},
         {"03", "04", "05", "06", "08", "16", "22", "27", "30"},
         199,
         699,
         "FZ/T 73018-2021",
         "30",
         false},
        {'W',
         "卫衣",
         "上衣",
         "件",
         "010104",
         "春秋冬",
         {{"连帽卫衣", "LMWY"},
          {"圆领卫衣", "YLWY"},
          {"加绒卫衣", "JRWY"},
          {"拉链开衫卫衣", "LLKSWY"}},
         {"纯棉", "涤纶"},
         {"01", "02", "08", "10", "11", "13", "15", "22"},
         159,
         399,
         "FZ/T 73020-2019",
         "30",
         false},
        {'J',
         "外套",
         "上衣",
         "件",
         "010105",
         "春秋冬",
         {{"双排扣风衣", "SPKFY"},
          {"牛仔夹克", "NZJK"},
          {"休闲西装", "XXXZ"},
          {"棒球服", "BQF"},
          {"毛呢大衣", "MNDY"},
          {"连帽冲锋衣", "LMCFY"}},
         {"涤纶", "羊毛", "纯棉", "锦纶"},
         {"01", "05", "06", "07", "08", "11", "22", "30"},
         399,
         1299,
         "FZ/T 81007-2012",
         "20",
         true},
        {'Y',
         "羽绒服",
         "上衣",
         "件",
         "010106",
         "冬冬秋",
         {{"轻薄羽绒服", "QBYRF"},
          {"连帽羽绒服", "LMYRF"},
          {"长款羽绒服", "CKYRF"},
          {"羽绒马甲", "YRMJ"}},
         {"锦纶", "涤纶"},
         {"01", "02", "06", "11", "12", "15", "22", "28"},
         599,
         1699,
         "GB/T 14272-2021",
         "10",
         true},
        {'Q',
         "连衣裙",
         "上衣",
         "件",
         "010301",
         "春夏秋",
         {{"碎花连衣裙", "SHLYQ"},
          {"雪纺连衣裙", "XFLYQ"},
          {"针织连衣裙", "ZZLYQ"},
          {"衬衫式连衣裙", "CSSLYQ"},
          {"收腰吊带裙", "SYDDQ"}},
         {"真丝", "涤纶", "纯棉", "亚麻"},
         {"01", "02", "03", "13", "16", "17", "18", "25", "26", "27"},
         259,
         899,
         "FZ/T 81004-2012",
         "30",
         false},
        {'N',
         "牛仔裤",
         "裤装",
         "条",
         "010201",
         "春夏秋冬",
         {{"直筒牛仔裤", "ZTNZK"},
          {"修身小脚牛仔裤", "XSXJNZK"},
          {"阔腿牛仔裤", "KTNZK"},
          {"高腰牛仔裤", "GYNZK"}},
         {"牛仔布"},
         {"01", "09", "11", "13", "14"},
         199,
         499,
         "FZ/T 81006-2017",
         "30",
         false},
        {'K',
         "休闲裤",
         "裤装",
         "条",
         "010202",
         "春夏秋冬",
         {{"休闲直筒裤", "XXZTK"},
          {"束脚运动裤", "SJYDK"},
          {"多袋工装裤", "DDGZK"},
          {"九分西裤", "JFXK"},
          {"阔腿裤", "KTK"}},
         {"纯棉", "涤纶", "亚麻", "锦纶"},
         {"01", "04", "05", "07", "08", "11", "22", "30"},
         159,
         399,
         "FZ/T 81007-2012",
         "30",
         false},
        {'X',
         "运动鞋",
         "鞋类",
         "双",
         "010401",
         "春夏秋冬",
         {{"缓震跑步鞋", "HZPBS"},
          {"休闲板鞋", "XXBX"},
          {"网面透气运动鞋", "WMTQYDX"},
          {"复古老爹鞋", "FGLDX"},
          {"低帮帆布鞋", "DBFBX"}},
         {"锦纶", "涤纶", "纯棉"},
         {"01", "02", "08", "09", "11", "15", "28"},
         299,
         899,
         "GB/T 15107-2013",
         "12",
         false},
    };
    return list;
}

const Category& categoryOf(char letter) {
    for (const Category& c : categories())
        if (c.letter == letter) return c;
    return categories().front();
}

// The online shop's goods types: 服装 > 上装/下装/裙装/鞋类/童装.
struct GoodsType {
    const char* code;
    const char* parent;
    const char* name;
};

const GoodsType kGoodsTypes[] = {
    {"01", "0", "服装"},
    {"0101", "01", "上装"},
    {"010101", "0101", "T恤"},
    {"010102", "0101", "衬衫"},
    {"010103", "0101", "针织衫"},
    {"010104", "0101", "卫衣"},
    {"010105", "0101", "外套"},
    {"010106", "0101", "羽绒服"},
    {"0102", "01", "下装"},
    {"010201", "0102", "牛仔裤"},
    {"010202", "0102", "休闲裤"},
    {"0103", "01", "裙装"},
    {"010301", "0103", "连衣裙"},
    {"0104", "01", "鞋类"},
    {"010401", "0104", "运动鞋"},
    {"0105", "01", "童装"},
    {"010501", "0105", "童装上衣"},
    {"010502", "0105", "童装裤装"},
    {"010503", "0105", "童装裙装"},
};

// Sales prices by customer level, as shares of the tag price.
const double kPriceShares[6] = {0.35, 0.40, 0.45, 0.50, 0.55, 0.60};

const char* const kStyles[] = {"常规", "修身", "宽松"};
const char* const kWhences[] = {"杭州", "广州", "宁波", "泉州"};
const char* const kWhenceCodes[] = {"HZ", "GZ", "NB", "QZ"};
const char* const kItemPrices[][2] = {
    {"后整烫洗", "1.50"}, {"包装袋", "0.30"}, {"吊牌挂粒", "0.20"}, {"绣花", "3.50"}};

// ---------------------------------------------------------------- bulk rows

// Rows of one table through one translated statement: the text is the same
// for every row, so it is translated once and each row only binds its values.
class BulkInsert : public ParamSource {
  public:
    BulkInsert(TRemoteUdpConnection& db, const QString& table, const QStringList& columns)
        : m_db(db) {
        QString sql = QStringLiteral("insert into ") + table + QLatin1Char('(') +
                      columns.join(QLatin1Char(',')) + QStringLiteral(")values(:") +
                      columns.join(QStringLiteral(",:")) + QLatin1Char(')');
        m_batch = db.Translate(sql);
        m_statement = &m_batch->statements.front();
        for (const md::sql::ParamRef& param : m_statement->params) {
            int column = -1;
            for (int i = 0; i < columns.size() && column < 0; ++i)
                if (columns[i].compare(param.name, Qt::CaseInsensitive) == 0) column = i;
            m_columnOf.push_back(column);
        }
    }

    void add(const QVariantList& row) {
        m_row = &row;
        m_db.RunStatement(*m_statement, this, nullptr);
        m_row = nullptr;
    }

    // The statement asks for its own parameters in order; their position gives the column.
    QVariant paramValue(const md::sql::ParamRef& param) const override {
        const qsizetype i = &param - m_statement->params.constData();
        if (i < 0 || i >= qsizetype(m_columnOf.size()) || m_columnOf[size_t(i)] < 0)
            return QVariant();
        return m_row->value(m_columnOf[size_t(i)]);
    }

  private:
    TRemoteUdpConnection& m_db;
    std::shared_ptr<const md::sql::Batch> m_batch;
    const md::sql::Statement* m_statement = nullptr;
    std::vector<int> m_columnOf;
    const QVariantList* m_row = nullptr;
};

// ---------------------------------------------------------------- one goods item

struct DemoGoods {
    QString code;
    double tagPrice = 0;
    QStringList colours;
};

class GoodsMaker {
  public:
    explicit GoodsMaker(DemoContext& demo)
        : m_demo(demo),
          m_goods(demo.connection(), QStringLiteral("goods"), goodsColumns()),
          m_colours(demo.connection(), QStringLiteral("goodscolor"),
                    {QStringLiteral("fgoodsid"), QStringLiteral("fcolorid"),
                     QStringLiteral("GoodsNo"), QStringLiteral("ColorNo")}),
          m_itemPrices(demo.connection(), QStringLiteral("goodsitemprice"),
                       {QStringLiteral("fgoodsid"), QStringLiteral("fitem"),
                        QStringLiteral("fprice"), QStringLiteral("GoodsNo")}) {}

    // One item of the brand's season: seasonNumber 1..4 for 春夏秋冬.
    DemoGoods make(const Brand& brand, const Category& category, int year, int seasonNumber);

  private:
    static QStringList goodsColumns();
    int pick(int n) { return int(m_demo.random().bounded(n)); }
    template <class T, size_t N>
    const T& pickFrom(const T (&items)[N]) {
        return items[pick(int(N))];
    }
    // A 12-character key like those of the server's key view; the running
    // number in its first half keeps them unique and lets the key indexes grow
    // at their end instead of all over.
    QString freshKey() {
        return QString::asprintf("%06X%06X", unsigned(0x3A7C15 + ++m_keys),
                                 unsigned(pick(1 << 24)));
    }
    static QString text(const char* utf8) { return QString::fromUtf8(utf8); }

    DemoContext& m_demo;
    BulkInsert m_goods, m_colours, m_itemPrices;
    QHash<QString, int> m_serials;  // brand code -> last serial
    int m_keys = 0;
};

QStringList GoodsMaker::goodsColumns() {
    return QStringLiteral(
               "goodsid,goodssortid,goodsname,ayear,season,brand,unit,sort,style,item,patter,"
               "catena,sex,masterial,"
               "lining,mat,standard,whence,size_class,topdate,picture,remark,strat,inputdate,"
               "unitprice,price1,price2,"
               "price3,price4,price5,price6,isshopgoods,typecode,fisshoptop,fisshopnew,"
               "fisshopmaster,fisshopscrush,"
               "fisshopsale,fgoodscaption,fgoodsremark,fshopisend,goodsno,fcheck")
        .split(QLatin1Char(','));
}

DemoGoods GoodsMaker::make(const Brand& brand, const Category& category, int year,
                           int seasonNumber) {
    const QStringList sexes = text(brand.sexes).split(QLatin1Char(' '));
    const bool child = sexes == QStringList{QStringLiteral("童")};
    QString sex = sexes.at(pick(int(sexes.size())));
    if (category.letter == 'Q' && !child) sex = QStringLiteral("女");

    const QChar season = QStringLiteral("春夏秋冬").at(seasonNumber - 1);

    const QString brandCode = text(brand.code);
    const int serial = ++m_serials[brandCode];
    const QString code = brandCode + QString::number(year % 100) + QString::number(seasonNumber) +
                         QLatin1Char(category.letter) +
                         QString::number(serial).rightJustified(4, QLatin1Char('0'));

    const Stem& stem = category.stems[size_t(pick(int(category.stems.size())))];
    const QString fabric = text(category.fabrics[size_t(pick(int(category.fabrics.size())))]);
    QString name = text(stem.name), mnemonic = text(stem.initials);
    if (child) {
        const bool girl = category.letter == 'Q' || pick(2) == 0;
        name = (girl ? QStringLiteral("女童") : QStringLiteral("男童")) + name;
        mnemonic = QStringLiteral("NT") + mnemonic;
    } else if (fabric == QStringLiteral("纯棉") || fabric == QStringLiteral("真丝") ||
               fabric == QStringLiteral("羊毛")) {
        static const QHash<QString, QString> initials = {
            {QStringLiteral("纯棉"), QStringLiteral("CM")},
            {QStringLiteral("真丝"), QStringLiteral("ZS")},
            {QStringLiteral("羊毛"), QStringLiteral("YM")}};
        if (!name.startsWith(fabric) && pick(2) == 0) {
            name = fabric + name;
            mnemonic = initials.value(fabric) + mnemonic;
        }
    }

    // Launch in the season; entered a month or two before.
    static const int seasonStart[] = {0, 2, 5, 8, 10};
    const QDate launch = QDate(year, seasonStart[seasonNumber], 1).addDays(pick(45));
    const QDate entered = launch.addDays(-30 - pick(45));

    // Tag prices end in 9, children's a third lower.
    int price = category.priceFrom + pick(category.priceTo - category.priceFrom + 1);
    if (child) price = price * 2 / 3;
    price = qMax(39, price / 10 * 10 + 9);
    const int whence = category.letter == 'X' ? 3 : pick(3);
    const bool listed = pick(10) < 3;
    const QString style = text(pickFrom(kStyles));
    // Children's goods sit in the children's branch of the type tree.
    const char* typeCode = !child                                             ? category.typeCode
                           : category.letter == 'Q'                           ? "010503"
                           : category.letter == 'N' || category.letter == 'K' ? "010502"
                                                                              : "010501";

    const QString goodsNo = freshKey();
    QVariantList row = {
        code,
        mnemonic,
        name,
        QString::number(year),
        QString(season),
        text(brand.name),
        text(category.unit),
        text(category.sort),
        style,
        QString(text(kWhenceCodes[whence]) + QString::number(10000 + pick(90000))),
        pick(10) < 6 ? QStringLiteral("基础款")
                     : (pick(3) == 0 ? QStringLiteral("联名款") : QStringLiteral("设计款")),
        text(brand.story),
        sex,
        fabric,
        category.lined ? (pick(2) ? QStringLiteral("涤纶里布") : QStringLiteral("纯棉里布"))
                       : QStringLiteral("无里料"),
        text(category.packing),
        text(child ? "GB 31701-2015" : category.standard),
        text(kWhences[whence]),
        child ? kChildren : text(category.sizeGroup),
        launch.toString(Qt::ISODate),
        QString(),
        pick(10) == 0 ? QStringLiteral("返单款") : QString(),
        pick(20) == 0 ? 0 : 1,
        entered.toString(Qt::ISODate),
        double(price)};
    for (double share : kPriceShares) row << double(qRound(price * share));
    row << (listed ? 1 : 0) << text(typeCode) << (listed ? 1 : 0)
        << (listed && year == 2026 ? 1 : 0) << (listed && pick(10) == 0 ? 1 : 0)
        << (listed && pick(20) == 0 ? 1 : 0) << (listed && pick(8) == 0 ? 1 : 0)
        << (listed ? text(brand.name) + QLatin1Char(' ') + name : QString())
        << (listed
                ? QStringLiteral("%1面料，%2版型，%3季上新。").arg(fabric, style, QString(season))
                : QString())
        << 0 << goodsNo << 0;
    m_goods.add(row);

    // Two to five colours that suit the category, each once.
    DemoGoods made{code, double(price), {}};
    std::vector<const char*> palette = category.colours;
    const int colourCount = qMin(int(palette.size()), 2 + pick(4));
    for (int i = 0; i < colourCount; ++i) {
        const int at = pick(int(palette.size()));
        const QString colour = text(palette[size_t(at)]);
        palette.erase(palette.begin() + at);
        made.colours << colour;
        m_colours.add({code, colour, goodsNo, freshKey()});
    }

    // Finishing and packing prices for about one item in ten.
    if (pick(10) == 0) {
        const int first = pick(4);
        for (int i = 0; i < 1 + pick(2); ++i) {
            const auto& item = kItemPrices[(first + i) % 4];
            m_itemPrices.add(
                {code, text(item[0]), QString::fromLatin1(item[1]).toDouble(), goodsNo});
        }
    }
    return made;
}

// ---------------------------------------------------------------- the generator

void generateGoodsTypes(DemoContext& demo) {
    const QStringList columns = {QStringLiteral("fcode"), QStringLiteral("fname"),
                                 QStringLiteral("fparentcode")};
    for (const GoodsType& type : kGoodsTypes)
        demo.insert(QStringLiteral("goodstype"), columns,
                    {QString::fromUtf8(type.code), QString::fromUtf8(type.name),
                     QString::fromUtf8(type.parent)});
}

// Stock in the two warehouses, a few sales and orders of the shop user's shops,
// and serial numbers for the pieces of one item: the goods these touch cannot
// be deleted.
void generateBusiness(DemoContext& demo, const std::vector<DemoGoods>& goods) {
    BulkInsert stock(demo.connection(), QStringLiteral("stock"),
                     {QStringLiteral("fhousecode"), QStringLiteral("fgoodsid"),
                      QStringLiteral("fcolorid"), QStringLiteral("qty")});
    const QStringList houses = {demo::kShopUserWarehouse, QStringLiteral("CK02")};
    for (size_t i = 0; i < goods.size(); i += 3)
        for (const QString& colour : goods[i].colours)
            stock.add(
                {houses[int(i / 3) % 2], goods[i].code, colour, int(demo.random().bounded(121))});

    const QStringList documentColumns = {QStringLiteral("fbillid"),   QStringLiteral("fclientcode"),
                                         QStringLiteral("fbilldate"), QStringLiteral("fgoodsid"),
                                         QStringLiteral("fcolorid"),  QStringLiteral("fqty"),
                                         QStringLiteral("fprice")};
    BulkInsert sales(demo.connection(), QStringLiteral("d_sale"), documentColumns);
    BulkInsert orders(demo.connection(), QStringLiteral("d_order"), documentColumns);
    for (size_t i = 1; i < goods.size() && i < 60; i += 6) {
        const QString shop = demo::kShopUserShops[int(i) % demo::kShopUserShops.size()];
        const QString date = QDate(2025, 3, 1).addDays(int(i)).toString(Qt::ISODate);
        sales.add({QStringLiteral("XS%1").arg(250301 + int(i)), shop, date, goods[i].code,
                   goods[i].colours.first(), 1 + int(demo.random().bounded(5)), goods[i].tagPrice});
        orders.add({QStringLiteral("DH%1").arg(250201 + int(i)), shop, date, goods[i].code,
                    goods[i].colours.last(), 10 + int(demo.random().bounded(40)),
                    double(qRound(goods[i].tagPrice * 0.5))});
    }

    if (goods.empty()) return;
    ResultTable pieces;
    const ParamMap which{{QStringLiteral("goodsid"), goods.front().code}};
    demo.connection().OpenSQL(
        QStringLiteral("select top 3 fgoodsid,fcolorid,fsize,fbarcode1 from barcode"
                       " where fgoodsid=:goodsid order by fcolorid,fsize"),
        pieces, &which);
    BulkInsert serials(
        demo.connection(), QStringLiteral("barcodeguid"),
        {QStringLiteral("fgoodsid"), QStringLiteral("fcolorid"), QStringLiteral("fsize"),
         QStringLiteral("frecid"), QStringLiteral("fbarcode"), QStringLiteral("fcode"),
         QStringLiteral("finputdate"), QStringLiteral("finputuser"), QStringLiteral("fflag")});
    for (int row = 0; row < pieces.rowCount; ++row)
        for (int piece = 1; piece <= 4; ++piece)
            serials.add({pieces.at(row, 0), pieces.at(row, 1), pieces.at(row, 2), piece,
                         QString(pieces.at(row, 3).toString() +
                                 QString::number(piece).rightJustified(4, QLatin1Char('0'))),
                         QString::number(100000 + int(demo.random().bounded(900000))),
                         QStringLiteral("2025-03-01"), demo::kAdminUser, piece == 1 ? 1 : 0});
}

// The barcodes of every item that has none yet, in one statement.
void generatePlainBarcodes(DemoContext& demo) {
    demo.exec(QStringLiteral(
        "insert into barcode(fgoodsid,fcolorid,fsize,fbarcode1,fprintsize,fprintcolorid,fcheck,"
        "goodsno)\n"
        "select a.goodsid,c.fcolorid,s.size_name,a.goodsid+c.fcolorid+s.size_name,s.size_name,"
        "c.fcolorid,0,a.goodsno\n"
        "from goods a join goodscolor c on c.fgoodsid=a.goodsid\n"
        "join ba_size s on s.size_class=a.size_class\n"
        "where not exists(select 1 from barcode b where b.fgoodsid=a.goodsid)"));
}

// Stock of the items beyond the everyday demo, in both warehouses by turns.
void generateWideStock(DemoContext& demo, const std::vector<DemoGoods>& goods) {
    BulkInsert stock(demo.connection(), QStringLiteral("stock"),
                     {QStringLiteral("fhousecode"), QStringLiteral("fgoodsid"),
                      QStringLiteral("fcolorid"), QStringLiteral("qty")});
    const QStringList houses = {demo::kShopUserWarehouse, QStringLiteral("CK02")};
    for (size_t i = 0; i < goods.size(); ++i)
        for (const QString& colour : goods[i].colours)
            stock.add({houses[int(i % 2)], goods[i].code, colour, int(demo.random().bounded(121))});
}

void generateGoods(DemoContext& demo) {
    generateGoodsTypes(demo);

    // Brand by brand, season by season, the categories of each season in code
    // order: goods codes then grow in order within a brand, and the code index
    // fills at a few ends instead of all over. The everyday demo's share, spread
    // over the range, gets the rest.
    GoodsMaker maker(demo);
    const int total = demo.sizeFactor();
    const int stride = qMax(1, total / kDemoGoodsCount);
    const bool wide = total > kDemoGoodsCount;
    std::vector<DemoGoods> everyday, stocked;
    int made = 0, weights = 0;
    for (const Brand& brand : kBrands) {
        const int first = total * weights / 100;
        weights += brand.weight;
        const int count = total * weights / 100 - first;
        for (int block = 0; block < 12; ++block) {
            const int year = 2024 + block / 4, seasonNumber = block % 4 + 1;
            const QChar season = QStringLiteral("春夏秋冬").at(block % 4);
            // A category comes as often as its seasons list the season.
            std::vector<char> offered;
            for (QChar letter : QString::fromUtf8(brand.sorts)) {
                const Category& category = categoryOf(letter.toLatin1());
                for (QChar s : QString::fromUtf8(category.seasons))
                    if (s == season) offered.push_back(category.letter);
            }
            std::vector<char> chosen;
            for (int i = count * block / 12; i < count * (block + 1) / 12; ++i)
                chosen.push_back(offered[size_t(demo.random().bounded(int(offered.size())))]);
            std::sort(chosen.begin(), chosen.end());
            for (char letter : chosen) {
                DemoGoods goods = maker.make(brand, categoryOf(letter), year, seasonNumber);
                const int number = made++;
                if (number % stride == 0 && int(everyday.size()) < kDemoGoodsCount)
                    everyday.push_back(std::move(goods));
                else if (wide && number % 3 == 1)
                    stocked.push_back(std::move(goods));
            }
        }
    }

    // What saving each of them would have made: the sizes of every item, the
    // barcodes (with national codes while the prefix's serials last) of the
    // everyday ones.
    demo.exec(
        QStringLiteral("insert into goodssize(goodsid,size_name,fieldname,displayindex)\n"
                       "select a.goodsid,b.size_name,b.fieldname,b.displayindex from goods a join "
                       "ba_size b on a.size_class=b.size_class"));
    NationalCodeSerials serials(demo.connection());
    for (const DemoGoods& goods : everyday)
        createMissingBarcodes(demo.connection(), goods.code, serials);

    generateBusiness(demo, everyday);
    if (!wide) return;
    generatePlainBarcodes(demo);
    generateWideStock(demo, stocked);
}

const RegisterDemoGenerator registerGoods(60, "goods", &generateGoods);

}  // namespace

}  // namespace md::server
