// The report plug-in's entry point: the same seven parameters as the module's
// CreateDLLForm, answering the four report names with report windows.
#include <QApplication>
#include <QHash>
#include <QMainWindow>
#include <QMdiArea>
#include <QPointer>

#include "createdllform.h"
#include "mdichild.h"
#include "messages.h"
#include "reportform.h"
#include "session.h"

namespace {

const TReportDefinition kReports[] = {
    // The region by name; the credit terms as the client record keeps them.
    {"frm_re_client",
     "客户资料表",
     "select fcode,fname,fabbrev,fmathod,fgrad,fcontactman,ftel1,faddres,fcredit_type,fcredit,"
     "(select fName from ba_Area where ba_Area.fCode=dt_client.fareacode) as fareaname "
     "from dt_client",
     "fcode",
     TReportDefinition::ClientScope,
     "fcode",
     {{"fcode", "客户编号", 90, false},
      {"fname", "客户名称", 200, false},
      {"fabbrev", "客户简称", 110, false},
      {"fmathod", "性质", 60, false},
      {"fgrad", "等级", 80, false},
      {"fareaname", "所属地区", 80, false},
      {"fcontactman", "联系人", 80, false},
      {"ftel1", "电话", 110, false},
      {"fcredit_type", "控制信用度", 80, false},
      {"fcredit", "信用额度", 100, false},
      {"faddres", "地址", 240, false}}},
    {"frm_re_goods",
     "货品资料表",
     "select goodsid,goodsname,brand,ayear,season,sort,size_class,unitprice from goods",
     "goodsid",
     TReportDefinition::BrandScope,
     "brand",
     {{"goodsid", "货号", 100, false},
      {"goodsname", "货品名称", 180, false},
      {"brand", "品牌", 80, false},
      {"ayear", "年份", 60, false},
      {"season", "季节", 60, false},
      {"sort", "类别", 80, false},
      {"size_class", "尺码类别", 80, false},
      {"unitprice", "吊牌价", 90, true}}},
    // The category by name; suppliers no longer in use stay listed, marked.
    {"frm_re_supplier",
     "供应商资料表",
     "select fcode,fname,fabbrev,"
     "(select fName from ba_Ptype where ba_Ptype.fCode=dt_supplier.fsortcode) as fsortname,"
     "keyman,contactman,tel1,tel2,fax,addres,stratbit from dt_supplier",
     "fcode",
     TReportDefinition::NoScope,
     nullptr,
     {{"fcode", "供应商编号", 80, false},
      {"fname", "供应商名称", 200, false},
      {"fabbrev", "简称", 90, false},
      {"fsortname", "类别", 80, false},
      {"keyman", "负责人", 64, false},
      {"contactman", "联系人", 64, false},
      {"tel1", "电话", 110, false},
      {"tel2", "手机", 100, false},
      {"fax", "传真", 110, false},
      {"addres", "地址", 240, false},
      {"stratbit", "启用否", 50, false}}},
    // Members by shop and category, each card with its validity on the day
    // the report is read.
    {"frm_re_vipcard",
     "VIP会员资料表",
     "select a.clientid,c.fabbrev,b.vipLBname,a.vipid,a.name,a.sex,a.mobiletel,a.birthdate,"
     "b.discount,a.begaindate,a.enddate,"
     "case when a.enddate<convert(varchar(10),getdate(),120) then '已过期' "
     "when a.begaindate>getdate() then '未生效' else '有效' end as fstate,a.amount "
     "from dt_vipcard a left join ba_viplb b on a.vipgrade=b.viplbid "
     "left join dt_client c on a.clientid=c.fcode",
     "a.clientid,a.vipgrade,a.vipid",
     TReportDefinition::ClientScope,
     "a.clientid",
     {{"clientid", "店铺编号", 80, false},
      {"fabbrev", "发卡店铺", 110, false},
      {"vipLBname", "VIP类别", 80, false},
      {"vipid", "Vip卡号", 110, false},
      {"name", "姓名", 80, false},
      {"sex", "性别", 44, false},
      {"mobiletel", "手机号码", 110, false},
      {"birthdate", "出生日期", 86, false},
      {"discount", "折扣", 56, false},
      {"begaindate", "生效日期", 86, false},
      {"enddate", "失效日期", 86, false},
      {"fstate", "有效状态", 70, false},
      {"amount", "积分", 70, false}}},
};

QHash<const TReportDefinition*, QPointer<Treport_frm>> g_open;

const TReportDefinition* findReport(const QString& name) {
    for (const TReportDefinition& report : kReports)
        if (name.compare(QString::fromUtf8(report.name), Qt::CaseInsensitive) == 0) return &report;
    return nullptr;
}

// The bridge that calls us keeps the window and shows nothing, so the window
// puts itself into the host's multi-document area (or stands alone).
void showInHost(Treport_frm* window, QMainWindow* host) {
    if (auto* area = host ? qobject_cast<QMdiArea*>(host->centralWidget()) : nullptr)
        md::ShowAsMdiChild(*area, *window);
    else
        window->show();
}

}  // namespace

QWidget* CreateDLLForm(QApplication* application, QObject* screen, const QString& formName,
                       const char* userNo, const char* rightListName,
                       TRemoteUdpConnection* connection, QMainWindow* hostMainForm) {
    Q_UNUSED(screen);
    md::SessionContext& session = md::Session();
    session.HostApplication = application;
    session.UserNo = QString::fromUtf8(userNo ? userNo : "");
    session.RightListName = QString::fromUtf8(rightListName ? rightListName : "");
    session.Connection = connection;
    session.HostMainForm = hostMainForm;

    const TReportDefinition* report = findReport(formName);
    if (!report) return nullptr;
    QPointer<Treport_frm>& slot = g_open[report];
    if (!slot) slot = md::ui::CreateForm<Treport_frm>(*report, hostMainForm);
    showInHost(slot, hostMainForm);
    return slot;
}
