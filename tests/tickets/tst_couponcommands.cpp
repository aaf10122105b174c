// The coupon printer's command stream, its status answer and the marks of the
// layout file, as pure functions.
#include "tickets/couponcommands.h"
#include "tickets/couponlayout.h"
#include "tickets/couponstatus.h"
#include "tickets/coupontexts.h"

#include "platform/cp949.h"

#include <QtTest>

using Bytes = QList<QByteArray>;

namespace {

CouponLine line(const QString &text, bool tall = false, bool wide = false, bool enabled = true)
{
    return {text, tall, wide, enabled};
}

/// A status answer with the given third to sixth bytes (header 0F, second byte 00).
QByteArray answer(char s3, char s4 = 0, char s5 = 0, char s6 = 0)
{
    return QByteArray("\x0f\x00", 2) + s3 + s4 + s5 + s6 + '\0';
}

} // namespace

class tst_CouponCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void couponStream_data();
    void couponStream();
    void fullCouponIsTwoWrites();
    void lineBreaksOfEveryKind();
    void statusDecode_data();
    void statusDecode();
    void layoutMarks_data();
    void layoutMarks();
};

void tst_CouponCommands::couponStream_data()
{
    QTest::addColumn<QList<CouponLine>>("lines");
    QTest::addColumn<qint64>("serial");
    QTest::addColumn<QByteArray>("stream");

    QTest::newRow("plain line") << QList<CouponLine>{line("SALE")} << qint64(0)
                                << QByteArray("\x1b@SALE\n\x1b"
                                              "d3");
    QTest::newRow("both boxes") << QList<CouponLine>{line("A", true, true)} << qint64(0)
                                << QByteArray("\x1b@\x1bi11A\x1bi00\n\x1b"
                                              "d3");
    QTest::newRow("double height") << QList<CouponLine>{line("A", true)} << qint64(0)
                                   << QByteArray("\x1b@\x1bi10A\x1bi00\n\x1b"
                                                 "d3");
    QTest::newRow("double width") << QList<CouponLine>{line("A", false, true)} << qint64(0)
                                  << QByteArray("\x1b@\x1bi01A\x1bi00\n\x1b"
                                                "d3");
    QTest::newRow("empty enabled line is a lone LF")
            << QList<CouponLine>{line("A"), line(QString()), line("B")} << qint64(0)
            << QByteArray("\x1b@A\n\nB\n\x1b"
                          "d3");
    QTest::newRow("disabled lines are left out")
            << QList<CouponLine>{line("A"), line("hidden", true, false, false), line("B")}
            << qint64(0)
            << QByteArray("\x1b@A\nB\n\x1b"
                          "d3");
    QTest::newRow("serial number without padding, every placeholder")
            << QList<CouponLine>{line("No.{일련번호}/{일련번호}")} << qint64(101)
            << QByteArray("\x1b@No.101/101\n\x1b"
                          "d3");
    QTest::newRow("no serial prints 0") << QList<CouponLine>{line("{일련번호}")} << qint64(0)
                                        << QByteArray("\x1b@0\n\x1b"
                                                      "d3");
    QTest::newRow("ten-digit serial") << QList<CouponLine>{line("{일련번호}")} << qint64(9999999999)
                                      << QByteArray("\x1b@9999999999\n\x1b"
                                                    "d3");
    QTest::newRow("Hangul in cp949")
            << QList<CouponLine>{line(QStringLiteral("할인 10%"), false, true)} << qint64(0)
            << QByteArray("\x1b@\x1bi01") + Cp949::fromUnicode(QStringLiteral("할인 10%"))
                       + QByteArray("\x1bi00\n\x1b"
                                    "d3");
}

void tst_CouponCommands::couponStream()
{
    QFETCH(QList<CouponLine>, lines);
    QFETCH(qint64, serial);
    QFETCH(QByteArray, stream);

    const Bytes writes = CouponCommands::couponWrites(CouponCommands::couponText(lines, serial));
    QCOMPARE(writes.size(), 1);
    QCOMPARE(writes.first(), stream);
}

void tst_CouponCommands::fullCouponIsTwoWrites()
{
    // 21 lines: the opening command starts the first, the closing one is a line
    // of its own, so 22 lines go as 20 and 2.
    QList<CouponLine> lines;
    for (int n = 1; n <= 21; ++n)
        lines.append(line(QStringLiteral("L%1").arg(n)));
    const Bytes writes = CouponCommands::couponWrites(CouponCommands::couponText(lines, 7));
    QCOMPARE(writes.size(), 2);
    QCOMPARE(writes.at(0).count('\n'), 20);
    QVERIFY(writes.at(0).startsWith("\x1b@L1\nL2\n"));
    QVERIFY(writes.at(0).endsWith("L20\n"));
    QCOMPARE(writes.at(1),
             QByteArray("L21\n\x1b"
                        "d3"));
}

