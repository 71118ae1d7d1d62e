// Looking up the translation of a statement already translated, against a plain
// QHash lookup of the same text: the cache should cost about a hash lookup.
// Also prints what a first (uncached) translation costs per statement.
#include <QCoreApplication>
#include <QHash>
#include <algorithm>
#include <cstdio>

#include "benchutil.h"
#include "serverdb.h"
#include "tsql/translator.h"

namespace {

// Statements as the windows build them: fixed text with values glued in.
QStringList statementTexts(int count) {
    static const char* const kShapes[] = {
        "select top 1 mode from config where [id]=%1",
        "select * from syslog where convert(datetime,logindate)>='2026-01-%2' and userno='%1' "
        "order by fautoid desc",
        "insert into "
        "syslog(logindate,begintime,userno,clientname,modename,fbillid,fstate)values('2026-01-31','"
        "10:00:00','%1',\r'','窗口%1','','进入')",
        "select top 1 a.* from dr_rightdetail a,dr_right b where a.autoid=b.autoid\rand(a.b_add=1 "
        "or a.b_edit=1)\rand(a.groupid in(select fgroupid from usermainde where "
        "userno='%1'))and(b.listname='M_%2')",
        "update usermain set username=:username where userno='%1'",
        "select fclientcode,isnull(fstockbit,0) fstockbit  from userclient where fgroupid='%1'",
        "delete from ba_size where size_class='%1'\rdelete from ba_size where size_class='%2'",
        "select size_class,size_name,displayindex from ba_size where size_class='%1' order by "
        "displayindex",
    };
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        const char* shape = kShapes[i % std::size(kShapes)];
        texts << QString::fromUtf8(shape)
                     .replace(QLatin1String("%1"), QString::number(1000 + i))
                     .replace(QLatin1String("%2"), QString::number(i % 28 + 1));
    }
    return texts;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int distinct = 2000;
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 500;
    const QStringList texts = statementTexts(distinct);
    md::sql::Translator translator(md::sql::Dialect::SQLite, md::server::objects()->catalog);

    QHash<QString, std::shared_ptr<const md::sql::Batch>> plain;
    const double firstTime = md::bench::timeIt([&] {
        for (const QString& t : texts) plain.insert(t, translator.translate(t));
    });

    // Our runs and the baseline's alternate, best of each, so that both see the
    // same machine load.
    qsizetype sink = 0;
    double ours = 1e300, base = 1e300;
    for (int run = 0; run < 5; ++run) {
        ours = std::min(ours, md::bench::timeIt([&] {
                            for (int r = 0; r < rounds; ++r)
                                for (const QString& t : texts)
                                    sink += translator.translate(t)->statements.size();
                        }));
        base = std::min(base, md::bench::timeIt([&] {
                            for (int r = 0; r < rounds; ++r)
                                for (const QString& t : texts)
                                    sink += plain.value(t)->statements.size();
                        }));
    }
    const double lookups = double(rounds) * distinct;
    md::bench::report("translate_cached", ours, base,
                      QStringLiteral("ns_per_statement=%1 first_translation_us=%2")
                          .arg(ours / lookups * 1e9, 0, 'f', 1)
                          .arg(firstTime / distinct * 1e6, 0, 'f', 1));
    return sink > 0 ? 0 : 1;
}
