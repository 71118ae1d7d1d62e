#include "sizeslots.h"

#include "remoteudpdataset.h"
#include "routines.h"
#include "sharedvalues.h"
#include "sqlquote.h"

namespace md {

QString SizeSlotColumn(int slot) {
    return QStringLiteral("s") + QString::number(slot);
}

QString SizeSlotFieldName(int slot) {
    return QStringLiteral("S") + QString::number(slot);
}

QStringList SizeSlotCaptions() {
    return SizeSlotCaptions(Shared().SizeSlotCount);
}

QStringList SizeSlotCaptions(int count) {
    QStringList captions;
    for (int slot = 1; slot <= qMin(count, kSizeSlotMax); ++slot)
        captions << SizeSlotFieldName(slot);
    return captions;
}

QString GroupSizesQuery(const QString& group) {
    return QStringLiteral("select size_name from ba_size where size_class='") + SqlText(group) +
           QStringLiteral("'") + QStringLiteral(" order by displayindex");
}

QStringList GroupSizes(const QString& group) {
    TRemoteUdpDataSet query;
    OpenQuery(query, GroupSizesQuery(group));
    QStringList sizes;
    for (query.First(); !query.Eof() && sizes.size() < kSizeSlotMax; query.Next())
        sizes << query.Fields(0).AsString();
    query.Close();
    return sizes;
}

int SizeSlotOf(const QStringList& groupSizes, const QString& sizeName) {
    auto key = [](const QString& size) {
        QString text = size;
        while (text.endsWith(QLatin1Char(' '))) text.chop(1);
        return text;
    };
    const QString wanted = key(sizeName);
    for (int i = 0; i < groupSizes.size() && i < kSizeSlotMax; ++i)
        if (key(groupSizes[i]).compare(wanted, Qt::CaseInsensitive) == 0) return i + 1;
    return 0;
}

}  // namespace md
