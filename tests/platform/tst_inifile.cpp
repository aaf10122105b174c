#include "platform/inifile.h"

#include "platform/cp949.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

// A damaged file: binary bytes, a lone cp949 lead byte, a NUL, lines without
// '=', a key before the first section.
const QByteArray DamagedFile = QByteArrayLiteral(
        "orphan=1\r\n\xFF\xFE\x00\x01garbage\r\n[Main]\r\nno equals sign\r\nA=\xB0\r\n"
        "=nokey\r\nB = 2 \r\n");

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void readString_data();
    void readString();
    void readInteger_data();
    void readInteger();
    void missingOrUnreadableFileReadsEmpty();
    void sectionLinesInFileOrder();
    void sectionNamesOnceEach();

    void writeKeepsTheRestOfTheFile_data();
    void writeKeepsTheRestOfTheFile();
    void writeHangulAsCp949RoundTrips();
    void writeKeepsUtf8WhenCp949WouldLoseCharacters();
    void writeRefusesWhatACp949FileCannotHold();
    void writeRejectsNamesThatBreakTheFile_data();
    void writeRejectsNamesThatBreakTheFile();
    void writeFailsWithoutTouchingAnything();

    void writeFailsOnAFullDiskWithoutTouchingTheFile();
    void writtenValuesReadBack_data();
    void writtenValuesReadBack();
    void everySyllableReadsBackAsWritten();
    void everyKindOfSyllablePairReadsBackAsWritten();

    void eraseSection_data();
    void eraseSection();
    void eraseThenWriteReplacesASection();

