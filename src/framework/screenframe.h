#pragma once

#include <functional>
#include <memory>
#include <QColor>
#include <QList>
#include <QString>
#include <Qt>

class QAbstractButton;
class QAction;
class QFrame;
class QHBoxLayout;
class QKeySequence;
class QLabel;
class QMenu;
class QObject;
class QPushButton;
class QStatusBar;
class QVBoxLayout;
class QWidget;

/// The frame the program screens and the lookup dialogs are built in, a base
/// of both windows: the 12-pixel 굴림 font, the work area `panMain`, the button
/// bar `panButtons` (bevel `bvlButtons`, a row of left-hand buttons, a stretch,
/// right-hand buttons), the hidden hot-key menu `popHotkey`, on request the
/// status bar `stbMessage` whose panel 1 is the message panel, and the focus
/// colours of entry controls. The frame does the building and the checks both
/// windows share.
class ScreenFrame
{
    // They put their parts into the frame.
    friend class RecordNavigation;
    friend class RowButtons;
    friend class SearchArea;

public:
    /// Builds the frame into `window` (which has no layout yet); the hot keys
    /// work within `hotkeyContext` of the window.
    ScreenFrame(QWidget *window, Qt::ShortcutContext hotkeyContext);
    virtual ~ScreenFrame();

    ScreenFrame(const ScreenFrame &) = delete;
    ScreenFrame &operator=(const ScreenFrame &) = delete;

    /// Shows a text in the message panel (repainted at once) when it differs;
    /// empty text clears it. Nothing without a status bar.
    void ShowStatusMessage(const QString &text);
    QString statusMessage() const;
    /// Status bar panel 0 …; nullptr outside the range.
    QLabel *statusPanel(int index) const;

    /// Focus colours of an entry control, by its kind.
    void edtEnter(QWidget *control);
    void edtExit(QWidget *control);
    /// Runs edtEnter/edtExit whenever one of the controls gains or loses the focus.
    void attachFocusColours(const QList<QWidget *> &controls);

    QWidget *panMain = nullptr;
    QWidget *panButtons = nullptr;
    QFrame *bvlButtons = nullptr;
    QMenu *popHotkey = nullptr;
    QStatusBar *stbMessage = nullptr;

protected:
    /// The outer layout: panMain, panButtons, then the status bar when added.
    QVBoxLayout *rootLayout() const { return m_rootLayout; }
    /// The layout of panMain.
    QVBoxLayout *mainLayout() const { return m_mainLayout; }
    /// The row of panButtons: left-hand buttons, a stretch, right-hand buttons.
    QHBoxLayout *buttonLayout() const { return m_buttonLayout; }

    /// An 80 × 25 button with its authority tag, never the default on Enter.
    QPushButton *createButton(const QString &objectName, const QString &caption, int tag) const;
    /// Puts a button at the right end of the bar.
    void addBarButton(QWidget *button);
    /// Puts a button into the bar just left of `before` (at the right end when
    /// `before` is not in the bar).
    void insertBarButton(QWidget *button, QWidget *before);
    /// Puts a button at the left end of the bar, after the left-hand buttons already there.
    void addLeftBarButton(QWidget *button);
    /// The comment `lblComment` at the left end of the bar, after the left-hand
    /// buttons; in `colour` when one is given.
    QLabel *addBarComment(const QString &text, const QColor &colour = QColor());
    /// Runs the handler through the user-action guard on every click.
    void connectClick(QAbstractButton *button, const std::function<void()> &handler) const;
    /// A hidden item of popHotkey whose shortcut runs the handler through the
    /// user-action guard.
    QAction *addHotkey(const QString &objectName,
                       const QKeySequence &key,
                       const std::function<void()> &handler) const;
    /// The check every button handler starts with: a button hidden in the
    /// window or disabled is not there for the user.
    bool isUsable(const QAbstractButton *button) const;

    /// Adds the status bar `stbMessage` at the bottom, with one sunken panel
    /// (stbMessagePanel0 …) per alignment; `stretchingPanel` takes the room left.
    void addStatusBar(const QList<Qt::Alignment> &alignments, int stretchingPanel = -1);

private:
    QWidget *m_window = nullptr;
    Qt::ShortcutContext m_hotkeyContext;
    QVBoxLayout *m_rootLayout = nullptr;
    QVBoxLayout *m_mainLayout = nullptr;
    QHBoxLayout *m_buttonLayout = nullptr;
    int m_leftButtons = 0;
    QList<QLabel *> m_panels;
    // Filters the focus of the coloured controls. It dies with the frame,
    // before the window's controls: Qt forgets a filter that is gone.
    std::unique_ptr<QObject> m_focusFilter;
};
