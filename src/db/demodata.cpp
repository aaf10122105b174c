#include "demodata.h"

#include "dberror.h"
#include "sqlstatement.h"
#include "transaction.h"

#include <QStringList>

namespace {

const char *const DemoEmpNo = "A0001";
const char *const DemoIp = "127.0.0.1";

struct Row
{
    const char *a;
    const char *b;
    const char *c;
    const char *d;
};

// Holidays that move with the lunar calendar, by year (Z0013).
const Row lunarHolidays[] = {
        {"20240209", "설날 연휴", nullptr, nullptr},
        {"20240210", "설날", nullptr, nullptr},
        {"20240211", "설날 연휴", nullptr, nullptr},
        {"20240212", "대체공휴일", nullptr, nullptr},
        {"20240515", "부처님 오신 날", nullptr, nullptr},
        {"20240916", "추석 연휴", nullptr, nullptr},
        {"20240917", "추석", nullptr, nullptr},
        {"20240918", "추석 연휴", nullptr, nullptr},
        {"20250128", "설날 연휴", nullptr, nullptr},
        {"20250129", "설날", nullptr, nullptr},
        {"20250130", "설날 연휴", nullptr, nullptr},
        {"20250505", "부처님 오신 날", nullptr, nullptr},
        {"20250506", "대체공휴일", nullptr, nullptr},
        {"20251005", "추석 연휴", nullptr, nullptr},
        {"20251006", "추석", nullptr, nullptr},
        {"20251007", "추석 연휴", nullptr, nullptr},
        {"20251008", "대체공휴일", nullptr, nullptr},
        {"20260216", "설날 연휴", nullptr, nullptr},
        {"20260217", "설날", nullptr, nullptr},
        {"20260218", "설날 연휴", nullptr, nullptr},
        {"20260524", "부처님 오신 날", nullptr, nullptr},
        {"20260525", "대체공휴일", nullptr, nullptr},
        {"20260924", "추석 연휴", nullptr, nullptr},
        {"20260925", "추석", nullptr, nullptr},
        {"20260926", "추석 연휴", nullptr, nullptr},
        {"20270206", "설날 연휴", nullptr, nullptr},
        {"20270207", "설날", nullptr, nullptr},
        {"20270208", "설날 연휴", nullptr, nullptr},
        {"20270209", "대체공휴일", nullptr, nullptr},
        {"20270513", "부처님 오신 날", nullptr, nullptr},
        {"20270914", "추석 연휴", nullptr, nullptr},
        {"20270915", "추석", nullptr, nullptr},
        {"20270916", "추석 연휴", nullptr, nullptr},
        {"20280126", "설날 연휴", nullptr, nullptr},
        {"20280127", "설날", nullptr, nullptr},
        {"20280128", "설날 연휴", nullptr, nullptr},
        {"20280502", "부처님 오신 날", nullptr, nullptr},
        {"20281002", "추석 연휴", nullptr, nullptr},
        {"20281003", "추석", nullptr, nullptr},
        {"20281004", "추석 연휴", nullptr, nullptr},
        {"20290212", "설날 연휴", nullptr, nullptr},
        {"20290213", "설날", nullptr, nullptr},
        {"20290214", "설날 연휴", nullptr, nullptr},
        {"20290520", "부처님 오신 날", nullptr, nullptr},
        {"20290921", "추석 연휴", nullptr, nullptr},
        {"20290922", "추석", nullptr, nullptr},
        {"20290923", "추석 연휴", nullptr, nullptr},
        {"20300202", "설날 연휴", nullptr, nullptr},
        {"20300203", "설날", nullptr, nullptr},
        {"20300204", "설날 연휴", nullptr, nullptr},
        {"20300509", "부처님 오신 날", nullptr, nullptr},
        {"20300911", "추석 연휴", nullptr, nullptr},
        {"20300912", "추석", nullptr, nullptr},
        {"20300913", "추석 연휴", nullptr, nullptr},
};

// Project, menu, program, name, by menu order. Menu rows have no program.
struct Program
{
    const char *project;
    const char *menu;
    const char *program;
    const char *name;
};

const Program programs[] = {
        {"KESA_Z", "Z1", nullptr, "사용자 관리(&U)"},
        {"KESA_Z", "Z1", "ZAI010", "사용자 등록"},
        {"KESA_Z", "Z1", "ZAS010", "비밀번호 이력 조회"},
        {"KESA_Z", "Z1", "ZAS011", "사용자별 비밀번호 조회"},
        {"KESA_Z", "Z1", "ZAI120", "사용자별 소속 권한 등록"},
        {"KESA_Z", "Z2", nullptr, "권한 관리(&A)"},
        {"KESA_Z", "Z2", "ZAI020", "프로젝트 등록"},
        {"KESA_Z", "Z2", "ZAI030", "프로젝트 레벨 등록"},
        {"KESA_Z", "Z2", "ZAI040", "메인 메뉴 등록"},
        {"KESA_Z", "Z2", "ZAI050", "프로그램 등록"},
        {"KESA_Z", "Z2", "ZAI130", "사용자별 레벨 등록"},
        {"KESA_Z", "Z2", "ZAI140", "프로젝트 레벨별 프로그램 등록"},
        {"KESA_Z", "Z2", "ZAI150", "사용자별 프로그램 등록"},
        {"KESA_Z", "Z2", "ZAS120", "프로그램별 사용자 권한 조회"},
        {"KESA_Z", "Z3", nullptr, "공통 코드(&C)"},
        {"KESA_Z", "Z3", "ZXI010", "공통코드 등록"},
        {"KESA_Z", "Z3", "ZXI011", "공통코드 목록 등록"},
        {"KESA_Z", "Z3", "ZXI020", "공통 월력 등록"},
        {"KESA_Z", "Z3", "ZXI021", "휴일 등록"},
        {"KESA_Z", "Z4", nullptr, "출력(&P)"},
        {"KESA_Z", "Z4", "ZXS090", "할인쿠폰 출력"},
        {"KESA_Z", "Z4", "ZXS095", "보카 출력"},
        {"KESA_Z", "Z5", nullptr, "도구(&T)"},
        {"KESA_Z", "Z5", "ZXB000", "DB 접속 Password 암호화"},
        {"KESA_Z", "Z5", "ZIP010", "그리드 편집 시험"},
        {"KESA_G", "G1", nullptr, "예약 관리(&R)"},
        {"KESA_G", "G1", "GAI010", "예약 등록"},
        {"KESA_G", "G1", "GAI020", "내장객 등록"},
        {"KESA_G", "G1", "GAS010", "예약 현황 조회"},
        {"KESA_G", "G2", nullptr, "정산(&S)"},
        {"KESA_G", "G2", "GAS020", "일일 정산 조회"},
        {"KESA_G", "G2", "GAI030", "정산 마감"},
        {"KESA_S", "S1", nullptr, "매표(&T)"},
        {"KESA_S", "S1", "SAI010", "리프트권 발매"},
        {"KESA_S", "S1", "SAI020", "시즌권 등록"},
        {"KESA_S", "S1", "SAS010", "발매 현황 조회"},
        {"KESA_S", "S2", nullptr, "렌탈(&R)"},
        {"KESA_S", "S2", "SAI030", "렌탈 등록"},
        {"KESA_S", "S2", "SAS020", "렌탈 현황 조회"},
};

class Loader
{
public:
    explicit Loader(const QSqlDatabase &db)
        : m_db(db)
    {}

