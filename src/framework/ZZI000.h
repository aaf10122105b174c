#pragma once

#include <QHash>

#include <functional>

#include "screenconnection.h"
#include "screenframe.h"

#include <QWidget>

class QLayout;
class QPushButton;

/// The base screen every program screen derives from: the work area
/// `panMain`, the button bar `panButtons` with `bbtClose`, the four-panel status
/// bar `stbMessage` (program ID, message, user, affiliation), the hot keys of
/// `popHotkey` (while the focus is in the screen), the focus colours and the
/// close protocol with the host. The frame is the lookup dialogs' too
/// (ScreenFrame), and so is the connection (ScreenConnection).
///
/// A derived screen builds its widgets in its constructor (into panMain,
/// panButtons and, on edit screens, panSearch) and does the rest of its set-up
/// in FormCreate(), calling the base FormCreate() first. FormCreate() runs once,
/// through the user-action guard: call ensureCreated() after construction, or
/// it runs when the screen is first shown. A creation that fails (any error, a
/// SilentAbort included) leaves a disabled screen that the host must not show.
///
/// Handlers (`bbtCloseClick` …) are virtual: a derived handler calls the base
/// handler first; a base handler that aborts stops the derived one too. Every
/// button and hot key reaches its handler through RunUserAction().
class TfrmZZI000 : public QWidget, public ScreenFrame, public ScreenConnection
{
    Q_OBJECT

public:
    explicit TfrmZZI000(QWidget *parent = nullptr);
    ~TfrmZZI000() override;

    /// Runs FormCreate() unless it has run. False when the creation failed: its
    /// error box has shown, the screen is disabled and must not be shown.
    bool ensureCreated();
    /// True when FormCreate() ran and failed.
    bool creationFailed() const { return m_created && m_failed; }

    /// The object name without its first three characters (frmZAI010 → ZAI010).
    QString programId() const;
    /// True when the screen is a window of its own rather than embedded in a tab.
    bool hasBorder() const { return isWindow(); }

    /// Asks the host to open (or activate) a program's tab.
    void RequestOpenProgram(const QString &caption, const QString &programId);

    /// The INI file of the program (program directory, program file's base name + ".ini").
    static QString programIniPath();

    QPushButton *bbtClose = nullptr;

    /// Close button: asks the host to close the tab (or closes the window).
    virtual void bbtCloseClick();

protected:
    /// Set-up after construction: status panels, affiliation, layout of the status bar.
    virtual void FormCreate();
    /// Lays out the status bar panels; runs on every resize.
    virtual void FormResize();
    /// True allows the close. An embedded screen refuses and asks the host to
    /// remove its tab: nothing of the screen may be used after that call.
    virtual bool FormCloseQuery();
    /// The close was allowed: the screen is freed.
    virtual void FormClose();
    /// The question a screen with unsaved changes asks before it closes:
    /// "변경된 자료가 있습니다.\r변경된 자료를 저장하시겠습니까?". Yes runs
    /// `save`; a save that does not complete (false, or an error it has shown)
    /// stops the close silently and the screen stays with its changes. No
    /// closes, and the changes are lost. Nothing is asked without changes.
    void ConfirmCloseWithChanges(bool changed, const std::function<bool()> &save);
    /// Closes the screen's statements (part of the close query).
    virtual void CloseStatements();
    /// Runs once, through the user-action guard, when the screen is first shown
    /// (after FormCreate()). Qt's show event comes again on every tab switch:
    /// work that must happen once when the screen appears belongs here.
    virtual void FormFirstShow() {}

    /// First step of every button handler: clears the status message and stops
    /// the action when the button is hidden or disabled, silently unless a
    /// refusal text was set for that button.
    void ButtonGuard(QAbstractButton *button);
    /// The status text a refused click of `button` shows (a screen locked for
    /// the user says so on F3); empty text: refused silently.
    void setRefusalText(const QAbstractButton *button, const QString &text);

    /// Puts a derived screen's parts into panMain, in order.
    void addToMain(QWidget *widget, int stretch = 0);
    void addToMain(QLayout *layout, int stretch = 0);
    /// Where addToMain() inserts next (derived base screens keep their own parts below).
    void setMainInsertIndex(int index) { m_mainInsert = index; }
    /// Tab goes through these bar buttons in this order (a derived screen that
    /// adds bar buttons names the whole row again). Set again when the screen is
    /// created, after every constructor has added its controls.
    void setTabChain(const QList<QWidget *> &widgets);

    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void readAffiliation();

    int m_mainInsert = 0;
    QLabel *m_panels[4] = {};
    QList<QWidget *> m_tabChain;
    QHash<const QAbstractButton *, QString> m_refusals;
    bool m_created = false;
    bool m_failed = false;
};
