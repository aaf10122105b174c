#include "searchpanel.h"

#include "markedcontrols.h"
#include "useraction.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>

namespace {
constexpr char SearchFieldMark[] = "kesaSearchField";
} // namespace

SearchPanel::SearchPanel(QWidget *parent, std::function<void()> search)
    : QFrame(parent)
    , m_search(std::move(search))
{
    setObjectName(QStringLiteral("panSearch"));
    setFixedHeight(40);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_layout = new QHBoxLayout(this);
    m_layout->setContentsMargins(8, 0, 8, 0);
    m_layout->setSpacing(6);
    m_layout->addStretch(1);
}

void SearchPanel::setSearchButton(QPushButton *searchButton)
{
    m_searchButton = searchButton;
    m_searchButton->setParent(this);
    m_layout->addWidget(m_searchButton);
}

void SearchPanel::addSearchWidget(QWidget *widget, int stretch)
{
    widget->setParent(this);
    m_layout->insertWidget(m_insert++, widget, stretch);
    if (widget->focusPolicy() != Qt::NoFocus)
        QWidget::setTabOrder(widget, m_searchButton);
}

void SearchPanel::setSearchFields(const QList<QWidget *> &fields)
{
    MarkedControls::watch(this, fields, SearchFieldMark);
}

bool SearchPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && MarkedControls::isMarked(watched, SearchFieldMark)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            RunUserAction(m_search);
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}
