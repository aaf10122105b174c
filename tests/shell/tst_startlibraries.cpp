// A start on SQLite loads only what it uses: the PostgreSQL client, the
// cipher library and Qt Network (with Kerberos and the proxy library it
// brings) stay out until something needs them. Each costs the start-up time of
// every user.
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class tst_StartLibraries : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sqliteStartLoadsNoMore()
    {
        const QString bin = qEnvironmentVariable("KESA_BIN_DIR");
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString database = tmp.filePath(QStringLiteral("demo.db"));
        QProcess demo;
        demo.start(bin + QStringLiteral("/kesa-db"), {QStringLiteral("demo"), database});
        QVERIFY(demo.waitForFinished(60000));
        QCOMPARE(demo.exitCode(), 0);

        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("files"));
        env.insert(QStringLiteral("KESA_STARTUP_PROBE"), QStringLiteral("quit"));
        env.insert(QStringLiteral("TMPDIR"), tmp.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), tmp.path());
        program.setProcessEnvironment(env);
        program.start(bin + QStringLiteral("/kesa_z"),
                      {database,
                       QStringLiteral("kesa"),
                       QStringLiteral("A0001"),
                       QStringLiteral("김관리")});
        QVERIFY(program.waitForFinished(60000));
        QVERIFY(program.readAllStandardOutput().contains("shown"));

        static const QRegularExpression loaded(QStringLiteral(R"(file=(\S+))"));
        static const QRegularExpression unwanted(QStringLiteral(
                R"(libpq\.|libcrypto\.|libssl\.|libQt6Network\.|libgssapi|libkrb5|libproxy\.)"));
        QStringList files;
        for (auto it = loaded.globalMatch(QString::fromLocal8Bit(program.readAllStandardError()));
             it.hasNext();) {
            const QString file = it.next().captured(1);
            if (unwanted.match(file).hasMatch())
                files << file;
        }
        files.removeDuplicates();
        QVERIFY2(files.isEmpty(), qPrintable(files.join(QLatin1Char(' '))));
    }
};

QTEST_GUILESS_MAIN(tst_StartLibraries)
#include "tst_startlibraries.moc"
