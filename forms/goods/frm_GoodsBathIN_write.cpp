// The goods import's "确定": the checked rows become goods (or sample styles)
// with their colours, all in one transaction.
#include <QCheckBox>
#include <QDate>
#include <QProgressBar>
#include <span>

#include "frm_GoodsBathIN.h"
#include "frm_GoodsBathIN_p.h"
#include "remoteudpconnection.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "scopes.h"
#include "session.h"

using namespace goodsimport;

namespace {

enum class Copy { Text, Number, Date };

struct CopiedField {
    const char* name;
    Copy copy;
};

// What a row sets in its goods item, in the order the item is filled.
const CopiedField kGoodsFields[] = {
    {"goodssortid", Copy::Text}, {"goodsname", Copy::Text},   {"ayear", Copy::Text},
    {"season", Copy::Text},      {"brand", Copy::Text},       {"sort", Copy::Text},
    {"style", Copy::Text},       {"item", Copy::Text},        {"patter", Copy::Text},
    {"catena", Copy::Text},      {"sex", Copy::Text},         {"masterial", Copy::Text},
    {"lining", Copy::Text},      {"mat", Copy::Text},         {"standard", Copy::Text},
    {"whence", Copy::Text},      {"size_class", Copy::Text},  {"topdate", Copy::Date},
    {"field1", Copy::Text},      {"field2", Copy::Text},      {"field3", Copy::Text},
    {"field4", Copy::Text},      {"price1", Copy::Number},    {"price2", Copy::Number},
    {"price3", Copy::Number},    {"price4", Copy::Number},    {"price5", Copy::Number},
    {"price6", Copy::Number},    {"unitprice", Copy::Number}, {"remark", Copy::Text},
};

// A sample style takes fewer: no mnemonic code, sales prices, standard or remark.
const CopiedField kSampleFields[] = {
    {"goodsname", Copy::Text}, {"ayear", Copy::Text},     {"season", Copy::Text},
    {"brand", Copy::Text},     {"sort", Copy::Text},      {"style", Copy::Text},
    {"item", Copy::Text},      {"patter", Copy::Text},    {"catena", Copy::Text},
    {"sex", Copy::Text},       {"masterial", Copy::Text}, {"lining", Copy::Text},
    {"mat", Copy::Text},       {"whence", Copy::Text},    {"size_class", Copy::Text},
    {"topdate", Copy::Date},   {"field1", Copy::Text},    {"field2", Copy::Text},
    {"field3", Copy::Text},    {"field4", Copy::Text},    {"unitprice", Copy::Number},
};

// One target table's field and the grid field it is filled from.
struct Filling {
    TField* target;
    int source;
    Copy copy;
};

QString freshKey() {
    TRemoteUdpDataSet query;
    md::OpenQuery(query, QStringLiteral("select top 1 * from dbo.V_GetPassWord12"));
    return query.IsEmpty() ? QString() : query.Fields(0).AsString();
}

// A statement of the import's loop, prepared once and run per row with its values.
class RowStatement {
  public:
    explicit RowStatement(const QString& sql) {
        m_query.setSetupUdpParent(md::Session().Connection);
        m_query.SetSQL(sql);
    }
    RowStatement& bind(const char* name, const QString& value) {
        m_query.ParamByName(QString::fromLatin1(name)).SetAsString(value);
        return *this;
    }
    void exec() { m_query.ExecSQL(); }
    bool findsRow() {
        m_query.Close();
        m_query.Open();
        const bool found = !m_query.IsEmpty();
        m_query.Close();
        return found;
    }

  private:
    TRemoteUdpDataSet m_query;
};

}  // namespace

struct Tfrm_GoodsBathIN::WriteRow {
    int row = -1;
    bool setsItem = false;  // the item takes this row's attributes (its code's last row)
};

