// The 辅助说明 page: the photo chosen from a file (a file that is no picture
// refused, the old photo kept), the authorisation code only while editing,
// the masked password; and the list page with its double-click and print.
#include <QFile>
#include <QFileDialog>
#include <QPushButton>

#include "clientsfixture.h"
#include "dbimage.h"
#include "grid.h"

using namespace md::test;

namespace {

class ClientPhoto : public ClientsTest {
  protected:
    // The file dialog answered with this file.
    void chooseFile(const QString& path) {
        script.onDialog([path](QDialog& dialog) {
            auto* files = qobject_cast<QFileDialog*>(&dialog);
            EXPECT_TRUE(files);
            if (!files) return int(QDialog::Rejected);
            files->selectFile(path);
            return int(QDialog::Accepted);
        });
    }
    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = db.folder() + "/" + name;
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }
    QByteArray storedPhoto(const QString& code) {
        return db.scalar("select fimage from Dt_ClientImage where fcode='" + code + "'")
            .toByteArray();
    }
};

TEST_F(ClientPhoto, APhotoIsLoadedOnlyWhileEditingAndSavedWithTheClient) {
    Tfrm_client* f = openForm();
    select(f, "C02");
    EXPECT_FALSE(f->But_LoadPhoto->isEnabled());
    const QString png = writeFile("shop.png", picture(Qt::red, "PNG"));
    chooseFile(png);
    f->edit_action->trigger();
    ASSERT_TRUE(f->But_LoadPhoto->isEnabled());
    f->But_LoadPhoto->click();
    EXPECT_TRUE(f->cxDBImage1->HasPicture());
    EXPECT_EQ(db.count("Dt_ClientImage"), 0) << "saved with the client, not before";
    f->post_action->trigger();
    const QByteArray stored = storedPhoto("C02");
    EXPECT_TRUE(stored.startsWith("\xFF\xD8\xFF")) << "kept as JPEG";
    EXPECT_EQ(QImage::fromData(stored).size(), QSize(40, 50));
    EXPECT_EQ(script.texts(), QStringList{});
}

TEST_F(ClientPhoto, AFileThatIsNoPictureIsRefusedAndTheOldPhotoKept) {
    const QByteArray old = picture(Qt::blue, "JPG");
    db.exec("insert into Dt_ClientImage(fcode) values('C02')");
    {
        TRemoteUdpDataSet photo;
        photo.setSetupUdpParent(&db.conn());
        photo.SetSQL("select * from Dt_ClientImage where fcode='C02'");
        photo.Open();
        photo.Edit();
        photo.FieldByName("fimage").SetValue(old);
        photo.Post();
        photo.UpdateBatch();
    }
    Tfrm_client* f = openForm();
    select(f, "C02");
    f->edit_action->trigger();
    ASSERT_EQ(f->cxDBImage1->PictureData(), old);

    // Text, and a file with a JPEG's first bytes but nothing readable after them.
    for (const QByteArray& bad :
         {QByteArray("客户名单\n"), QByteArray("\xFF\xD8\xFF\xE0garbage")}) {
        script.clear();
        chooseFile(writeFile("notes.jpg", bad));
        f->But_LoadPhoto->click();
        EXPECT_EQ(script.texts(), QStringList{"所选文件不是可以识别的图片，相片未更改!"});
        EXPECT_EQ(f->cxDBImage1->PictureData(), old);
    }
    script.clear();
    f->post_action->trigger();
    EXPECT_EQ(storedPhoto("C02"), old);

    // Cleared and then cancelled: the photo stays too.
    f->edit_action->trigger();
    f->But_ClearPhoto->click();
    EXPECT_FALSE(f->cxDBImage1->HasPicture());
    f->cacel_action->trigger();
    EXPECT_EQ(f->cxDBImage1->PictureData(), old);
    EXPECT_EQ(storedPhoto("C02"), old);
}

TEST_F(ClientPhoto, ANewClientsPhotoGoesUnderTheCodeItIsSavedWith) {
    Tfrm_client* f = openForm();
    f->append_action->trigger();
    chooseFile(writeFile("new.jpg", picture(Qt::green, "JPG")));
    f->But_LoadPhoto->click();  // before the code is typed
    fillRequired(f, "N02", "新店");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(db.count("Dt_ClientImage where fcode='N02'"), 1);
    EXPECT_EQ(db.count("Dt_ClientImage"), 1);
}

TEST_F(ClientPhoto, TheAuthorisationCodeIsMadeOnlyWhileEditingAndThePasswordIsMasked) {
    Tfrm_client* f = openForm();
    select(f, "C02");
    EXPECT_FALSE(f->But_UserId->isEnabled());
    f->userid_action->trigger();
    EXPECT_EQ(field(f, "fuserid"), "");
    EXPECT_EQ(f->DBmaster_table->State(), dsBrowse);

    f->edit_action->trigger();
    EXPECT_TRUE(f->Edit_UserId->isReadOnly());
    f->But_UserId->click();
    const QString first = field(f, "fuserid");
    EXPECT_EQ(first.size(), 12);
    EXPECT_EQ(f->Edit_UserId->text(), first);
    f->But_UserId->click();
    EXPECT_NE(field(f, "fuserid"), first) << "a fresh code each time";

    EXPECT_EQ(f->Edit_UserPass->echoMode(), QLineEdit::Password);
    typeInto(f->Edit_UserPass, "nb2025");
    f->post_action->trigger();
    EXPECT_EQ(rows("select fuserpass from dt_client where fcode='C02'"), QStringList{"nb2025"});
    EXPECT_EQ(rows("select fuserid from dt_client where fcode='C02'"),
              QStringList{field(f, "fuserid")});
}

TEST_F(ClientPhoto, TheListShowsTheClientsADoubleClickOpensTheDetailsWithThePhoto) {
    db.exec("insert into Dt_ClientImage(fcode) values('C00')");
    Tfrm_client* f = openForm();
    f->ShowListPage();
    TDBTableView* list = f->GridListView;
    EXPECT_EQ(list->SummaryText(*list->Column("fcode")), "合计：5");
    QStringList captions;
    for (TGridColumn* column : list->Columns()) captions << column->Caption();
    EXPECT_EQ(captions, (QStringList{"客户编号", "客户简称", "客户名称", "客户性质", "客户等级",
                                     "联系人", "联系电话1", "联系电话2", "传真号码", "启用否"}));
    EXPECT_FALSE(list->InputAllowed());

    const QModelIndex c00 = list->model()->index(0, list->SectionOf("fcode"));
    ASSERT_EQ(c00.data().toString(), "C00");
    list->setCurrentIndex(c00);
    Q_EMIT list->doubleClicked(c00);
    EXPECT_EQ(f->PageControl1->currentWidget(), f->TabDetail);
    EXPECT_TRUE(f->DBimage->Active());
    EXPECT_EQ(f->DBimage->RecordCount(), 1);
    EXPECT_EQ(f->DBimage->State(), dsBrowse) << "shown, not edited";

    // While a client is edited the list does not move the record.
    f->edit_action->trigger();
    EXPECT_FALSE(f->GridList->isEnabled());
    f->cacel_action->trigger();
    EXPECT_TRUE(f->GridList->isEnabled());
}

}  // namespace
