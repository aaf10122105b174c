#pragma once

#include "ZZH000.h"
#include "screenconnection.h"
#include "searcharea.h"

/// The lookup dialog with a search area `panSearch` on top and `bbtSearch`
/// (F3) at its right end, and the connection with its general statement
/// `qryQuery` (ScreenConnection, as on the program screens).
class TfrmZZH010 : public TfrmZZH000, public SearchArea, public ScreenConnection
{
    Q_OBJECT

public:
    explicit TfrmZZH010(QWidget *owner = nullptr);

    /// A silent abort when bbtSearch is hidden or disabled; derived dialogs run
    /// their search after calling it.
    virtual void bbtSearchClick();

protected:
private:
};
