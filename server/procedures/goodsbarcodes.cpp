// get_BarcodeOneGoods and P_UpdateGoodsEan13: the barcode rows of goods and
// their national codes.
#include "goodsbarcodes.h"

#include <QSet>

#include "procedures.h"
#include "routines.h"

namespace md::server {

bool allDigits(const QString& text) {
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

namespace {

// The serial inside a stored national code, or -1 when the code is not one of
// ours: 13 digits under the prefix.
qint64 serialOf(const QString& code, const QString& prefix) {
    if (code.size() != 13 || !code.startsWith(prefix) || !allDigits(code)) return -1;
    return code.mid(prefix.size(), 12 - prefix.size()).toLongLong();
}

// The triple that names a barcode row; codes compare without regard to case,
// as the database does.
QString tripleKey(const QVariant& goods, const QVariant& colour, const QVariant& size) {
    return goods.toString().toLower() + QChar(0x1f) + colour.toString().toLower() + QChar(0x1f) +
           size.toString().toLower();
}

const QString kInsertBarcode = QStringLiteral(
    "insert into "
    "barcode(fgoodsid,fcolorid,fsize,fbarcode1,fbarcode2,fprintsize,fprintcolorid,fcheck,goodsno)"
    "values(:fgoodsid,:fcolorid,:fsize,:fbarcode1,:fbarcode2,:fprintsize,:fprintcolorid,0,:"
    "goodsno)");

}  // namespace

NationalCodeSerials::NationalCodeSerials(TRemoteUdpConnection& db) {
    ResultTable company;
    db.OpenSQL(QStringLiteral("select top 1 fcode from dt_ltd"), company);
    m_prefix = company.rowCount > 0 ? company.at(0, 0).toString().trimmed() : QString();
    m_usable = md::NationalCodePrefixProblem(m_prefix).isEmpty();
    if (!m_usable) return;
    m_limit = 1;
    for (int i = m_prefix.size(); i < 12; ++i) m_limit *= 10;
    --m_limit;

    // Under one prefix, 13-digit codes sort as their serials do; a typed code
    // with other characters can sort above them, and then every code is read.
    const ParamMap params{{QStringLiteral("fprefix"), QString(m_prefix + QLatin1Char('%'))}};
    ResultTable highest;
    db.OpenSQL(QStringLiteral("select max(fbarcode2) from barcode where fbarcode2 like :fprefix "
                              "and len(fbarcode2)=13"),
               highest, &params);
    const QString top = highest.rowCount > 0 ? highest.at(0, 0).toString() : QString();
    qint64 last = serialOf(top, m_prefix);
    if (!top.isEmpty() && last < 0) {
        ResultTable all;
        db.OpenSQL(QStringLiteral("select fbarcode2 from barcode where fbarcode2 like :fprefix and "
                                  "len(fbarcode2)=13"),
                   all, &params);
        for (int row = 0; row < all.rowCount; ++row)
            last = qMax(last, serialOf(all.at(row, 0).toString(), m_prefix));
    }
    m_next = qMax<qint64>(last, 0) + 1;
}

QString NationalCodeSerials::prefixProblem() const {
    if (m_prefix.isEmpty()) return QString();
    return md::NationalCodePrefixProblem(m_prefix);
}

QString NationalCodeSerials::next() {
    if (!m_usable || m_next > m_limit) return QString();
    const QString serial =
        QString::number(m_next++).rightJustified(12 - m_prefix.size(), QLatin1Char('0'));
    return md::CompleteEan13(m_prefix + serial);
}

int createMissingBarcodes(TRemoteUdpConnection& db, const QString& goodsId,
                          NationalCodeSerials& serials) {
    // Colours in the order they were added to the item, sizes in slot order.
    const QString missing = QStringLiteral(
        "select a.goodsid,c.fcolorid,s.size_name,a.goodsno,bc.fbarcolorid,bs.fbarcodesize\n"
        "from goods a join goodscolor c on c.fgoodsid=a.goodsid\n"
        "join ba_size s on s.size_class=a.size_class\n"
        "left join barcode_color bc on bc.fcolorid=ltrim(rtrim(c.fcolorid))\n"
        "left join barcode_size bs on bs.fsize=ltrim(rtrim(s.size_name))\n"
        "where a.goodsid=:goodsid and isnull(c.fcolorid,'')<>'' and isnull(s.size_name,'')<>''\n"
        "and not exists(select 1 from barcode b where b.fgoodsid=a.goodsid and "
        "b.fcolorid=c.fcolorid and b.fsize=s.size_name)\n"
        "order by c.fautoid,s.displayindex");
    const ParamMap which{{QStringLiteral("goodsid"), goodsId}};
    ResultTable rows;
    db.OpenSQL(missing, rows, &which);
    if (rows.rowCount == 0) return 0;

    TRemoteUdpConnection::Unit unit(db);
    QSet<QString> made;  // a colour listed twice, or a size twice in its group
    int count = 0;
    for (int row = 0; row < rows.rowCount; ++row) {
        const QVariant goods = rows.at(row, 0), colour = rows.at(row, 1), size = rows.at(row, 2);
        const QString key = tripleKey(goods, colour, size);
        if (made.contains(key)) continue;
        made.insert(key);
        const QString colourMap = rows.at(row, 4).toString();
        const QString sizeMap = rows.at(row, 5).toString();
        const QString barcode1 = goods.toString().trimmed() +
                                 (colourMap.isEmpty() ? colour.toString() : colourMap) +
                                 (sizeMap.isEmpty() ? size.toString() : sizeMap);
        const QString barcode2 = serials.next();
        const ParamMap values{
            {QStringLiteral("fgoodsid"), goods},
            {QStringLiteral("fcolorid"), colour},
            {QStringLiteral("fsize"), size},
            {QStringLiteral("fbarcode1"), barcode1},
            {QStringLiteral("fbarcode2"), barcode2.isEmpty() ? QVariant() : QVariant(barcode2)},
            {QStringLiteral("fprintsize"), size},
            {QStringLiteral("fprintcolorid"), colour},
            {QStringLiteral("goodsno"), rows.at(row, 3)}};
        db.ExecSQL(kInsertBarcode, &values);
        ++count;
    }
    unit.commit();
    return count;
}

namespace {

// exec get_BarcodeOneGoods '<code>': run after a goods item is saved. A company
// without a usable prefix gets its barcode rows without national codes, so a
// save never fails over the prefix; "国际码" reports the prefix instead.
void getBarcodeOneGoods(ProcedureCall& call) {
    const QString goodsId = call.text(0);
    if (goodsId.trimmed().isEmpty()) return;
    NationalCodeSerials serials(call.connection());
    createMissingBarcodes(call.connection(), goodsId, serials);
}

// EXEC P_UpdateGoodsEan13 ("国际码"): every stored barcode row without a
// national code gets the next one, in the order goods code, colour, size slot.
// Codes already stored are never changed. Without a prefix there is nothing to
// number and nothing changes; a prefix that is not 1 to 11 digits is an error.
// When the serials run out, the codes given so far are kept and an error says
// how many rows are left without one.
void updateGoodsEan13(ProcedureCall& call) {
    TRemoteUdpConnection& db = call.connection();
    NationalCodeSerials serials(db);
    if (!serials.prefixProblem().isEmpty()) throw EDatabaseError(serials.prefixProblem());
    if (!serials.usable()) return;

    ResultTable rows;
    db.OpenSQL(
        QStringLiteral("select b.fgoodsid,b.fcolorid,b.fsize from barcode b\n"
                       "left join goods g on g.goodsid=b.fgoodsid\n"
                       "left join ba_size s on s.size_class=g.size_class and s.size_name=b.fsize\n"
                       "where isnull(ltrim(rtrim(b.fbarcode2)),'')=''\n"
                       "order by b.fgoodsid,b.fcolorid,s.displayindex,b.fsize"),
        rows);
    const QString update = QStringLiteral(
        "update barcode set fbarcode2=:fbarcode2 where fgoodsid=:fgoodsid and fcolorid=:fcolorid "
        "and fsize=:fsize");
    TRemoteUdpConnection::Unit unit(db);
    QSet<QString> done;  // a size listed twice in its group joins its row twice
    int left = 0;
    for (int row = 0; row < rows.rowCount; ++row) {
        const QString key = tripleKey(rows.at(row, 0), rows.at(row, 1), rows.at(row, 2));
        if (done.contains(key)) continue;
        done.insert(key);
        const QString code = serials.next();
        if (code.isEmpty()) {
            ++left;
            continue;
        }
        const ParamMap values{{QStringLiteral("fbarcode2"), code},
                              {QStringLiteral("fgoodsid"), rows.at(row, 0)},
                              {QStringLiteral("fcolorid"), rows.at(row, 1)},
                              {QStringLiteral("fsize"), rows.at(row, 2)}};
        db.ExecSQL(update, &values);
    }
    unit.commit();
    if (left > 0)
        throw EDatabaseError(
            QStringLiteral("国标码“%1”后只有%2位流水号，已经用完，还有%3个条码没有国标码。"
                           "请在“公司信息”中改用位数较少的国标码前缀，再按“国际码”。")
                .arg(serials.prefix())
                .arg(12 - serials.prefix().size())
                .arg(left));
}

const RegisterProcedure registerGetBarcodeOneGoods("get_BarcodeOneGoods", &getBarcodeOneGoods);
const RegisterProcedure registerUpdateGoodsEan13("P_UpdateGoodsEan13", &updateGoodsEan13);

}  // namespace

}  // namespace md::server
