#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>

#include "shell/fontmapping.h"

// The Windows font names of the screens resolve to installed Korean fonts.
class TestFontMapping : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { FontMapping::install(); }
    void windowsNamesResolve_data();
    void windowsNamesResolve();
    void unknownNameIsLeftAlone();
};

void TestFontMapping::windowsNamesResolve_data()
{
    QTest::addColumn<QString>("windowsName");
    QTest::addColumn<QString>("family");
    QTest::newRow("굴림") << "굴림"
                          << "NanumGothic";
    QTest::newRow("굴림체") << "굴림체"
                            << "NanumGothicCoding";
    QTest::newRow("바탕") << "바탕"
                          << "NanumMyeongjo";
    QTest::newRow("바탕체") << "바탕체"
                            << "NanumMyeongjo";
    QTest::newRow("MS Sans Serif") << "MS Sans Serif"
                                   << "NanumGothic";
    QTest::newRow("case of Latin names") << "ms sans serif"
                                         << "NanumGothic";
}

void TestFontMapping::windowsNamesResolve()
{
    QFETCH(QString, windowsName);
    QFETCH(QString, family);
    if (!QFontDatabase::families().contains(family))
        QFAIL(qPrintable(family + QStringLiteral(" is not installed (fonts-nanum)")));
    QCOMPARE(FontMapping::familyFor(windowsName), family);
    QFont font(windowsName);
    font.setPixelSize(12);
    QCOMPARE(QFontInfo(font).family(), family);
    // The font in use holds Hangul.
    QVERIFY(QFontMetrics(font).inFont(QChar(0xD55C)));
    // The same face when the candidates are asked first.
    QFont asked = FontMapping::font(windowsName);
    asked.setPixelSize(12);
    QCOMPARE(QFontInfo(asked).family(), family);
    QVERIFY(QFontMetrics(asked).inFont(QChar(0xD55C)));
}

void TestFontMapping::unknownNameIsLeftAlone()
{
    QVERIFY(FontMapping::familyFor(QStringLiteral("No Such Face")).isEmpty());
    QCOMPARE(FontMapping::font(QStringLiteral("No Such Face")).families(),
             QStringList{QStringLiteral("No Such Face")});
}

QTEST_MAIN(TestFontMapping)
#include "tst_fontmapping.moc"
