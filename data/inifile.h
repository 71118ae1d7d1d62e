#pragma once
// Settings files as Windows tools write them: "[section]" lines and
// "key=value" lines, section and key names in any case, text in GBK (files
// saved by Chinese Windows editors) or UTF-8 (files saved by us).
#include <QByteArray>
#include <QHash>
#include <QString>

namespace md {

class IniFile {
  public:
    // A missing or unreadable file gives an empty IniFile (exists() false).
    static IniFile load(const QString& path);

    bool exists() const { return m_exists; }
    // The value of the key, trimmed, without surrounding quotes; the fallback
    // when the section or key is absent (a key written empty gives "").
    QString value(const QString& section, const QString& key, const QString& fallback) const;

    static IniFile parse(const QString& text);

  private:
    bool m_exists = false;
    QHash<QString, QHash<QString, QString>> m_sections;  // lower-case names
};

// UTF-8 when the bytes are valid UTF-8 (a BOM is dropped), else GBK.
QString decodeSettingsText(const QByteArray& bytes);

// The path of a settings file: the user's (in the program folder, or the user's
// config folder for an installed program), else the installed default. Windows
// tools may have saved it as "SoftConfig.ini": when the exact name is absent, a
// file whose name differs only in case is taken. The user's path when neither
// exists.
QString settingsFilePath(const QString& fileName);

}  // namespace md
