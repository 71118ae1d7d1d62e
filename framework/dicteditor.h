#pragma once
// Tbase_frmDictMdi: the grid dictionary editor. A flat table edited directly
// in the grid cxGrid1 (view cxGrid1DBTableView1 on DbMaster_Source), with the
// record editor's toolbar and state rule; the grid takes input only while
// editing. A form is its description plus handlers:
//
//     class Tfrm_color : public Tbase_frmDictMdi {
//     public:
//         explicit Tfrm_color(QWidget* owner = nullptr) : Tbase_frmDictMdi(owner) {
//             setWindowTitle("基本颜色设置");
//             DBmaster_table->SetSQL("select * from ba_color");
//             DBmaster_table->SetRTSQL(DBmaster_table->SQL());
//             auto* v = cxGrid1DBTableView1;
//             v->AddColumn("colorid", "颜色编号").footer(TSummaryKind::Count, "记录数：0");
//             v->AddColumn("colorname_ch", "颜色中文说明");
//             v->AddColumn("color_values", "颜色对比值").color();
//             ShowActions({print_action});
//             HideActions({first_action, prio_action, next_action, last_action});
//         }
//     protected:
//         void FormCreate() override { Tbase_frmDictMdi::FormCreate();
//         DBmaster_table->setrtactive(true); } void DBmaster_tableBeforePost() override {
//             if (DBmaster_table->FieldByName("colorid").AsString().isEmpty())
//             md::ui::Refuse("颜色编号不能为空！");
//         }
//     };
#include <QSize>
#include <vector>

#include "gridcolumn.h"
#include "mdiform.h"

class TDBGrid;
class TDBTableView;

// A flat code table as data: the window's caption, its query, its columns and
// the fields a record needs before it is saved. A new code table is one such
// row plus its own handlers:
//
//     const TCodeTable kColours{"基本颜色设置", "select * from ba_color",
//         {{"colorid", "颜色编号", 100, TEditorKind::Text, TSummaryKind::Count, "记录数：0"},
//          {"color_values", "颜色对比值", 150, TEditorKind::Color}},
//         {{"colorid", "颜色编号不能为空！"}}, {720, 520}};
struct TCodeTable {
    struct Column {
        const char* field;
        const char* caption;
        int width = 100;
        TEditorKind kind = TEditorKind::Text;
        TSummaryKind footer = TSummaryKind::None;
        const char* footerText = "";
        bool hidden = false;
    };
    struct Required {
        const char* field;
        const char* message;  // shown when the field is empty
    };
    const char* caption;
    const char* sql;
    std::vector<Column> columns;
    std::vector<Required> required;
    QSize size;
};

class Tbase_frmDictMdi : public Tbase_frmMdi {
    Q_OBJECT
  public:
    explicit Tbase_frmDictMdi(QWidget* owner = nullptr);

    TDBGrid* cxGrid1;
    TDBTableView* cxGrid1DBTableView1;

    // Builds the window from its description: caption, query (opened at
    // creation), columns; the navigation actions are hidden.
    void Describe(const TCodeTable& table);

  protected:
    void FormCreate() override;
    void append_actionExecute() override;
    // The described required fields, in order: the first empty one is refused.
    void DBmaster_tableBeforePost() override;
    TDBTableView* MasterView() const override { return cxGrid1DBTableView1; }

  private:
    const TCodeTable* m_described = nullptr;
};