    // INSERT with the audit columns appended.
    void insert(const QString &table, const QStringList &columns, const QVariantList &values)
    {
        QStringList places;
        for (int i = 0; i < values.size(); ++i)
            places << QStringLiteral(":P%1").arg(i);
        SqlStatement statement(m_db,
                               QStringLiteral("INSERT INTO %1 (%2, U_EMP_NO, U_DATE, U_IP) "
                                              "VALUES (%3, :EMP, SYSDATE, :IP)")
                                       .arg(table,
                                            columns.join(QLatin1String(", ")),
                                            places.join(QLatin1String(", "))));
        for (int i = 0; i < values.size(); ++i)
            statement.bind(QStringLiteral("P%1").arg(i), values.at(i));
        statement.bind(QStringLiteral("EMP"), QString::fromLatin1(DemoEmpNo));
        statement.bind(QStringLiteral("IP"), QString::fromLatin1(DemoIp));
        statement.exec();
    }

    void code(const QString &head,
              const QString &detail,
              const QString &name,
              const QStringList &items = QStringList())
    {
        QStringList columns{QStringLiteral("HEAD"),
                            QStringLiteral("DETAIL"),
                            QStringLiteral("DETAIL_NAME")};
        QVariantList values{head, detail, name};
        for (int i = 0; i < items.size(); ++i) {
            columns << QStringLiteral("ITEM%1").arg(i + 1);
            values << items.at(i);
        }
        insert(QStringLiteral("ZX010MS"), columns, values);
    }

