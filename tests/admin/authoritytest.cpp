#include "authoritytest.h"

#include "testdatabase.h"

#include "admin/marklistdelegate.h"

#include <QDir>
#include <QListWidget>
#include <QProcess>

QString menuText(const TestDatabase &tdb, const QString &projectId, const QString &empNo)
{
    QProcess tool;
    tool.start(qEnvironmentVariable("KESA_BIN_DIR") + QStringLiteral("/kesa-db"),
               {QStringLiteral("menu"), tdb.alias(), projectId, empNo});
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit
        || tool.exitCode() != 0)
        return QStringLiteral("kesa-db failed: ") + QString::fromUtf8(tool.readAllStandardError());
    return QString::fromUtf8(tool.readAllStandardOutput());
}

QStringList listEntries(const QListWidget *list)
{
    QStringList entries;
    for (int row = 0; row < list->count(); ++row)
        entries << list->item(row)->text() + QLatin1Char('/')
                           + list->item(row)->data(MarkListDelegate::MarkRole).toString();
    return entries;
}

void pickEntries(QListWidget *list, const QStringList &texts)
{
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    for (const QString &text : texts) {
        const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable(text));
        list->scrollToItem(found.first());
        QTest::mouseClick(list->viewport(),
                          Qt::LeftButton,
                          modifiers,
                          list->visualItemRect(found.first()).center());
        modifiers = Qt::ControlModifier;
    }
}

void keepPicture(QWidget *widget, const QString &engine, const QString &name)
{
    const QString dir = qEnvironmentVariable("KESA_SCREENSHOT_DIR");
    if (dir.isEmpty() || engine != QLatin1String("sqlite"))
        return;
    QVERIFY(widget->grab().save(QDir(dir).filePath(name + QStringLiteral(".png"))));
}
