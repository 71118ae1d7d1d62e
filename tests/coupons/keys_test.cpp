// Coupon barcodes are cash: the key view must hand out values nobody can
// guess from the ones before. Ten thousand of them, through both spellings of
// the view, are distinct, spread over the whole alphabet in every position,
// and show no trace of a counter (consecutive keys share no long prefix).
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include "couponsfixture.h"

using namespace md::test;

namespace {

int commonPrefix(const QString& a, const QString& b) {
    int n = 0;
    while (n < a.size() && n < b.size() && a.at(n) == b.at(n)) ++n;
    return n;
}

}  // namespace

TEST(CouponBarcodes, TenThousandAreDistinctAndShowNoSequence) {
    TestDb db;
    constexpr int kCount = 10000;
    const QRegularExpression shape(QStringLiteral("^[0-9A-Z]{12}$"));
    QStringList keys;
    keys.reserve(kCount);
    for (int i = 0; i < kCount; ++i)
        keys << db.scalar(i % 2 ? QStringLiteral("select * from v_Getpassword12")
                                : QStringLiteral("select top 1 * from dbo.V_GetPassWord12"))
                    .toString();

    QSet<QString> distinct;
    QHash<QChar, int> symbols;
    QList<QSet<QChar>> byPosition(12);
    int longestShared = 0;
    for (int i = 0; i < kCount; ++i) {
        const QString& key = keys.at(i);
        ASSERT_TRUE(shape.match(key).hasMatch()) << qPrintable(key);
        distinct.insert(key);
        for (int p = 0; p < 12; ++p) {
            ++symbols[key.at(p)];
            byPosition[p].insert(key.at(p));
        }
        if (i > 0) longestShared = qMax(longestShared, commonPrefix(keys.at(i - 1), key));
    }
    EXPECT_EQ(distinct.size(), kCount);
    // A counter, however its digits are dressed, keeps its head for many keys.
    EXPECT_LT(longestShared, 6);
    // Every symbol in every position, each about as often as the others:
    // 120,000 symbols make 3,333 of each; 8% off is beyond 4.5 standard
    // deviations, and a modulo taken without care is off by 14%.
    for (int p = 0; p < 12; ++p) EXPECT_EQ(byPosition[p].size(), 36) << "position " << p;
    ASSERT_EQ(symbols.size(), 36);
    const double expected = kCount * 12 / 36.0;
    for (auto it = symbols.cbegin(); it != symbols.cend(); ++it)
        EXPECT_NEAR(it.value(), expected, expected * 0.08) << QString(it.key()).toStdString();
}
