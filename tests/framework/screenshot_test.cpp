// Pictures of a grid editor and a tree editor with Chinese captions, saved
// for a person to look at (/tmp/framework_*.png); the tests check what such a
// person would see first: the rows, the dialogs' captions.
#include <QDir>
#include <QPixmap>

#include "fixture.h"

using namespace md::test;

namespace {

QString picturePath(const char* name) {
    return QDir::temp().filePath(QString::fromLatin1(name));
}

}  // namespace

TEST_F(FrameworkTest, GridAndTreeEditorsRender) {
    grantAll();
    const char* names[] = {"大红", "藏青", "米白", "卡其", "墨绿", "酒红"};
    for (int i = 0; i < 6; ++i)
        db.exec(
            QStringLiteral("insert into t_color(colorid,colorname_ch,fqty,fprice,finused,fdate) "
                           "values('C%1','%2',%3,%4,%5,'2024-03-1%1')")
                .arg(i + 1)
                .arg(QString::fromUtf8(names[i]))
                .arg(i * 3 + 1)
                .arg(19.9 * (i + 1))
                .arg(i % 2));
    auto* grid = open<Tfrm_testcolor>();
    grid->resize(860, 380);
    grid->show();
    grid->edit_action->trigger();
    QCoreApplication::processEvents();
    const QPixmap gridPicture = grid->grab();
    EXPECT_EQ(grid->cxGrid1DBTableView1->model()->rowCount(), 6);
    EXPECT_TRUE(gridPicture.save(picturePath("framework_grid.png")));

    // The filter builder and the print preview, as the grid editor opens them.
    QStringList dialogs;
    script.onDialog([&dialogs](QDialog& dialog) {
        dialogs << dialog.windowTitle();
        if (auto* builder = qobject_cast<TFilterDialog*>(&dialog))
            builder->setConditions(
                {{false, "colorname_ch", "包含", "红"}, {true, "fqty", ">=", "10"}});
        dialog.show();
        dialog.resize(dialog.inherits("QPrintPreviewDialog") ? QSize(700, 600) : dialog.size());
        QCoreApplication::processEvents();
        const QString name =
            dialog.inherits("QPrintPreviewDialog") ? "framework_preview.png" : "framework_find.png";
        dialog.grab().save(picturePath(name.toLatin1().constData()));
        return int(QDialog::Rejected);
    });
    grid->post_action->trigger();
    grid->find_action->trigger();
    grid->print_action->trigger();
    ASSERT_EQ(dialogs.size(), 2);
    EXPECT_FALSE(dialogs[0].isEmpty());
    EXPECT_TRUE(dialogs[1].contains(grid->windowTitle())) << dialogs[1].toStdString();
    EXPECT_EQ(grid->DBmaster_table->RecordCount(), 6);

    db.exec("insert into t_area(fcode,fname,fparentcode,fnotes) values('E','华东','0','')");
    db.exec("insert into t_area(fcode,fname,fparentcode,fnotes) values('E01','上海','E','直辖市')");
    db.exec("insert into t_area(fcode,fname,fparentcode,fnotes) values('E02','江苏','E','')");
    db.exec(
        "insert into t_area(fcode,fname,fparentcode,fnotes) values('E0201','南京','E02','省会')");
    db.exec("insert into t_area(fcode,fname,fparentcode,fnotes) values('S','华南','0','')");
    auto* tree = open<Tfrm_testarea>();
    tree->resize(700, 380);
    tree->show();
    tree->DBmaster_table->Locate("fcode", "E01");
    QCoreApplication::processEvents();
    const QPixmap treePicture = tree->grab();
    EXPECT_EQ(tree->DBmaster_table->FieldByName("fname").AsString(), QStringLiteral("上海"));
    EXPECT_TRUE(treePicture.save(picturePath("framework_tree.png")));
}