private:
    QString path() const { return m_dir->filePath(QStringLiteral("test.ini")); }
    void writeFile(const QByteArray &bytes) const;
    QByteArray fileBytes() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestIniFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestIniFile::writeFile(const QByteArray &bytes) const
{
    QFile file(path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray TestIniFile::fileBytes() const
{
    QFile file(path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestIniFile::readString_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QByteArray basic("[PROGRAM]\r\nPASS= 0A1B \r\nEmpty=\r\n");
    QTest::newRow("exact") << basic << "PROGRAM"
                           << "PASS"
                           << "0A1B";
    QTest::newRow("names ignore case") << basic << "program"
                                       << "pass"
                                       << "0A1B";
    QTest::newRow("empty value is not the default") << basic << "PROGRAM"
                                                    << "Empty"
                                                    << "";
    QTest::newRow("missing key") << basic << "PROGRAM"
                                 << "User"
                                 << "<default>";
    QTest::newRow("missing section") << basic << "MAIN"
                                     << "PASS"
                                     << "<default>";
    QTest::newRow("LF line ends") << QByteArray("[a]\nk=v\n") << "A"
                                  << "K"
                                  << "v";
    QTest::newRow("no final line end") << QByteArray("[a]\r\nk=v") << "a"
                                       << "k"
                                       << "v";
    QTest::newRow("blanks around names") << QByteArray("  [ Role ]  \r\n  Type  =  3\r\n") << "Role"
                                         << "Type"
                                         << "3";
    QTest::newRow("first duplicate key wins") << QByteArray("[a]\nk=1\nK=2\n") << "a"
                                              << "k"
                                              << "1";
    QTest::newRow("duplicate sections read as one")
            << QByteArray("[a]\nx=1\n[b]\ny=2\n[A]\nz=3\n") << "a"
            << "z"
            << "3";
    QTest::newRow("first key wins across duplicate sections")
            << QByteArray("[a]\nk=1\n[A]\nk=2\n") << "a"
            << "k"
            << "1";
    QTest::newRow("key before any section belongs to none") << QByteArray("k=0\n[a]\n") << "a"
                                                            << "k"
                                                            << "<default>";
    QTest::newRow("value keeps its own equals signs")
            << QByteArray("[Label]\nLabel1=<RC1,2>a=b\n") << "Label"
            << "Label1"
            << "<RC1,2>a=b";
    QTest::newRow("comment is no key") << QByteArray("[a]\n;k=1\nk=2\n") << "a"
                                       << "k"
                                       << "2";
    QTest::newRow("cp949 Hangul") << QByteArray("[a]\nname=\x8C\x63\xC1\x64\n") << "a"
                                  << "name"
                                  << "똠햏";
    QTest::newRow("cp949 section name") << QByteArray("[\xB0\xA1]\nk=v\n") << "가"
                                        << "k"
                                        << "v";
    QTest::newRow("UTF-8 Hangul") << QByteArray("[a]\nname=똠햏\n") << "a"
                                  << "name"
                                  << "똠햏";
    QTest::newRow("UTF-8 BOM before the first section")
            << QByteArray("\xEF\xBB\xBF[a]\nname=가\n") << "a"
            << "name"
            << "가";
    QTest::newRow("CR line ends") << QByteArray("[a]\rk=v\rj=w") << "a"
                                  << "j"
                                  << "w";
    QTest::newRow("mixed line ends") << QByteArray("[a]\r\nk=v\rj=w\nx=y") << "a"
                                     << "x"
                                     << "y";
    // The Windows profile reader takes off a pair of quotes around the value.
    QTest::newRow("double quotes") << QByteArray("[a]\nk= \" pa ss \" \n") << "a"
                                   << "k"
                                   << " pa ss ";
    QTest::newRow("single quotes") << QByteArray("[a]\nk='x'\n") << "a"
                                   << "k"
                                   << "x";
    QTest::newRow("empty quotes") << QByteArray("[a]\nk=\"\"\n") << "a"
                                  << "k"
                                  << "";
    QTest::newRow("one quote") << QByteArray("[a]\nk=\"\n") << "a"
                               << "k"
                               << "\"";
    QTest::newRow("quotes that differ") << QByteArray("[a]\nk=\"x'\n") << "a"
                                        << "k"
                                        << "\"x'";
    QTest::newRow("quotes inside") << QByteArray("[a]\nk=a\"b\"\n") << "a"
                                   << "k"
                                   << "a\"b\"";
    // cp949 bytes that are valid UTF-8 too: "창" is C3 A2, UTF-8 "â".
    QTest::newRow("cp949 that is valid UTF-8") << QByteArray("[a]\nk=\xC3\xA2\n") << "a"
                                               << "k"
                                               << "창";
    QTest::newRow("UTF-8 Hangul that is valid cp949")
            << QByteArray("[a]\nk=\xEA\xB0\xA1\xEB\x82\x98\n") << "a"
            << "k"
            << "갡나";
    QTest::newRow("damaged file: key after garbage") << DamagedFile << "main"
                                                     << "b"
                                                     << "2";
    QTest::newRow("damaged file: broken character") << DamagedFile << "main"
                                                    << "a" << QStringLiteral("\uFFFD");
}

void TestIniFile::readString()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    writeFile(file);
    QCOMPARE(IniFile(path()).readString(section, key, QStringLiteral("<default>")), expected);
}

void TestIniFile::readInteger_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("expected");

    QTest::newRow("number") << QByteArray("n=12") << 12;
    QTest::newRow("negative, blanks") << QByteArray("n= -3 ") << -3;
    QTest::newRow("leading number") << QByteArray("n=12mm") << 12;
    QTest::newRow("no number") << QByteArray("n=abc") << 99;
    QTest::newRow("empty") << QByteArray("n=") << 99;
    QTest::newRow("out of range") << QByteArray("n=99999999999") << 99;
    QTest::newRow("missing") << QByteArray("m=1") << 99;
}

void TestIniFile::readInteger()
{
    QFETCH(QByteArray, line);
    QFETCH(int, expected);

    writeFile("[MAIN]\r\n" + line + "\r\n");
    QCOMPARE(IniFile(path()).readInteger(QStringLiteral("main"), QStringLiteral("N"), 99), expected);
}

void TestIniFile::missingOrUnreadableFileReadsEmpty()
{
    // A directory stands for a file that cannot be read (the tests may run as root).
    for (const QString &file : {path(), m_dir->path()}) {
        const IniFile ini(file);
        QCOMPARE(ini.readString(QStringLiteral("a"), QStringLiteral("k"), QStringLiteral("d")),
                 QStringLiteral("d"));
        QCOMPARE(ini.readInteger(QStringLiteral("MAIN"), QStringLiteral("PROGRAM_COUNT"), 10), 10);
        QVERIFY(ini.sectionLines(QStringLiteral("a")).isEmpty());
        QVERIFY(ini.sectionNames().isEmpty());
    }
}

void TestIniFile::sectionLinesInFileOrder()
{
    writeFile("[Label]\r\nLabel3 = <RC1,2>x \r\n; comment\r\nno equals\r\nLabel7=\xB0\xA1\r\n"
              "[Config]\r\nWidth=155\r\n[label]\r\nLabel3=again\r\n");
    QCOMPARE(IniFile(path()).sectionLines(QStringLiteral("LABEL")),
             QStringList({"Label3=<RC1,2>x", "Label7=가", "Label3=again"}));
}

void TestIniFile::sectionNamesOnceEach()
{
    writeFile("k=1\n[Config]\n[Label]\n[CONFIG]\n[Barcode]\n");
    QCOMPARE(IniFile(path()).sectionNames(), QStringList({"Config", "Label", "Barcode"}));
}

void TestIniFile::writeKeepsTheRestOfTheFile_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    const QByteArray settings("; settings\r\nglobal=1\r\n[PROGRAM]\r\nUSER=kesa\r\nPASS=old\r\n\r\n"
                              "; the printer\r\n[Printer]\r\nPort=/dev/ttyS0\r\n");
    QTest::newRow("replace a value, keeping the key's spelling")
            << settings << "program"
            << "pass"
            << "new"
            << QByteArray("; settings\r\nglobal=1\r\n[PROGRAM]\r\nUSER=kesa\r\nPASS=new\r\n\r\n"
                          "; the printer\r\n[Printer]\r\nPort=/dev/ttyS0\r\n");
    QTest::newRow("new key after the last key of its section")
            << settings << "PROGRAM"
            << "Alias"
            << "demo"
            << QByteArray("; settings\r\nglobal=1\r\n[PROGRAM]\r\nUSER=kesa\r\nPASS=old\r\n"
                          "Alias=demo\r\n\r\n; the printer\r\n[Printer]\r\nPort=/dev/ttyS0\r\n");
    QTest::newRow("new section at the end") << settings << "MAIN"
                                            << "PROGRAM_COUNT"
                                            << "12" << settings + "[MAIN]\r\nPROGRAM_COUNT=12\r\n";
    QTest::newRow("LF file stays LF") << QByteArray("[a]\nk=1\n") << "a"
                                      << "j"
                                      << "2" << QByteArray("[a]\nk=1\nj=2\n");
    QTest::newRow("file without final line end")
            << QByteArray("[a]\r\nk=1") << "b"
            << "k"
            << "2" << QByteArray("[a]\r\nk=1\r\n[b]\r\nk=2\r\n");
    QTest::newRow("key into empty section without final line end")
            << QByteArray("[a]") << "a"
            << "k"
            << "v" << QByteArray("[a]\r\nk=v\r\n");
    QTest::newRow("first of duplicate keys changes") << QByteArray("[a]\nk=1\nk=2\n") << "a"
                                                     << "K"
                                                     << "3" << QByteArray("[a]\nk=3\nk=2\n");
    QTest::newRow("new file") << QByteArray() << "PROGRAM"
                              << "PASS"
                              << "0A" << QByteArray("[PROGRAM]\r\nPASS=0A\r\n");
    QTest::newRow("cp949 file: damaged bytes kept as they were")
            << DamagedFile << "Main"
            << "B"
            << "3" << QByteArray(DamagedFile).replace("B = 2 ", "B=3");
    QTest::newRow("bare CR file stays CR") << QByteArray("[a]\rk=1\r") << "a"
                                           << "j"
                                           << "2" << QByteArray("[a]\rk=1\rj=2\r");
    QTest::newRow("last line ends in a bare CR") << QByteArray("[a]\r\nk=1\r") << "b"
                                                 << "j"
                                                 << "2" << QByteArray("[a]\r\nk=1\r[b]\r\nj=2\r\n");
    // Found by fuzzing: the second mark was dropped, and "[a]" became a section.
    QTest::newRow("a second byte-order mark stays, and the line no section")
            << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF[a]\nk=1\n") << "b"
            << "j"
            << "2" << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF[a]\nk=1\n[b]\nj=2\n");
    QTest::newRow("UTF-8 file becomes cp949")
            << QByteArray("\xEF\xBB\xBF[a]\r\nname=가\r\n") << "a"
            << "k"
            << "v" << QByteArray("[a]\r\nname=\xB0\xA1\r\nk=v\r\n");
}

