#pragma once

#include <functional>
#include <QFrame>
#include <QList>

class QHBoxLayout;
class QPushButton;

/// The search area `panSearch` of the inquiry screens, the edit screens and the
/// lookup dialogs: a raised panel, 40 pixels high, with the search fields from
/// the left and the search button at its right end. Enter in a search field
/// runs the search through the user-action guard, as the search hot key does
/// (the key is swallowed).
class SearchPanel : public QFrame
{
    Q_OBJECT

public:
    /// `search` is the window's search handler (its button guard included).
    SearchPanel(QWidget *parent, std::function<void()> search);

    /// The search button joins the panel at its right end. Created after the
    /// panel, it follows it in the tab chain.
    void setSearchButton(QPushButton *searchButton);

    /// Puts a search field into the panel, left of the search button (and before
    /// it in the tab order, whoever created what first).
    void addSearchWidget(QWidget *widget, int stretch = 0);
    /// Enter in these fields runs the search.
    void setSearchFields(const QList<QWidget *> &fields);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QHBoxLayout *m_layout = nullptr;
    QPushButton *m_searchButton = nullptr;
    std::function<void()> m_search;
    int m_insert = 0;
};
