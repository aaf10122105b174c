#pragma once

#include "ZZI000.h"
#include "searcharea.h"

/// The edit screen: a search area `panSearch` on top with `bbtSearch`, save and
/// cancel on the bar, and two modes. In search mode only the search area (and
/// close) can be used; a successful search enters edit mode, where the work
/// area and every bar button can be used and the search area is locked; cancel
/// returns to search mode.
///
/// The handlers carry the whole save/cancel/close protocol; a derived screen
/// fills in the hooks:
///
/// - CheckSearchCriteria(): check the search fields (status message or error
///   box, then Abort()); runs after the button guard, before edit mode.
/// - LoadData(): load the work area after the switch to edit mode.
/// - SettleEdits(): finish what is being edited before save, cancel and close.
/// - HasPendingChanges(): unsaved changes exist (default: the change flag, setChanged()).
/// - CheckSaveData(): the checks of a save that carry their own message (a
///   status message or an error box, then Abort()); the save stops quietly,
///   without the save's error box. Runs after SettleEdits(), before SaveData().
/// - SaveData(): the save itself (default: "변경된 자료가 없습니다." when nothing
///   changed, else WriteChanges() in one transaction (RunSaveTransaction()), the
///   flag cleared and AfterSave()). Any failure in it, a SilentAbort included,
///   is shown in the save's error box and raised again.
/// - WriteChanges(): the screen's own statements of a save (inside the transaction).
/// - AfterSave(): what a successful save of SaveData() ends with (default: the
///   status message "자료를 정상적으로 저장했습니다.").
/// - DiscardChanges(): forget the changes after cancel (default: clears the flag).
class TfrmZZI010 : public TfrmZZI000, public SearchArea
{
    Q_OBJECT

public:
    explicit TfrmZZI010(QWidget *parent = nullptr);

    /// Button guard, CheckSearchCriteria(), EnterEditMode(), LoadData().
    virtual void bbtSearchClick();
    /// Button guard; SettleEdits(), CheckSaveData(), SaveData(). A failure of
    /// SettleEdits() or SaveData() shows "자료를 저장하지 못했습니다.\r\r에러내용:\r"
    /// with its text (once) and is raised again; CheckSaveData() stops quietly.
    virtual void bbtSaveClick();
    /// Button guard, SettleEdits(), the question when changes are pending (No
    /// stops), search mode, DiscardChanges().
    virtual void bbtCancelClick();
    /// Button guard, ConfirmClose(), then the base close.
    void bbtCloseClick() override;
    /// SettleEdits(); with pending changes asks whether to save them: Yes saves
    /// (a failed save stops the close: Abort()), No loses them.
    void ConfirmClose();

    /// Enables the search side or the work side; see isWorkSide().
    void SetSearchMode(bool search);
    /// Edit mode, focus on panMain.
    void EnterEditMode();
    bool isSearchMode() const { return m_searchMode; }
    /// A control is on the work side when its parent is panButtons or panMain
    /// is among its six nearest ancestors.
    bool isWorkSide(const QWidget *control) const;

    /// The change flag of screens without a client data set.
    void setChanged(bool changed) { m_changed = changed; }
    bool isChanged() const { return m_changed; }

    QPushButton *bbtSave = nullptr;
    QPushButton *bbtCancel = nullptr;
    QAction *popHotkeySave = nullptr;
    QAction *popHotkeyCancel = nullptr;

protected:
    /// Base creation, then search mode.
    void FormCreate() override;
    /// A close that did not come through the close button (F12, the main window
    /// closing) asks about unsaved changes as the button does.
    bool FormCloseQuery() override;

    virtual void CheckSearchCriteria() {}
    virtual void LoadData() {}
    virtual void SettleEdits() {}
    virtual bool HasPendingChanges() { return m_changed; }
    virtual void CheckSaveData() {}
    virtual void SaveData();
    virtual void WriteChanges() {}
    virtual void AfterSave();
    virtual void DiscardChanges() { m_changed = false; }

    /// An AfterSave() that shows what the database now holds: search mode, the
    /// changes forgotten (DiscardChanges()), the same search run again, and
    /// "자료를 정상적으로 저장했습니다.".
    void SearchAgainAfterSave();

    /// The one place of a writing transaction: runs `work` in one transaction
    /// on database() (opened first when closed; started unless one is active,
    /// committed, rolled back on any failure); a failure is shown once in an
    /// error box, `failureText` followed by its text, and raised again.
    void RunSaveTransaction(const std::function<void()> &work,
                            const QString &failureText = QString());
    /// Runs `work`; a failure (a SilentAbort included) is shown once in an error
    /// box, `failureText` followed by its text, and raised again. Nested calls
    /// show one box, the innermost.
    void ReportFailure(const std::function<void()> &work, const QString &failureText = QString());

private:
    bool takesPartInModes(const QWidget *widget) const;
    void focusFirstSearchControl();

    bool m_searchMode = true;
    bool m_changed = false;
    bool m_closeConfirmed = false;
    int m_reportDepth = 0;
    bool m_failureReported = false;
};
