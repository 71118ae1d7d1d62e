// The tree drop-down of goods types: nodes under their parents, the caption
// shown for a key, and the data-aware variant writing only into an edited record.
#include "treelookup.h"

#include <gtest/gtest.h>

#include <QTreeView>

#include "datasource.h"
#include "messages.h"
#include "remoteudpdataset.h"

namespace {

class TreeLookupTest : public ::testing::Test {
  protected:
    TreeLookupTest() {
        types.AddField(QStringLiteral("fcode"), ftString, 10);
        types.AddField(QStringLiteral("fname"), ftString, 20);
        types.AddField(QStringLiteral("fparentcode"), ftString, 10);
        types.CreateDataSet();
        const char* const rows[][3] = {{"T1", "上装", "0"},     {"T11", "T恤", "T1"},
                                       {"T12", "衬衫", "T1"},   {"T2", "下装", "0"},
                                       {"T21", "牛仔裤", "T2"}, {"X", "自环", "X"}};
        for (const auto& r : rows) {
            types.Append();
            types.FieldByName(QStringLiteral("fcode")).SetAsString(QString::fromUtf8(r[0]));
            types.FieldByName(QStringLiteral("fname")).SetAsString(QString::fromUtf8(r[1]));
            types.FieldByName(QStringLiteral("fparentcode")).SetAsString(QString::fromUtf8(r[2]));
            types.Post();
        }
    }
    md::ui::MessageScript script;
    TRemoteUdpDataSet types;
};

TEST_F(TreeLookupTest, NodesSitUnderTheirParentsAndTheBoxShowsTheCaption) {
    TTreeLookupCombo box;
    box.setList(&types, QStringLiteral("fcode"), QStringLiteral("fName"),
                QStringLiteral("fParentCode"));
    QAbstractItemModel* model = box.model();
    ASSERT_EQ(model->rowCount(), 3);  // 上装, 下装 and the node that names itself as parent
    EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("上装"));
    EXPECT_EQ(model->rowCount(model->index(0, 0)), 2);
    EXPECT_EQ(model->index(1, 0, model->index(0, 0)).data().toString(), QStringLiteral("衬衫"));

    box.setKeyValue(QStringLiteral("T21"));
    EXPECT_EQ(box.currentText(), QStringLiteral("牛仔裤"));
    EXPECT_EQ(box.keyValue(), QStringLiteral("T21"));
    box.setKeyValue(QStringLiteral("T1"));  // parents can be chosen too
    EXPECT_EQ(box.currentText(), QStringLiteral("上装"));
    box.setKeyValue(QString());
    EXPECT_TRUE(box.currentText().isEmpty());
}

TEST_F(TreeLookupTest, DataAwareBoxWritesTheKeyOfAnEditedRecordOnly) {
    TRemoteUdpDataSet goods;
    goods.AddField(QStringLiteral("typecode"), ftString, 10);
    goods.CreateDataSet();
    goods.Append();
    goods.FieldByName(QStringLiteral("typecode")).SetAsString(QStringLiteral("T11"));
    goods.Post();
    TDataSource source;
    source.setDataSet(&goods);
    source.SetAutoEdit(false);
    TDBTreeLookupCombo box(&source, QStringLiteral("typecode"));
    box.setList(&types, QStringLiteral("fcode"), QStringLiteral("fname"),
                QStringLiteral("fparentcode"));
    EXPECT_EQ(box.currentText(), QStringLiteral("T恤"));
    EXPECT_FALSE(box.isEnabled());

    Q_EMIT box.keyChosen(
        QStringLiteral("T12"));  // browsing: refused, the box shows the field again
    EXPECT_EQ(goods.FieldByName(QStringLiteral("typecode")).AsString(), QStringLiteral("T11"));
    EXPECT_EQ(box.keyValue(), QStringLiteral("T11"));
    goods.Edit();
    EXPECT_TRUE(box.isEnabled());
    Q_EMIT box.keyChosen(QStringLiteral("T12"));
    EXPECT_EQ(goods.FieldByName(QStringLiteral("typecode")).AsString(), QStringLiteral("T12"));
    goods.Cancel();
    EXPECT_EQ(box.currentText(), QStringLiteral("T恤"));
}

}  // namespace
