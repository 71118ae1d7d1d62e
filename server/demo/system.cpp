// Demo users, their rights and scopes, the settings rows and the company record.
#include "demodata.h"
#include "passwords.h"

namespace md::server {

namespace {

// Right lists the windows look up themselves, beside the host's functions.
const QList<DemoRightList> kModuleLists = {
    {QStringLiteral("M_pricevisible"), QStringLiteral("显示货品价格")},
    {QStringLiteral("M_priceedit"), QStringLiteral("修改货品价格")},
    {QStringLiteral("M_PlanpriceBit"), QStringLiteral("显示参考成本价")},
    {QStringLiteral("m_config"), QStringLiteral("货品档案系统设置")},
    {QStringLiteral("M_BackSup"), QStringLiteral("维修：返回供应商")},
    {QStringLiteral("M_SupBack"), QStringLiteral("维修：供应商返回")},
    {QStringLiteral("M_BackClient"), QStringLiteral("维修：返回客户")},
};

// What the shop user may do beyond browsing and printing.
const QStringList kShopUserEditable = {
    QStringLiteral("frm_vipcard"),         QStringLiteral("frm_MoneyCard"),
    QStringLiteral("frm_GoodsReturnNote"), QStringLiteral("frm_ShopEmp"),
    QStringLiteral("frm_commuBook"),       QStringLiteral("frm_ClientAssets"),
    QStringLiteral("M_pricevisible"),      QStringLiteral("M_BackClient"),
};
// Functions the shop user does not see at all.
const QStringList kShopUserHidden = {
    QStringLiteral("frm_ltd"),
    QStringLiteral("frm_syslog"),
    QStringLiteral("frm_account"),
    QStringLiteral("frm_planprice"),
    QStringLiteral("frm_ClientPlanPrice"),
    QStringLiteral("frm_SaleValues"),
    QStringLiteral("frm_KQ_WagesItem"),
    QStringLiteral("frm_KQ_Emp_Wages"),
    QStringLiteral("M_priceedit"),
    QStringLiteral("M_PlanpriceBit"),
    QStringLiteral("m_config"),
    QStringLiteral("M_BackSup"),
    QStringLiteral("M_SupBack"),
};

const QStringList kDetailColumns = {
    QStringLiteral("autoid"),     QStringLiteral("groupid"), QStringLiteral("b_add"),
    QStringLiteral("b_edit"),     QStringLiteral("b_del"),   QStringLiteral("b_browse"),
    QStringLiteral("b_posted"),   QStringLiteral("b_print"), QStringLiteral("b_excel"),
    QStringLiteral("b_unposted"),
};

void generateUsers(DemoContext& demo) {
    const QStringList userColumns = {QStringLiteral("userno"), QStringLiteral("username"),
                                     QStringLiteral("fpassword")};
    demo.insert(
        QStringLiteral("usermain"), userColumns,
        {demo::kAdminUser, QStringLiteral("系统管理员"), hashPassword(demo::kAdminPassword)});
    demo.insert(QStringLiteral("usermain"), userColumns,
                {demo::kShopUser, QStringLiteral("李晓"), hashPassword(demo::kShopPassword)});

    const QStringList memberColumns = {QStringLiteral("userno"), QStringLiteral("fgroupid")};
    demo.insert(QStringLiteral("usermainde"), memberColumns, {demo::kAdminUser, demo::kAdminGroup});
    demo.insert(QStringLiteral("usermainde"), memberColumns, {demo::kShopUser, demo::kShopGroup});

    // Scope tables compare fgroupid with the user number itself. The administrator
    // has no rows, so sees everything.
    for (const QString& shop : demo::kShopUserShops)
        demo.insert(QStringLiteral("userclient"),
                    {QStringLiteral("fgroupid"), QStringLiteral("fclientcode"),
                     QStringLiteral("fstockbit")},
                    {demo::kShopUser, shop, 0});
    demo.insert(QStringLiteral("userbrand"), {QStringLiteral("fgroupid"), QStringLiteral("fbrand")},
                {demo::kShopUser, demo::kShopUserBrand});
    demo.insert(
        QStringLiteral("userhouse"),
        {QStringLiteral("fgroupid"), QStringLiteral("fhousecode"), QStringLiteral("fstockbit")},
        {demo::kShopUser, demo::kShopUserWarehouse, 0});
}

void generateRights(DemoContext& demo) {
    QList<DemoRightList> lists = demo.functionLists();
    lists += kModuleLists;
    int autoid = 0;
    for (const DemoRightList& list : lists) {
        ++autoid;
        demo.insert(
            QStringLiteral("dr_right"),
            {QStringLiteral("autoid"), QStringLiteral("listname"), QStringLiteral("fcaption")},
            {autoid, list.name, list.caption});
        demo.insert(QStringLiteral("dr_rightdetail"), kDetailColumns,
                    {autoid, demo::kAdminGroup, 1, 1, 1, 1, 1, 1, 1, 1});
        if (kShopUserHidden.contains(list.name)) continue;
        const int edit = kShopUserEditable.contains(list.name) ? 1 : 0;
        demo.insert(QStringLiteral("dr_rightdetail"), kDetailColumns,
                    {autoid, demo::kShopGroup, edit, edit, 0, 1, 0, 1, 0, 0});
    }
}

void generateSettings(DemoContext& demo) {
    const QStringList columns = {QStringLiteral("id"), QStringLiteral("mode"),
                                 QStringLiteral("fremark")};
    demo.insert(QStringLiteral("config"), columns, {50009, 2, QStringLiteral("价格小数位数")});
    demo.insert(QStringLiteral("config"), columns,
                {40005, 0, QStringLiteral("货品档案使用包装数量")});
    demo.insert(QStringLiteral("config"), columns,
                {70009, 1, QStringLiteral("保存货品时自动生成条形码")});
    demo.insert(QStringLiteral("config"), columns, {50018, 0, QStringLiteral("条码打印显示材质")});
}

void generateCompany(DemoContext& demo) {
    demo.insert(
        QStringLiteral("dt_ltd"),
        {QStringLiteral("fname_ch"), QStringLiteral("fname_en"), QStringLiteral("fabbrev"),
         QStringLiteral("contact_manch"), QStringLiteral("contact_manen"), QStringLiteral("Job"),
         QStringLiteral("tel1"), QStringLiteral("tel2"), QStringLiteral("fax"),
         QStringLiteral("Email"), QStringLiteral("http"), QStringLiteral("zipcode"),
         QStringLiteral("Bank_name"), QStringLiteral("Bank_no"), QStringLiteral("fAddresch"),
         QStringLiteral("fAddresen"), QStringLiteral("fcode")},
        {QStringLiteral("杭州雅韵服饰有限公司"), QStringLiteral("Hangzhou Yayun Apparel Co., Ltd."),
         QStringLiteral("雅韵服饰"), QStringLiteral("陈建华"), QStringLiteral("Chen Jianhua"),
         QStringLiteral("总经理"), QStringLiteral("0571-86012345"), QStringLiteral("0571-86012346"),
         QStringLiteral("0571-86012347"), QStringLiteral("service@yayun-fashion.cn"),
         QStringLiteral("www.yayun-fashion.cn"), QStringLiteral("310012"),
         QStringLiteral("中国工商银行杭州文三路支行"), QStringLiteral("1202020109900123456"),
         QStringLiteral("浙江省杭州市西湖区文三路 388 号"),
         QStringLiteral("388 Wensan Road, Xihu District, Hangzhou, Zhejiang"),
         demo::kNationalCodePrefix});
}

void generateSystem(DemoContext& demo) {
    generateUsers(demo);
    generateRights(demo);
    generateSettings(demo);
    generateCompany(demo);
}

QStringList numberedSizes(int from, int to, int step) {
    QStringList sizes;
    for (int n = from; n <= to; n += step) sizes << QString::number(n);
    return sizes;
}

// The size groups: slot k of a group is its k-th size; the widest group sets
// how many slots are in use.
void generateSizes(DemoContext& demo) {
    const QList<QPair<QString, QStringList>> groups = {
        {QStringLiteral("上衣"),
         {QStringLiteral("XS"), QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L"),
          QStringLiteral("XL"), QStringLiteral("XXL")}},
        {QStringLiteral("裤装"), numberedSizes(26, 36, 1)},
        {QStringLiteral("鞋类"), numberedSizes(35, 44, 1)},
        {QStringLiteral("童装"), numberedSizes(90, 150, 10)},
    };
    const QStringList columns = {QStringLiteral("size_class"), QStringLiteral("size_name"),
                                 QStringLiteral("displayindex"), QStringLiteral("fieldname")};
    for (const auto& [group, sizes] : groups)
        for (int i = 0; i < sizes.size(); ++i)
            demo.insert(QStringLiteral("ba_size"), columns,
                        {group, sizes[i], i + 1, QStringLiteral("S%1").arg(i + 1)});
}

const RegisterDemoGenerator registerSystem(10, "system", &generateSystem);
const RegisterDemoGenerator registerSizes(20, "sizes", &generateSizes);

}  // namespace

}  // namespace md::server
