#include "inifile.h"

#include "cp949.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF");
// The files travel to Windows workstations too.
const QByteArray DefaultLineEnd("\r\n");

struct Line
{
    QByteArray raw; // as read, without the line end
    QString text;
    QByteArray lineEnd; // empty only on a last line without one
    bool changed = false;
};

struct Document
{
    QList<Line> lines;
    bool utf8 = true; // a missing or pure ASCII file counts as UTF-8
    bool bom = false;
    bool readable = true;
};

enum class Kind { Other, Section, Key };

struct Parsed
{
    Kind kind = Kind::Other;
    QString name; // section or key
    QString value;
};

Parsed parse(const QString &text)
{
    Parsed result;
    const QString line = text.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
        return result;
    if (line.startsWith(QLatin1Char('['))) {
        const qsizetype close = line.indexOf(QLatin1Char(']'));
        result.kind = Kind::Section;
        result.name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
        return result;
    }
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals <= 0)
        return result;
    result.name = line.left(equals).trimmed();
    if (result.name.isEmpty())
        return result;
    result.kind = Kind::Key;
    result.value = line.mid(equals + 1).trimmed();
    return result;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    Q_UNUSED(text)
    return !decoder.hasError();
}

Document load(const QString &path)
{
    Document doc;
    QFile file(path);
    if (!file.exists())
        return doc;
    if (!file.open(QIODevice::ReadOnly)) {
        doc.readable = false;
        return doc;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        doc.readable = false;
        return doc;
    }
    if (bytes.startsWith(Utf8Bom)) {
        doc.bom = true;
        bytes.remove(0, Utf8Bom.size());
    } else {
        doc.utf8 = isValidUtf8(bytes);
    }

    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', start);
        Line line;
        if (newline < 0) {
            line.raw = bytes.mid(start);
            start = bytes.size();
        } else {
            line.raw = bytes.mid(start, newline - start);
            line.lineEnd = "\n";
            start = newline + 1;
        }
        if (line.raw.endsWith('\r')) {
            line.raw.chop(1);
            line.lineEnd.prepend('\r');
        }
        line.text = doc.utf8 ? QString::fromUtf8(line.raw) : Cp949::toUnicode(line.raw);
        doc.lines.append(line);
    }
    return doc;
}

QByteArray documentLineEnd(const Document &doc)
{
    for (const Line &line : doc.lines) {
        if (!line.lineEnd.isEmpty())
            return line.lineEnd;
    }
    return DefaultLineEnd;
}

bool representableInCp949(const QString &text)
{
    return Cp949::toUnicode(Cp949::fromUnicode(text)) == text;
}

bool save(const QString &path, const Document &doc)
{
    // A file read as cp949 keeps the bytes of every untouched line, whatever
    // they are. A file read as UTF-8 is re-encoded as cp949 unless that would
    // lose characters, in which case it stays UTF-8.
    bool writeUtf8 = false;
    if (doc.utf8) {
        for (const Line &line : doc.lines) {
            if (!representableInCp949(line.text)) {
                writeUtf8 = true;
                break;
            }
        }
    } else {
        for (const Line &line : doc.lines) {
            if (line.changed && !representableInCp949(line.text))
                return false;
        }
    }

    QByteArray bytes;
    if (writeUtf8 && doc.bom)
        bytes += Utf8Bom;
    for (const Line &line : doc.lines) {
        if (writeUtf8)
            bytes += line.text.toUtf8();
        else if (doc.utf8 || line.changed)
            bytes += Cp949::fromUnicode(line.text);
        else
            bytes += line.raw;
        bytes += line.lineEnd;
    }

    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

bool isValidSectionName(const QString &section)
{
    return !section.trimmed().isEmpty() && !section.contains(QLatin1Char(']'))
           && !hasLineBreak(section);
}

bool isValidKeyName(const QString &key)
{
    const QString trimmed = key.trimmed();
    return !trimmed.isEmpty() && !trimmed.contains(QLatin1Char('='))
           && !trimmed.startsWith(QLatin1Char('[')) && !trimmed.startsWith(QLatin1Char(';'))
           && !trimmed.startsWith(QLatin1Char('#')) && !hasLineBreak(trimmed);
}

Line newLine(const QString &text, const QByteArray &lineEnd)
{
    Line line;
    line.text = text;
    line.lineEnd = lineEnd;
    line.changed = true;
    return line;
}

// Calls visit(index, parsed) for every key line inside the named section
// (all its occurrences, in file order); stops when visit returns false.
template<typename Visit>
void forEachKey(const Document &doc, const QString &section, Visit visit)
{
    bool inSection = false;
    for (qsizetype i = 0; i < doc.lines.size(); ++i) {
        const Parsed parsed = parse(doc.lines.at(i).text);
        if (parsed.kind == Kind::Section)
            inSection = sameName(parsed.name, section);
        else if (parsed.kind == Kind::Key && inSection && !visit(i, parsed))
            return;
    }
}

} // namespace

