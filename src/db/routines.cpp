#include "routines.h"

#include "dberror.h"
#include "nativehandle.h"
#include "oracledateformat.h"
#include "servercipher.h"

#include <sqlite3.h>
#include <QDateTime>

namespace {

QString argText(sqlite3_value *value)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
    return QString::fromUtf8(text, sqlite3_value_bytes(value));
}

void resultText(sqlite3_context *context, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    sqlite3_result_text(context, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
}

void sysdate(sqlite3_context *context, int, sqlite3_value **)
{
    resultText(context,
               QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

void toChar(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const int type = sqlite3_value_type(argv[0]);
    if (argc < 2 || sqlite3_value_type(argv[1]) == SQLITE_NULL || type == SQLITE_INTEGER
        || type == SQLITE_FLOAT) {
        // Numbers and a missing format: the value as text, as Oracle gives it.
        resultText(context, argText(argv[0]));
        return;
    }
    const QDateTime value = OracleDateFormat::parse(argText(argv[0]));
    if (!value.isValid()) {
        sqlite3_result_error(context, "TO_CHAR: not a date", -1);
        return;
    }
    resultText(context, OracleDateFormat::format(value, argText(argv[1])));
}

void encodePassword(sqlite3_context *context, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const QString code = ServerCipher::encode(argText(argv[0]), argText(argv[1]));
    if (code.isEmpty()) {
        // Never store an empty code for a password.
        sqlite3_result_error(context, "FN_ZA010MS_01: the password cipher is not available", -1);
        return;
    }
    resultText(context, code);
}

void decodePassword(sqlite3_context *context, int, sqlite3_value **argv)
{
    const auto plain = sqlite3_value_type(argv[0]) == SQLITE_NULL
                               ? std::nullopt
                               : ServerCipher::decode(argText(argv[0]), argText(argv[1]));
    if (plain)
        resultText(context, *plain);
    else
        sqlite3_result_null(context);
}

using Function = void (*)(sqlite3_context *, int, sqlite3_value **);

void create(sqlite3 *handle, const char *name, int argc, bool deterministic, Function function)
{
    const int flags = SQLITE_UTF8 | (deterministic ? SQLITE_DETERMINISTIC : 0);
    if (sqlite3_create_function_v2(
                handle, name, argc, flags, nullptr, function, nullptr, nullptr, nullptr)
        != SQLITE_OK)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(handle)),
                      QString::number(sqlite3_errcode(handle)));
}

} // namespace

