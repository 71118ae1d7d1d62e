#pragma once
// The form registry: the 53 functions the module offers, in table order. The
// entry point looks names up here; the host builds its menus from the same rows
// (read through CreateDLLFormList), so there is one list of functions.
class QDialog;
class QWidget;
class QString;

namespace md::entry {

// The host's menus, in menu-bar order; kMenuNames holds their captions.
enum Menu { Codes, Goods, Barcodes, Prices, Partners, Members, Staff, Repairs };

// Makes the form, its create handler run (md::ui::CreateForm), owned by `owner`.
using FormFactory = QDialog* (*)(QWidget* owner);

struct FormEntry {
    const char* name;  // registry key, also the right-list name the host passes
    bool anyCase;      // compared after upper-casing both sides; else exactly
    const char* className;
    const char* baseClass;
    const char* caption;
    bool modal;           // run modally by the module; else returned to the host
    Menu menu;            // the host's menu
    FormFactory factory;  // null while the form is not built yet
};

inline constexpr const char* kMenuNames[] = {
    "基础资料",     "货品资料",     "条码管理",   "价格管理",
    "客户与供应商", "会员与现金券", "员工与考勤", "维修管理",
};
inline constexpr int kMenuCount = int(sizeof(kMenuNames) / sizeof(kMenuNames[0]));

// The rows in table order.
int formCount();
const FormEntry& formAt(int index);
// The first row whose name matches, or null.
const FormEntry* findForm(const QString& name);

// For tests: makes `name` create its form with `factory` (null: not built).
// Returns the factory it replaces.
FormFactory setFormFactory(const char* name, FormFactory factory);

}  // namespace md::entry

// Read by the host through QLibrary: the rows and their number.
extern "C" __attribute__((visibility("default"))) int CreateDLLFormList(
    const md::entry::FormEntry** entries);
