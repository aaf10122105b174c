#pragma once

#include "ZZI000.h"
#include "searcharea.h"

/// The inquiry screen: a search area `panSearch` on top with `bbtSearch`, and
/// the print and preview buttons on the bar (hooks for derived screens). There
/// are no modes: the search area can be used at all times.
///
/// A derived screen puts its search fields into the search area with
/// addSearchWidget() and runs its search in its own bbtSearchClick() after
/// calling the base handler (which stops the action when the button is hidden
/// or disabled). Hot keys: F3 search, F11 print, Shift+F11 preview.
class TfrmZZS010 : public TfrmZZI000, public SearchArea
{
    Q_OBJECT

public:
    explicit TfrmZZS010(QWidget *parent = nullptr);

    /// Button guard only.
    virtual void bbtSearchClick();
    /// Button guard only; printing is up to the derived screen.
    virtual void bbtPrintClick();
    /// Button guard only; previewing is up to the derived screen.
    virtual void bbtPreviewClick();

    QPushButton *bbtPrint = nullptr;
    QPushButton *bbtPreview = nullptr;
    QAction *popHotkeyPrint = nullptr;
    QAction *popHotkeyPreview = nullptr;

protected:
private:
};
