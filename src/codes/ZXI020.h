#pragma once

#include "yearsearch.h"

#include "framework/ZZS020.h"

/// "공통 월력 등록": generates the common calendar of a year (one row per day,
/// with its weekday, holiday name and day type) through PR_ZX020MS_01, lists
/// it, and deletes it.
class TfrmZXI020 : public TfrmZZS020, public YearSearch
{
    Q_OBJECT

public:
    explicit TfrmZXI020(QWidget *parent = nullptr);

    /// Checks the year and the holidays, generates the year and lists it.
    void bbtSearchClick() override;
    /// Deletes the calendar of the year after a question; lists again the year last listed.
    void bbtDeleteClick();

    QPushButton *bbtDelete = nullptr;
    QAction *popHotkeyDelete = nullptr;

protected:
    void FormCreate() override;

private:
    void listYear(const QString &year);
    void callCalendarProcedure(const QString &year, const QString &createYn);

    QString m_listedYear;
};
