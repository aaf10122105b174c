// Entry field pieces: digits-only fields with a range, and what Enter does.
#include "screentest.h"

#include "framework/digitsvalidator.h"
#include "framework/enterkeys.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

class tst_entryfields : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void digits_data();
    void digits();
    void digitsField();
    void enterKeys();
};

void tst_entryfields::digits_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("state");
    const int invalid = QValidator::Invalid;
    const int partial = QValidator::Intermediate;
    const int ok = QValidator::Acceptable;
    QTest::newRow("order: empty") << 0 << 99 << "" << partial;
    QTest::newRow("order: 0") << 0 << 99 << "0" << ok;
    QTest::newRow("order: 07") << 0 << 99 << "07" << ok;
    QTest::newRow("order: 99") << 0 << 99 << "99" << ok;
    QTest::newRow("order: three digits") << 0 << 99 << "100" << invalid;
    QTest::newRow("order: letter") << 0 << 99 << "1a" << invalid;
    QTest::newRow("order: sign") << 0 << 99 << "-1" << invalid;
    QTest::newRow("order: blank") << 0 << 99 << " 1" << invalid;
    QTest::newRow("order: Arabic-Indic digit") << 0 << 99 << QString(QChar(0x0661)) << invalid;
    QTest::newRow("order: full-width digit") << 0 << 99 << QString(QChar(0xFF11)) << invalid;
    QTest::newRow("year: still typing") << 1990 << 2100 << "20" << partial;
    QTest::newRow("year: below") << 1990 << 2100 << "1989" << partial;
    QTest::newRow("year: first") << 1990 << 2100 << "1990" << ok;
    QTest::newRow("year: last") << 1990 << 2100 << "2100" << ok;
    QTest::newRow("year: above") << 1990 << 2100 << "2101" << invalid;
    QTest::newRow("year: five digits") << 1990 << 2100 << "20240" << invalid;
}

void tst_entryfields::digits()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(QString, input);
    QFETCH(int, state);
    DigitsValidator validator(minimum, maximum);
    int pos = int(input.size());
    QCOMPARE(int(validator.validate(input, pos)), state);
}

// Typed into a field: what the validator refuses never arrives.
void tst_entryfields::digitsField()
{
    QLineEdit field;
    DigitsValidator::apply(&field, 0, 99);
    QCOMPARE(field.maxLength(), 2);
    activate(&field);
    type(&field, QStringLiteral("a1-x23"));
    QCOMPARE(field.text(), QStringLiteral("12"));

    QLineEdit year;
    DigitsValidator::apply(&year, 1990, 2100);
    QCOMPARE(year.maxLength(), 4);
    activate(&year);
    type(&year, QStringLiteral("2"));
    QVERIFY(!year.hasAcceptableInput());
    type(&year, QStringLiteral("1009"));
    QCOMPARE(year.text(), QStringLiteral("2100"));
    QVERIFY(year.hasAcceptableInput());
}

// Enter moves to the next control that takes the focus, to a chosen one, or runs an action.
void tst_entryfields::enterKeys()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    QLineEdit *fields[4];
    for (int i = 0; i < 4; ++i) {
        fields[i] = new QLineEdit(&window);
        layout->addWidget(fields[i]);
    }
    fields[1]->setEnabled(false);
    int runs = 0;
    EnterKeys::moveToNext(fields[0]);
    EnterKeys::moveTo(fields[2], [&] { return fields[0]->isReadOnly() ? nullptr : fields[0]; });
    EnterKeys::run(fields[3], [&] { ++runs; });
    activate(&window);

    fields[0]->setFocus();
    press(Qt::Key_Return); // skips the disabled field
    QCOMPARE(QApplication::focusWidget(), fields[2]);
    press(Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), fields[0]);
    fields[0]->setReadOnly(true);
    fields[2]->setFocus();
    press(Qt::Key_Return); // no target: the focus stays
    QCOMPARE(QApplication::focusWidget(), fields[2]);

    fields[3]->setFocus();
    press(Qt::Key_Return);
    QCOMPARE(runs, 1);
    QCOMPARE(QApplication::focusWidget(), fields[3]);

    // A later rule replaces the earlier one.
    EnterKeys::moveToNext(fields[3]);
    press(Qt::Key_Return);
    QCOMPARE(runs, 1);
    QCOMPARE(QApplication::focusWidget(), fields[0]);
}

QTEST_MAIN(tst_entryfields)
#include "tst_entryfields.moc"
