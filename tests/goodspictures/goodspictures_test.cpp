// The two goods picture windows: the viewer that follows the goods form's
// picture record and saves it, and the read-only dialog for one goods code.
// Pictures of both are saved for a person to look at (/tmp/goodspictures_*.png).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLinearGradient>
#include <QPainter>
#include <QPointer>
#include <QTemporaryDir>

#include "datasource.h"
#include "formfixture.h"
#include "goods/frm_GoodsPicShow.h"
#include "goods/frm_ShowGoodImage.h"
#include "remoteudpdataset.h"

namespace {

// A small picture as the goods form stores them: a coloured swatch with the code on it.
QByteArray picture(const QColor& colour, const QString& code, const char* format = "JPG") {
    QImage image(240, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient shade(0, 0, 0, 300);
    shade.setColorAt(0, colour.lighter(130));
    shade.setColorAt(1, colour.darker(110));
    painter.fillRect(image.rect(), shade);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(26);
    painter.setFont(font);
    painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("雅韵\n") + code);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 90);
    return bytes;
}

// Which of red, green and blue the middle of the picture is.
QChar tint(const QImage& image) {
    const QColor c = image.pixelColor(image.width() / 2, image.height() / 8);
    if (c.red() > c.green() + 40 && c.red() > c.blue() + 40) return QLatin1Char('R');
    if (c.blue() > c.red() + 40 && c.blue() > c.green() + 40) return QLatin1Char('B');
    if (c.green() > c.red() + 40 && c.green() > c.blue() + 40) return QLatin1Char('G');
    return QLatin1Char('?');
}

QString picturePath(const char* name) {
    return QDir::temp().filePath(QString::fromLatin1(name));
}

class GoodsPictures : public ::testing::Test {
  protected:
    GoodsPictures() {
        md::test::startFormSession(db.conn(), QStringLiteral("frm_goods"), nullptr);
        store("A01", picture(QColor(200, 30, 40), "A01"));
        store("A02", picture(QColor(30, 60, 200), "A02"));
    }
    ~GoodsPictures() override {
        for (const QPointer<QWidget>& window : windows) delete window.data();
        md::test::endFormSession();
    }

    void store(const QString& code, const QByteArray& bytes) {
        const ParamMap values{{QStringLiteral("fgoodsid"), code},
                              {QStringLiteral("fimage"), bytes}};
        db.conn().ExecSQL(
            QStringLiteral("insert into GoodsImage(fgoodsid,fimage)values(:fgoodsid,:fimage)"),
            &values);
    }
    // The goods form's picture dataset as it loads the record of a goods code.
    void load(const QString& code) {
        pictures.Close();
        pictures.ParamByName(u"fgoodsid").SetAsString(code);
        pictures.Open();
    }
    Tfrm_GoodsPicShow* openViewer() {
        auto* viewer = md::ui::CreateForm<Tfrm_GoodsPicShow>();
        windows << viewer;
        viewer->SetPictureDataSet(&pictures);
        viewer->show();
        return viewer;
    }
    // The next save dialog is answered with this file (empty: cancelled).
    void answerSaveDialog(const QString& file) {
        script.onDialog([file](QDialog& dialog) {
            auto* save = qobject_cast<QFileDialog*>(&dialog);
            if (!save || file.isEmpty()) return int(QDialog::Rejected);
            save->selectFile(file);
            return int(QDialog::Accepted);
        });
    }

    md::test::TestDb db;
    md::ui::MessageScript script;
    TRemoteUdpDataSet pictures;
    QTemporaryDir dir;
    QList<QPointer<QWidget>> windows;

    void SetUp() override {
        pictures.setSetupUdpParent(&db.conn());
        pictures.SetSQL(QStringLiteral("select * from GoodsImage where fgoodsid=:fgoodsid"));
    }
};

