#include "procedureregistry.h"

#include "calendarprocedures.h"

#include <QHash>

namespace {

QHash<QString, ProcedureRegistry::Procedure> &procedures()
{
    static QHash<QString, ProcedureRegistry::Procedure> registry = [] {
        QHash<QString, ProcedureRegistry::Procedure> builtIn;
        for (const auto &p : CalendarProcedures::all())
            builtIn.insert(p.name, p);
        return builtIn;
    }();
    return registry;
}

} // namespace

void ProcedureRegistry::add(const QString &name, const QStringList &parameters, const Body &body)
{
    QStringList upper;
    for (const QString &p : parameters)
        upper << p.toUpper();
    procedures().insert(name.toUpper(), Procedure{name.toUpper(), upper, body});
}

const ProcedureRegistry::Procedure *ProcedureRegistry::find(const QString &name)
{
    const auto &all = procedures();
    const auto it = all.constFind(name.toUpper());
    return it == all.constEnd() ? nullptr : &it.value();
}
