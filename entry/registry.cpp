// The one table of the module's functions. A form joins it by registering its
// class (MD_REGISTER_FORM in the form's .cpp); the row with that class name
// then creates it.
#include <QString>
#include <iterator>

#include "baseform.h"
#include "formfactory.h"
#include "formregistry.h"

namespace md::entry {

namespace {

template <class T>
QDialog* make(QWidget* owner) {
    return md::ui::CreateForm<T>(owner);
}

constexpr bool Exact = false;
constexpr bool AnyCase = true;
constexpr bool NonModal = false;
constexpr bool Modal = true;

FormEntry g_forms[] = {
    {"frm_size", Exact, "Tfrm_size", "Tbase_frmTop", "尺码资料", NonModal, Goods, nullptr},
    {"frm_color", Exact, "Tfrm_color", "Tbase_frmDictMdi", "基本颜色设置", NonModal, Codes,
     nullptr},
    {"frm_dpt", Exact, "Tfrm_dpt", "Tbase_frmMditree", "部门资料", Modal, Codes, nullptr},
    {"frm_Area", Exact, "Tfrm_Area", "Tbase_frmMditree", "地区资料", Modal, Codes, nullptr},
    {"frm_goods", Exact, "Tfrm_goods", "Tbase_frmDictMdi", "货品档案", NonModal, Goods, nullptr},
    {"frm_barcode", Exact, "Tfrm_barcode", "Tbase_frmMdi", "条形码资料", NonModal, Barcodes,
     nullptr},
    {"frm_house", Exact, "Tfrm_house", "Tbase_frmDictMdi", "仓库资料", Modal, Codes, nullptr},
    {"frm_client", Exact, "Tfrm_client", "Tbase_frmMditree", "客户档案", NonModal, Partners,
     nullptr},
    {"frm_supplier", Exact, "Tfrm_supplier", "Tbase_frmDictMdi", "供应商资料", NonModal, Partners,
     nullptr},
    {"frm_discount", Exact, "Tfrm_discount", "Tbase_frmMditree", "客户合同折扣设置", NonModal,
     Prices, nullptr},
    {"frm_exchangeratio", Exact, "Tfrm_exchangeratio", "Tbase_frmMditree", "客户退换货率设置",
     NonModal, Prices, nullptr},
    {"frm_Lbdiscount", Exact, "Tfrm_Lbdiscount", "Tbase_frmMditree", "货品类别折扣", NonModal,
     Prices, nullptr},
    {"frm_MrType", Exact, "Tfrm_MrType", "Tbase_frmMditree", "物料类别", NonModal, Codes, nullptr},
    {"frm_BarcodeGuID", AnyCase, "Tfrm_BarcodeGuID", "Tbase_frmMdi", "生成产品序列号", NonModal,
     Barcodes, nullptr},
    {"frm_SupplierPrice", Exact, "Tfrm_SupplierPrice", "Tbase_frmMditree", "供应商报价", NonModal,
     Partners, nullptr},
    {"frm_Ptype", Exact, "Tfrm_Ptype", "Tbase_frmDictMdi", "供应商类别", Modal, Codes, nullptr},
    {"frm_Etype", Exact, "Tfrm_Etype", "Tbase_frmDictMdi", "员工类别", Modal, Codes, nullptr},
    {"frm_employee", Exact, "Tfrm_employee", "Tbase_frmDictMdi", "员工档案", NonModal, Staff,
     nullptr},
    {"frm_ltd", Exact, "Tfrm_ltd", "Tbase_frmTop", "公司信息", Modal, Codes, nullptr},
    {"frm_ShopEmp", Exact, "Tfrm_ShopEmp", "Tbase_frmDictMdi", "店铺营业员资料", NonModal, Staff,
     nullptr},
    {"frm_ShopEmp_Class", Exact, "Tfrm_ShopEmp_Class", "Tbase_frmMdi", "营业员资料", NonModal,
     Staff, nullptr},
    {"frm_squad", Exact, "Tfrm_squad", "Tbase_frmDictMdi", "店铺班次设定", NonModal, Codes,
     nullptr},
    {"frm_salesoure", Exact, "Tfrm_salesoure", "Tbase_frmDictMdi", "销售目标设置", NonModal, Prices,
     nullptr},
    {"frm_vipLB", Exact, "Tfrm_vipLB", "Tbase_frmDictMdi", "VIP类别设定", NonModal, Members,
     nullptr},
    {"frm_vipcard", Exact, "Tfrm_vipcard", "Tbase_frmDictMdi", "VIP会员资料", NonModal, Members,
     nullptr},
    {"frm_account", Exact, "Tfrm_account", "Tbase_frmDictMdi", "资金帐户设置", NonModal, Codes,
     nullptr},
    {"frm_planprice", Exact, "Tfrm_planprice", "Tbase_frmDictMdi", "货品参考成本价", NonModal,
     Prices, nullptr},
    {"frm_syslog", Exact, "Tfrm_syslog", "Tbase_frmDictMdi", "操作日志", NonModal, Codes, nullptr},
    {"frm_orderTarget", Exact, "Tfrm_orderTarget", "Tbase_frmDictMdi", "客户订货目标设置", NonModal,
     Prices, nullptr},
    {"frm_commuBook", Exact, "Tfrm_commuBook", "Tbase_frmMditree", "通讯簿", NonModal, Partners,
     nullptr},
    {"frm_goodsOrderSoure", Exact, "Tfrm_goodsOrderSoure", "Tbase_frmDictMdi", "货品订货目标",
     NonModal, Prices, nullptr},
    {"frm_goodsprice", Exact, "Tfrm_goodsprice", "Tbase_frmDictMdi", "设定货品价格", NonModal,
     Prices, nullptr},
    {"frm_goodscolor", Exact, "Tfrm_goodscolor", "Tbase_frmDictMdi", "货品颜色", NonModal, Goods,
     nullptr},
    {"frm_housestockLimit", Exact, "Tfrm_housestockLimit", "Tbase_frmDictMdi", "库存上下限设置",
     NonModal, Codes, nullptr},
    {"frm_RetailChargesItem", Exact, "Tfrm_RetailChargesItem", "Tbase_frmDictMdi", "零售费用项目",
     Modal, Codes, nullptr},
    {"frm_GoodsPriceRange", Exact, "Tfrm_GoodsPriceRange", "Tbase_frmDictMdi", "价位段设置", Modal,
     Prices, nullptr},
    {"frm_BarGuidEdit", AnyCase, "Tfrm_BarGuidEdit", "Tbase_frmMdi", "产品序列号维护", NonModal,
     Barcodes, nullptr},
    {"frm_ClientAssets", AnyCase, "Tfrm_ClientAssets", "Tbase_frmDictMdi", "店铺固定资产列表",
     NonModal, Partners, nullptr},
    {"frm_ClientPlanPrice", AnyCase, "Tfrm_ClientPlanPrice", "Tbase_frmDictMdi", "店铺货品成本价",
     NonModal, Prices, nullptr},
    {"frm_SaleValues", AnyCase, "Tfrm_SaleValues", "Tbase_frmDictMdi", "销售提成方案", NonModal,
     Prices, nullptr},
    {"frm_BarGuidReg", AnyCase, "Tfrm_BarGuidReg", "Tbase_frmMdi", "产品序列号注册", Modal,
     Barcodes, nullptr},
    {"frm_HouseLocal", Exact, "Tfrm_HouseLocal", "Tbase_frmMdi", "仓位维护", NonModal, Codes,
     nullptr},
    {"frm_MrGoods", Exact, "Tfrm_MrGoods", "Tbase_frmDictMdi", "版单款号", NonModal, Goods,
     nullptr},
    {"frm_Retailprice", Exact, "Tfrm_Retailprice", "Tbase_frmDictMdi", "店铺零售价", NonModal,
     Prices, nullptr},
    {"frm_KQtype", Exact, "Tfrm_KQtype", "Tbase_frmMdi", "考勤参数设定", Modal, Staff, nullptr},
    {"frm_KQ_BanCi", Exact, "Tfrm_KQ_BanCi", "Tbase_frm", "班次设置", Modal, Staff, nullptr},
    {"frm_KQ_Record", Exact, "Tfrm_KQ_Record", "Tbase_frm", "采集考勤数据", Modal, Staff, nullptr},
    {"frm_KQ_WagesItem", Exact, "Tfrm_KQ_WagesItem", "Tbase_frm", "工资项目设置", Modal, Staff,
     nullptr},
    {"frm_KQ_Emp_Wages", Exact, "Tfrm_KQ_Emp_Wages", "Tbase_frm", "员工工资项设定", Modal, Staff,
     nullptr},
    {"frm_KQ_Item", Exact, "Tfrm_KQ_Item", "Tbase_frm", "考勤项目设置", Modal, Staff, nullptr},
    // The only name that differs from its class: the month chooser leads on to the shift schedule.
    {"frm_KQ_EmpBanci", Exact, "Tfrm_KQ_BanCiMonth", "Tbase_frm", "选择月份", Modal, Staff,
     nullptr},
    {"frm_GoodsReturnNote", Exact, "Tfrm_GoodsReturnNote", "Tbase_frmMdi", "商品维修管理", NonModal,
     Repairs, nullptr},
    {"frm_MoneyCard", Exact, "Tfrm_MoneyCard", "Tbase_frmMdi", "现金券管理", NonModal, Members,
     nullptr},
};

constexpr int kFormCount = int(std::size(g_forms));
static_assert(kFormCount == 53);

// Rows without a factory of their own take the one their form class registered
// (MD_REGISTER_FORM); done once, before the first lookup, so that tests can still
// replace or remove factories afterwards.
void resolveFactories() {
    static bool resolved = false;
    if (resolved) return;
    resolved = true;
    for (FormEntry& entry : g_forms)
        if (!entry.factory) entry.factory = md::ui::formFactoryFor(entry.className);
}

}  // namespace

int formCount() {
    return kFormCount;
}

const FormEntry& formAt(int index) {
    resolveFactories();
    return g_forms[index];
}

const FormEntry* findForm(const QString& name) {
    resolveFactories();
    const QString upper = name.toUpper();
    for (const FormEntry& entry : g_forms) {
        const QString key = QString::fromUtf8(entry.name);
        if (entry.anyCase ? upper == key.toUpper() : name == key) return &entry;
    }
    return nullptr;
}

FormFactory setFormFactory(const char* name, FormFactory factory) {
    resolveFactories();
    for (FormEntry& entry : g_forms) {
        if (qstrcmp(entry.name, name) != 0) continue;
        const FormFactory previous = entry.factory;
        entry.factory = factory;
        return previous;
    }
    return nullptr;
}

}  // namespace md::entry
