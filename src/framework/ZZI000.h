#pragma once

#include <functional>
#include <memory>
#include <QSqlDatabase>
#include <QWidget>

class QAbstractButton;
class QAction;
class QBoxLayout;
class QFrame;
class QHBoxLayout;
class QLabel;
class QLayout;
class QMenu;
class QPushButton;
class QStatusBar;
class QVBoxLayout;
class ScreenFrame;
class SqlStatement;

/// The base screen every program screen derives from: the work area
/// `panMain`, the button bar `panButtons` with `bbtClose`, the four-panel status
/// bar `stbMessage` (program ID, message, user, affiliation), the hot keys of
/// `popHotkey`, the focus colours and the close protocol with the host.
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
class TfrmZZI000 : public QWidget
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

    /// The connection of the screen (the program's one connection unless set).
    QSqlDatabase database() const;
    void setDatabase(const QSqlDatabase &db);
    /// General-purpose statement on database().
    SqlStatement &qryQuery();

    /// Shows a text in the message panel; empty text clears it.
    void ShowStatusMessage(const QString &text);
    QString statusMessage() const;
    /// Status bar panel 0 … 3.
    QLabel *statusPanel(int index) const;

    /// Asks the host to open (or activate) a program's tab.
    void RequestOpenProgram(const QString &caption, const QString &programId);

    /// Focus colours of an entry control, by its kind.
    void edtEnter(QWidget *control);
    void edtExit(QWidget *control);
    /// Runs edtEnter/edtExit whenever one of the controls gains or loses the focus.
    void attachFocusColours(const QList<QWidget *> &controls);

    /// The INI file of the program (program directory, program file's base name + ".ini").
    static QString programIniPath();

    // Components.
    QWidget *panMain = nullptr;
    QWidget *panButtons = nullptr;
    QFrame *bvlButtons = nullptr;
    QPushButton *bbtClose = nullptr;
    QStatusBar *stbMessage = nullptr;
    QMenu *popHotkey = nullptr;

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
    /// Closes the screen's statements (part of the close query).
    virtual void CloseStatements();
    /// Runs once, through the user-action guard, when the screen is first shown
    /// (after FormCreate()). Qt's show event comes again on every tab switch:
    /// work that must happen once when the screen appears belongs here.
    virtual void FormFirstShow() {}

    /// First step of every button handler: clears the status message and stops
    /// the action silently when the button is hidden or disabled.
    void ButtonGuard(QAbstractButton *button);

    /// A hidden item of popHotkey whose shortcut works while the focus is in the screen.
    QAction *addHotkey(const QString &objectName,
                       const QKeySequence &key,
                       const std::function<void()> &handler);
    /// Runs the handler through the user-action guard on every click.
    void connectClick(QAbstractButton *button, const std::function<void()> &handler);
    /// An 80 × 25 action button with its authority tag.
    QPushButton *createButton(const QString &objectName, const QString &caption, int tag);

    /// The layout of panMain; addToMain() puts a derived screen's parts in order.
    QVBoxLayout *mainLayout() const;
    void addToMain(QWidget *widget, int stretch = 0);
    void addToMain(QLayout *layout, int stretch = 0);
    /// Where addToMain() inserts next (derived base screens keep their own parts below).
    void setMainInsertIndex(int index) { m_mainInsert = index; }
    /// The outer layout: panMain, panButtons, stbMessage (edit screens put panSearch on top).
    QVBoxLayout *rootLayout() const;
    /// The row of panButtons: left-hand buttons, a stretch, right-hand buttons, bbtClose.
    QHBoxLayout *buttonLayout() const;
    /// Puts a button into the bar just left of `before` (right-hand group).
    void insertBarButton(QWidget *button, QWidget *before);
    /// Puts a button at the left end of the bar, after the left-hand buttons already there.
    void addLeftBarButton(QWidget *button);
    /// Tab goes through these bar buttons in this order (a derived screen that
    /// adds bar buttons names the whole row again). Set again when the screen is
    /// created, after every constructor has added its controls.
    void setTabChain(const QList<QWidget *> &widgets);

    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void readAffiliation();

    std::unique_ptr<ScreenFrame> m_frame;
    int m_mainInsert = 0;
    QLabel *m_panels[4] = {};
    QList<QWidget *> m_tabChain;
    QSqlDatabase m_db;
    std::unique_ptr<SqlStatement> m_query;
    bool m_created = false;
    bool m_failed = false;
};
