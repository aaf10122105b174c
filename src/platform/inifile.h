#pragma once

#include <QString>
#include <QStringList>

/// An INI profile file with Windows semantics: section and key names compared
/// without regard to case, values trimmed and read without a pair of quotes
/// around them, the first of duplicate keys wins, CR LF, LF and CR all end a
/// line, every other line of the file kept on write. Reads cp949 or UTF-8
/// (UTF-8 after a byte-order mark, or when the bytes cannot be cp949 written
/// by this program; see readsAsUtf8), writes cp949. A missing or unreadable
/// file reads as empty. Every value written (trimmed) reads back as written.
class IniFile
{
public:
    explicit IniFile(const QString &path);

    QString path() const { return m_path; }

    QString readString(const QString &section,
                       const QString &key,
                       const QString &defaultValue = QString()) const;
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    /// Writes one value; false (and the file untouched) when it cannot be
    /// written. The file is replaced whole: written beside it, synced, renamed.
    bool writeString(const QString &section, const QString &key, const QString &value);
    /// Removes one section with all its keys.
    bool eraseSection(const QString &section);
    /// The "key=value" lines of a section in file order (values trimmed).
    QStringList sectionLines(const QString &section) const;
    QStringList sectionNames() const;

private:
    QString m_path;
};
