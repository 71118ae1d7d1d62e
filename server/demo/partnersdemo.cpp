// Demo data of the trading partners' side windows: the fixed assets of a few
// shops (the shop user's two and some others, as the client demo made them)
// and an address book of suppliers, clients, carriers and colleagues.
#include "demodata.h"

namespace md::server {

namespace {

struct Asset {
    const char* name;
    int qty;
    double price;
    const char* remark;
};

// What a shop of about 120 m² is fitted with; each shop gets most of it.
const Asset kShopFitting[] = {
    {"收银台", 1, 6800.00, "烤漆台面，带锁抽屉"},
    {"中岛展示柜", 2, 3200.00, ""},
    {"高柜货架", 6, 1850.00, "靠墙陈列"},
    {"全身模特", 4, 680.00, "橱窗用"},
    {"半身模特", 3, 260.00, ""},
    {"POS收银机", 1, 3580.00, "含小票打印机"},
    {"扫码枪", 2, 298.00, ""},
    {"立式空调", 1, 7999.00, "3匹变频"},
    {"吸顶空调", 2, 5600.00, "商场统一安装"},
    {"试衣镜", 3, 450.00, ""},
    {"门头灯箱", 1, 1200.00, ""},
    {"监控摄像头", 4, 395.00, "含硬盘录像机一台"},
};

void generateShopAssets(DemoContext& demo) {
    // The shop user's shops first, then a few more shops (clients with shifts).
    ResultTable shops;
    demo.connection().OpenSQL(
        QStringLiteral("select fcode from dt_client where fcode in(select fclientcode from "
                       "ba_squad) order by fcode"),
        shops);
    QStringList codes;
    for (const QString& code : demo::kShopUserShops)
        for (int row = 0; row < shops.rowCount; ++row)
            if (shops.at(row, 0).toString() == code) codes << code;
    for (int row = 0; row < shops.rowCount && codes.size() < 6; ++row)
        if (!codes.contains(shops.at(row, 0).toString())) codes << shops.at(row, 0).toString();

    const QStringList columns = {QStringLiteral("fclientcode"), QStringLiteral("fassetsName"),
                                 QStringLiteral("fqty"), QStringLiteral("fbalancprice"),
                                 QStringLiteral("fremark")};
    for (const QString& shop : codes) {
        for (const Asset& a : kShopFitting) {
            // Not every shop has every piece, nor the same count of it.
            if (demo.random().bounded(4) == 0) continue;
            const int qty = qMax(1, a.qty + int(demo.random().bounded(3)) - 1);
            demo.insert(
                QStringLiteral("Dt_Clientassets"), columns,
                {shop, QString::fromUtf8(a.name), qty, a.price, QString::fromUtf8(a.remark)});
        }
    }
}

struct Contact {
    const char* group;
    const char* name;
    const char* sex;
    const char* birth;
    const char* callName;
    const char* job;
    const char* unit;
    const char* unitAddress;
    const char* unitTel;
    const char* mobile;
    const char* email;
    const char* qq;
    const char* area;
};

const Contact kSuppliers[] = {
    {"供应商", "王建国", "男", "1972-03-18", "王总", "销售经理", "绍兴柯桥华纺面料有限公司",
     "浙江省绍兴市柯桥区中国轻纺城东市场3楼", "0575-84123456", "13905751234",
     "wangjg@huafang-textile.cn", "825461234", "0103"},
    {"供应商", "李美华", "女", "1981-07-02", "阿华", "业务主管", "宁波甬辉纽扣辅料厂",
     "浙江省宁波市鄞州区姜山镇工业园8号", "0574-88451122", "13857416688", "limh@yonghui-fz.com",
     "371208456", "010302"},
    {"供应商", "陈志强", "男", "1968-11-25", "陈厂长", "厂长", "东莞虎门鑫隆制衣厂",
     "广东省东莞市虎门镇龙眼工业区12栋", "0769-85012345", "13702681234", "xinlong_cz@163.com", "",
     "0301"},
};

const Contact kCarriersAndColleagues[] = {
    {"物流", "周涛", "男", "1986-05-09", "", "客服经理", "顺丰速运杭州分公司",
     "杭州市萧山区机场路288号", "0571-82956688", "13588012345", "zhoutao@sf-express.com", "",
     "010301"},
    {"物流", "郑海", "男", "1979-09-14", "海哥", "调度", "德邦物流杭州萧山营业部",
     "杭州市萧山区新街镇物流园B区", "0571-82783456", "13906521122", "", "", "010301"},
    {"物流", "赵小红", "女", "1990-01-21", "", "大客户专员", "中通快递杭州余杭分部",
     "杭州市余杭区仓前街道文一西路1500号", "0571-88732211", "15858123456", "zhaoxh@zto.com", "",
     "010301"},
    {"同事", "张丽", "女", "1985-04-12", "丽姐", "商品部经理", "杭州雅韵服饰有限公司",
     "杭州市萧山区经济开发区建设四路9号", "0571-88123401", "13967101234",
     "zhangli@yayun-fashion.cn", "410236587", "010301"},
    {"同事", "孙伟", "男", "1983-08-30", "", "财务主管", "杭州雅韵服饰有限公司",
     "杭州市萧山区经济开发区建设四路9号", "0571-88123405", "13805711236", "sunwei@yayun-fashion.cn",
     "", "010301"},
    {"同事", "黄晓敏", "女", "1992-12-03", "敏敏", "区域督导", "杭州雅韵服饰有限公司",
     "杭州市萧山区经济开发区建设四路9号", "0571-88123412", "18657112345",
     "huangxm@yayun-fashion.cn", "598741236", "010301"},
};

class AddressBook {
  public:
    explicit AddressBook(DemoContext& demo) : m_demo(demo) {}

