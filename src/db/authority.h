#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

/// The effective program set: the menus and programs one employee gets in one
/// project. The main window and `kesa-db menu` both build their menus with these.
namespace Authority {

struct MenuRow
{
    QString menuId;
    QString menuName;
};

struct ProgramRow
{
    QString menuId;
    QString programId;
    QString programName;
};

/// Menus of the project with DISPLAY_SEQ > 0, ordered by DISPLAY_SEQ.
QList<MenuRow> menus(const QSqlDatabase &db, const QString &projectId);
/// The employee's programs of one menu, ordered by DISPLAY_SEQ.
QList<ProgramRow> menuPrograms(const QSqlDatabase &db,
                               const QString &projectId,
                               const QString &menuId,
                               const QString &empNo);
/// DETAIL_NAME of code head Z9999 for the (upper-cased) database user; empty when none.
QString accountDisplayName(const QSqlDatabase &db, const QString &dbUser);

} // namespace Authority
