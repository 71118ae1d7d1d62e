#include "inifile.h"

#include <QFile>
#include <QStringDecoder>

#include "routines.h"

namespace md {

QString decodeSettingsText(const QByteArray& bytes) {
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF")) data.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(data);
    if (!utf8.hasError()) return text;
    // Every Debian Qt build carries ICU, which provides GBK (a superset of GB2312).
    QStringDecoder gbk("GBK");
    if (gbk.isValid()) return gbk.decode(data);
    return QString::fromLocal8Bit(data);
}

IniFile IniFile::parse(const QString& text) {
    IniFile ini;
    ini.m_exists = true;
    QHash<QString, QString>* section = nullptr;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
        if (line.startsWith(QLatin1Char('['))) {
            const int close = line.indexOf(QLatin1Char(']'));
            const QString name = line.mid(1, close < 0 ? -1 : close - 1).trimmed().toLower();
            section = &ini.m_sections[name];  // a repeated section adds to the first
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (!section || eq <= 0) continue;
        const QString key = line.left(eq).trimmed().toLower();
        QString value = line.mid(eq + 1).trimmed();
        if (value.size() >= 2 &&
            (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
            value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        if (!section->contains(key))
            section->insert(key, value);  // the first one counts, as on Windows
    }
    return ini;
}

IniFile IniFile::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return IniFile();
    return parse(decodeSettingsText(file.readAll()));
}

QString IniFile::value(const QString& section, const QString& key, const QString& fallback) const {
    const auto s = m_sections.constFind(section.toLower());
    if (s == m_sections.constEnd()) return fallback;
    const auto v = s->constFind(key.toLower());
    return v == s->constEnd() ? fallback : *v;
}

QString settingsFilePath(const QString& fileName) {
    const ProgramPaths paths = CurrentProgramPaths();
    const QString found =
        FindFileInFolders({paths.settingsFolder, paths.defaultSettingsFolder}, fileName);
    return found.isEmpty() ? paths.settingsFolder + fileName : found;
}

}  // namespace md
