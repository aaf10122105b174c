#pragma once

#include <functional>
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
class QPushButton;
class QStatusBar;
class QVBoxLayout;
class QWidget;

/// The frame the program screens and the lookup dialogs are built in: the
/// 12-pixel 굴림 font, the work area `panMain`, the button bar `panButtons`
/// (bevel `bvlButtons`, a row of left-hand buttons, a stretch, right-hand
/// buttons), the hidden hot-key menu `popHotkey`, and on request the status bar
/// `stbMessage` whose panel 1 is the message panel. The window keeps the
/// pointers it publishes; the frame does the building and the shared checks.
class ScreenFrame
{
public:
    /// Builds the frame into `window` (which has no layout yet).
    explicit ScreenFrame(QWidget *window);

    QWidget *panMain = nullptr;
    QWidget *panButtons = nullptr;
    QFrame *bvlButtons = nullptr;
    QMenu *popHotkey = nullptr;
    QStatusBar *stbMessage = nullptr;

    /// The outer layout: panMain, panButtons, then the status bar when added.
    QVBoxLayout *rootLayout() const { return m_rootLayout; }
    QVBoxLayout *mainLayout() const { return m_mainLayout; }
    QHBoxLayout *buttonLayout() const { return m_buttonLayout; }

    /// An 80 × 25 button with its authority tag, never the default on Enter.
    QPushButton *createButton(const QString &objectName, const QString &caption, int tag) const;
    /// Puts a button at the right end of the bar.
    void addBarButton(QWidget *button);
    /// Puts a button at the left end of the bar, after the left-hand buttons already there.
    void addLeftBarButton(QWidget *button);
    /// Runs the handler through the user-action guard on every click.
    void connectClick(QAbstractButton *button, const std::function<void()> &handler) const;
    /// A hidden item of popHotkey whose shortcut runs the handler through the
    /// user-action guard; it works within `context` of the window.
    QAction *addHotkey(const QString &objectName,
                       const QKeySequence &key,
                       Qt::ShortcutContext context,
                       const std::function<void()> &handler) const;
    /// The check every button handler starts with: a button hidden in the
    /// window or disabled is not there for the user.
    bool isUsable(const QAbstractButton *button) const;

    /// Adds the status bar `stbMessage` at the bottom, with one sunken panel
    /// (stbMessagePanel0 …) per alignment; `stretchingPanel` takes the room left.
    void addStatusBar(const QList<Qt::Alignment> &alignments, int stretchingPanel = -1);
    /// Status bar panel 0 …; nullptr outside the range.
    QLabel *statusPanel(int index) const;
    /// Shows a text in the message panel (repainted at once) when it differs.
    void showStatusMessage(const QString &text);
    QString statusMessage() const;

private:
    QWidget *m_window = nullptr;
    QVBoxLayout *m_rootLayout = nullptr;
    QVBoxLayout *m_mainLayout = nullptr;
    QHBoxLayout *m_buttonLayout = nullptr;
    int m_leftButtons = 0;
    QList<QLabel *> m_panels;
};
