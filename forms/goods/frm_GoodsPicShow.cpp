#include "frm_GoodsPicShow.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>
#include <stdexcept>

#include "datasource.h"
#include "messages.h"
#include "remoteudpdataset.h"

namespace {

bool isJpeg(const QByteArray& data) {
    return data.startsWith("\xFF\xD8\xFF");
}

}  // namespace

Tfrm_GoodsPicShow::Tfrm_GoodsPicShow(QWidget* owner) : Tbase_frmTop(owner) {
    setObjectName(QStringLiteral("frm_GoodsPicShow"));
    setWindowTitle(QStringLiteral("显示图片"));
    resize(420, 520);

    DataSource1 = new TDataSource(QStringLiteral("DataSource1"), this);
    cxDBImage1 = new TDBImage(this);
    cxDBImage1->SetDataSource(DataSource1, QStringLiteral("fimage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(cxDBImage1);

    savepic_action = NewAction(QStringLiteral("savepic_action"), QStringLiteral("保存图片..."),
                               [this] { savepic_actionExecute(); });
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addAction(savepic_action);
    cxDBImage1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(cxDBImage1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        savepic_action->setEnabled(cxDBImage1->HasPicture());
        PopupMenu1->popup(cxDBImage1->mapToGlobal(at));
    });
}

void Tfrm_GoodsPicShow::SetPictureDataSet(TRemoteUdpDataSet* pictures, const QString& fieldName) {
    cxDBImage1->SetDataSource(DataSource1, fieldName);
    DataSource1->setDataSet(pictures);
}

QFileDialog* Tfrm_GoodsPicShow::SaveDialog1() {
    if (!m_saveDialog) {
        m_saveDialog = new QFileDialog(this);
        m_saveDialog->setObjectName(QStringLiteral("SaveDialog1"));
        m_saveDialog->setWindowTitle(QStringLiteral("保存图片"));
        m_saveDialog->setAcceptMode(QFileDialog::AcceptSave);
        m_saveDialog->setOption(QFileDialog::DontUseNativeDialog);
        m_saveDialog->setDefaultSuffix(QStringLiteral("jpg"));
        m_saveDialog->setNameFilter(QStringLiteral("JPEG 图片 (*.jpg *.jpeg)"));
    }
    return m_saveDialog;
}

void Tfrm_GoodsPicShow::savepic_actionExecute() {
    if (!cxDBImage1->HasPicture()) return;
    QFileDialog* dialog = SaveDialog1();
    if (md::ui::ExecModal(*dialog) != QDialog::Accepted) return;
    const QStringList files = dialog->selectedFiles();
    if (files.isEmpty() || files.first().isEmpty()) return;
    const QString fileName = files.first();
    // A stored JPEG is written as it is, without a second compression; a
    // picture stored in another format is converted.
    bool saved = false;
    if (isJpeg(cxDBImage1->PictureData())) {
        QFile file(fileName);
        saved = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                file.write(cxDBImage1->PictureData()) == cxDBImage1->PictureData().size();
    } else {
        saved = cxDBImage1->Picture().save(fileName, "JPG", 95);
    }
    if (!saved)
        throw std::runtime_error(QStringLiteral("图片无法保存到 %1。").arg(fileName).toStdString());
}
