#pragma once

#include "screentest.h"

#include <functional>
#include <QApplication>
#include <QSqlDatabase>
#include <QTest>
#include <QTimer>
#include <QWidget>

class QListWidget;
class TestDatabase;

/// Opens a screen embedded in `page` on a database, created and active.
template<typename Screen>
Screen *openScreen(const QSqlDatabase &db, QWidget &page)
{
    auto *screen = new Screen(&page);
    screen->setDatabase(db);
    screen->ensureCreated();
    page.resize(1008, 670);
    activate(&page);
    return screen;
}

/// Acts on the modal dialog the code under test is about to show, once it is
/// shown and active; a dialog still open afterwards is ended, so a test never hangs.
template<typename Dialog>
void whenDialogShows(std::function<void(Dialog *)> act)
{
    QTimer::singleShot(0, [act] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        activate(dialog);
        act(dialog);
        if (dialog->isVisible())
            dialog->done(-1);
    });
}

/// What `kesa-db menu` prints for an employee in a project of the test database.
QString menuText(const TestDatabase &tdb, const QString &projectId, const QString &empNo);

/// The texts of a list box, each followed by "/" and its mark.
QStringList listEntries(const QListWidget *list);
/// Clicks the entries with these texts, Ctrl held after the first, as a user
/// picks several entries of a list box.
void pickEntries(QListWidget *list, const QStringList &texts);

/// A picture for people: with KESA_SCREENSHOT_DIR=DIR, the widget as shown is
/// kept as DIR/NAME.png (once, for the SQLite run).
void keepPicture(QWidget *widget, const QString &engine, const QString &name);
