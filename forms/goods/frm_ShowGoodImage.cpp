#include "frm_ShowGoodImage.h"

#include <QVBoxLayout>

#include "datasource.h"
#include "dbimage.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "sqlquote.h"

Tfrm_ShowGoodImage::Tfrm_ShowGoodImage(QWidget* owner) : Tbase_frm(owner) {
    setObjectName(QStringLiteral("frm_ShowGoodImage"));
    setWindowTitle(QStringLiteral("显示货品图片"));
    setModal(true);
    resize(420, 520);

    DBImage_table = new TRemoteUdpDataSet(QStringLiteral("DBImage_table"), this);
    DataSource1 = new TDataSource(QStringLiteral("DataSource1"), this);
    DataSource1->setDataSet(DBImage_table);
    DataSource1->SetAutoEdit(false);  // read-only: nothing here edits the record
    cxDBImage1 = new TDBImage(this);
    cxDBImage1->SetDataSource(DataSource1, QStringLiteral("fimage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(cxDBImage1);
}

void Tfrm_ShowGoodImage::ShowGoods(const QString& goodsId) {
    md::OpenQuery(*DBImage_table,
                  QStringLiteral("select top 1 fimage from goodsimage where fgoodsid='") +
                      SqlText(goodsId) + QStringLiteral("'"));
}

void Tfrm_ShowGoodImage::Execute(const QString& goodsId, QWidget* owner) {
    auto* dialog = md::ui::CreateForm<Tfrm_ShowGoodImage>(owner);
    if (!dialog->Run([&] { dialog->ShowGoods(goodsId); })) {
        dialog->Close();
        return;
    }
    md::ui::ExecModal(*dialog);
}
