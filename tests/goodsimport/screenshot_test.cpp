// A picture of the import dialog after "数据核查" for a person to look at
// (/tmp/goodsimport.png).
#include <QApplication>
#include <QDir>

#include "goodsimportfixture.h"

using namespace md::test;

TEST_F(GoodsImportTest, ThePictureAfterACheck) {
    auto* form = openImport();
    form->resize(1180, 420);
    form->show();
    form->PasteText(sheet({"货号", "助记码", "货品名称", "尺码类别", "颜色编号", "颜色说明", "品牌",
                           "年份", "季节", "类别", "吊牌价", "单位", "性别", "面料", "备注"},
                          {{"Y25A001", "YA1", "休闲衬衫", "TOPS", "01", "", "雅韵", "2025", "春",
                            "衬衫", "199", "件", "男", "棉", ""},
                           {"Y25A001", "YA1", "休闲衬衫", "TOPS", "", "白色", "雅韵", "2025", "春",
                            "衬衫", "199", "件", "男", "棉", ""},
                           {"Y25A002", "YA2", "牛仔长裤", "PANTS", "07", "水洗蓝", "雅韵", "2025",
                            "夏", "裤装", "259", "条", "女", "牛仔布", "新款"},
                           {"Y25K001", "YK1", "童装卫衣", "KIDS", "03", "", "悦动", "2025", "秋",
                            "卫衣", "129", "件", "", "", ""},
                           {"Y25A003", "YA3", "针织开衫", "", "02", "", "雅韵", "2025", "秋",
                            "针织", "一百", "件", "女", "羊毛", ""},
                           {"Y25A004", "YA4", "风衣", "TOPS", "", "", "雅韵", "2025", "冬", "外套",
                            "599", "件", "男", "涤纶", ""}}));
    form->But_Check->click();
    QApplication::processEvents();
    EXPECT_EQ(form->RowCount(), 6);
    EXPECT_TRUE(form->grab().toImage().save(QDir::temp().filePath("goodsimport.png")));
}
