// Demo rows of the description fields: ba_fieldremark for goods and for the
// client discount rates, ba_fieldvalues for the goods fields, repofield.
#include "goodsfields.h"

#include "demodata.h"

namespace md::server {

namespace demo {

namespace {

QStringList words(const char* text) {
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

}  // namespace

const QList<GoodsField>& goodsFields() {
    static const QList<GoodsField> fields = {
        {"goodsid", "货号", "货号", false, {}},
        {"goodsname", "货品名称", "货品名称", false, {}},
        {"ayear", "年份", "年份", true, words("2024 2025 2026")},
        {"season", "季节", "季节", true, words("春 夏 秋 冬")},
        {"brand", "品牌", "品牌", true, QStringList{kShopUserBrand} + words("悦动 森屿 城野 童趣")},
        {"unit", "单位", "单位", true, words("件 条 双 套")},
        {"sort", "类别", "类别", true,
         words("T恤 衬衫 牛仔裤 连衣裙 外套 羽绒服 运动鞋 针织衫 卫衣 休闲裤")},
        {"style", "规格", "规格", false, words("常规 修身 宽松")},
        {"item", "项目", "厂商货号", false, {}},
        {"patter", "款式", "款式", false, words("基础款 设计款 联名款")},
        {"catena", "故事", "故事", true, words("都市通勤 自然森系 运动活力 童趣乐园")},
        {"sex", "性别", "性别", true, words("男 女 童 中性")},
        {"masterial", "面料", "面料", true, words("纯棉 涤纶 真丝 羊毛 亚麻 牛仔布 锦纶")},
        {"lining", "里料", "里料", false, words("涤纶里布 纯棉里布 无里料")},
        {"mat", "包装数量", "包装数量", false, {}},
        {"standard",
         "执行标准",
         "执行标准",
         false,
         {"GB/T 22849-2014", "GB/T 2660-2017", "FZ/T 73018-2021", "FZ/T 73020-2019",
          "FZ/T 81007-2012", "GB/T 14272-2021", "FZ/T 81004-2012", "FZ/T 81006-2017",
          "GB/T 15107-2013", "GB 31701-2015"}},
        {"whence", "产地", "产地", false, words("杭州 广州 宁波 泉州")},
        {"field1", "备用字段1", "备用字段1", false, {}},
        {"field2", "备用字段2", "备用字段2", false, {}},
        {"field3", "备用字段3", "备用字段3", false, {}},
        {"field4", "备用字段4", "备用字段4", false, {}},
        {"unitprice", "吊牌价", "吊牌价", false, {}},
    };
    return fields;
}

QStringList goodsFieldValues(const QString& name) {
    for (const GoodsField& field : goodsFields())
        if (field.name.compare(name, Qt::CaseInsensitive) == 0) return field.values;
    return {};
}

}  // namespace demo

namespace {

void generateGoodsFields(DemoContext& context) {
    const QStringList remarkColumns = {
        QStringLiteral("fid"),          QStringLiteral("ftablename"),
        QStringLiteral("fname"),        QStringLiteral("ffieldname_sys"),
        QStringLiteral("ffieldremark"), QStringLiteral("visiblebit")};
    const QStringList valueColumns = {QStringLiteral("ftablename"), QStringLiteral("ffieldname"),
                                      QStringLiteral("fFieldValues"), QStringLiteral("fsysbit")};
    const QString goods = QStringLiteral("goods");
    int fid = 0;
    for (const demo::GoodsField& field : demo::goodsFields()) {
        context.insert(
            QStringLiteral("ba_fieldremark"), remarkColumns,
            {++fid, goods, field.name, field.systemName, field.caption, field.filters ? 1 : 0});
        for (const QString& value : field.values)
            context.insert(QStringLiteral("ba_fieldvalues"), valueColumns,
                           {goods, field.name, value, 0});
        // Reports caption the goods columns as the company does.
        context.insert(QStringLiteral("repofield"),
                       {QStringLiteral("fieldname"), QStringLiteral("fieldremark")},
                       {field.name, field.caption});
    }

    // The six client discount rates, named by the company; the sixth is not in use.
    const QStringList discounts = {QStringLiteral("期货折扣"), QStringLiteral("现货折扣"),
                                   QStringLiteral("补货折扣"), QStringLiteral("铺货折扣"),
                                   QStringLiteral("特价折扣"), QStringLiteral("备用折扣")};
    for (int i = 0; i < discounts.size(); ++i)
        context.insert(
            QStringLiteral("ba_fieldremark"), remarkColumns,
            {1001 + i, QStringLiteral("dt_client"), QStringLiteral("discount%1").arg(i + 1),
             QStringLiteral("折扣%1").arg(i + 1), discounts[i], i < 5 ? 1 : 0});
}

const RegisterDemoGenerator registerGoodsFields(25, "goods fields", &generateGoodsFields);

}  // namespace

}  // namespace md::server
