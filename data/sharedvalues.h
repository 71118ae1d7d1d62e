#pragma once
// Values every form shares, loaded once when the data module is created and
// fixed for the module's life: display colours, settings from the settings
// files, the size-slot count, the company's national-code prefix, the user's data
// scopes and price options.
#include <QString>

namespace md {

struct SharedValues {
    // Colour texts in the notation "$00BBGGRR" or a colour name such as "clWhite".
    QString ColorBack = QStringLiteral("$00F2DED5");
    QString ColorButton = QStringLiteral("$00E8F3D3");
    QString ColorButtonFrame = QStringLiteral("$00149BF0");
    QString ColorGroupBox = QStringLiteral("$00DCEBDF");

    QString LocalDataConnStr;   // the local database file beside the host program
    QString AttendanceConnStr;  // the attendance data source
    int GridFontSize = 0;
    int SizeSlotCount = 0;
    QString NationalCodePrefix;

    // A scope flag that is true means the user is not restricted; the lists are
    // quoted codes separated by commas, ready for an SQL in(...).
    bool ClientScopeAll = false;
    QString ClientScopeList;
    bool BrandScopeAll = false;
    QString BrandScopeList;
    bool HouseScopeAll = false;
    QString HouseScopeList;

    int PriceDecimals = 2;
    bool PriceVisible = false;
    bool PriceEdit = false;
    bool PlanPriceVisible = false;
};

SharedValues& Shared();

// The loaders, in the order the data module runs them. A database error ends
// the sequence (it propagates); values not loaded keep their start values.
void LoadColourSettings();
void LoadSizeSlotsAndSettings();
void LoadUserScopes();
void LoadUserOptions();

// The client restriction for client lists: " and fcode in(...)" (or on the given
// column) when the user is restricted to a non-empty list, else empty.
QString ClientScopeCondition(const QString& column = QStringLiteral("fcode"));

}  // namespace md
