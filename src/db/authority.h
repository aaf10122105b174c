#pragma once

#include <utility>

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

/// The effective program set: the menus and programs one employee gets in one
/// project. decide() reads what the rule reads and ProgramDecision decides;
/// the main window's menu bar, `kesa-db menu` and `kesa-db explain` all come
/// from that one decision.
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

/// One menu of the menu bar with the employee's programs in it (never empty).
struct MenuPrograms
{
    MenuRow menu;
    QList<ProgramRow> programs;
};

/// The audit columns of a row: who wrote it, when, from where.
struct Stamp
{
    QString empNo;
    QVariant date;
    QString ip;
    /// U_DATE as "yyyy-MM-dd HH:mm:ss" on both engines.
    QString dateText() const;
};

enum class Override { None, Addition, Removal };
enum class MenuState { Shown, Hidden, Missing };

/// One ZA050MS row of the project and every fact the rule applies to it.
struct ProgramDecision
{
    QString menuId;
    QString programId;
    QString programName;
    QVariant displaySeq;
    bool programShown = false; // DISPLAY_SEQ > 0, as the database compares it
    bool levelGrants = false;  // in ZA140MS for the employee's level
    Stamp levelGrantStamp;
    Override overrideKind = Override::None; // ZA150MS: ADD_YN 'Y' / 'N'
    QString overrideValue;                  // ADD_YN as stored (neither 'Y' nor 'N': no effect)
    Stamp overrideStamp;
    MenuState menuState = MenuState::Missing;
    QString menuName;
    QVariant menuDisplaySeq;

    /// Steps 1 to 3: level programs UNION ALL additions MINUS removals.
    bool inSet() const
    {
        return (levelGrants || overrideKind == Override::Addition)
               && overrideKind != Override::Removal;
    }
    /// The verdict: on the employee's menu bar.
    bool onMenuBar() const { return inSet() && programShown && menuState == MenuState::Shown; }
};

/// Everything the rule reads for one employee in one project, and its decision.
struct Decision
{
    QString projectId;
    QString empNo;
    bool userExists = false;
    QString userName;
    QString useYn;
    bool hasLevelRow = false;
    QString level;           // null when no row or a null level
    bool levelKnown = false; // the level is a row of ZA030MS
    QString levelName;
    Stamp levelStamp;
    QList<MenuRow> menus;            // DISPLAY_SEQ > 0, in menu-bar order
    QList<ProgramDecision> programs; // every program of the project, by DISPLAY_SEQ

    /// The menu bar: shown menus in order, each with its programs on the bar.
    QList<MenuPrograms> menuBar() const;
};

/// The programs of two decisions paired by (menu, program): the indexes into
/// first.programs and second.programs of each program both hold, in the order of
/// first. A program only one of them holds (filed or removed between the two
/// reads) has no partner and is left out.
QList<std::pair<qsizetype, qsizetype>> pairPrograms(const Decision &first, const Decision &second);

/// Reads the facts of the effective program set of one employee in one project.
Decision decide(const QSqlDatabase &db, const QString &projectId, const QString &empNo);
/// The menu bar of one employee: decide(...).menuBar().
QList<MenuPrograms> menuBar(const QSqlDatabase &db, const QString &projectId, const QString &empNo);

/// Menus of the project with DISPLAY_SEQ > 0, ordered by DISPLAY_SEQ.
QList<MenuRow> menus(const QSqlDatabase &db, const QString &projectId);
/// The employee's programs of one menu, ordered by DISPLAY_SEQ (from decide();
/// build a whole menu bar with menuBar()).
QList<ProgramRow> menuPrograms(const QSqlDatabase &db,
                               const QString &projectId,
                               const QString &menuId,
                               const QString &empNo);
/// DETAIL_NAME of code head Z9999 for the (upper-cased) database user; empty when none.
QString accountDisplayName(const QSqlDatabase &db, const QString &dbUser);

} // namespace Authority