IniFile::IniFile(const QString &path)
    : m_path(path)
{}

QString IniFile::readString(const QString &section,
                            const QString &key,
                            const QString &defaultValue) const
{
    const QString wanted = key.trimmed();
    QString result = defaultValue;
    forEachKey(load(m_path), section.trimmed(), [&](qsizetype, const Parsed &parsed) {
        if (!sameName(parsed.name, wanted))
            return true;
        result = parsed.value;
        return false;
    });
    return result;
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    // Like the Windows profile functions: the leading integer of the value,
    // so "12 mm" reads as 12; a value without one reads as the default.
    const QString value = readString(section, key);
    qsizetype end = 0;
    if (end < value.size()
        && (value.at(end) == QLatin1Char('-') || value.at(end) == QLatin1Char('+')))
        ++end;
    const qsizetype digitsStart = end;
    while (end < value.size() && value.at(end) >= QLatin1Char('0')
           && value.at(end) <= QLatin1Char('9'))
        ++end;
    if (end == digitsStart)
        return defaultValue;
    bool ok = false;
    const int number = value.left(end).toInt(&ok);
    return ok ? number : defaultValue;
}

bool IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    if (!isValidSectionName(section) || !isValidKeyName(key) || hasLineBreak(value))
        return false;
    Document doc = load(m_path);
    if (!doc.readable)
        return false;
    const QString sectionName = section.trimmed();
    const QString keyName = key.trimmed();
    const QString trimmedValue = value.trimmed();

    qsizetype existing = -1;
    forEachKey(doc, sectionName, [&](qsizetype index, const Parsed &parsed) {
        if (!sameName(parsed.name, keyName))
            return true;
        existing = index;
        return false;
    });
    if (existing >= 0) {
        Line &line = doc.lines[existing];
        const QString ownKey = parse(line.text).name;
        if (parse(line.text).value == trimmedValue)
            return true;
        line.text = ownKey + QLatin1Char('=') + trimmedValue;
        line.changed = true;
        return save(m_path, doc);
    }

    const QByteArray lineEnd = documentLineEnd(doc);
    const QString keyLine = keyName + QLatin1Char('=') + trimmedValue;
    // A new key goes right after the last key of the first occurrence of the
    // section, so that comments heading the next section stay with it.
    qsizetype insertAt = -1;
    for (qsizetype i = 0; i < doc.lines.size(); ++i) {
        const Parsed parsed = parse(doc.lines.at(i).text);
        if (parsed.kind == Kind::Section) {
            if (insertAt >= 0)
                break;
            if (sameName(parsed.name, sectionName))
                insertAt = i + 1;
        } else if (parsed.kind == Kind::Key && insertAt >= 0) {
            insertAt = i + 1;
        }
    }
    if (insertAt < 0) {
        if (!doc.lines.isEmpty() && doc.lines.constLast().lineEnd.isEmpty())
            doc.lines.last().lineEnd = lineEnd;
        doc.lines.append(newLine(QLatin1Char('[') + sectionName + QLatin1Char(']'), lineEnd));
        insertAt = doc.lines.size();
    }
    if (insertAt > 0 && doc.lines.at(insertAt - 1).lineEnd.isEmpty())
        doc.lines[insertAt - 1].lineEnd = lineEnd;
    doc.lines.insert(insertAt, newLine(keyLine, lineEnd));
    return save(m_path, doc);
}

bool IniFile::eraseSection(const QString &section)
{
    Document doc = load(m_path);
    if (!doc.readable)
        return false;
    const QString sectionName = section.trimmed();
    bool inSection = false;
    bool erased = false;
    QList<Line> kept;
    for (const Line &line : std::as_const(doc.lines)) {
        const Parsed parsed = parse(line.text);
        if (parsed.kind == Kind::Section)
            inSection = sameName(parsed.name, sectionName);
        if (inSection)
            erased = true;
        else
            kept.append(line);
    }
    if (!erased)
        return true;
    doc.lines = kept;
    return save(m_path, doc);
}

QStringList IniFile::sectionLines(const QString &section) const
{
    QStringList result;
    forEachKey(load(m_path), section.trimmed(), [&](qsizetype, const Parsed &parsed) {
        result.append(parsed.name + QLatin1Char('=') + parsed.value);
        return true;
    });
    return result;
}

QStringList IniFile::sectionNames() const
{
    QStringList result;
    for (const Line &line : load(m_path).lines) {
        const Parsed parsed = parse(line.text);
        if (parsed.kind != Kind::Section)
            continue;
        const bool known = std::any_of(result.cbegin(), result.cend(), [&](const QString &name) {
            return sameName(name, parsed.name);
        });
        if (!known)
            result.append(parsed.name);
    }
    return result;
}