void TestIniFile::writeKeepsTheRestOfTheFile()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    if (!before.isEmpty())
        writeFile(before);
    IniFile ini(path());
    QVERIFY(ini.writeString(section, key, value));
    QCOMPARE(fileBytes(), after);
    QCOMPARE(ini.readString(section, key), value);
}

void TestIniFile::writeHangulAsCp949RoundTrips()
{
    IniFile ini(path());
    QVERIFY(ini.writeString(QStringLiteral("쿠폰"),
                            QStringLiteral("이름"),
                            QStringLiteral("똠햏 가")));
    QVERIFY(ini.writeString(QStringLiteral("쿠폰"), QStringLiteral("Line1"), QStringLiteral("뷁")));
    QCOMPARE(fileBytes(),
             QByteArray("[\xC4\xED\xC6\xF9]\r\n\xC0\xCC\xB8\xA7=\x8C\x63\xC1\x64 \xB0\xA1\r\n"
                        "Line1=\x94\xEE\r\n"));
    QCOMPARE(ini.readString(QStringLiteral("쿠폰"), QStringLiteral("이름")),
             QStringLiteral("똠햏 가"));
    QCOMPARE(ini.readString(QStringLiteral("쿠폰"), QStringLiteral("LINE1")), QStringLiteral("뷁"));
}

