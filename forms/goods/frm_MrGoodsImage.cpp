#include "frm_MrGoodsImage.h"

#include <QAction>
#include <QBuffer>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "datasource.h"
#include "dbimage.h"
#include "remoteudpdataset.h"
#include "session.h"

Tfrm_MrGoodsImage::Tfrm_MrGoodsImage(QWidget* owner) : Tbase_frm(owner) {
    setObjectName(QStringLiteral("frm_MrGoodsImage"));
    setWindowTitle(QStringLiteral("样板图片"));
    setModal(true);
    resize(420, 540);

    DBImage_table = new TRemoteUdpDataSet(QStringLiteral("DBImage_table"), this);
    DBImage_table->SetSQL(
        QStringLiteral("select top 1 * from goodsimage where fgoodsid=:fgoodsid"));
    DBImage_table->SetLockType(etBatchOptimistic);
    DataSource1 = new TDataSource(QStringLiteral("DataSource1"), this);
    DataSource1->setDataSet(DBImage_table);
    DataSource1->SetAutoEdit(false);
    cxDBImage1 = new TDBImage(this);
    cxDBImage1->SetDataSource(DataSource1, QStringLiteral("fimage"));

    loadpic_action = NewAction(QStringLiteral("loadpic_action"), QStringLiteral("加载图片..."),
                               [this] { loadpic_actionExecute(); });
    clearpic_action = NewAction(QStringLiteral("clearpic_action"), QStringLiteral("清除图片"),
                                [this] { ClearPicture(); });
    PictureMenu = new QMenu(cxDBImage1);
    PictureMenu->setObjectName(QStringLiteral("PictureMenu"));
    PictureMenu->addAction(loadpic_action);
    PictureMenu->addAction(clearpic_action);
    cxDBImage1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(cxDBImage1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PictureMenu->popup(cxDBImage1->mapToGlobal(at)); });

    But_OK = new QPushButton(QStringLiteral("确定"), this);
    But_OK->setObjectName(QStringLiteral("But_OK"));
    But_Close = new QPushButton(QStringLiteral("关闭"), this);
    But_Close->setObjectName(QStringLiteral("But_Close"));
    OnClick(But_OK, [this] { But_OKClick(); });
    OnClick(But_Close, [this] { Close(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(But_OK);
    buttons->addWidget(But_Close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cxDBImage1, 1);
    layout->addLayout(buttons);
}

void Tfrm_MrGoodsImage::OpenSample(const QString& sampleCode) {
    m_code = sampleCode;
    DBImage_table->Close();
    DBImage_table->setSetupUdpParent(md::Session().Connection);
    DBImage_table->ParamByName(u"fgoodsid").SetAsString(sampleCode);
    DBImage_table->Open();
}

void Tfrm_MrGoodsImage::editRecord() {
    if (DBImage_table->InEditState()) return;
    if (DBImage_table->IsEmpty())
        DBImage_table->Append();
    else
        DBImage_table->Edit();
}

void Tfrm_MrGoodsImage::AssignPicture(const QByteArray& bytes) {
    QByteArray jpeg = bytes;
    if (!bytes.startsWith("\xFF\xD8\xFF")) {
        const QImage image = QImage::fromData(bytes);
        if (image.isNull()) throw EDatabaseError(QStringLiteral("无法识别的图片格式"));
        jpeg.clear();
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPG", 90);
    }
    editRecord();
    DBImage_table->FieldByName(QStringLiteral("fimage")).SetValue(jpeg);
}

void Tfrm_MrGoodsImage::ClearPicture() {
    if (DBImage_table->IsEmpty()) return;
    editRecord();
    DBImage_table->FieldByName(QStringLiteral("fimage")).Clear();
}

void Tfrm_MrGoodsImage::loadpic_actionExecute() {
    QFileDialog dialog(this, QStringLiteral("加载图片"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("JPEG 图片 (*.jpg *.jpeg)"),
                           QStringLiteral("图片 (*.jpg *.jpeg *.png *.bmp)")});
    if (md::ui::ExecModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    QFile file(dialog.selectedFiles().first());
    if (!file.open(QIODevice::ReadOnly))
        throw EDatabaseError(QStringLiteral("无法读取文件 %1").arg(file.fileName()));
    AssignPicture(file.readAll());
}

void Tfrm_MrGoodsImage::But_OKClick() {
    if (DBImage_table->InEditState()) {
        DBImage_table->FieldByName(QStringLiteral("fgoodsid")).SetAsString(m_code);
        DBImage_table->Post();
    }
    DBImage_table->UpdateBatch();
    Close();
}

void Tfrm_MrGoodsImage::Execute(const QString& sampleCode, QWidget* owner) {
    auto* dialog = md::ui::CreateForm<Tfrm_MrGoodsImage>(owner);
    if (!dialog->Run([&] { dialog->OpenSample(sampleCode); })) {
        dialog->Close();
        return;
    }
    md::ui::ExecModal(*dialog);
}
