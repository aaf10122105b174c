#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

/// What still refers to a project, level, menu or program that is to be
/// deleted. Nothing cascades: a delete of a row that is still referred to is
/// refused, else the grants that refer to it would still give access while no
/// screen lists them any more.
namespace DeleteReferences {

/// One line per kind of row that refers to the project ("프로젝트 KESA_Z에 등록된
/// 메인 메뉴가 3개 있습니다."); empty when nothing does.
QStringList ofProject(const QSqlDatabase &db, const QString &projectId);
/// Users holding the level and programs granted to it.
QStringList ofLevel(const QSqlDatabase &db, const QString &projectId, const QString &level);
/// Programs filed under the menu.
QStringList ofMenu(const QSqlDatabase &db, const QString &projectId, const QString &menuId);
/// Level grants and per-user overrides of the program, unless it stays filed
/// under another menu of the project (they then still name that filing).
QStringList ofProgram(const QSqlDatabase &db,
                      const QString &projectId,
                      const QString &menuId,
                      const QString &programId);

/// Throws DbError with the lines joined by line breaks when there are any.
void refuseIfAny(const QStringList &references);

} // namespace DeleteReferences