    void user(const QString &empNo, const QString &name, const QString &adminYn)
    {
        SqlStatement statement(
                m_db,
                QStringLiteral(
                        "INSERT INTO ZA010MS (EMP_NO, EMP_NAME, PASSWORD_CODE, USE_YN, ADMIN_YN, "
                        "MULTI_LOGIN_YN, U_EMP_NO, U_DATE, U_IP) "
                        "VALUES (:P0, :P1, FN_ZA010MS_01(:P0, 'RoTa'), 'Y', :P2, 'N', :P3, "
                        "SYSDATE, :P4)"));
        statement.bind(QStringLiteral("P0"), empNo);
        statement.bind(QStringLiteral("P1"), name);
        statement.bind(QStringLiteral("P2"), adminYn);
        statement.bind(QStringLiteral("P3"), QString::fromLatin1(DemoEmpNo));
        statement.bind(QStringLiteral("P4"), QString::fromLatin1(DemoIp));
        statement.exec();
    }

    QSqlDatabase database() const { return m_db; }

private:
    QSqlDatabase m_db;
};

void loadAuthority(Loader &l)
{
    l.insert(QStringLiteral("ZA020MS"),
             {QStringLiteral("PROJECT_ID"),
              QStringLiteral("PROJECT_NAME"),
              QStringLiteral("TEAM_ROLE")},
             {QStringLiteral("KESA_Z"), QStringLiteral("시스템 관리"), QStringLiteral("0")});
    l.insert(QStringLiteral("ZA020MS"),
             {QStringLiteral("PROJECT_ID"),
              QStringLiteral("PROJECT_NAME"),
              QStringLiteral("TEAM_ROLE")},
             {QStringLiteral("KESA_G"), QStringLiteral("골프 관리"), QStringLiteral("1")});
    l.insert(QStringLiteral("ZA020MS"),
             {QStringLiteral("PROJECT_ID"),
              QStringLiteral("PROJECT_NAME"),
              QStringLiteral("TEAM_ROLE")},
             {QStringLiteral("KESA_S"), QStringLiteral("스키 관리"), QStringLiteral("3")});

    QHash<QString, int> menuSeq;
    QHash<QString, int> programSeq;
    QString menuOf;
    for (const Program &p : programs) {
        const QString project = QString::fromLatin1(p.project);
        const QString menu = QString::fromLatin1(p.menu);
        if (!p.program) {
            l.insert(QStringLiteral("ZA040MS"),
                     {QStringLiteral("PROJECT_ID"),
                      QStringLiteral("MENU_ID"),
                      QStringLiteral("MENU_NAME"),
                      QStringLiteral("DISPLAY_SEQ")},
                     {project, menu, QString::fromUtf8(p.name), ++menuSeq[project]});
            continue;
        }
        l.insert(QStringLiteral("ZA050MS"),
                 {QStringLiteral("PROJECT_ID"),
                  QStringLiteral("MENU_ID"),
                  QStringLiteral("PROGRAM_ID"),
                  QStringLiteral("PROGRAM_NAME"),
                  QStringLiteral("DISPLAY_SEQ")},
                 {project,
                  menu,
                  QString::fromLatin1(p.program),
                  QString::fromUtf8(p.name),
                  ++programSeq[project + menu]});
    }

    const auto level = [&](const char *project,
                           const char *id,
                           const char *name,
                           const QStringList &grants) {
        l.insert(QStringLiteral("ZA030MS"),
                 {QStringLiteral("PROJECT_ID"),
                  QStringLiteral("PROJECT_LEVEL"),
                  QStringLiteral("PROJECT_LEVEL_NAME")},
                 {QString::fromLatin1(project), QString::fromLatin1(id), QString::fromUtf8(name)});
        for (const QString &program : grants)
            l.insert(QStringLiteral("ZA140MS"),
                     {QStringLiteral("PROJECT_ID"),
                      QStringLiteral("PROJECT_LEVEL"),
                      QStringLiteral("PROGRAM_ID")},
                     {QString::fromLatin1(project), QString::fromLatin1(id), program});
    };
    QStringList all[3];
    const char *const projects[3] = {"KESA_Z", "KESA_G", "KESA_S"};
    for (const Program &p : programs) {
        for (int i = 0; i < 3; ++i) {
            if (p.program && qstrcmp(p.project, projects[i]) == 0)
                all[i] << QString::fromLatin1(p.program);
        }
    }
    level("KESA_Z", "10", "시스템 관리자", all[0]);
    level("KESA_Z",
          "20",
          "일반 사용자",
          {QStringLiteral("ZAS011"),
           QStringLiteral("ZXI010"),
           QStringLiteral("ZXI011"),
           QStringLiteral("ZXI020"),
           QStringLiteral("ZXI021"),
           QStringLiteral("ZXS090"),
           QStringLiteral("ZXS095")});
    level("KESA_G", "10", "골프 관리자", all[1]);
    level("KESA_G",
          "20",
          "프론트",
          {QStringLiteral("GAI010"), QStringLiteral("GAI020"), QStringLiteral("GAS010")});
    level("KESA_S", "10", "스키 관리자", all[2]);
    level("KESA_S", "20", "매표 담당", {QStringLiteral("SAI010"), QStringLiteral("SAS010")});

    l.user(QStringLiteral("A0001"), QStringLiteral("김관리"), QStringLiteral("Y"));
    l.user(QStringLiteral("E1001"), QStringLiteral("이영희"), QStringLiteral("N"));
    l.user(QStringLiteral("E1002"), QStringLiteral("박민수"), QStringLiteral("N"));

    const auto userLevel = [&](const char *emp, const char *project, const char *lvl) {
        l.insert(QStringLiteral("ZA130MS"),
                 {QStringLiteral("EMP_NO"),
                  QStringLiteral("PROJECT_ID"),
                  QStringLiteral("PROJECT_LEVEL")},
                 {QString::fromLatin1(emp), QString::fromLatin1(project), QString::fromLatin1(lvl)});
    };
    userLevel("A0001", "KESA_Z", "10");
    userLevel("A0001", "KESA_G", "10");
    userLevel("A0001", "KESA_S", "10");
    userLevel("E1001", "KESA_Z", "20");
    userLevel("E1001", "KESA_G", "20");
    userLevel("E1002", "KESA_S", "20");

    const auto override =
            [&](const char *emp, const char *project, const char *program, const char *addYn) {
                l.insert(QStringLiteral("ZA150MS"),
                         {QStringLiteral("EMP_NO"),
                          QStringLiteral("PROJECT_ID"),
                          QStringLiteral("PROGRAM_ID"),
                          QStringLiteral("ADD_YN")},
                         {QString::fromLatin1(emp),
                          QString::fromLatin1(project),
                          QString::fromLatin1(program),
                          QString::fromLatin1(addYn)});
            };
    override("E1001", "KESA_Z", "ZXB000", "Y");
    override("E1001", "KESA_Z", "ZXS095", "N");
    override("E1001", "KESA_G", "GAS020", "Y");
    override("E1001", "KESA_G", "GAI020", "N");
    override("E1001", "KESA_S", "SAS010", "Y");
    override("E1002", "KESA_S", "SAS020", "Y");

    const QStringList rightColumns{QStringLiteral("EMP_NO"),
                                   QStringLiteral("PROJECT_ID"),
                                   QStringLiteral("SEQ"),
                                   QStringLiteral("SAUP_CODE"),
                                   QStringLiteral("TEAM_CODE"),
                                   QStringLiteral("UPJANG_CODE")};
    l.insert(QStringLiteral("ZA120MS"),
             rightColumns,
             {QStringLiteral("E1001"),
              QStringLiteral("KESA_G"),
              1,
              QStringLiteral("03"),
              QString(),
              QString()});
    l.insert(QStringLiteral("ZA120MS"),
             rightColumns,
             {QStringLiteral("E1002"),
              QStringLiteral("KESA_S"),
              1,
              QString(),
              QString(),
              QStringLiteral("U101")});
    l.insert(QStringLiteral("ZA120MS"),
             rightColumns,
             {QStringLiteral("E1002"),
              QStringLiteral("KESA_S"),
              2,
              QString(),
              QString(),
              QStringLiteral("U102")});
}

// Cases of the authority screens, apart from the rows above: a program filed
// under two menus of one project (it shows under both and moves as one), and a
// user who has no level in any project (every project starts at level '0').
// The removal and the addition are E1001's overrides in KESA_Z.
void loadAssignmentCases(Loader &l)
{
    l.insert(QStringLiteral("ZA050MS"),
             {QStringLiteral("PROJECT_ID"),
              QStringLiteral("MENU_ID"),
              QStringLiteral("PROGRAM_ID"),
              QStringLiteral("PROGRAM_NAME"),
              QStringLiteral("DISPLAY_SEQ")},
             {QStringLiteral("KESA_S"),
              QStringLiteral("S2"),
              QStringLiteral("SAS010"),
              QStringLiteral("발매 현황 조회"),
              3});
    l.user(QStringLiteral("E1003"), QStringLiteral("최신입"), QStringLiteral("N"));
}

// Password history (ZA010MH) as the suite's login program writes it, so that the
// password history inquiry has rows: passwords in their stored form, newest last.
void loadPasswordHistory(Loader &l)
{
    struct History
    {
        const char *empNo;
        const char *day;
        int seq;
        const char *password;
        const char *oldDate;
        const char *newDate;
        const char *newIp;
    };
    const History rows[] = {
            {"A0001",
             "20240102",
             1,
             "Admin2023",
             "2023-01-02 09:00:00",
             "2024-01-02 08:55:12",
             "192.168.10.21"},
            {"A0001",
             "20250106",
             1,
             "Admin2024",
             "2024-01-02 08:55:12",
             "2025-01-06 09:10:40",
             "192.168.10.21"},
            {"E1001",
             "20240311",
             1,
             "Front01",
             "2023-03-10 10:00:00",
             "2024-03-11 13:20:05",
             "192.168.10.35"},
            {"E1001",
             "20240311",
             2,
             "Front02",
             "2024-03-11 13:20:05",
             "2024-03-11 13:24:48",
             "192.168.10.35"},
            {"E1001",
             "20250902",
             1,
             "Front03",
             "2024-03-11 13:24:48",
             "2025-09-02 17:45:30",
             "192.168.10.35"},
            {"E1002",
             "20251120",
             1,
             "Ski2025",
             "2024-11-18 07:30:00",
             "2025-11-20 07:41:09",
             "192.168.20.14"},
    };
    for (const History &r : rows) {
        SqlStatement statement(
                l.database(),
                QStringLiteral(
                        "INSERT INTO ZA010MH (EMP_NO, BACKUP_DATE, BACKUP_SEQ, PASSWORD_CODE, "
                        "OLD_EMP_NO, OLD_DATE, OLD_IP, NEW_EMP_NO, NEW_DATE, NEW_IP) VALUES "
                        "(:P0, :P1, :P2, FN_ZA010MS_01(:P3, 'RoTa'), :P4, :P5, :P6, :P0, :P7, "
                        ":P8)"));
        statement.bind(QStringLiteral("P0"), QString::fromLatin1(r.empNo));
        statement.bind(QStringLiteral("P1"), QString::fromLatin1(r.day));
        statement.bind(QStringLiteral("P2"), r.seq);
        statement.bind(QStringLiteral("P3"), QString::fromLatin1(r.password));
        statement.bind(QStringLiteral("P4"), QString::fromLatin1(DemoEmpNo));
        statement.bind(QStringLiteral("P5"), QString::fromLatin1(r.oldDate));
        statement.bind(QStringLiteral("P6"), QString::fromLatin1(DemoIp));
        statement.bind(QStringLiteral("P7"), QString::fromLatin1(r.newDate));
        statement.bind(QStringLiteral("P8"), QString::fromLatin1(r.newIp));
        statement.exec();
    }
}

void loadCodes(Loader &l, const QString &dbUser)
{
    l.code(QStringLiteral("Z9999"), QStringLiteral(" "), QStringLiteral("DB 계정 표시 이름"));
    l.code(QStringLiteral("Z9999"),
           dbUser.isEmpty() ? QStringLiteral("KESA") : dbUser.toUpper(),
           QStringLiteral("시스템관리 데모"));
    l.code(QStringLiteral("Z1001"), QStringLiteral(" "), QStringLiteral("프로젝트 소속 구분"));
    l.code(QStringLiteral("Z1001"), QStringLiteral("0"), QStringLiteral("해당 없음"));
    l.code(QStringLiteral("Z1001"), QStringLiteral("1"), QStringLiteral("사업장"));
    l.code(QStringLiteral("Z1001"), QStringLiteral("2"), QStringLiteral("영업구분"));
    l.code(QStringLiteral("Z1001"), QStringLiteral("3"), QStringLiteral("영업장"));
    l.code(QStringLiteral("J0002"),
           QStringLiteral(" "),
           QStringLiteral("사업장"),
           {QStringLiteral("주소"), QStringLiteral("전화번호")});
    l.code(QStringLiteral("J0002"),
           QStringLiteral("01"),
           QStringLiteral("본사"),
           {QStringLiteral("서울특별시 중구"), QStringLiteral("02-123-4567")});
    l.code(QStringLiteral("J0002"),
           QStringLiteral("02"),
           QStringLiteral("콘도"),
           {QStringLiteral("강원도 평창군"), QStringLiteral("033-330-1000")});
    l.code(QStringLiteral("J0002"),
           QStringLiteral("03"),
           QStringLiteral("골프장"),
           {QStringLiteral("강원도 평창군"), QStringLiteral("033-330-2000")});
    l.code(QStringLiteral("J0002"),
           QStringLiteral("04"),
           QStringLiteral("스키장"),
           {QStringLiteral("강원도 평창군"), QStringLiteral("033-330-3000")});
    l.code(QStringLiteral("J0003"), QStringLiteral(" "), QStringLiteral("영업구분"));
    l.code(QStringLiteral("J0003"), QStringLiteral("10"), QStringLiteral("객실"));
    l.code(QStringLiteral("J0003"), QStringLiteral("20"), QStringLiteral("식음"));
    l.code(QStringLiteral("J0003"), QStringLiteral("30"), QStringLiteral("레저"));
    l.code(QStringLiteral("J0003"), QStringLiteral("40"), QStringLiteral("상품 판매"));

    l.code(QStringLiteral("Z0012"), QStringLiteral(" "), QStringLiteral("매년 반복 휴일"));
    const Row everyYear[] = {
            {"0101", "신정", nullptr, nullptr},
            {"0301", "삼일절", nullptr, nullptr},
            {"0505", "어린이날", nullptr, nullptr},
            {"0606", "현충일", nullptr, nullptr},
            {"0815", "광복절", nullptr, nullptr},
            {"1003", "개천절", nullptr, nullptr},
            {"1009", "한글날", nullptr, nullptr},
            {"1225", "성탄절", nullptr, nullptr},
    };
    for (const Row &r : everyYear)
        l.code(QStringLiteral("Z0012"), QString::fromLatin1(r.a), QString::fromUtf8(r.b));
    l.code(QStringLiteral("Z0013"), QStringLiteral(" "), QStringLiteral("연도별 휴일"));
    // Every year the table knows, so that the calendar of any of them can be generated.
    for (const Row &r : lunarHolidays)
        l.code(QStringLiteral("Z0013"), QString::fromLatin1(r.a), QString::fromUtf8(r.b));

    const Row outlets[] = {
            {"U101", "한식당 온돌", "Y", nullptr},
            {"U102", "스카이 라운지", "Y", nullptr},
            {"U103", "스키하우스 편의점", "Y", nullptr},
            {"U104", "렌탈샵", "Y", nullptr},
            {"U199", "구 기념품점", "N", nullptr},
    };
    for (const Row &r : outlets) {
        SqlStatement statement(l.database(),
                               QStringLiteral("INSERT INTO JA010MS (UPJANG_CODE, UPJANG_NAME, "
                                              "USE_YN) VALUES (:P0, :P1, :P2)"));
        statement.bind(QStringLiteral("P0"), QString::fromLatin1(r.a));
        statement.bind(QStringLiteral("P1"), QString::fromUtf8(r.b));
        statement.bind(QStringLiteral("P2"), QString::fromLatin1(r.c));
        statement.exec();
    }
}

} // namespace

namespace DemoData {

bool hasUsers(const QSqlDatabase &db)
{
    SqlStatement query(db, QStringLiteral("SELECT COUNT(*) FROM ZA010MS"));
    query.open();
    return query.next() && query.value(0).toLongLong() > 0;
}

void load(const QSqlDatabase &db, const QString &dbUser)
{
    Transaction::run(db, [&] {
        if (hasUsers(db))
            throw DbError(QStringLiteral("사용자가 이미 등록된 데이터베이스입니다. "
                                         "데모 자료는 빈 데이터베이스에만 넣을 수 있습니다."));
        Loader loader(db);
        loadAuthority(loader);
        loadAssignmentCases(loader);
        loadPasswordHistory(loader);
        loadCodes(loader, dbUser);
    });
}

} // namespace DemoData