TEST_F(GoodsPictures, ViewerShowsWhateverPictureRecordTheGoodsFormHasLoaded) {
    load("A01");
    Tfrm_GoodsPicShow* viewer = openViewer();
    EXPECT_EQ(viewer->windowTitle(), "显示图片");
    EXPECT_TRUE(viewer->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(viewer->isModal());
    EXPECT_EQ(tint(viewer->cxDBImage1->Picture()), 'R');
    viewer->resize(300, 420);
    QCoreApplication::processEvents();
    EXPECT_TRUE(viewer->grab().save(picturePath("goodspictures_viewer.png")));
    // Stretched over the whole control.
    EXPECT_EQ(tint(viewer->cxDBImage1->grab().toImage()), 'R');

    // Moving to another goods item changes the picture; so does a record the
    // goods form edits, before anything is saved: it is the same record.
    load("A02");
    EXPECT_EQ(tint(viewer->cxDBImage1->Picture()), 'B');
    pictures.Edit();
    pictures.FieldByName("fimage").SetValue(picture(QColor(20, 180, 40), "A02"));
    EXPECT_EQ(tint(viewer->cxDBImage1->Picture()), 'G');
    pictures.Cancel();
    EXPECT_EQ(tint(viewer->cxDBImage1->Picture()), 'B');

    // No picture: a goods item without one, a new empty picture record, the dataset closed.
    load("B99");
    EXPECT_FALSE(viewer->cxDBImage1->HasPicture());
    pictures.Append();
    EXPECT_FALSE(viewer->cxDBImage1->HasPicture());
    pictures.Cancel();
    load("A01");
    pictures.Close();
    EXPECT_FALSE(viewer->cxDBImage1->HasPicture());

    // The goods form's dataset may go first; closing the viewer frees it.
    {
        TRemoteUdpDataSet shortLived;
        shortLived.setSetupUdpParent(&db.conn());
        shortLived.SetSQL(QStringLiteral("select * from GoodsImage where fgoodsid='A02'"));
        shortLived.Open();
        viewer->SetPictureDataSet(&shortLived);
        EXPECT_EQ(tint(viewer->cxDBImage1->Picture()), 'B');
    }
    EXPECT_FALSE(viewer->cxDBImage1->HasPicture());
    QPointer<Tfrm_GoodsPicShow> alive(viewer);
    viewer->Close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull());
}

TEST_F(GoodsPictures, ViewerSavesThePictureAsJpeg) {
    load("A01");
    Tfrm_GoodsPicShow* viewer = openViewer();
    const QByteArray stored = pictures.FieldByName("fimage").Value().toByteArray();

    // A stored JPEG is written byte for byte; a cancelled dialog writes nothing.
    const QString jpeg = dir.filePath("A01.jpg");
    answerSaveDialog(QString());
    viewer->savepic_action->trigger();
    EXPECT_FALSE(QFile::exists(jpeg));
    answerSaveDialog(jpeg);
    viewer->savepic_action->trigger();
    QFile saved(jpeg);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), stored);

    // A picture stored in another format becomes a JPEG file.
    store("P01", picture(QColor(30, 60, 200), "P01", "PNG"));
    load("P01");
    const QString converted = dir.filePath("P01.jpg");
    answerSaveDialog(converted);
    viewer->savepic_action->trigger();
    QFile file(converted);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("\xFF\xD8\xFF"));
    EXPECT_EQ(tint(QImage::fromData(bytes)), 'B');

    // Nothing to save: no dialog. A file that cannot be written: the error box.
    load("B99");
    script.onDialog([](QDialog&) -> int {
        ADD_FAILURE() << "a dialog without a picture";
        return QDialog::Rejected;
    });
    viewer->savepic_action->trigger();
    load("A01");
    answerSaveDialog(dir.filePath("no/such/folder/x.jpg"));
    viewer->savepic_action->trigger();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().isError);
    EXPECT_EQ(script.shown().first().text,
              "图片无法保存到 " + dir.filePath("no/such/folder/x.jpg") + "。");
}

TEST_F(GoodsPictures, DialogShowsTheGoodsItemsPictureReadOnly) {
    db.conn().log().clear();
    bool shown = false;
    script.onDialog([&](QDialog& dialog) {
        auto* form = qobject_cast<Tfrm_ShowGoodImage*>(&dialog);
        EXPECT_NE(form, nullptr);
        if (!form) return int(QDialog::Rejected);
        shown = true;
        EXPECT_EQ(form->windowTitle(), "显示货品图片");
        EXPECT_TRUE(form->isModal());
        EXPECT_EQ(tint(form->cxDBImage1->Picture()), 'B');
        // Read-only: the controls never put the record into editing.
        EXPECT_FALSE(form->DataSource1->AutoEdit());
        EXPECT_EQ(form->DBImage_table->State(), dsBrowse);
        form->resize(300, 420);
        form->show();
        QCoreApplication::processEvents();
        EXPECT_TRUE(form->grab().save(picturePath("goodspictures_dialog.png")));
        return int(QDialog::Rejected);
    });
    Tfrm_ShowGoodImage::Execute("a02");  // codes compare without regard to case
    EXPECT_TRUE(shown);
    EXPECT_TRUE(db.conn().log().entries().contains(
        "select top 1 fimage from goodsimage where fgoodsid='a02'"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<Tfrm_ShowGoodImage*>(window), nullptr);

    // A code with a quote reads nothing and breaks nothing.
    bool empty = false;
    script.onDialog([&](QDialog& dialog) {
        empty = !static_cast<Tfrm_ShowGoodImage&>(dialog).cxDBImage1->HasPicture();
        return int(QDialog::Rejected);
    });
    Tfrm_ShowGoodImage::Execute("A'01");
    EXPECT_TRUE(empty);
    EXPECT_TRUE(db.conn().log().entries().contains(
        "select top 1 fimage from goodsimage where fgoodsid='A''01'"));
    EXPECT_TRUE(script.shown().isEmpty());
}

}  // namespace
