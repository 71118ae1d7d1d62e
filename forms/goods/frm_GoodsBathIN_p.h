#pragma once
// What the goods import's files share: its columns and the rules for the text
// in them.
#include <QCoreApplication>
#include <QProgressBar>
#include <QString>
#include <QStringList>
#include <optional>

#include "frm_GoodsBathIN.h"

namespace goodsimport {

struct ImportColumn {
    enum Kind { Text, Number, Date, Flag };
    const char* name;
    const char* caption;
    Kind kind;
    int width;   // characters a text may have; 0: no limit of the grid's own
    int pixels;  // column width in the grid
    bool shown;
};

// The rows' fields, in the grid's column order.
inline constexpr ImportColumn kImportColumns[] = {
    {"goodsid", "货号", ImportColumn::Text, 15, 90, true},
    {"goodssortid", "助记码", ImportColumn::Text, 15, 60, true},
    {"goodsname", "货品名称", ImportColumn::Text, 30, 90, true},
    {"size_class", "尺码类别", ImportColumn::Text, 30, 64, true},
    {"colorid", "颜色编号", ImportColumn::Text, 20, 64, true},
    {"colorname_ch", "颜色说明", ImportColumn::Text, 30, 64, true},
    {"brand", "品牌", ImportColumn::Text, 30, 50, true},
    {"ayear", "年份", ImportColumn::Text, 30, 44, true},
    {"season", "季节", ImportColumn::Text, 30, 40, true},
    {"sort", "类别", ImportColumn::Text, 30, 50, true},
    {"unitprice", "吊牌价", ImportColumn::Number, 0, 56, true},
    {"price1", "总代理价", ImportColumn::Number, 0, 64, false},
    {"price2", "一级代理价", ImportColumn::Number, 0, 64, false},
    {"price3", "二级代理价", ImportColumn::Number, 0, 64, false},
    {"price4", "经销价", ImportColumn::Number, 0, 64, false},
    {"price5", "批发价", ImportColumn::Number, 0, 64, false},
    {"price6", "一般客户价", ImportColumn::Number, 0, 64, false},
    {"unit", "单位", ImportColumn::Text, 30, 40, true},
    {"style", "规格", ImportColumn::Text, 30, 60, false},
    {"item", "项目", ImportColumn::Text, 30, 60, false},
    {"patter", "款式", ImportColumn::Text, 30, 60, false},
    {"catena", "故事", ImportColumn::Text, 30, 60, false},
    {"sex", "性别", ImportColumn::Text, 30, 40, true},
    {"masterial", "面料", ImportColumn::Text, 30, 56, true},
    {"lining", "里料", ImportColumn::Text, 30, 60, false},
    {"mat", "垫脚", ImportColumn::Text, 30, 60, false},
    {"standard", "执行标准", ImportColumn::Text, 30, 80, false},
    {"whence", "产地", ImportColumn::Text, 30, 60, false},
    {"topdate", "上市日期", ImportColumn::Date, 0, 80, false},
    {"field1", "备用字段1", ImportColumn::Text, 30, 70, false},
    {"field2", "备用字段2", ImportColumn::Text, 30, 70, false},
    {"field3", "备用字段3", ImportColumn::Text, 30, 70, false},
    {"field4", "备用字段4", ImportColumn::Text, 30, 70, false},
    {"remark", "备注", ImportColumn::Text, 50, 70, true},
    {"fremark", "数据核查结果", ImportColumn::Text, 50, 230, true},
    {"fflag", "", ImportColumn::Flag, 0, 0, false},
};

// A price as spreadsheets show it ("1,299.00", "￥199"); empty is 0. None when
// the text is no number.
std::optional<double> ParseNumber(const QString& text);
// A date as spreadsheets show it (2025-03-01, 2025/3/1, 2025.3.1, 20250301,
// with or without a time), as yyyy-MM-dd; empty stays empty. None when the text
// is no date.
std::optional<QString> ParseDate(const QString& text);
// "001" for 1; only the last three digits of larger numbers ("000" for 1000).
QString ThreeDigitCode(int number);
bool IsBlankRow(const QStringList& cells);

// The remarks for malformed cells and rows.
QString TooLongRemark(const QString& caption, int width);
QString NotNumberRemark(const QString& caption);
QString NotDateRemark(const QString& caption);
QString ColumnCountRemark(int expected, int found);

}  // namespace goodsimport

// Rows are worked in pieces; between pieces the window is repainted and, while
// checking, the user may stop.
inline constexpr int kPiece = 512;

// The progress bar over a run of rows, the dialog busy meanwhile.
class Tfrm_GoodsBathIN::Progress {
  public:
    Progress(Tfrm_GoodsBathIN& form, int total, bool stoppable)
        : m_form(form), m_stoppable(stoppable) {
        m_form.m_stopRequested = false;
        m_form.ProgressBar1->setRange(0, qMax(1, total));
        m_form.ProgressBar1->setValue(0);
        m_form.setBusy(true, stoppable);
    }
    ~Progress() { m_form.setBusy(false, false); }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // False once the user has asked to stop.
    bool step(int done) {
        if (done % kPiece == 0) {
            m_form.ProgressBar1->setValue(done);
            QCoreApplication::processEvents(m_stoppable ? QEventLoop::AllEvents
                                                        : QEventLoop::ExcludeUserInputEvents);
        }
        return !m_form.m_stopRequested;
    }
    void finish() { m_form.ProgressBar1->setValue(m_form.ProgressBar1->maximum()); }

  private:
    Tfrm_GoodsBathIN& m_form;
    bool m_stoppable;
};
