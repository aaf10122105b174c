#pragma once

#include "framework/ZZH020.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class QLabel;
class QLineEdit;

/// "공통코드 Help": in head-search mode the code heads whose name contains the
/// search text; in detail-list mode the codes of the head in the search field.
/// OK (F10, Enter or a double click on a row) chooses the row's code and name.
/// When the dialog is first shown with a search text, it searches at once.
class TfrmZXH010 : public TfrmZZH020
{
    Q_OBJECT

public:
    /// The mode of the dialog (kept in its tag).
    enum Mode { HeadSearch = 0, DetailList = 1 };

    explicit TfrmZXH010(QWidget *owner = nullptr);

    void setMode(Mode mode) { m_tag = mode; }
    Mode mode() const { return Mode(m_tag); }

    /// Head search: the text must not be blank; detail list: the head must be
    /// as long as the field allows. Then the rows, as the text was typed.
    void bbtSearchClick() override;

    QLabel *lblDetailName = nullptr;
    QLineEdit *edtDetailName = nullptr;

private:
    void refuseSearchText();

    int m_tag = HeadSearch;
};

/// The head lookup: Head := empty; the dialog in head-search mode, opened with
/// Name as the search text (at most 30 characters). On OK Head and Name receive
/// the chosen head and its name; otherwise Name keeps its value. True on OK.
bool ShowCodeHeadHelp(QString &Name, QString &Head);
bool ShowCodeHeadHelp(QString &Name, QString &Head, const QSqlDatabase &db);

/// The code lookup of one head: Code := empty; the dialog in detail-list mode
/// with Head in the search field (at most 5 characters; a full head cannot be
/// changed, and its codes are listed at once). On OK Code and Name receive the
/// chosen code and its name; otherwise Name keeps its value. True on OK.
bool ShowCodeDetailHelp(const QString &Head, QString &Name, QString &Code);
bool ShowCodeDetailHelp(const QString &Head, QString &Name, QString &Code, const QSqlDatabase &db);

/// DETAIL_NAME of the row (Head, Code), and its ITEM1 … ITEM15 as fifteen texts
/// in Items. Without such a row the name and all fifteen items are empty. A
/// database error is raised to the caller.
QString GetCodeItems(const QString &Head, const QString &Code, QStringList &Items);
QString GetCodeItems(const QString &Head,
                     const QString &Code,
                     QStringList &Items,
                     const QSqlDatabase &db);

/// DETAIL_NAME of the row (Head, Code); the code ' ' gives the head's name.
QString GetCodeName(const QString &Head, const QString &Code);
QString GetCodeName(const QString &Head, const QString &Code, const QSqlDatabase &db);
