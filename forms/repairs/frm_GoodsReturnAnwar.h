#pragma once
// 维修跟进: one follow-up remark for a line of a repair note. A memo "回复内容"
// with 确定 and 取消; 确定 with nothing typed is refused and the dialog stays.
// Made anew for each remark; the caller reads Remark() after OK.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class Tfrm_GoodsReturnAnwar : public QDialog {
    Q_OBJECT
  public:
    explicit Tfrm_GoodsReturnAnwar(QWidget* parent = nullptr);

    QPlainTextEdit* Memo_Answer;  // 回复内容
    QPushButton* But_OK;          // 确定
    QPushButton* But_Cancel;      // 取消

    QString Remark() const;
    void But_OKClick();
};

namespace md::repairs {
// The session user's name from usermain ("select username from usermain ...").
QString SessionUserName();
// Stores a follow-up remark of the line (note number and the line's fautoid)
// and counts it in the line's fanswerint, in one transaction.
void StoreFollowUp(const QString& billId, int lineAutoId, const QString& remark);
}  // namespace md::repairs
