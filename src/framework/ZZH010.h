#pragma once

#include "ZZH000.h"

#include <memory>
#include <QSqlDatabase>

class SearchPanel;
class SqlStatement;

/// The lookup dialog with a search area `panSearch` on top and `bbtSearch`
/// (F3) at its right end, and the general statement `qryQuery`.
class TfrmZZH010 : public TfrmZZH000
{
    Q_OBJECT

public:
    explicit TfrmZZH010(QWidget *owner = nullptr);
    ~TfrmZZH010() override;

    /// A silent abort when bbtSearch is hidden or disabled; derived dialogs run
    /// their search after calling it.
    virtual void bbtSearchClick();

    /// The connection of the dialog (the program's one connection unless set).
    QSqlDatabase database() const;
    void setDatabase(const QSqlDatabase &db);
    /// General-purpose statement on database().
    SqlStatement &qryQuery();

    QFrame *panSearch = nullptr;
    QPushButton *bbtSearch = nullptr;
    QAction *popHotkeySearch = nullptr;

protected:
    /// Puts a search field into the search area, left of bbtSearch.
    void addSearchWidget(QWidget *widget, int stretch = 0);
    /// Enter in these fields runs the search as F3 does (the key is swallowed).
    void setSearchFields(const QList<QWidget *> &fields);

private:
    SearchPanel *m_searchPanel = nullptr;
    QSqlDatabase m_db;
    std::unique_ptr<SqlStatement> m_query;
};
