// The colour and size mapping dialogs and the local database the size
// mapping is copied to.
#include <QFile>
#include <QPushButton>

#include "barcodefixture.h"
#include "barcodes/frm_barcolor.h"
#include "barcodes/frm_barsize.h"
#include "localdata.h"

using namespace md::test;
using md::ui::Answer;

class BarcodeMappings : public BarcodeTest {
  protected:
    BarcodeMappings() {
        for (const char* c : {"01", "02", "03"})
            db.exec(QStringLiteral("insert into ba_color(colorid,colorname_ch) values('%1','色%1')")
                        .arg(QString::fromLatin1(c)));
        int index = 0;
        for (const char* size : {"S", "M", "L"})
            db.exec(QStringLiteral("insert into ba_size(size_class,size_name,displayindex,"
                                   "fieldname) values('TOPS','%1',%2,'S%2')")
                        .arg(QString::fromLatin1(size))
                        .arg(++index));
        // The same size in a second group is one size to map.
        db.exec(
            QStringLiteral("insert into ba_size(size_class,size_name,displayindex,fieldname) "
                           "values('KIDS','M',1,'S1')"));
    }
    // The dialog, run modally from the wizard's button, handled by `inside`.
    template <class Dialog>
    int runDialog(const std::function<void(Dialog&)>& inside) {
        script.onDialog([&](QDialog& shown) {
            auto* dialog = qobject_cast<Dialog*>(&shown);
            EXPECT_NE(dialog, nullptr);
            if (dialog) inside(*dialog);
            return shown.result();
        });
        return Dialog::Execute();
    }
    static void typeMapping(TGridDialog& dialog, const QString& key, const char* field,
                            const QString& text) {
        TDBTableView* v = dialog.cxGrid1DBTableView1;
        ASSERT_TRUE(dialog.DBmaster_table->Locate(v->Columns().first()->FieldName(), key));
        v->setCurrentIndex(v->gridModel()->index(v->currentIndex().row(),
                                                 v->SectionOf(QString::fromLatin1(field))));
        v->edit(v->currentIndex());
        QWidget* editor = qobject_cast<TGridDelegate*>(v->itemDelegate())->openEditor();
        ASSERT_NE(editor, nullptr);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) line->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }
};

TEST_F(BarcodeMappings, ColoursMapToThemselvesOnceAndOkSavesWhileCancelDrops) {
    db.exec(QStringLiteral("insert into barcode_color(fcolorid,fbarcolorid) values('02','WH')"));
    const int shown = runDialog<Tfrm_barcolor>([&](Tfrm_barcolor& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("条形码颜色对照表"));
        EXPECT_EQ(dialog.DBmaster_table->RecordCount(), 3);
        EXPECT_EQ(dialog.DBmaster_table->Lookup(QStringLiteral("fcolorid"), QStringLiteral("03"),
                                                QStringLiteral("fcolorname")),
                  QVariant(QStringLiteral("色03")));
        typeMapping(dialog, QStringLiteral("01"), "fbarcolorid", QStringLiteral("bk"));
        dialog.But_OK->click();
    });
    EXPECT_EQ(shown, QDialog::Accepted);
    EXPECT_EQ(
        rows(QStringLiteral("select fcolorid,fbarcolorid from barcode_color order by fcolorid")),
        (QStringList{"01|BK", "02|WH", "03|03"}));

    // Opened again: no second identity row; 取消 drops what was typed.
    runDialog<Tfrm_barcolor>([&](Tfrm_barcolor& dialog) {
        typeMapping(dialog, QStringLiteral("03"), "fbarcolorid", QStringLiteral("IV"));
        dialog.But_Cancel->click();
    });
    EXPECT_EQ(
        rows(QStringLiteral("select fcolorid,fbarcolorid from barcode_color order by fcolorid")),
        (QStringList{"01|BK", "02|WH", "03|03"}));
}

