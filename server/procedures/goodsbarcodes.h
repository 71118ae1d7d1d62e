#pragma once
// Barcodes of goods as the server makes them: barcode 1 composed from the goods
// code, the colour and the size (through the mapping tables), barcode 2 a
// national code (EAN-13). Shared by the procedures and the demo data.
#include <QString>

#include "remoteudpconnection.h"

namespace md::server {

// Whether the text is digits only, as national codes and their prefixes are.
bool allDigits(const QString& text);

// National codes are the company prefix (dt_ltd.fcode), a serial of
// 12 - len(prefix) digits and the EAN-13 check digit. Serials continue after
// the highest one stored under the prefix, so codes never repeat; the serial
// part is what P_UpdateGoodsEan13List keeps when the prefix changes.
class NationalCodeSerials {
  public:
    explicit NationalCodeSerials(TRemoteUdpConnection& db);

    const QString& prefix() const { return m_prefix; }
    // A prefix is set and leaves room for a serial: 1 to 11 digits.
    bool usable() const { return m_usable; }
    // Why a prefix that is set cannot be used; empty when it can or none is set.
    QString prefixProblem() const;
    // The next code; empty when there is no usable prefix or the serials are used up.
    QString next();

  private:
    QString m_prefix;
    bool m_usable = false;
    qint64 m_next = 1;
    qint64 m_limit = 0;  // the highest serial the digits can hold
};

// Creates the barcode rows that one goods code lacks: one per colour of the item
// and size of its size group. Existing rows are left as they are. New rows get
// barcode 1 (trimmed goods code + colour part + size part, where a non-empty
// mapping in barcode_color / barcode_size replaces the colour code or size
// name), a national code from `serials` while it has any, the size and colour
// as print size and print colour, and the item's goodsno. Returns the rows made.
int createMissingBarcodes(TRemoteUdpConnection& db, const QString& goodsId,
                          NationalCodeSerials& serials);

}  // namespace md::server