void Tfrm_GoodsBathIN::writeRows(const QList<int>& rows) {
    TRemoteUdpConnection* connection = md::Session().Connection;
    if (!connection) throw EDatabaseError(QStringLiteral("没有数据库连接"));
    const bool goods = TargetName().compare(QLatin1String("Mr_Goods"), Qt::CaseInsensitive) != 0;
    const QString table = goods ? QStringLiteral("goods") : QStringLiteral("mr_goods");
    const QString colours = goods ? QStringLiteral("goodscolor") : QStringLiteral("mr_goodscolor");
    const bool describe = goods && Check_GoodsColor->isChecked();
    const int code = fieldIndex(QStringLiteral("goodsid"));
    const int colour = fieldIndex(QStringLiteral("colorid"));
    const int description = fieldIndex(QStringLiteral("colorname_ch"));

    // Of several rows of one item the later one's attributes win, so the item
    // is filled once, from its last row.
    QList<WriteRow> written;
    {
        QHash<QString, int> last;
        for (int row : rows) last.insert(text(row, code).toUpper(), row);
        for (int row : rows) written.append({row, last.value(text(row, code).toUpper()) == row});
    }

    int current = -1;  // the grid row being written, for the mark a failure leaves
    try {
        TTransactionScope transaction(*connection);
        TRemoteUdpDataSet items;
        items.SetLockType(etBatchOptimistic);
        md::OpenQuery(items, QStringLiteral("select * from ") + table);
        // The items by code, any case; appended ones join as they come.
        QHash<QString, int> itemAt;
        {
            const int column = items.FieldByName(QStringLiteral("goodsid")).Index();
            for (int i = items.RecordCount() - 1; i >= 0; --i)
                itemAt.insert(items.valueAt(i, column).toString().toUpper(), i);
        }
        QList<Filling> fillings;
        for (const CopiedField& f : goods ? std::span<const CopiedField>(kGoodsFields)
                                          : std::span<const CopiedField>(kSampleFields))
            if (TField* target = items.FindField(QString::fromLatin1(f.name)))
                fillings.append({target, fieldIndex(QString::fromLatin1(f.name)), f.copy});
        TField& itemCode = items.FieldByName(QStringLiteral("goodsid"));
        TField* itemKey = items.FindField(QStringLiteral("goodsno"));
        TField& entered = items.FieldByName(QStringLiteral("inputdate"));
        const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));

        RowStatement colourKnown(
            QStringLiteral("select top 1 * from ") + colours +
            QStringLiteral(" where fgoodsid=:fgoodsid and fcolorid=:fcolorid"));
        RowStatement addColour(QStringLiteral("insert into ") + colours +
                               QStringLiteral("(fgoodsid,fcolorid)values(:fgoodsid,:fcolorid)"));
        RowStatement dropDescription(QStringLiteral(
            "delete from ba_goodscolor where fgoodsid=:fgoodsid and fcolorid=:fcolorid"));
        RowStatement addDescription(
            QStringLiteral("insert into ba_goodscolor(fgoodsid,fcolorid,fcolor)values(:fgoodsid,"
                           ":fcolorid,:fcolor)"));
        QList<QPair<QString, QString>> pairs;  // (colour, description) as the rows name them
        QSet<QPair<QString, QString>> paired;

        Progress progress(*this, int(written.size()), false);
        for (int k = 0; k < written.size(); ++k) {
            progress.step(k);
            current = written[k].row;
            const QString goodsCode = text(current, code);
            const QString colourCode = text(current, colour);
            const QString colourText = text(current, description);
            if (written[k].setsItem) {
                const auto at = itemAt.constFind(goodsCode.toUpper());
                if (at != itemAt.constEnd()) {
                    items.SetRecNo(*at + 1);
                    items.Edit();
                } else {
                    items.Append();
                    itemCode.SetAsString(goodsCode);
                    if (itemKey) itemKey->SetAsString(freshKey());
                }
                // Empty cells overwrite what the item had.
                for (const Filling& f : fillings) {
                    const QString value = text(current, f.source);
                    if (f.copy == Copy::Text)
                        f.target->SetAsString(value);
                    else if (f.copy == Copy::Number)
                        f.target->SetAsFloat(ParseNumber(value).value_or(0));
                    else if (value.trimmed().isEmpty())
                        f.target->Clear();
                    else
                        f.target->SetAsString(ParseDate(value).value_or(QString()));
                }
                entered.SetAsString(today);
                items.Post();
                if (at == itemAt.constEnd()) itemAt.insert(goodsCode.toUpper(), items.RecNo() - 1);
            }
            if (!colourKnown.bind("fgoodsid", goodsCode).bind("fcolorid", colourCode).findsRow())
                addColour.bind("fgoodsid", goodsCode).bind("fcolorid", colourCode).exec();
            if (describe) {
                dropDescription.bind("fgoodsid", goodsCode).bind("fcolorid", colourCode).exec();
                addDescription.bind("fgoodsid", goodsCode)
                    .bind("fcolorid", colourCode)
                    .bind("fcolor", colourText)
                    .exec();
            }
            const QPair<QString, QString> pair(colourCode, colourText);
            if (!paired.contains(pair)) {
                paired.insert(pair);
                pairs.append(pair);
            }
        }
        current = -1;
        try {
            items.UpdateBatch();
        } catch (const std::exception& error) {
            current = rowOfViolation(error, written);
            throw;
        }
        md::ExecuteSQL(
            QStringLiteral("insert into ba_color(colorid)select distinct(fcolorid) from ") +
            colours + QStringLiteral(" where fcolorid not in(select colorid from ba_color)"));
        md::ExecuteSQL(QStringLiteral("exec updategoodsfield"));
        if (!Check_GoodsColor->isChecked()) {
            // The rows' descriptions name the basic colours.
            TRemoteUdpDataSet basic;
            basic.SetLockType(etBatchOptimistic);
            md::OpenQuery(basic, QStringLiteral("select * from ba_color"));
            QHash<QString, int> basicAt;
            const int column = basic.FieldByName(QStringLiteral("colorid")).Index();
            for (int i = basic.RecordCount() - 1; i >= 0; --i)
                basicAt.insert(basic.valueAt(i, column).toString().toUpper(), i);
            TField& name = basic.FieldByName(QStringLiteral("colorname_ch"));
            for (const auto& [pairCode, pairText] : pairs) {
                const auto at = basicAt.constFind(pairCode.toUpper());
                if (at == basicAt.constEnd()) continue;
                basic.SetRecNo(*at + 1);
                if (name.AsString() == pairText && !name.IsNull()) continue;
                basic.Edit();
                name.SetAsString(pairText);
                basic.Post();
            }
            basic.UpdateBatch();
        }
        if (goods) md::ExecuteSQL(QStringLiteral("exec UpdateColorNo"));
        transaction.commit();
        progress.finish();
    } catch (const EAbort&) {
        throw;
    } catch (const std::exception& error) {
        // Rolled back: the grid stays as it was, the row that failed says why.
        if (current >= 0)
            setRemark(current, QStringLiteral("导入出错:") + md::ui::DescribeError(error).text);
        throw;
    }
}

int Tfrm_GoodsBathIN::rowOfViolation(const std::exception& error,
                                     const QList<WriteRow>& written) const {
    // A broken key of the items names its columns and values: the row they
    // came from is the one that filled the item.
    const auto* database = dynamic_cast<const EDatabaseError*>(&error);
    if (!database) return -1;
    const TConstraintViolation& violation = database->violation();
    if (violation.values.isEmpty() || violation.values.size() != violation.columns.size())
        return -1;
    QList<int> fields;
    for (const QString& column : violation.columns) {
        const TField* field = DBImport_table->FindField(column);
        if (!field) return -1;
        fields << field->Index();
    }
    for (const WriteRow& w : written) {
        if (!w.setsItem) continue;
        bool matches = true;
        for (int i = 0; i < fields.size() && matches; ++i)
            matches = text(w.row, fields[i]).compare(violation.values[i], Qt::CaseInsensitive) == 0;
        if (matches) return w.row;
    }
    return -1;
}
