#pragma once

#include <QString>

/// The texts of the inquiry screens, the spreadsheet export and the lookup
/// dialogs ("\r" is a line break).
namespace MessageText {

inline QString printCaption()
{
    return QStringLiteral("출력(F11)");
}
inline QString previewCaption()
{
    return QStringLiteral("미리보기");
}
inline QString excelCaption()
{
    return QStringLiteral("Excel");
}
inline QString okCaption()
{
    return QStringLiteral("확인(F10)");
}

// Spreadsheet export.
inline QString noSearchResult()
{
    return QStringLiteral("조회 결과가 없습니다. 조회를 먼저 하십시오.");
}
inline QString noFileName()
{
    return QStringLiteral("저장할 파일 이름을 지정하지 않았습니다.");
}
/// The one file type of the save dialog.
inline QString spreadsheetFilter()
{
    return QStringLiteral("Excel 파일(*.xls)");
}
inline QString overwriteQuestion()
{
    return QStringLiteral("이미 존재하는 파일입니다.\r새 내용으로 덮어쓸까요?");
}
inline QString cannotSaveSpreadsheet()
{
    return QStringLiteral("Excel 파일로 저장할 수 없습니다.");
}
/// The result has more rows than a worksheet of the file holds.
inline QString tooManyRows(int limit)
{
    return QStringLiteral("조회 결과가 %1건을 넘어서 Excel 파일로 저장할 수 없습니다.\r"
                          "조회 조건을 좁혀서 다시 조회하십시오.")
            .arg(limit);
}
/// Some texts were longer than a cell of the file holds.
inline QString textsCut(int count, int limitBytes)
{
    return QStringLiteral("%1바이트를 넘는 내용 %2개는 잘라서 저장했습니다.")
            .arg(limitBytes)
            .arg(count);
}
/// Asked after the export; the file name without its directory.
inline QString openSavedFileQuestion(const QString &fileName)
{
    return QStringLiteral("저장한 파일(") + fileName + QStringLiteral(")을 Excel로 불러올까요?");
}

} // namespace MessageText
