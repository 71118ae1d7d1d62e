#pragma once
// The goods import tests' world: a database with two size groups known to the
// workstation's local database and a third the server alone has, three basic
// colours, a program folder of the test's own (so localData.db is the test's),
// and the import dialog for goods or for sample styles.
#include <QCheckBox>
#include <QProgressBar>
#include <QPushButton>

#include "formfixture.h"
#include "goods/frm_GoodsBathIN.h"
#include "localdata.h"
#include "remoteudpdataset.h"

namespace md::test {

class GoodsImportTest : public FormTest {
  protected:
    GoodsImportTest() : FormTest(QStringLiteral("frm_goods")) {
        for (const auto& [group, sizes] :
             {std::pair{"TOPS", QStringList{"S", "M", "L"}}, std::pair{"PANTS", QStringList{"28"}},
              std::pair{"KIDS", QStringList{"110"}}}) {
            int index = 0;
            for (const QString& size : sizes)
                db.exec(QStringLiteral("insert into ba_size(size_class,size_name,displayindex,"
                                       "fieldname) values('%1','%2',%3,'S%3')")
                            .arg(QString::fromLatin1(group), size)
                            .arg(++index));
        }
        setLocalGroups({QStringLiteral("TOPS"), QStringLiteral("PANTS")});
        db.exec(QStringLiteral("insert into ba_color(colorid,colorname_ch) values('01','黑色')"));
        db.exec(QStringLiteral("insert into ba_color(colorid,colorname_ch) values('02','白色')"));
        db.exec(QStringLiteral("insert into ba_color(colorid,colorname_ch) values('03','红色')"));
    }

    // The size groups the workstation's local database knows (one size each).
    static void setLocalGroups(const QStringList& groups) {
        QList<QVariantList> rows;
        for (const QString& group : groups)
            rows << QVariantList{group, QStringLiteral("S"), 1, QStringLiteral("S1")};
        md::ReplaceLocalRows(QStringLiteral("ba_size"),
                             {QStringLiteral("size_class"), QStringLiteral("size_name"),
                              QStringLiteral("displayindex"), QStringLiteral("fieldname")},
                             rows);
    }

    Tfrm_GoodsBathIN* openImport(const QString& target = QStringLiteral("Dt_Goods")) {
        auto* form = open<Tfrm_GoodsBathIN>();
        form->setProperty("TargetName", target);
        return form;
    }

    // Rows as a spreadsheet copies them, under a caption row.
    static QString sheet(const QStringList& captions, const QList<QStringList>& rows) {
        QString text = captions.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
        for (const QStringList& row : rows)
            text += row.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
        return text;
    }
    // The usual columns: code, name, size group, colour code, colour description, tag price.
    static QString goodsSheet(const QList<QStringList>& rows) {
        return sheet(
            {QStringLiteral("货号"), QStringLiteral("货品名称"), QStringLiteral("尺码类别"),
             QStringLiteral("颜色编号"), QStringLiteral("颜色说明"), QStringLiteral("吊牌价")},
            rows);
    }

    // One column of every grid row.
    static QStringList column(const Tfrm_GoodsBathIN* form, const char* field) {
        QStringList values;
        for (int row = 0; row < form->RowCount(); ++row)
            values << form->Cell(row, QString::fromLatin1(field));
        return values;
    }

    ProgramHome home;
};

}  // namespace md::test
