#include "frm_GoodsReturnAnwar.h"

#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "baseform.h"
#include "dialogbuttons.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "scopes.h"
#include "session.h"
#include "sqlquote.h"

Tfrm_GoodsReturnAnwar::Tfrm_GoodsReturnAnwar(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_GoodsReturnAnwar"));
    setWindowTitle(QStringLiteral("维修跟进"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("回复内容"), this));
    Memo_Answer = new QPlainTextEdit(this);
    Memo_Answer->setObjectName(QStringLiteral("Memo_Answer"));
    layout->addWidget(Memo_Answer, 1);
    const md::ui::TOkCancel buttons =
        md::ui::AddOkCancelRow(*this, *layout, [this] { But_OKClick(); });
    But_OK = buttons.ok;
    But_Cancel = buttons.cancel;
    resize(380, 220);
}

QString Tfrm_GoodsReturnAnwar::Remark() const {
    return Memo_Answer->toPlainText();
}

void Tfrm_GoodsReturnAnwar::But_OKClick() {
    if (Remark().trimmed().isEmpty()) md::ui::Refuse(QStringLiteral("请输入回复内容！"));
    accept();
}

namespace md::repairs {

QString SessionUserName() {
    TRemoteUdpDataSet query;
    md::OpenQuery(query, QStringLiteral("select username from usermain where userno='") +
                             SqlText(md::Session().UserNo) + QStringLiteral("'"));
    return query.IsEmpty() ? QString() : query.FieldByName(QStringLiteral("username")).AsString();
}

void StoreFollowUp(const QString& billId, int lineAutoId, const QString& remark) {
    const QString userName = SessionUserName();
    TTransactionScope transaction(*md::Session().Connection);
    md::ExecuteSQL(
        QStringLiteral("insert into d_GoodsReturnTran(fbillid,fBillAutoid,fgoodsbillid,"
                       "fTranRemark,finputuser,finputusername,finputdate) "
                       "values(:fbillid,:fbillautoid,:fgoodsbillid,:ftranremark,:finputuser,"
                       ":finputusername,:finputdate)"),
        QVariantHash{
            {QStringLiteral("fbillid"), billId},
            {QStringLiteral("fbillautoid"), QVariant(lineAutoId)},
            {QStringLiteral("fgoodsbillid"), QVariant(billId + QString::number(lineAutoId))},
            {QStringLiteral("ftranremark"), remark},
            {QStringLiteral("finputuser"), md::Session().UserNo},
            {QStringLiteral("finputusername"), userName},
            {QStringLiteral("finputdate"),
             QVariant(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")))}});
    md::ExecuteSQL(QStringLiteral("update d_GoodsReturnNoteDetail set "
                                  "fanswerint=isnull(fanswerint,0)+1 where fautoid=:fautoid"),
                   QVariantHash{{QStringLiteral("fautoid"), QVariant(lineAutoId)}});
    transaction.commit();
}

}  // namespace md::repairs
