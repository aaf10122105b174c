#include "libpq.h"

#include "dberror.h"

#include <dlfcn.h>

namespace {

// The symbol from libpq; loads the library the first time.
void *symbol(const char *name)
{
    static void *const library = dlopen("libpq.so.5", RTLD_NOW | RTLD_LOCAL);
    void *found = library ? dlsym(library, name) : nullptr;
    if (!found)
        throw DbError(QStringLiteral("PostgreSQL 클라이언트 라이브러리(libpq)를 열 수 없습니다: %1")
                              .arg(QString::fromLocal8Bit(library ? name : dlerror())));
    return found;
}

template<typename Function>
Function *function(const char *name)
{
    return reinterpret_cast<Function *>(symbol(name));
}

} // namespace

namespace LibPq {

PQconninfoOption *conninfoParse(const char *conninfo, char **errmsg)
{
    static auto *const call = function<decltype(PQconninfoParse)>("PQconninfoParse");
    return call(conninfo, errmsg);
}

void freemem(void *pointer)
{
    static auto *const call = function<decltype(PQfreemem)>("PQfreemem");
    call(pointer);
}

void conninfoFree(PQconninfoOption *options)
{
    static auto *const call = function<decltype(PQconninfoFree)>("PQconninfoFree");
    call(options);
}

PGTransactionStatusType transactionStatus(const PGconn *connection)
{
    static auto *const call = function<decltype(PQtransactionStatus)>("PQtransactionStatus");
    return call(connection);
}

int ntuples(const PGresult *result)
{
    static auto *const call = function<decltype(PQntuples)>("PQntuples");
    return call(result);
}

int nfields(const PGresult *result)
{
    static auto *const call = function<decltype(PQnfields)>("PQnfields");
    return call(result);
}

Oid ftype(const PGresult *result, int column)
{
    static auto *const call = function<decltype(PQftype)>("PQftype");
    return call(result, column);
}

char *getvalue(const PGresult *result, int row, int column)
{
    static auto *const call = function<decltype(PQgetvalue)>("PQgetvalue");
    return call(result, row, column);
}

int getlength(const PGresult *result, int row, int column)
{
    static auto *const call = function<decltype(PQgetlength)>("PQgetlength");
    return call(result, row, column);
}

int getisnull(const PGresult *result, int row, int column)
{
    static auto *const call = function<decltype(PQgetisnull)>("PQgetisnull");
    return call(result, row, column);
}

} // namespace LibPq
