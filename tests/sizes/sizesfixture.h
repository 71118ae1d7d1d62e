#pragma once
// The world of the size and description-field tests: a database with the
// server schema, a session on it, a host window keeping the open-window list
// and scripted message boxes.
#include "formfixture.h"
#include "rowsink.h"
#include "sqlquote.h"

namespace md::test {

class SizesTest : public FormTest {
  protected:
    SizesTest() : FormTest(QStringLiteral("frm_size")) {}

    void addSizes(const QString& group, const QStringList& sizes, const QList<int>& indexes = {}) {
        for (int i = 0; i < sizes.size(); ++i) {
            const int index = i < indexes.size() ? indexes[i] : i + 1;
            db.exec(
                QStringLiteral("insert into ba_size(size_class,size_name,displayindex,fieldname) "
                               "values('%1','%2',%3,'S%3')")
                    .arg(SqlText(group), SqlText(sizes[i]))
                    .arg(index));
        }
    }
};

}  // namespace md::test
