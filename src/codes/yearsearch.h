#pragma once

#include <functional>

class QLabel;
class QLineEdit;
class SearchArea;
class YearField;

/// The calendar screens' search by year, a base of each: the year field at
/// the left of the screen's search area (the rest of the area stays empty)
/// and the screen's members for its parts (`lblYear`, `cedYear`).
class YearSearch
{
public:
    virtual ~YearSearch() = default;

    YearField *yearField = nullptr;
    QLabel *lblYear = nullptr;
    QLineEdit *cedYear = nullptr;

protected:
    /// Creates the field in the search area; Enter in it runs `search`.
    void createYearField(SearchArea &area, std::function<void()> search);
};