void TestIniFile::writeKeepsUtf8WhenCp949WouldLoseCharacters()
{
    const QByteArray before("; 😀 emoji\n[a]\nk=가\n");
    writeFile(before);
    IniFile ini(path());
    QVERIFY(ini.writeString(QStringLiteral("a"), QStringLiteral("j"), QStringLiteral("나")));
    QCOMPARE(fileBytes(), QByteArray("; 😀 emoji\n[a]\nk=가\nj=나\n"));
}

void TestIniFile::writeRefusesWhatACp949FileCannotHold()
{
    const QByteArray before("[a]\r\nk=\xB0\xA1\r\n");
    writeFile(before);
    IniFile ini(path());
    QVERIFY(!ini.writeString(QStringLiteral("a"), QStringLiteral("j"), QStringLiteral("😀")));
    QCOMPARE(fileBytes(), before);
}

void TestIniFile::writeRejectsNamesThatBreakTheFile_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("empty section") << " "
                                   << "k"
                                   << "v";
    QTest::newRow("bracket in section") << "a]b"
                                        << "k"
                                        << "v";
    QTest::newRow("empty key") << "a"
                               << ""
                               << "v";
    QTest::newRow("equals sign in key") << "a"
                                        << "k=x"
                                        << "v";
    QTest::newRow("key looks like a section") << "a"
                                              << "[b"
                                              << "v";
    QTest::newRow("key looks like a comment") << "a"
                                              << ";k"
                                              << "v";
    QTest::newRow("line break in value") << "a"
                                         << "k"
                                         << "1\r\n[b]";
    QTest::newRow("line feed in section") << "a\nb"
                                          << "k"
                                          << "v";
}

void TestIniFile::writeRejectsNamesThatBreakTheFile()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);

    const QByteArray before("[a]\r\nk=1\r\n");
    writeFile(before);
    QVERIFY(!IniFile(path()).writeString(section, key, value));
    QCOMPARE(fileBytes(), before);
}