void tst_CouponCommands::lineBreaksOfEveryKind()
{
    // CR, LF and CR LF each end one line; CR CR is an empty line between.
    const Bytes writes = CouponCommands::couponWrites(QStringLiteral("a\r\nb\nc\r\rd\r"));
    QCOMPARE(writes,
             Bytes{QByteArray("\x1b@a\nb\nc\n\nd\n\x1b"
                              "d3")});
}

void tst_CouponCommands::statusDecode_data()
{
    using State = CouponStatus::State;
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<State>("state");
    QTest::addColumn<QString>("message");

    // Every fault comes with the off-line bit (byte 3, 08), as the printer sets it.
    QTest::newRow("ready") << answer(0x00) << State::Ready << QString();
    QTest::newRow("fault bits without off line read as ready")
            << answer(0x20, 0x68, 0x40, 0x08) << State::Ready << QString();
    QTest::newRow("cover") << answer(0x28) << State::CoverOpen << CouponText::coverOpen();
    QTest::newRow("cutter") << answer(0x08, 0x08) << State::Cutter << CouponText::cutter();
    QTest::newRow("serious") << answer(0x08, 0x20) << State::SeriousFault
                             << CouponText::seriousFault();
    QTest::newRow("head") << answer(0x08, 0x40) << State::HeadTemperature
                          << CouponText::headTemperature();
    QTest::newRow("buffer") << answer(0x08, 0, 0x40) << State::BufferFull
                            << CouponText::bufferFull();
    QTest::newRow("paper") << answer(0x08, 0, 0, 0x08) << State::PaperOut << CouponText::paperOut();
    QTest::newRow("off line") << answer(0x08) << State::OffLine << CouponText::offLine();
    // The first matching row wins.
    QTest::newRow("cover before paper")
            << answer(0x28, 0, 0, 0x08) << State::CoverOpen << CouponText::coverOpen();
    QTest::newRow("cutter before serious")
            << answer(0x08, 0x28) << State::Cutter << CouponText::cutter();
    QTest::newRow("head before buffer")
            << answer(0x08, 0x40, 0x40) << State::HeadTemperature << CouponText::headTemperature();
    QTest::newRow("buffer before paper")
            << answer(0x08, 0, 0x40, 0x08) << State::BufferFull << CouponText::bufferFull();
    // A stale byte ahead of the answer: counting from the wrong end would read
    // the answer's second byte as the third and say ready while the paper is out.
    QTest::newRow("stale byte then paper out") << QByteArray(1, '\0') + answer(0x08, 0, 0, 0x08)
                                               << State::PaperOut << CouponText::paperOut();
    QTest::newRow("unsolicited ready then paper out")
            << answer(0x00) + answer(0x08, 0, 0, 0x08) << State::PaperOut << CouponText::paperOut();
    QTest::newRow("unsolicited paper out then ready")
            << answer(0x08, 0, 0, 0x08) + answer(0x00) << State::Ready << QString();
    // A nine-byte answer announced by its header: counting seven from the end
    // would read byte 5 as byte 3 and say ready.
    QTest::newRow("long answer") << QByteArray("\x23\x86\x08\x00\x00\x08\x00\x00\x00", 9)
                                 << State::PaperOut << CouponText::paperOut();
    QTest::newRow("stale byte that looks like a header")
            << QByteArray(1, '\x21') + answer(0x08, 0, 0, 0x08) << State::PaperOut
            << CouponText::paperOut();
    QTest::newRow("answer without a header: the last seven bytes")
            << QByteArray("\x00\x00\x00\x00\x08\x00\x00\x08\x00", 9) << State::PaperOut
            << CouponText::paperOut();
    QTest::newRow("nothing") << QByteArray() << State::Incomplete << QString();
    QTest::newRow("six bytes") << answer(0x08).left(6) << State::Incomplete << QString();
}

void tst_CouponCommands::statusDecode()
{
    QFETCH(QByteArray, received);
    QFETCH(CouponStatus::State, state);
    QFETCH(QString, message);

    QCOMPARE(CouponStatus::decode(received), state);
    QCOMPARE(CouponStatus::message(state), message);
}

void tst_CouponCommands::layoutMarks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");

    QTest::newRow("blanks kept") << QStringLiteral("  A  ") << QStringLiteral("@#  A  @#");
    QTest::newRow("empty") << QString() << QStringLiteral("@#@#");
    QTest::newRow("marks inside the text") << QStringLiteral("a@#b") << QStringLiteral("@#a@#b@#");
    QTest::newRow("text made of marks") << QStringLiteral("@#@#") << QStringLiteral("@#@#@#@#");
    QTest::newRow("Hangul") << QStringLiteral(" 할인쿠폰 ") << QStringLiteral("@# 할인쿠폰 @#");
}

void tst_CouponCommands::layoutMarks()
{
    QFETCH(QString, text);
    QFETCH(QString, stored);

    QCOMPARE(CouponLayout::marked(text), stored);
    QCOMPARE(CouponLayout::unmarked(stored), text);
}

QTEST_GUILESS_MAIN(tst_CouponCommands)
#include "tst_couponcommands.moc"
