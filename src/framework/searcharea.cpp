#include "searcharea.h"

#include "messagetexts.h"
#include "screenframe.h"
#include "searchpanel.h"

#include <QPushButton>
#include <QVBoxLayout>

void SearchArea::createSearchArea(ScreenFrame &frame, const std::function<void()> &search)
{
    m_searchPanel = new SearchPanel(frame.m_window, search);
    panSearch = m_searchPanel;
    bbtSearch = frame.createButton(QStringLiteral("bbtSearch"), MessageText::searchCaption(), 1);
    m_searchPanel->setSearchButton(bbtSearch);
    frame.rootLayout()->insertWidget(0, panSearch);
    frame.connectClick(bbtSearch, search);
    popHotkeySearch = frame.addHotkey(QStringLiteral("popHotkeySearch"), Qt::Key_F3, search);
}

void SearchArea::addSearchWidget(QWidget *widget, int stretch)
{
    m_searchPanel->addSearchWidget(widget, stretch);
}

void SearchArea::setSearchFields(const QList<QWidget *> &fields)
{
    m_searchPanel->setSearchFields(fields);
}
