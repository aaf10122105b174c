#pragma once

#include <functional>
#include <memory>
#include <QDialog>
#include <QSet>

class QAbstractButton;
class QAction;
class QFrame;
class QHBoxLayout;
class QMenu;
class QPushButton;
class QVBoxLayout;
class ScreenFrame;

/// The lookup dialog frame: a modal window with the work area `panMain`, the
/// button bar `panButtons` with `bbtOK` (F10, the default button) and
/// `bbtClose` (F12, Escape), centred on the main window (or on the owner given).
///
/// The caller pattern (one routine per concrete dialog):
///
///     void ShowUserHelp(QString &name, QString &empNo)
///     {
///         empNo.clear();                       // outputs emptied first
///         TfrmZAH010 dialog;                   // freed in every case
///         dialog.edtEmpName->setText(name);    // optional presets
///         if (dialog.showModal()) {            // filled only on OK
///             empNo = dialog.chosenCode();
///             name = dialog.chosenName();
///         }
///     }
class TfrmZZH000 : public QDialog
{
    Q_OBJECT

public:
    /// Without an owner the dialog belongs to the application's main window.
    explicit TfrmZZH000(QWidget *owner = nullptr);
    ~TfrmZZH000() override;

    /// Runs FormCreate() unless it has run.
    void ensureCreated();
    /// Shows the dialog modally; true when it closed with OK.
    bool showModal();
    /// The object name without its first three characters (frmZAH010 → ZAH010).
    QString programId() const;

    /// Visible and enabled: ends the dialog with OK; otherwise a silent abort.
    virtual void bbtOKClick();
    /// Visible and enabled: ends the dialog with Cancel; otherwise a silent abort.
    virtual void bbtCloseClick();

    /// Focus colours of an entry control (as on the screens).
    void edtEnter(QWidget *control);
    void edtExit(QWidget *control);
    /// Runs edtEnter/edtExit whenever one of the controls gains or loses the focus.
    void attachFocusColours(const QList<QWidget *> &controls);

    /// The main window of the application, or nullptr.
    static QWidget *mainWindow();

    QWidget *panMain = nullptr;
    QWidget *panButtons = nullptr;
    QFrame *bvlButtons = nullptr;
    QPushButton *bbtOK = nullptr;
    QPushButton *bbtClose = nullptr;
    QMenu *popHotkey = nullptr;
    QAction *popHotkeyOK = nullptr;
    QAction *popHotkeyClose = nullptr;

protected:
    /// Set-up after construction; derived dialogs call the base first.
    virtual void FormCreate() {}

    /// A hidden item of popHotkey whose shortcut works while the dialog is active.
    QAction *addHotkey(const QString &objectName,
                       const QKeySequence &key,
                       const std::function<void()> &handler);
    /// Runs the handler through the user-action guard on every click.
    void connectClick(QAbstractButton *button, const std::function<void()> &handler);
    /// An 80 × 25 button with its authority tag.
    QPushButton *createButton(const QString &objectName, const QString &caption, int tag);
    /// The outer layout: panMain, panButtons (derived dialogs add rows).
    QVBoxLayout *rootLayout() const;
    /// The layout of panMain.
    QVBoxLayout *mainLayout() const;
    /// The row of panButtons: left-hand buttons, a stretch, bbtOK, bbtClose.
    QHBoxLayout *buttonLayout() const;
    /// Puts a button at the left end of the bar, after the left-hand buttons already there.
    void addLeftBarButton(QWidget *button);
    /// The frame shared with the program screens (a dialog with a status bar adds it there).
    ScreenFrame &frame() const { return *m_frame; }

    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<ScreenFrame> m_frame;
    QSet<QWidget *> m_coloured;
    bool m_created = false;
};
