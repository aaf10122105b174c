#include "ZZH010.h"

#include "messagetexts.h"
#include "useraction.h"

#include "common/silentabort.h"
#include "db/database.h"
#include "db/sqlstatement.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr char SearchFieldMark[] = "kesaSearchField";
} // namespace

TfrmZZH010::TfrmZZH010(QWidget *owner)
    : TfrmZZH000(owner)
{
    setObjectName(QStringLiteral("frmZZH010"));

    panSearch = new QFrame(this);
    panSearch->setObjectName(QStringLiteral("panSearch"));
    panSearch->setFixedHeight(40);
    panSearch->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_searchLayout = new QHBoxLayout(panSearch);
    m_searchLayout->setContentsMargins(8, 0, 8, 0);
    m_searchLayout->setSpacing(6);
    m_searchLayout->addStretch(1);
    bbtSearch = createButton(QStringLiteral("bbtSearch"), MessageText::searchCaption(), 1);
    bbtSearch->setParent(panSearch);
    m_searchLayout->addWidget(bbtSearch);
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
    widget->setParent(panSearch);
    m_searchLayout->insertWidget(m_searchInsert++, widget, stretch);
    if (widget->focusPolicy() != Qt::NoFocus)
        setTabOrder(widget, bbtSearch);
}

void TfrmZZH010::setSearchFields(const QList<QWidget *> &fields)
{
    for (QWidget *field : fields) {
        if (!field || field->property(SearchFieldMark).toBool())
            continue;
        // A mark on the field rather than a list: nothing to keep when it dies.
        field->setProperty(SearchFieldMark, true);
        field->installEventFilter(this);
    }
}

bool TfrmZZH010::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->property(SearchFieldMark).toBool()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            bbtSearch->click();
            return true;
        }
    }
    return TfrmZZH000::eventFilter(watched, event);
}

void TfrmZZH010::bbtSearchClick()
{
    if (!bbtSearch->isVisibleTo(this) || !bbtSearch->isEnabled())
        Abort();
}