void TestIniFile::writeFailsWithoutTouchingAnything()
{
    QVERIFY(!IniFile(m_dir->filePath(QStringLiteral("missing/dir/x.ini")))
                     .writeString(QStringLiteral("a"), QStringLiteral("k"), QStringLiteral("v")));
    QVERIFY(!IniFile(m_dir->path())
                     .writeString(QStringLiteral("a"), QStringLiteral("k"), QStringLiteral("v")));
    QVERIFY(!IniFile(m_dir->path()).eraseSection(QStringLiteral("a")));
    QVERIFY(QFileInfo(m_dir->path()).isDir());
}

void TestIniFile::writeFailsOnAFullDiskWithoutTouchingTheFile()
{
    // A file size limit fails writes the way a full disk does (EFBIG instead of ENOSPC).
    const QByteArray before = "[PROGRAM]\r\nPASS=" + QByteArray(40, 'A') + "\r\n";
    writeFile(before);
    rlimit saved = {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = rlim_t(before.size() + 4);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = IniFile(path()).writeString(QStringLiteral("PROGRAM"),
                                                     QStringLiteral("USER"),
                                                     QStringLiteral("kesa"));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!written);
    QCOMPARE(fileBytes(), before);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("test.ini")});
}

void TestIniFile::writtenValuesReadBack_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("double quotes") << "\"quoted\"";
    QTest::newRow("single quotes") << "'quoted'";
    QTest::newRow("empty quotes") << "\"\"";
    QTest::newRow("one quote") << "\"";
    QTest::newRow("quote inside") << "a\"b";
    QTest::newRow("Latin and Hangul") << "â창";
    QTest::newRow("UTF-8 only") << "😀창";
    // In cp949 EA A1 8C 63, valid UTF-8 without a two-byte character.
    QTest::newRow("Hanja before an extended syllable")
            << Cp949::toUnicode("\xEA\xA1") + QStringLiteral("똠");
}

void TestIniFile::writtenValuesReadBack()
{
    QFETCH(QString, value);
    IniFile ini(path());
    QVERIFY(ini.writeString(QStringLiteral("a"), QStringLiteral("k"), value));
    QCOMPARE(ini.readString(QStringLiteral("a"), QStringLiteral("k")), value);
    QVERIFY(ini.writeString(QStringLiteral("a"), QStringLiteral("k"), value));
    QCOMPARE(ini.readString(QStringLiteral("a"), QStringLiteral("k")), value);
}

namespace {

QString syllable(int index)
{
    return QString(QChar(char16_t(0xAC00 + index)));
}

// Writes "[a] k=value" as the program does and reads it back.
QString writtenAndRead(const QString &path, const QString &value)
{
    QFile::remove(path);
    IniFile ini(path);
    if (!ini.writeString(QStringLiteral("a"), QStringLiteral("k"), value))
        return QStringLiteral("<not written>");
    return ini.readString(QStringLiteral("a"), QStringLiteral("k"));
}

// Reads the bytes the writer gives for "[a] k=value" (see the first check of
// everySyllableReadsBackAsWritten) without writing them through the writer.
QString readFromBytes(const QString &path, const QString &value)
{
    // A new file each time: ext4 writes a truncated file out on close, slowly.
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write("[a]\r\nk=" + Cp949::fromUnicode(value) + "\r\n");
    file.close();
    return IniFile(path).readString(QStringLiteral("a"), QStringLiteral("k"));
}

} // namespace

void TestIniFile::everySyllableReadsBackAsWritten()
{
    // The writer writes plain cp949 ...
    QString all;
    for (int i = 0; i < 11172; ++i)
        all += syllable(i);
    QCOMPARE(writtenAndRead(path(), all), all);
    QCOMPARE(fileBytes(), "[a]\r\nk=" + Cp949::fromUnicode(all) + "\r\n");
    // ... and every syllable alone reads back, though 217 of the 2350 common
    // ones are valid UTF-8 too.
    for (int i = 0; i < 11172; ++i) {
        if (readFromBytes(path(), syllable(i)) != syllable(i))
            QFAIL(qPrintable(QStringLiteral("%1 reads back as %2")
                                     .arg(syllable(i), readFromBytes(path(), syllable(i)))));
    }
    QCOMPARE(writtenAndRead(path(), QStringLiteral("창")), QStringLiteral("창"));
}

