#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "platform/programfolders.h"

// The program's folders carry its name; the folders of earlier versions
// (named after the main window's class) move there once, and nothing in them
// is lost, whether the move works, works in part or fails. File dialogs open in
// the documents folder until a screen has chosen a file, then in that file's
// folder, each screen for itself.
class TestProgramFolders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void oldFoldersMove_data();
    void oldFoldersMove();
    void dialogFolderPerScreen();

private:
    QString data(const QString &name) const
    {
        return m_home->filePath(QStringLiteral("data/") + name);
    }
    QString cache(const QString &name) const
    {
        return m_home->filePath(QStringLiteral("cache/") + name);
    }

    std::unique_ptr<QTemporaryDir> m_home;
};

namespace {

bool write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

} // namespace

void TestProgramFolders::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    qputenv("XDG_DATA_HOME", m_home->filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", m_home->filePath(QStringLiteral("cache")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", m_home->filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("HOME", m_home->path().toLocal8Bit());
    ProgramFolders::setDataFolder(QString());
    ProgramFolders::setCacheFolder(QString());
}

void TestProgramFolders::oldFoldersMove_data()
{
    // What lies in the data folder before start-up: old and new name, as
    // "file=content" (a bare name is a plain file taking the folder's place).
    QTest::addColumn<QStringList>("oldFiles");
    QTest::addColumn<QStringList>("newFiles");
    // The data folder in use afterwards, every file's content there and what
    // stays under the old name; part of the report.
    QTest::addColumn<QString>("inUse");
    QTest::addColumn<QStringList>("afterwards");
    QTest::addColumn<QStringList>("leftInOld");
    QTest::addColumn<QString>("report");

    QTest::newRow("nothing yet") << QStringList() << QStringList() << "kesa_z" << QStringList()
                                 << QStringList() << QString();
    QTest::newRow("old folder moves whole")
            << QStringList{"ticket-ledger.csv=1,2", "ZXS090.ini=[Port]"} << QStringList()
            << "kesa_z" << QStringList{"ticket-ledger.csv=1,2", "ZXS090.ini=[Port]"}
            << QStringList() << QString();
    // What stays behind is set aside and told once: the next start finds no
    // old folder (a box at every start would stop every unattended start).
    QTest::newRow("both: the new one's files win, the rest moves")
            << QStringList{"ticket-ledger.csv=old", "ZXS090.ini=old"}
            << QStringList{"ZXS090.ini=new"} << "kesa_z"
            << QStringList{"ticket-ledger.csv=old", "ZXS090.ini=new"}
            << QStringList{"ZXS090.ini=old"} << QStringLiteral("TfrmZ0Main.old");
    QTest::newRow("new name taken: the old folder stays in use")
            << QStringList{"ticket-ledger.csv=1,2"} << QStringList{"kesa_z"} << "TfrmZ0Main"
            << QStringList{"ticket-ledger.csv=1,2"} << QStringList{"ticket-ledger.csv=1,2"}
            << QStringLiteral("그대로 사용");
}

void TestProgramFolders::oldFoldersMove()
{
    QFETCH(QStringList, oldFiles);
    QFETCH(QStringList, newFiles);
    QFETCH(QString, inUse);
    QFETCH(QStringList, afterwards);
    QFETCH(QStringList, leftInOld);
    QFETCH(QString, report);

    const auto place = [this](const QString &folder, const QStringList &files) {
        for (const QString &file : files) {
            const QString name = file.section(u'=', 0, 0);
            const QString path = file.contains(u'=') ? data(folder + u'/' + name) : data(name);
            QVERIFY(write(path, file.section(u'=', 1).toUtf8()));
        }
    };
    place(QStringLiteral("TfrmZ0Main"), oldFiles);
    place(QStringLiteral("kesa_z"), newFiles);
    // The pictures' cache moves the same way; what the new cache already
    // holds is dropped from the old one, without a word.
    QVERIFY(write(cache(QStringLiteral("TfrmZ0Main/pictures/a.jpg")), "jpeg"));
    QVERIFY(write(cache(QStringLiteral("TfrmZ0Main/stale.dat")), "old"));
    QVERIFY(write(cache(QStringLiteral("kesa_z/stale.dat")), "new"));

    const QString said = ProgramFolders::prepare();
    if (report.isEmpty())
        QCOMPARE(said, QString());
    else
        QVERIFY2(said.contains(report), qPrintable(said));
    QCOMPARE(ProgramFolders::data(), data(inUse));
    QCOMPARE(ProgramFolders::screenSettings(QStringLiteral("ZXS090")),
             data(inUse + QStringLiteral("/ZXS090.ini")));
    for (const QString &file : afterwards)
        QCOMPARE(read(data(inUse + u'/' + file.section(u'=', 0, 0))),
                 file.section(u'=', 1).toUtf8());
    const QString old = inUse == QLatin1String("kesa_z") ? QStringLiteral("TfrmZ0Main.old/")
                                                         : QStringLiteral("TfrmZ0Main/");
    for (const QString &file : leftInOld)
        QCOMPARE(read(data(old + file.section(u'=', 0, 0))), file.section(u'=', 1).toUtf8());
    if (inUse == QLatin1String("kesa_z"))
        QVERIFY(!QFileInfo::exists(data(QStringLiteral("TfrmZ0Main"))));
    QCOMPARE(ProgramFolders::cache(), cache(QStringLiteral("kesa_z")));
    QCOMPARE(read(cache(QStringLiteral("kesa_z/pictures/a.jpg"))), QByteArray("jpeg"));
    QCOMPARE(read(cache(QStringLiteral("kesa_z/stale.dat"))), QByteArray("new"));
    QVERIFY(!QFileInfo::exists(cache(QStringLiteral("TfrmZ0Main"))));

    // Once moved, a second start has nothing to do or to tell.
    QCOMPARE(ProgramFolders::prepare(), inUse == QLatin1String("kesa_z") ? QString() : said);
    QCOMPARE(ProgramFolders::data(), data(inUse));
}

void TestProgramFolders::dialogFolderPerScreen()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QVERIFY(QDir().mkpath(documents));
    QCOMPARE(ProgramFolders::dialogFolder(QStringLiteral("ZXS090")), documents);

    const QString layouts = m_home->filePath(QStringLiteral("쿠폰 양식"));
    QVERIFY(QDir().mkpath(layouts));
    QVERIFY(ProgramFolders::rememberDialogFile(QStringLiteral("ZXS090"),
                                               layouts + QStringLiteral("/spring.ini")));
    QCOMPARE(ProgramFolders::dialogFolder(QStringLiteral("ZXS090")), layouts);
    // Another screen keeps its own.
    QCOMPARE(ProgramFolders::dialogFolder(QStringLiteral("ZXS095")), documents);

    // A folder that is gone: the documents folder again, else home.
    QVERIFY(QDir(layouts).removeRecursively());
    QCOMPARE(ProgramFolders::dialogFolder(QStringLiteral("ZXS090")), documents);
    QVERIFY(QDir(documents).removeRecursively());
    QCOMPARE(ProgramFolders::dialogFolder(QStringLiteral("ZXS090")), m_home->path());
}

QTEST_GUILESS_MAIN(TestProgramFolders)
#include "tst_programfolders.moc"
