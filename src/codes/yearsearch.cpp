#include "yearsearch.h"

#include "yearfield.h"

#include "framework/searcharea.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>

void YearSearch::createYearField(SearchArea &area, std::function<void()> search)
{
    yearField = new YearField(area.panSearch, std::move(search));
    lblYear = yearField->lblYear;
    cedYear = yearField->cedYear;
    area.addSearchWidget(lblYear);
    area.addSearchWidget(cedYear);
    area.addSearchWidget(new QWidget(area.panSearch), 1);
}
