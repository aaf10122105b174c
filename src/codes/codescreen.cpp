#include "codescreen.h"

#include "framework/datagrid.h"
#include "framework/entryfields.h"
#include "framework/uppercasevalidator.h"

#include <QGridLayout>
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
}

EntryPanel createEntryPanel(ClientDataSet *data,
                            QWidget *parent,
                            QLabel *keyLabel,
                            DbEdit *keyEdit,
                            const QString &nameCaption,
                            const QString &itemCaption)
{
    EntryPanel panel;
    panel.lblDetailName = CreateFieldLabel(QStringLiteral("lblDetailName"), nameCaption, parent);
    panel.dedDetailName = CreateBoundEdit(QStringLiteral("dedDetailName"),
                                          data,
                                          QStringLiteral("DETAIL_NAME"),
                                          50,
                                          240,
                                          parent,
                                          DbEdit::InputMode::Korean);
    panel.layout = CreateEntryGrid();
    panel.layout->setContentsMargins(12, 0, 12, 0);
    panel.layout->setVerticalSpacing(6);
    panel.layout->addWidget(keyLabel, 0, 0);
    panel.layout->addWidget(keyEdit, 0, 1, Qt::AlignLeft);
    panel.layout->addWidget(panel.lblDetailName, 1, 0);
    panel.layout->addWidget(panel.dedDetailName, 1, 1, Qt::AlignLeft);
    panel.entries = {keyEdit, panel.dedDetailName};
    for (int n = 1; n <= 15; ++n) {
        QLabel *label = CreateFieldLabel(QStringLiteral("lblItem%1").arg(n),
                                         itemCaption.isEmpty() ? QString() : itemCaption.arg(n, 2),
                                         parent);
        DbEdit *edit = CreateBoundEdit(QStringLiteral("dedItem%1").arg(n),
                                       data,
                                       QStringLiteral("ITEM%1").arg(n),
                                       16,
                                       140,
                                       parent,
                                       DbEdit::InputMode::Korean);
        panel.layout->addWidget(label, n + 1, 0);
        panel.layout->addWidget(edit, n + 1, 1, Qt::AlignLeft);
        panel.layout->setRowMinimumHeight(n + 1, 25);
        panel.lblItem[n - 1] = label;
        panel.dedItem[n - 1] = edit;
        panel.entries << edit;
    }
    return panel;
}

QString captionWithoutBlanks(const QLabel *label)
{
    QString caption = label->text();
    caption.remove(QRegularExpression(QStringLiteral("\\s")));
    return caption;
}

} // namespace CodeScreen
