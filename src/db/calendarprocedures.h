#pragma once

#include "procedureregistry.h"

#include <QList>

/// PR_ZX020MS_01 and PR_ZX010MS_11 for the SQLite engine, doing what their
/// PL/pgSQL twins of Routines::postgresScript() do.
namespace CalendarProcedures {

QList<ProcedureRegistry::Procedure> all();

} // namespace CalendarProcedures
