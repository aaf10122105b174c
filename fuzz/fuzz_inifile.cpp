// INI files: any file reads without harm; a value written reads back as
// written (trimmed), every other key reads as before, and a write that fails
// leaves the file as it was.
#include "fuzzcheck.h"

#include "platform/inifile.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What every key of the file reads as, by lower-case section and key name.
QMap<QPair<QString, QString>, QString> snapshot(const IniFile &ini)
{
    QMap<QPair<QString, QString>, QString> values;
    const QStringList sections = ini.sectionNames();
    for (const QString &section : sections) {
        const QStringList lines = ini.sectionLines(section);
        for (const QString &line : lines) {
            const QString key = line.left(line.indexOf(QLatin1Char('=')));
            values.insert({section.toLower(), key.toLower()}, ini.readString(section, key));
        }
    }
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fuzz.ini"));
    const QByteArray bytes = Fuzz::bytes(data, size);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(bytes);
    }
    IniFile ini(path);
    const auto before = snapshot(ini);

    // Write into the file's first section (or a new one) a key and a value
    // taken from the input's tail.
    const QStringList sections = ini.sectionNames();
    const QString section = sections.isEmpty() ? QStringLiteral("Fuzz") : sections.first();
    const QString key = QStringLiteral("FuzzKey");
    const QString value
            = QString::fromUtf8(bytes.right(12)).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    if (!ini.writeString(section, key, value)) {
        FUZZ_CHECK(readAll(path) == bytes);
        return 0;
    }
    FUZZ_CHECK(ini.readString(section, key) == value.trimmed());
    auto after = snapshot(ini);
    after.remove({section.toLower(), key.toLower()});
    auto expected = before;
    expected.remove({section.toLower(), key.toLower()});
    FUZZ_CHECK(after == expected);
    return 0;
}
