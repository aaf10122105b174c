#pragma once

#include "yearsearch.h"

#include "framework/ZZI010.h"

#include <QList>

class DisplayGrid;
class QLabel;

/// "휴일 등록": the holidays of a year on twelve month grids. Every-year
/// holidays (Z0012) and one-year holidays (Z0013) are shown on their days; a
/// double click (or Enter) on a day asks for its holiday name, and the save
/// writes each changed day through PR_ZX010MS_11. The lunar holidays of the
/// year can be filled in as unsaved edits.
class TfrmZXI021 : public TfrmZZI010, public YearSearch
{
    Q_OBJECT

public:
    explicit TfrmZXI021(QWidget *parent = nullptr);

    /// Save; a failed save shows its one error box and stops the calling action quietly.
    void bbtSaveClick() override;
    /// Fills the lunar holidays of the shown year into the days that hold no holiday.
    void bbtLunarClick();
    /// Asks for the holiday name of a day of a month grid (nothing on a cell without a day).
    void EnterHoliday(int month, int row, int column);

    /// The holiday name a cell shows (month 1 … 12, column 0 … 6, row 0 … 5).
    QString holidayName(int month, int column, int row) const;
    /// The month grid cell of a day of the shown year: column = weekday (Sunday 0), row = week of the month.
    static QPoint cellOf(const QDate &day);

    DisplayGrid *rgrGrid[12] = {};
    QPushButton *bbtLunar = nullptr;
    QLabel *lblComment = nullptr;

protected:
    void FormCreate() override;
    void CheckSearchCriteria() override;
    void LoadData() override;
    void SaveData() override;
    void DiscardChanges() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Loaded
    {
        QString key; // MMDD
        int fixed;   // 0 every year (Z0012), 1 this year only (Z0013)
        QString name;
    };

    void loadHolidays();
    void layOutYear();
    void clearYear();
    const Loaded *findLoaded(const QString &key) const;
    DisplayGrid *buildMonthGrid(int month);

    int m_year = 0;
    QList<Loaded> m_loaded;
    QString m_names[13][7][6];
};
