#include "sharedvalues.h"

#include "inifile.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "session.h"
#include "sizeslots.h"
#include "sqlquote.h"

namespace md {

namespace {

const QString kColourFile = QStringLiteral("colorConfig.ini");
const QString kSoftFile = QStringLiteral("softconfig.ini");

// Appends 'code', to a scope list under construction.
void addToScope(QString& list, const QString& code) {
    list += QuotedStr(code);
    list += QLatin1Char(',');
}

void dropFinalComma(QString& list) {
    if (list.endsWith(QLatin1Char(','))) list.chop(1);
}

}  // namespace

SharedValues& Shared() {
    static SharedValues values;
    return values;
}

void LoadColourSettings() {
    SharedValues& s = Shared();
    const SharedValues defaults;
    s.ColorBack = defaults.ColorBack;
    s.ColorButton = defaults.ColorButton;
    s.ColorButtonFrame = defaults.ColorButtonFrame;
    s.ColorGroupBox = defaults.ColorGroupBox;

    const IniFile ini = IniFile::load(settingsFilePath(kColourFile));
    if (!ini.exists()) return;
    const QString section = QStringLiteral("fcolor");
    s.ColorBack = ini.value(section, QStringLiteral("fbackcolor"), defaults.ColorBack);
    s.ColorButton = ini.value(section, QStringLiteral("fRzbutcolor"), defaults.ColorButton);
    s.ColorButtonFrame =
        ini.value(section, QStringLiteral("fRzbutfrmcolor"), defaults.ColorButtonFrame);
    s.ColorGroupBox = ini.value(section, QStringLiteral("fGroupBoxColor"), defaults.ColorGroupBox);
}

void LoadSizeSlotsAndSettings() {
    SharedValues& s = Shared();
    // The local database is an SQLite file beside the program; the string keeps
    // the provider/data-source shape so readers take the file from "Data Source=".
    s.LocalDataConnStr = QStringLiteral("Provider=SQLite;Data Source=") + HostProgramFolder() +
                         QStringLiteral("localData.db");

    const IniFile ini = IniFile::load(settingsFilePath(kSoftFile));
    if (!ini.exists()) return;  // the database values are not read without the settings file

    s.AttendanceConnStr =
        ini.value(QStringLiteral("KQSoft"), QStringLiteral("datalinkstr"),
                  QStringLiteral("Provider=MSDASQL.1;Persist Security Info=False;Data Source=KQ"));
    bool ok = false;
    const int fontSize =
        ini.value(QStringLiteral("config"), QStringLiteral("fontsize"), QStringLiteral("10"))
            .toInt(&ok);
    s.GridFontSize = ok ? fontSize : 10;

    TRemoteUdpDataSet query;
    OpenQuery(query, QStringLiteral("select max(displayindex) as scount from ba_size"));
    s.SizeSlotCount = 0;
    // Read as a number of any size: a stray displayindex counts as the last slot.
    if (!query.IsEmpty() && !query.Fields(0).IsNull())
        s.SizeSlotCount = int(qBound(0.0, query.Fields(0).AsFloat(), double(kSizeSlotMax)));

    OpenQuery(query, QStringLiteral("select top 1 * from dt_ltd"));
    if (!query.IsEmpty())
        s.NationalCodePrefix = query.FieldByName(QStringLiteral("fcode")).AsString();
    query.Close();
}

void LoadUserScopes() {
    SharedValues& s = Shared();
    const QString user = SqlText(Session().UserNo);
    TRemoteUdpDataSet query;

    OpenQuery(
        query,
        QStringLiteral(
            "select fclientcode,isnull(fstockbit,0) fstockbit  from userclient where fgroupid='") +
            user + QStringLiteral("'"));
    if (!query.IsEmpty()) {
        s.ClientScopeAll = false;
        QString list;
        TField& code = query.FieldByName(QStringLiteral("fclientcode"));
        TField& excluded = query.FieldByName(QStringLiteral("fstockbit"));
        for (query.First(); !query.Eof(); query.Next())
            if (!excluded.AsBoolean()) addToScope(list, code.AsString());
        dropFinalComma(list);
        s.ClientScopeList = list;
    } else {
        s.ClientScopeAll = true;
    }

    OpenQuery(query, QStringLiteral("select fbrand from userbrand where fgroupid='") + user +
                         QStringLiteral("'"));
    if (!query.IsEmpty()) {
        QString list;
        TField& brand = query.FieldByName(QStringLiteral("fbrand"));
        for (query.First(); !query.Eof(); query.Next()) addToScope(list, brand.AsString());
        dropFinalComma(list);
        s.BrandScopeList = list;
        s.BrandScopeAll = list.isEmpty();
    } else {
        s.BrandScopeAll = true;
    }

    OpenQuery(query, QStringLiteral("select * from userhouse where fgroupid='") + user +
                         QStringLiteral("'"));
    if (!query.IsEmpty()) {
        s.HouseScopeAll = false;
        QString list;
        TField& house = query.FieldByName(QStringLiteral("fhousecode"));
        TField& excluded = query.FieldByName(QStringLiteral("fstockbit"));  // null reads as false
        for (query.First(); !query.Eof(); query.Next())
            if (!excluded.AsBoolean()) addToScope(list, house.AsString());
        dropFinalComma(list);
        s.HouseScopeList = list;
    } else {
        s.HouseScopeAll = true;
    }
    query.Close();
}

void LoadUserOptions() {
    SharedValues& s = Shared();
    s.PriceDecimals = 2;
    TRemoteUdpDataSet query;
    OpenQuery(query, QStringLiteral("select top 1 mode from config where [id]=50009"));
    if (!query.IsEmpty()) s.PriceDecimals = query.Fields(0).AsInteger();
    query.Close();

    s.PriceVisible = HasRight(QStringLiteral("M_pricevisible"));
    s.PriceEdit = HasRight(QStringLiteral("M_priceedit"));
    s.PlanPriceVisible = HasRight(QStringLiteral("M_PlanpriceBit"));
}

QString ClientScopeCondition(const QString& column) {
    const SharedValues& s = Shared();
    if (s.ClientScopeAll || s.ClientScopeList.isEmpty()) return QString();
    return QStringLiteral(" and ") + column + QStringLiteral(" in(") + s.ClientScopeList +
           QStringLiteral(")");
}

}  // namespace md