TEST_F(BarcodeMappings, SizesSaveAndStayOpenAndCopyToTheLocalDatabase) {
    ProgramHome home;
    runDialog<Tfrm_barsize>([&](Tfrm_barsize& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("条形码尺码对照表"));
        EXPECT_EQ(dialog.DBmaster_table->RecordCount(), 3);
        bool closed = false;
        QObject::connect(&dialog, &QDialog::finished, [&closed] { closed = true; });
        typeMapping(dialog, QStringLiteral("M"), "fbarcodesize", QStringLiteral("2"));
        script.clear();
        dialog.But_OK->click();
        EXPECT_EQ(script.texts(), QStringList{"保存成功！"});
        EXPECT_FALSE(closed);
        EXPECT_EQ(rows(QStringLiteral("select fbarcodesize from barcode_size where fsize='M'")),
                  QStringList{"2"});

        // No: the local database is not even made.
        script.answer(Answer::No);
        dialog.But_Local->click();
        EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral("localData.db"))));

        typeMapping(dialog, QStringLiteral("L"), "fbarcodesize", QStringLiteral("3"));
        script.clear();
        dialog.But_Local->click();
        EXPECT_EQ(script.texts(), (QStringList{"是否确认更新本地数据库?", "更新本地数据库成功"}));
        dialog.But_Cancel->click();
        EXPECT_TRUE(closed);
    });
    EXPECT_TRUE(QFile::exists(home.filePath(QStringLiteral("localData.db"))));
    auto local = [] {
        QStringList out;
        for (const QVariantList& r :
             md::ReadLocalRows(QStringLiteral("size_name"),
                               QStringLiteral("select size_name1,size_name2 from size_name "
                                              "order by size_name1")))
            out << r.value(0).toString() + QLatin1Char('|') + r.value(1).toString();
        return out;
    };
    // The mapping as shown, the unsaved L too; 取消 then dropped L on the server.
    EXPECT_EQ(local(), (QStringList{"L|3", "M|2", "S|S"}));
    EXPECT_EQ(rows(QStringLiteral("select fbarcodesize from barcode_size where fsize='L'")),
              QStringList{"L"});

    // A second copy replaces the rows.
    db.exec(QStringLiteral("delete from barcode_size where fsize='S'"));
    db.exec(QStringLiteral("delete from ba_size where size_name='S'"));
    runDialog<Tfrm_barsize>([&](Tfrm_barsize& dialog) {
        dialog.But_Local->click();
        dialog.But_Cancel->click();
    });
    EXPECT_EQ(local(), (QStringList{"L|L", "M|2"}));
}

TEST_F(BarcodeMappings, LocalDatabaseMakesItsTablesAndKeepsOldRowsWhenAWriteFails) {
    ProgramHome home;
    EXPECT_EQ(md::LocalDataFile(), home.filePath(QStringLiteral("localData.db")));
    md::Shared().LocalDataConnStr =
        QStringLiteral("Provider=SQLite;Data Source=") + home.filePath(QStringLiteral("other.db"));
    EXPECT_EQ(md::LocalDataFile(), home.filePath(QStringLiteral("other.db")));

    const QStringList columns{QStringLiteral("size_name1"), QStringLiteral("size_name2")};
    md::ReplaceLocalRows(QStringLiteral("size_name"), columns, {{"M", "2"}, {"L", "3"}});
    EXPECT_EQ(md::ReadLocalRows(QStringLiteral("size_name"),
                                QStringLiteral("select count(*) from size_name"))
                  .value(0)
                  .value(0)
                  .toInt(),
              2);
    // A row the table cannot take: the old rows stay.
    EXPECT_THROW(md::ReplaceLocalRows(QStringLiteral("size_name"),
                                      {QStringLiteral("size_name1"), QStringLiteral("nosuch")},
                                      {{"S", "1"}}),
                 EDatabaseError);
    EXPECT_EQ(md::ReadLocalRows(QStringLiteral("size_name"),
                                QStringLiteral("select size_name1 from size_name order by 1"))
                  .size(),
              2);
    EXPECT_THROW(md::OpenLocalData(QStringLiteral("nosuch")), EDatabaseError);
}
