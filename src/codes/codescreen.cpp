#include "codescreen.h"

#include "framework/datagrid.h"
#include "framework/uppercasevalidator.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace CodeScreen {

QString columnList()
{
    QString columns = QStringLiteral("HEAD, DETAIL, DETAIL_NAME");
    for (int n = 1; n <= 15; ++n)
        columns += QStringLiteral(", ITEM%1").arg(n);
    return columns + QStringLiteral(", U_EMP_NO, U_DATE, U_IP");
}

QLineEdit *createHeadField(QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("edtHead"));
    edit->setMaxLength(5);
    edit->setFixedWidth(60);
    edit->setValidator(new UpperCaseValidator(edit));
    edit->setInputMethodHints(Qt::ImhLatinOnly);
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    return edit;
}

void placeBesideGrid(QVBoxLayout *mainLayout, DataGrid *grid, QLayout *fields)
{
    mainLayout->removeWidget(grid);
    grid->setMinimumHeight(0);
    grid->setMaximumHeight(QWIDGETSIZE_MAX);
    auto *row = new QHBoxLayout;
    row->addWidget(grid, 1);
    auto *column = new QVBoxLayout;
    column->addLayout(fields);
    column->addStretch(1);
    row->addLayout(column);
    mainLayout->addLayout(row, 1);
    // The stretch the edit screen keeps above its grid has nothing left to push.
    for (int i = 0; i < mainLayout->count(); ++i) {
        if (mainLayout->itemAt(i)->spacerItem()) {
            delete mainLayout->takeAt(i);
            break;
        }
    }
}

QString captionWithoutBlanks(const QLabel *label)
{
    QString caption = label->text();
    caption.remove(QRegularExpression(QStringLiteral("\\s")));
    return caption;
}

} // namespace CodeScreen
