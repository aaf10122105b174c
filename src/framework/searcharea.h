#pragma once

#include <functional>
#include <QList>

class QAction;
class QFrame;
class QPushButton;
class QWidget;
class ScreenFrame;
class SearchPanel;

/// The search area of the inquiry screens, the edit screens and the lookup
/// dialogs, a base of each: the panel `panSearch` on top of the window with
/// `bbtSearch` at its right end and the hot key F3 (`popHotkeySearch`); the
/// button, the hot key and Enter in a search field run the window's search.
class SearchArea
{
public:
    virtual ~SearchArea() = default;

    /// Puts a search field into the search area, left of bbtSearch.
    void addSearchWidget(QWidget *widget, int stretch = 0);
    /// Enter in these fields runs the search as F3 does (the key is swallowed).
    void setSearchFields(const QList<QWidget *> &fields);

    QFrame *panSearch = nullptr;
    QPushButton *bbtSearch = nullptr;
    QAction *popHotkeySearch = nullptr;

protected:
    /// Builds the area into the frame; `search` is the window's search handler
    /// (its button guard included).
    void createSearchArea(ScreenFrame &frame, const std::function<void()> &search);

private:
    SearchPanel *m_searchPanel = nullptr;
};
