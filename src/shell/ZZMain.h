#pragma once

#include <QHash>
#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <QSqlDatabase>

#include "framework/screenhost.h"

class QAction;
class QLabel;
class QMenu;
class QTabWidget;

/// The main window: the menu bar built from the authority tables, one tab per
/// open program with its entry in the Window menu, the host of the embedded
/// screens. The program catalogue is left to a derived class (CreateProgramScreen).
class TfrmZZMain : public QMainWindow, public ScreenHost
{
    Q_OBJECT

public:
    /// Builds the window for the employee of the login values on an open
    /// database. The project ID (default: the program file's base name in upper
    /// case) chooses the menus.
    TfrmZZMain(const QString &caption,
               const QSqlDatabase &db,
               const QString &projectId = QString(),
               QWidget *parent = nullptr);
    ~TfrmZZMain() override;

    /// False when the database was not open at creation: the window must not be shown.
    bool showOnStart() const { return m_showOnStart; }
    int programCount() const { return m_programCount; }
    QString projectId() const { return m_projectId; }

    bool OpenProgram(const QString &caption, const QString &programId);
    void MenuProgramClick(QAction *item);
    void RemoveActiveTab();
    /// Asks the screen of the active tab to close (F12).
    void mmuMenuWindowCloseClick();

    // ScreenHost
    void closeActiveTab() override;
    bool openProgram(const QString &caption, const QString &programId) override;

    /// Number of open programs and the program ID and screen of one tab.
    int tabCount() const;
    QString tabProgramId(int index) const;
    QWidget *tabScreen(int index) const;
    /// The Window-menu entries of the open programs, in tab order.
    QList<QAction *> windowEntries() const;
    const QIcon &menuImage(int index) const { return imlMenuImages[index]; }

    QMenuBar *mmuMenu = nullptr;
    QMenu *mmuMenuWindow = nullptr;
    QAction *mmuMenuWindowClose = nullptr;
    QWidget *panTabs = nullptr;
    QTabWidget *pgcTabs = nullptr;
    /// The line of an employee without any program in this module.
    QLabel *lblNoPrograms = nullptr;
    QIcon imlMenuImages[2];

    static QString programProjectId();
    /// The caption up to the first "(&" (a menu accelerator in parentheses).
    static QString cutCaption(const QString &caption);

protected:
    /// The screen of a program ID, embedded with EmbedScreen; nullptr when the
    /// program has no screen.
    virtual QWidget *CreateProgramScreen(const QString &programId);
    QWidget *EmbedScreen(QWidget *screen);

    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate(const QString &caption);
    void ReadProgramCount();
    void BuildProgramMenu();
    void FormResize();
    void markTabs();
    /// True when the employee holds the program by the menu bar's own decision;
    /// otherwise (or when that cannot be read) a box naming it, and false.
    bool mayOpen(const QString &caption, const QString &programId);
    void buildFrame();
    QWidget *lastPage() const;

    QSqlDatabase m_db;
    QHash<QWidget *, QPointer<QWidget>> m_tags; // tab page → embedded screen
    QString m_projectId;
    int m_programCount = 10;
    bool m_showOnStart = false;
};
