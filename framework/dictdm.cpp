#include "dictdm.h"

#include <QHash>
#include <QPalette>

#include "errors.h"
#include "messages.h"
#include "sharedvalues.h"

namespace {

Tdict_dm* g_instance = nullptr;

TGridStyle styleOf(const QString& colourText, QColor text = QColor()) {
    return TGridStyle{md::ui::colorFromText(colourText), text};
}

}  // namespace

Tdict_dm::Tdict_dm(QObject* owner) : QObject(owner) {
    setObjectName(QStringLiteral("dict_dm"));
    if (!g_instance) g_instance = this;
    cxStyle_White.Color = Qt::white;
    try {
        md::LoadColourSettings();
        const md::SharedValues& shared = md::Shared();
        dmStyle1 = styleOf(shared.ColorButton);
        dmStyle2 = styleOf(shared.ColorBack);
        dmStyle3 = styleOf(shared.ColorBack);
        dmStyle4 = styleOf(shared.ColorGroupBox, QColor(0, 128, 128));
        md::LoadSizeSlotsAndSettings();
        md::LoadUserScopes();
        md::LoadUserOptions();
    } catch (const EDatabaseError& e) {
        // The module stays usable: the values not loaded keep their start values.
        md::ui::ShowError(e);
    }
}

Tdict_dm::~Tdict_dm() {
    if (g_instance == this) g_instance = nullptr;
}

Tdict_dm* Tdict_dm::instance() {
    return g_instance;
}

namespace md::ui {

QColor colorFromText(const QString& text) {
    static const QHash<QString, QColor> named = [] {
        QHash<QString, QColor> h;
        const struct {
            const char* name;
            QRgb rgb;
        } table[] = {
            {"clblack", 0x000000},         {"clmaroon", 0x800000},     {"clgreen", 0x008000},
            {"clolive", 0x808000},         {"clnavy", 0x000080},       {"clpurple", 0x800080},
            {"clteal", 0x008080},          {"clgray", 0x808080},       {"clsilver", 0xC0C0C0},
            {"clred", 0xFF0000},           {"cllime", 0x00FF00},       {"clyellow", 0xFFFF00},
            {"clblue", 0x0000FF},          {"clfuchsia", 0xFF00FF},    {"claqua", 0x00FFFF},
            {"clwhite", 0xFFFFFF},         {"clmoneygreen", 0xC0DCC0}, {"clskyblue", 0xA6CAF0},
            {"clcream", 0xFFFBF0},         {"clmedgray", 0xA0A0A4},    {"clltgray", 0xC0C0C0},
            {"cldkgray", 0x808080},        {"clbtnface", 0xF0F0F0},    {"clwindow", 0xFFFFFF},
            {"clwindowtext", 0x000000},    {"clbtntext", 0x000000},    {"clhighlight", 0x0078D7},
            {"clhighlighttext", 0xFFFFFF}, {"clinfobk", 0xFFFFE1},     {"clbtnshadow", 0xA0A0A0},
        };
        for (const auto& entry : table)
            h.insert(QString::fromLatin1(entry.name), QColor::fromRgb(entry.rgb));
        return h;
    }();

    const QString t = text.trimmed();
    if (t.isEmpty()) return QColor();
    const auto found = named.constFind(t.toLower());
    if (found != named.constEnd()) return *found;

    // Stored colours are 00BBGGRR: the lowest byte is red.
    auto fromBgr = [](quint32 v) {
        return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
    };
    bool ok = false;
    if (t.startsWith(QLatin1Char('$'))) {
        const quint32 v = t.mid(1).toUInt(&ok, 16);
        return ok ? fromBgr(v) : QColor();
    }
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const quint32 v = t.mid(2).toUInt(&ok, 16);
        return ok ? fromBgr(v) : QColor();
    }
    const qint64 v = t.toLongLong(&ok);
    if (ok && v >= 0) return fromBgr(quint32(v));
    // Names Qt knows ("red", "#ff0000") are accepted too.
    const QColor qt = QColor::fromString(t);
    return qt.isValid() ? qt : QColor();
}

}  // namespace md::ui