void TestIniFile::everyKindOfSyllablePairReadsBackAsWritten()
{
    // Whether bytes are valid UTF-8, and which UTF-8 characters they hold,
    // depends only on the class of each byte: ASCII, one of the ranges of
    // continuation bytes, lead bytes of each length (E0, ED, F0 and F4 with
    // their own ranges). One syllable of every pair of classes (lead byte,
    // trail byte) stands for all, so these pairs cover all 11172 squared.
    const auto byteClass = [](uchar b) {
        if (b < 0x80)
            return 0;
        if (b < 0x90)
            return 1;
        if (b < 0xA0)
            return 2;
        if (b < 0xC0)
            return 3;
        if (b < 0xC2)
            return 4;
        if (b < 0xE0)
            return 5;
        if (b == 0xE0 || b == 0xED || b == 0xF0 || b == 0xF4)
            return int(b);
        if (b < 0xF0)
            return 6;
        if (b < 0xF5)
            return 7;
        return 8;
    };
    QMap<QPair<int, int>, QString> representatives;
    for (int i = 0; i < 11172; ++i) {
        const QByteArray bytes = Cp949::fromUnicode(syllable(i));
        QCOMPARE(bytes.size(), 2);
        representatives.insert({byteClass(uchar(bytes.at(0))), byteClass(uchar(bytes.at(1)))},
                               syllable(i));
    }
    QVERIFY(representatives.size() > 5);
    for (const QString &first : std::as_const(representatives)) {
        for (const QString &second : std::as_const(representatives)) {
            const QString pair = first + second;
            QCOMPARE(readFromBytes(path(), pair), pair);
        }
    }
}

void TestIniFile::eraseSection_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("middle section")
            << QByteArray("top=1\r\n[Config]\r\nWidth=155\r\n[Label]\r\nLabel1=a\r\nLabel2=b\r\n"
                          "[Barcode]\r\nBarcode=1\r\n")
            << "label"
            << QByteArray("top=1\r\n[Config]\r\nWidth=155\r\n[Barcode]\r\nBarcode=1\r\n");
    QTest::newRow("every occurrence")
            << QByteArray("[a]\nx=1\n[b]\ny=2\n[A]\nz=3\n") << "a" << QByteArray("[b]\ny=2\n");
    QTest::newRow("last section without final line end")
            << QByteArray("[a]\nx=1\n[b]\ny=2") << "B" << QByteArray("[a]\nx=1\n");
    QTest::newRow("absent section leaves the file alone")
            << QByteArray("[a]\nx=1") << "zz" << QByteArray("[a]\nx=1");
    QTest::newRow("damaged cp949 bytes elsewhere kept")
            << QByteArray("[a]\n\xFF\xB0\n[b]\nk=1\n") << "b" << QByteArray("[a]\n\xFF\xB0\n");
}

void TestIniFile::eraseSection()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QByteArray, after);

    writeFile(before);
    IniFile ini(path());
    QVERIFY(ini.eraseSection(section));
    QCOMPARE(fileBytes(), after);
    QVERIFY(ini.sectionLines(section).isEmpty());
}

void TestIniFile::eraseThenWriteReplacesASection()
{
    // Saving a layout twice after deleting a label leaves no stale key.
    writeFile("[Config]\r\nWidth=155\r\n[Label]\r\nLabel1=a\r\nLabel2=b\r\n");
    IniFile ini(path());
    QVERIFY(ini.eraseSection(QStringLiteral("Label")));
    QVERIFY(ini.writeString(QStringLiteral("Label"), QStringLiteral("Label1"), QStringLiteral("a")));
    QCOMPARE(ini.sectionLines(QStringLiteral("Label")), QStringList({"Label1=a"}));
    QCOMPARE(ini.readInteger(QStringLiteral("Config"), QStringLiteral("Width"), 0), 155);
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
