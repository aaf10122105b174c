#include "ZZI010.h"

#include "messagetexts.h"

#include "common/commonroutines.h"
#include "common/silentabort.h"
#include "db/dberror.h"
#include "db/transaction.h"
#include "useraction.h"
#include "waitcursor.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSqlError>
#include <QStatusBar>
#include <QVBoxLayout>

TfrmZZI010::TfrmZZI010(QWidget *parent)
    : TfrmZZI000(parent)
{
    setObjectName(QStringLiteral("frmZZI010"));

    createSearchArea(*this, [this] { bbtSearchClick(); });

    bbtSave = createButton(QStringLiteral("bbtSave"), MessageText::saveCaption(), 4096);
    bbtCancel = createButton(QStringLiteral("bbtCancel"), MessageText::cancelCaption(), 65536);
    insertBarButton(bbtSave, bbtClose);
    insertBarButton(bbtCancel, bbtClose);
    setTabChain({bbtSave, bbtCancel, bbtClose});

    connectClick(bbtSave, [this] { bbtSaveClick(); });
    connectClick(bbtCancel, [this] { bbtCancelClick(); });
    popHotkeySave = addHotkey(QStringLiteral("popHotkeySave"), Qt::Key_F2, [this] {
        bbtSaveClick();
    });
    popHotkeyCancel = addHotkey(QStringLiteral("popHotkeyCancel"), Qt::Key_F8, [this] {
        bbtCancelClick();
    });
}

void TfrmZZI010::FormCreate()
{
    TfrmZZI000::FormCreate();
    SetSearchMode(true);
}

bool TfrmZZI010::isWorkSide(const QWidget *control) const
{
    const QWidget *ancestor = control->parentWidget();
    if (ancestor == panButtons)
        return true;
    for (int level = 1; level <= 6 && ancestor; ++level) {
        if (ancestor == panMain)
            return true;
        ancestor = ancestor->parentWidget();
    }
    return false;
}

// The controls a screen is built of. Labels and bevels never take part (nor
// does the status bar, which only shows), and neither do the inner parts of a
// composite control (the viewport of a grid, the edit box of a combo box).
bool TfrmZZI010::takesPartInModes(const QWidget *widget) const
{
    if (widget->isWindow() || qobject_cast<const QLabel *>(widget))
        return false;
    if (auto *frame = qobject_cast<const QFrame *>(widget)) {
        if (frame->frameShape() == QFrame::HLine || frame->frameShape() == QFrame::VLine)
            return false;
    }
    for (const QWidget *ancestor = widget; ancestor && ancestor != this;
         ancestor = ancestor->parentWidget()) {
        if (ancestor == stbMessage)
            return false;
        if (ancestor == widget)
            continue;
        if (ancestor->inherits("QAbstractScrollArea") || ancestor->inherits("QComboBox")
            || ancestor->inherits("QAbstractSpinBox") || ancestor->inherits("QAbstractButton")
            || ancestor->inherits("QLineEdit"))
            return false;
    }
    return true;
}

void TfrmZZI010::SetSearchMode(bool search)
{
    const QList<QWidget *> widgets = findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (takesPartInModes(widget))
            widget->setEnabled(isWorkSide(widget) ? !search : search);
    }
    m_searchMode = search;
    if (search && isVisible())
        focusFirstSearchControl();
    bbtClose->setEnabled(true);
    panMain->setEnabled(true);
    panButtons->setEnabled(true);
}

void TfrmZZI010::focusFirstSearchControl()
{
    // What one Tab from panSearch reaches: the first control of the search area.
    for (QWidget *next = panSearch->nextInFocusChain(); next && next != panSearch;
         next = next->nextInFocusChain()) {
        if (!panSearch->isAncestorOf(next))
            continue;
        if (next->isEnabled() && next->isVisibleTo(this) && (next->focusPolicy() & Qt::TabFocus)) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    panSearch->setFocus();
}

void TfrmZZI010::EnterEditMode()
{
    SetSearchMode(false);
    panMain->setFocus();
}

void TfrmZZI010::bbtSearchClick()
{
    ButtonGuard(bbtSearch);
    CheckSearchCriteria();
    EnterEditMode();
    LoadData();
}

void TfrmZZI010::bbtSaveClick()
{
    ButtonGuard(bbtSave);
    // A check that stops while the edits settle has no text: its box ends after "에러내용:".
    ReportFailure([this] { SettleEdits(); });
    CheckSaveData();
    ReportFailure([this] { SaveData(); });
}

void TfrmZZI010::SaveData()
{
    if (!HasPendingChanges()) {
        ShowStatusMessage(MessageText::nothingChanged());
        return;
    }
    RunSaveTransaction([this] { WriteChanges(); });
    m_changed = false;
    AfterSave();
}

void TfrmZZI010::AfterSave()
{
    ShowStatusMessage(MessageText::saved());
}

void TfrmZZI010::SearchAgainAfterSave()
{
    SetSearchMode(true);
    DiscardChanges();
    bbtSearchClick();
    ShowStatusMessage(MessageText::saved());
}

void TfrmZZI010::ReportFailure(const std::function<void()> &work, const QString &failureText)
{
    ++m_reportDepth;
    const auto leave = qScopeGuard([this] {
        if (--m_reportDepth == 0)
            m_failureReported = false;
    });
    try {
        work();
    } catch (...) {
        if (!m_failureReported) {
            m_failureReported = true;
            ShowErrorMessage((failureText.isNull() ? MessageText::saveFailed() : failureText)
                             + FailureText(std::current_exception()));
        }
        throw;
    }
}

void TfrmZZI010::RunSaveTransaction(const std::function<void()> &work, const QString &failureText)
{
    const WaitCursor wait;
    ReportFailure(
            [&] {
                QSqlDatabase db = database();
                if (!db.isOpen() && !db.open())
                    throw DbError::fromSqlError(db.lastError());
                Transaction::run(db, work);
            },
            failureText);
}

void TfrmZZI010::bbtCancelClick()
{
    ButtonGuard(bbtCancel);
    SettleEdits();
    if (HasPendingChanges() && !AskYesNo(MessageText::cancelQuestion()))
        Abort();
    SetSearchMode(true);
    DiscardChanges();
}

void TfrmZZI010::bbtCloseClick()
{
    ButtonGuard(bbtClose);
    ConfirmClose();
    m_closeConfirmed = true;
    const auto reset = qScopeGuard([this] { m_closeConfirmed = false; });
    TfrmZZI000::bbtCloseClick();
}

void TfrmZZI010::ConfirmClose()
{
    SettleEdits();
    ConfirmCloseWithChanges(HasPendingChanges(), [this] {
        bbtSaveClick(); // an incomplete save raises
        return true;
    });
}

bool TfrmZZI010::FormCloseQuery()
{
    if (!m_closeConfirmed)
        ConfirmClose();
    return TfrmZZI000::FormCloseQuery();
}
