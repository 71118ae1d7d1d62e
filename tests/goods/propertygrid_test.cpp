// The vertical property grid over one in-memory record: its rows and
// categories, the input gate, masks, free text joining a value list, and what
// the rows show.
#include "propertygrid.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>

#include "baseform.h"
#include "datasource.h"
#include "messages.h"
#include "remoteudpdataset.h"

namespace {

class PropertyGridTest : public ::testing::Test {
  protected:
    PropertyGridTest() {
        record.AddField(QStringLiteral("code"), ftString, 15);
        record.AddField(QStringLiteral("brand"), ftString, 30);
        record.AddField(QStringLiteral("qty"), ftString, 30);
        record.AddField(QStringLiteral("price"), ftCurrency);
        record.AddField(QStringLiteral("active"), ftBoolean);
        record.AddField(QStringLiteral("colour"), ftString, 10);
        record.CreateDataSet();
        record.Append();
        record.FieldByName(QStringLiteral("code")).SetAsString(QStringLiteral("A01"));
        record.FieldByName(QStringLiteral("price")).SetAsFloat(1234.5);
        record.FieldByName(QStringLiteral("colour")).SetAsString(QStringLiteral("01"));
        record.Post();
        colours.AddField(QStringLiteral("colorid"), ftString, 10);
        colours.AddField(QStringLiteral("colorname_ch"), ftString, 20);
        colours.CreateDataSet();
        colours.Append();
        colours.FieldByName(QStringLiteral("colorid")).SetAsString(QStringLiteral("01"));
        colours.FieldByName(QStringLiteral("colorname_ch")).SetAsString(QStringLiteral("黑色"));
        colours.Post();

        source.setDataSet(&record);
        source.SetAutoEdit(false);
        grid.setDataSource(&source);
        basic = grid.AddCategory(QStringLiteral("基础资料"));
        notes = grid.AddCategory(QStringLiteral("辅助说明"));
        grid.AddRow(QStringLiteral("code"), QStringLiteral("货号*"), basic).upperCase();
        grid.AddRow(QStringLiteral("brand"), QStringLiteral("品牌"), basic)
            .valueList({QStringLiteral("雅韵")}, true);
        grid.AddRow(QStringLiteral("price"), QStringLiteral("吊牌价*"), basic)
            .currency(QStringLiteral("￥,0.00;￥-,0.00"));
        grid.AddRow(QStringLiteral("active"), QStringLiteral("启用否"), basic).checkBox();
        grid.AddRow(QStringLiteral("qty"), QStringLiteral("包装数量"), notes)
            .mask(QStringLiteral("[0-9]+"));
        grid.AddRow(QStringLiteral("colour"), QStringLiteral("颜色"), notes)
            .lookup(&colours, QStringLiteral("colorid"),
                    {QStringLiteral("colorid"), QStringLiteral("colorname_ch")}, {},
                    QStringLiteral("colorname_ch"));
    }

    md::ui::MessageScript script;
    TRemoteUdpDataSet record;
    TRemoteUdpDataSet colours;
    TDataSource source;
    TDBVerticalGrid grid;
    int basic = -1;
    int notes = -1;
};

TEST_F(PropertyGridTest, RowsSitUnderTheirCategoriesAndShowTheRecord) {
    QAbstractItemModelTester tester(grid.propertyModel(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    TPropertyModel* model = grid.propertyModel();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("基础资料"));
    EXPECT_EQ(model->rowCount(model->index(0, 0)), 4);
    EXPECT_EQ(model->rowCount(model->index(1, 0)), 2);
    EXPECT_EQ(model->index(1, 0, model->index(1, 0)).data().toString(), QStringLiteral("颜色"));

    EXPECT_EQ(grid.DisplayText(QStringLiteral("price")), QStringLiteral("￥1,234.50"));
    EXPECT_EQ(grid.DisplayText(QStringLiteral("colour")),
              QStringLiteral("黑色"));  // the lookup's display field
    EXPECT_EQ(grid.DisplayText(QStringLiteral("active")), QStringLiteral("否"));

    // A renamed row shows its new caption at once.
    grid.Row(QStringLiteral("qty"))->caption(QStringLiteral("垫脚"));
    EXPECT_EQ(model->index(0, 0, model->index(1, 0)).data().toString(), QStringLiteral("垫脚"));
}

TEST_F(PropertyGridTest, RowsTakeInputOnlyThroughTheGateAndAnEditedRecord) {
    // Browsing record, source without AutoEdit: nothing is written.
    EXPECT_FALSE(grid.SetRowText(QStringLiteral("brand"), QStringLiteral("悦动")));
    EXPECT_EQ(record.State(), dsBrowse);
    record.Edit();
    grid.SetInputAllowed(false);
    EXPECT_FALSE(grid.SetRowText(QStringLiteral("brand"), QStringLiteral("悦动")));
    grid.SetInputAllowed(true);
    EXPECT_TRUE(grid.SetRowText(QStringLiteral("brand"), QStringLiteral("悦动")));
    EXPECT_EQ(record.FieldByName(QStringLiteral("brand")).AsString(), QStringLiteral("悦动"));

    // A read-only row refuses even then.
    grid.Row(QStringLiteral("brand"))->readOnly();
    EXPECT_FALSE(grid.SetRowText(QStringLiteral("brand"), QStringLiteral("雅韵")));
    EXPECT_TRUE(script.shown().isEmpty());
}

TEST_F(PropertyGridTest, TypedValuesFollowTheRowsRules) {
    record.Edit();
    // Free text joins the value list for as long as the grid lives.
    EXPECT_TRUE(grid.SetRowText(QStringLiteral("brand"), QStringLiteral("森屿")));
    EXPECT_EQ(grid.Row(QStringLiteral("brand"))->Items(),
              (QStringList{QStringLiteral("雅韵"), QStringLiteral("森屿")}));
    // The mask takes digits only.
    EXPECT_FALSE(grid.SetRowText(QStringLiteral("qty"), QStringLiteral("12件")));
    EXPECT_TRUE(grid.SetRowText(QStringLiteral("qty"), QStringLiteral("12")));
    EXPECT_EQ(record.FieldByName(QStringLiteral("qty")).AsString(), QStringLiteral("12"));
    // Upper case rows store capitals; check boxes store booleans; empty text stores null.
    EXPECT_TRUE(grid.SetRowText(QStringLiteral("code"), QStringLiteral("b02x")));
    EXPECT_EQ(record.FieldByName(QStringLiteral("code")).AsString(), QStringLiteral("B02X"));
    EXPECT_TRUE(grid.SetRowText(QStringLiteral("active"), QStringLiteral("1")));
    EXPECT_TRUE(record.FieldByName(QStringLiteral("active")).AsBoolean());
    EXPECT_EQ(grid.DisplayText(QStringLiteral("active")), QStringLiteral("是"));
    EXPECT_TRUE(grid.SetRowText(QStringLiteral("price"), QString()));
    EXPECT_TRUE(record.FieldByName(QStringLiteral("price")).IsNull());

    // A value the field's own check refuses leaves the field as it was.
    record.FieldByName(QStringLiteral("brand")).OnValidate = [](TField& f) {
        if (f.AsString() == QStringLiteral("禁用")) md::ui::Refuse(QStringLiteral("不可用"));
    };
    EXPECT_FALSE(grid.SetRowText(QStringLiteral("brand"), QStringLiteral("禁用")));
    EXPECT_EQ(record.FieldByName(QStringLiteral("brand")).AsString(), QStringLiteral("森屿"));
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("不可用")});
}

}  // namespace