namespace Routines {

void registerSqliteFunctions(const QSqlDatabase &db)
{
    sqlite3 *handle = sqliteHandle(db);
    if (!handle)
        throw DbError(QStringLiteral("SQLite 연결을 찾을 수 없습니다."));
    create(handle, "SYSDATE", 0, false, sysdate);
    create(handle, "TO_CHAR", 1, true, toChar);
    create(handle, "TO_CHAR", 2, true, toChar);
    create(handle, "FN_ZA010MS_01", 2, true, encodePassword);
    create(handle, "FN_ZA010MS_02", 2, true, decodePassword);
}

QStringList postgresScript()
{
    return {
            QStringLiteral("CREATE EXTENSION IF NOT EXISTS PGCRYPTO"),
            QStringLiteral(R"(CREATE OR REPLACE FUNCTION SYSDATE() RETURNS TIMESTAMP(0)
LANGUAGE SQL STABLE AS 'SELECT LOCALTIMESTAMP(0)')"),
            // The built-in TO_CHAR writes AM/PM; ours puts the Korean marker there.
            QStringLiteral(R"(CREATE OR REPLACE FUNCTION TO_CHAR(P_VALUE TIMESTAMP, P_FORMAT TEXT)
RETURNS TEXT LANGUAGE SQL STABLE AS $BODY$
SELECT PG_CATALOG.TO_CHAR(P_VALUE,
    PG_CATALOG.REGEXP_REPLACE(P_FORMAT, '(A\.M\.|P\.M\.|AM|PM)',
        CASE WHEN PG_CATALOG.DATE_PART('hour', P_VALUE) < 12 THEN '"오전"' ELSE '"오후"' END, 'gi'))
$BODY$)"),
            QStringLiteral(
                    R"(CREATE OR REPLACE FUNCTION FN_ZA010MS_01(P_PLAIN VARCHAR, P_KEY VARCHAR)
RETURNS VARCHAR LANGUAGE PLPGSQL IMMUTABLE AS $BODY$
BEGIN
    IF P_PLAIN IS NULL THEN
        RETURN NULL;
    END IF;
    RETURN UPPER(ENCODE(ENCRYPT(CONVERT_TO(P_PLAIN, 'UTF8'),
        SUBSTRING(DIGEST(CONVERT_TO(COALESCE(P_KEY, ''), 'UTF8'), 'sha256') FROM 1 FOR 16),
        'aes'), 'hex'));
END
$BODY$)"),
            QStringLiteral(R"(CREATE OR REPLACE FUNCTION FN_ZA010MS_02(P_CODE VARCHAR, P_KEY VARCHAR)
RETURNS VARCHAR LANGUAGE PLPGSQL IMMUTABLE AS $BODY$
BEGIN
    IF P_CODE IS NULL THEN
        RETURN NULL;
    END IF;
    RETURN CONVERT_FROM(DECRYPT(DECODE(P_CODE, 'hex'),
        SUBSTRING(DIGEST(CONVERT_TO(COALESCE(P_KEY, ''), 'UTF8'), 'sha256') FROM 1 FOR 16),
        'aes'), 'UTF8');
EXCEPTION WHEN OTHERS THEN
    RETURN NULL;
END
$BODY$)"),
            QStringLiteral(
                    R"(CREATE OR REPLACE PROCEDURE PR_ZX020MS_01(P_YEAR VARCHAR, P_CREATE_YN VARCHAR,
    P_EMP_NO VARCHAR, P_IP VARCHAR)
LANGUAGE PLPGSQL AS $BODY$
BEGIN
    IF P_YEAR IS NULL OR P_YEAR !~ '^[0-9]{4}$' THEN
        RAISE EXCEPTION '기준년도가 올바르지 않습니다: %', COALESCE(P_YEAR, '');
    END IF;
    IF P_CREATE_YN = 'N' THEN
        DELETE FROM ZX020MS WHERE CALN_DATE LIKE P_YEAR || '%';
        RETURN;
    END IF;
    IF P_CREATE_YN IS DISTINCT FROM 'Y' THEN
        RAISE EXCEPTION '생성 구분이 올바르지 않습니다: %', COALESCE(P_CREATE_YN, '');
    END IF;
    INSERT INTO ZX020MS (CALN_DATE, YOIL_CODE, HOLIDAY_NAME, SKI_MENU_ITEM2, U_EMP_NO, U_DATE, U_IP)
    SELECT D.CALN_DATE, D.YOIL_CODE, D.HOLIDAY_NAME,
           CASE WHEN D.HOLIDAY_NAME IS NOT NULL OR D.YOIL_CODE = 1 THEN '2' ELSE '1' END,
           P_EMP_NO, LOCALTIMESTAMP(0), P_IP
      FROM (SELECT PG_CATALOG.TO_CHAR(S.DAY, 'YYYYMMDD') AS CALN_DATE,
                   CAST(EXTRACT(DOW FROM S.DAY) AS INTEGER) + 1 AS YOIL_CODE,
                   COALESCE((SELECT H.DETAIL_NAME FROM ZX010MS H
                              WHERE H.HEAD = 'Z0013'
                                AND H.DETAIL = PG_CATALOG.TO_CHAR(S.DAY, 'YYYYMMDD')),
                            (SELECT H.DETAIL_NAME FROM ZX010MS H
                              WHERE H.HEAD = 'Z0012'
                                AND H.DETAIL = PG_CATALOG.TO_CHAR(S.DAY, 'MMDD'))) AS HOLIDAY_NAME
              -- Days as dates (a date plus whole days), read as timestamps
              -- without a time zone: a series of timestamps with a zone follows
              -- the session's, and there a day whose midnight does not exist
              -- (summer time starting at midnight, a day skipped) is lost.
              FROM (SELECT CAST(MAKE_DATE(CAST(P_YEAR AS INTEGER), 1, 1) + N AS TIMESTAMP) AS DAY
                      FROM GENERATE_SERIES(0, MAKE_DATE(CAST(P_YEAR AS INTEGER), 12, 31)
                                              - MAKE_DATE(CAST(P_YEAR AS INTEGER), 1, 1)) AS G(N)
                   ) AS S) D
    ON CONFLICT (CALN_DATE) DO UPDATE
       SET YOIL_CODE = EXCLUDED.YOIL_CODE, HOLIDAY_NAME = EXCLUDED.HOLIDAY_NAME,
           SKI_MENU_ITEM2 = EXCLUDED.SKI_MENU_ITEM2, U_EMP_NO = EXCLUDED.U_EMP_NO,
           U_DATE = EXCLUDED.U_DATE, U_IP = EXCLUDED.U_IP;
END
$BODY$)"),
            QStringLiteral(
                    R"(CREATE OR REPLACE PROCEDURE PR_ZX010MS_11(P_DATE VARCHAR, P_NAME VARCHAR,
    P_FIXED VARCHAR, P_ACTION VARCHAR, P_EMP_NO VARCHAR, P_IP VARCHAR)
LANGUAGE PLPGSQL AS $BODY$
DECLARE
    V_HEAD VARCHAR(5);
    V_DETAIL VARCHAR(10);
BEGIN
    IF P_DATE IS NULL OR P_DATE !~ '^[0-9]{8}$' THEN
        RAISE EXCEPTION '휴일 날짜가 올바르지 않습니다: %', COALESCE(P_DATE, '');
    END IF;
    IF P_FIXED = '0' THEN
        V_HEAD := 'Z0012';
        V_DETAIL := SUBSTR(P_DATE, 5, 4);
    ELSIF P_FIXED = '1' THEN
        V_HEAD := 'Z0013';
        V_DETAIL := P_DATE;
    ELSE
        RAISE EXCEPTION '휴일 구분이 올바르지 않습니다: %', COALESCE(P_FIXED, '');
    END IF;
    IF P_ACTION = 'I' THEN
        INSERT INTO ZX010MS (HEAD, DETAIL, DETAIL_NAME, U_EMP_NO, U_DATE, U_IP)
        VALUES (V_HEAD, V_DETAIL, P_NAME, P_EMP_NO, LOCALTIMESTAMP(0), P_IP)
        ON CONFLICT (HEAD, DETAIL) DO UPDATE
           SET DETAIL_NAME = EXCLUDED.DETAIL_NAME, U_EMP_NO = EXCLUDED.U_EMP_NO,
               U_DATE = EXCLUDED.U_DATE, U_IP = EXCLUDED.U_IP;
    ELSIF P_ACTION = 'U' THEN
        UPDATE ZX010MS
           SET DETAIL_NAME = P_NAME, U_EMP_NO = P_EMP_NO, U_DATE = LOCALTIMESTAMP(0), U_IP = P_IP
         WHERE HEAD = V_HEAD AND DETAIL = V_DETAIL;
        IF NOT FOUND THEN
            RAISE EXCEPTION '변경할 휴일이 없습니다 (다른 사용자가 삭제했습니다): %', P_DATE;
        END IF;
    ELSIF P_ACTION = 'D' THEN
        DELETE FROM ZX010MS WHERE HEAD = V_HEAD AND DETAIL = V_DETAIL;
    ELSE
        RAISE EXCEPTION '처리 구분이 올바르지 않습니다: %', COALESCE(P_ACTION, '');
    END IF;
END
$BODY$)"),
    };
}

} // namespace Routines
