#pragma once

#include "screenframe.h"

#include <QDialog>

class QAction;
class QPushButton;

/// The lookup dialog frame: a modal window with the work area `panMain`, the
/// button bar `panButtons` with `bbtOK` (F10, the default button) and
/// `bbtClose` (F12, Escape), centred on the main window (or on the owner given).
/// The frame, the focus colours and the hot keys (while the dialog is active)
/// are the program screens' (ScreenFrame).
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
class TfrmZZH000 : public QDialog, public ScreenFrame
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

    /// The main window of the application, or nullptr.
    static QWidget *mainWindow();

    QPushButton *bbtOK = nullptr;
    QPushButton *bbtClose = nullptr;
    QAction *popHotkeyOK = nullptr;
    QAction *popHotkeyClose = nullptr;

protected:
    /// Set-up after construction; derived dialogs call the base first.
    virtual void FormCreate() {}

    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    bool m_created = false;
};