    void add(const QVariantList& values) {
        // Numbered as the window numbers new entries: the largest row number plus 10001.
        ResultTable last;
        m_demo.connection().OpenSQL(
            QStringLiteral("select max(fautoid) as fautoid from DT_commuBook"), last);
        const QVariant top = last.rowCount > 0 ? last.at(0, 0) : QVariant();
        const QString id =
            top.isNull() ? QStringLiteral("10001") : QString::number(top.toLongLong() + 10001);
        m_demo.insert(
            QStringLiteral("DT_commuBook"),
            {QStringLiteral("fid"), QStringLiteral("fcatery"), QStringLiteral("fname"),
             QStringLiteral("fsex"), QStringLiteral("fbirthdate"), QStringLiteral("fcallname"),
             QStringLiteral("fjob"), QStringLiteral("funitname"), QStringLiteral("funitaddres"),
             QStringLiteral("funittel"), QStringLiteral("fmobil"), QStringLiteral("femail"),
             QStringLiteral("fqq"), QStringLiteral("fareacode"), QStringLiteral("fisvip")},
            QVariantList{id} + values);
    }
    void add(const Contact& c) {
        auto text = [](const char* s) { return *s ? QVariant(QString::fromUtf8(s)) : QVariant(); };
        add({text(c.group), text(c.name), text(c.sex), text(c.birth), text(c.callName), text(c.job),
             text(c.unit), text(c.unitAddress), text(c.unitTel), text(c.mobile), text(c.email),
             text(c.qq), text(c.area), 0});
    }

  private:
    DemoContext& m_demo;
};

void generateAddressBook(DemoContext& demo) {
    AddressBook book(demo);
    for (const Contact& c : kSuppliers) book.add(c);
    // The clients' contacts come from the client records: the first few
    // trading partners that are neither shops nor the company's own.
    ResultTable clients;
    demo.connection().OpenSQL(
        QStringLiteral("select top 3 fcontactman,fname,faddres,ftel1,fareacode from dt_client "
                       "where fcode not in(select fclientcode from ba_squad) and fmathod<>'自营' "
                       "and fcontactman<>'' order by fcode"),
        clients);
    for (int row = 0; row < clients.rowCount; ++row)
        book.add({QStringLiteral("客户"), clients.at(row, 0), QVariant(), QVariant(), QVariant(),
                  QStringLiteral("负责人"), clients.at(row, 1), clients.at(row, 2),
                  clients.at(row, 3), QVariant(), QVariant(), QVariant(), clients.at(row, 4),
                  row == 0 ? 1 : 0});
    for (const Contact& c : kCarriersAndColleagues) book.add(c);
}

void generatePartners(DemoContext& demo) {
    generateShopAssets(demo);
    generateAddressBook(demo);
}

// After the codes generator, which makes the clients and their shifts.
const RegisterDemoGenerator registerPartners(40, "partners", &generatePartners);

}  // namespace

}  // namespace md::server
