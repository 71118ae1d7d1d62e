#include "goodsattributefilter.h"

#include <memory>

#include "configuredcolumn.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "sqlquote.h"

namespace md::ui {

void FillGoodsAttributeTree(TCheckTree& tree) {
    tree.Clear();
    auto fields = std::make_unique<TRemoteUdpDataSet>();
    auto values = std::make_unique<TRemoteUdpDataSet>();
    md::OpenQuery(*fields, QStringLiteral("select * from dbo.ba_fieldremark where "
                                          "ftablename='goods' and visiblebit=1 order by fid"));
    md::OpenQuery(*values,
                  QStringLiteral("select * from dbo.ba_fieldvalues where ftablename='goods'") +
                      QChar(13) +
                      QStringLiteral(" and ffieldname in(select fname from ba_fieldremark where "
                                     "ftablename='goods' and visiblebit=1)"));
    // Walking backwards while inserting at the front keeps the server's order.
    for (int f = fields->RecordCount(); f >= 1; --f) {
        fields->SetRecNo(f);
        QTreeWidgetItem* node = tree.AddTopNode(
            fields->FieldByName(QStringLiteral("fFieldremark")).AsString().trimmed(), true);
        values->SetFilter(
            QStringLiteral("fFieldname='") +
            SqlText(fields->FieldByName(QStringLiteral("fname")).AsString().trimmed()) +
            QStringLiteral("'"));
        values->SetFiltered(true);
        for (int v = values->RecordCount(); v >= 1; --v) {
            values->SetRecNo(v);
            tree.AddChild(node,
                          values->FieldByName(QStringLiteral("fFieldValues")).AsString().trimmed(),
                          true);
        }
    }
    fields->Close();
    values->Close();
}

QString GoodsAttributeCondition(const TCheckTree& tree, const QString& prefix) {
    QString condition;
    auto query = std::make_unique<TRemoteUdpDataSet>();
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        const QTreeWidgetItem* node = tree.topLevelItem(i);
        if (node->checkState(0) != Qt::PartiallyChecked) continue;
        md::OpenQuery(*query,
                      QStringLiteral("select fname from ba_fieldremark where ftablename='goods' "
                                     "and visiblebit=1 and fFieldremark='") +
                          SqlText(node->text(0)) + QStringLiteral("'") +
                          QStringLiteral(" order by ftablename,fid"));
        if (query->IsEmpty()) continue;
        query->First();
        QStringList list;
        for (const QString& value : TCheckTree::CheckedChildren(node)) list << QuotedStr(value);
        condition += QStringLiteral("(") + prefix +
                     ConfiguredColumn(QStringLiteral("goods"), query->Fields(0).AsString()) +
                     QStringLiteral(" in(") + list.join(QLatin1Char(',')) + QStringLiteral("))and");
    }
    query->Close();
    condition.chop(3);
    return condition;
}

}  // namespace md::ui
