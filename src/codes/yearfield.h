#pragma once

#include <QDate>
#include <QObject>
#include <QString>

#include <functional>

class QLabel;
class QLineEdit;
class QWidget;
class TfrmZZI000;

/// The year field of the calendar screens: `lblYear` "* 기준년도" and
/// `cedYear`, at most four digits, a year from 1990 to 2100. It opens on the
/// current year, or the next one from October on; the date comes from a clock
/// that tests replace. Enter runs the screen's search.
class YearField : public QObject
{
    Q_OBJECT

public:
    static constexpr int FirstYear = 1990;
    static constexpr int LastYear = 2100;

    YearField(QWidget *parent, std::function<void()> search);

    /// The year a screen opens on: the current one, the next from October on.
    static int DefaultYear(const QDate &today);
    /// Where "today" comes from (QDate::currentDate unless set).
    void setClock(std::function<QDate()> today) { m_today = std::move(today); }
    /// Puts the default year into the field.
    void setDefault();

    /// The year of the field when it is four digits within the range;
    /// otherwise "* 기준년도을(를) 정확히 입력하십시오." in the screen's status
    /// line, the focus on the field and a silent abort.
    QString checkedYear(TfrmZZI000 *screen) const;

    QLabel *lblYear = nullptr;
    QLineEdit *cedYear = nullptr;

private:
    std::function<QDate()> m_today = &QDate::currentDate;
};
