#include "ZZH010.h"

#include "messagetexts.h"
#include "searchpanel.h"
#include "useraction.h"

#include "common/silentabort.h"
#include "db/database.h"
#include "db/sqlstatement.h"

#include <QAction>
#include <QFrame>
#include <QPushButton>
#include <QVBoxLayout>

TfrmZZH010::TfrmZZH010(QWidget *owner)
    : TfrmZZH000(owner)
{
    setObjectName(QStringLiteral("frmZZH010"));

    m_searchPanel = new SearchPanel(this, [this] { bbtSearchClick(); });
    panSearch = m_searchPanel;
    bbtSearch = createButton(QStringLiteral("bbtSearch"), MessageText::searchCaption(), 1);
    m_searchPanel->setSearchButton(bbtSearch);
    rootLayout()->insertWidget(0, panSearch);

    connectClick(bbtSearch, [this] { bbtSearchClick(); });
    popHotkeySearch = addHotkey(QStringLiteral("popHotkeySearch"), Qt::Key_F3, [this] {
        bbtSearchClick();
    });
}

TfrmZZH010::~TfrmZZH010()
{
    // The result statement is closed when the dialog is freed.
    if (m_query)
        m_query->close();
}

QSqlDatabase TfrmZZH010::database() const
{
    return m_db.isValid() ? m_db : QSqlDatabase::database(Database::defaultConnectionName(), false);
}

void TfrmZZH010::setDatabase(const QSqlDatabase &db)
{
    m_db = db;
    m_query.reset();
}

SqlStatement &TfrmZZH010::qryQuery()
{
    if (!m_query)
        m_query = std::make_unique<SqlStatement>(database());
    return *m_query;
}

void TfrmZZH010::addSearchWidget(QWidget *widget, int stretch)
{
    m_searchPanel->addSearchWidget(widget, stretch);
}

void TfrmZZH010::setSearchFields(const QList<QWidget *> &fields)
{
    m_searchPanel->setSearchFields(fields);
}

void TfrmZZH010::bbtSearchClick()
{
    if (!bbtSearch->isVisibleTo(this) || !bbtSearch->isEnabled())
        Abort();
}
