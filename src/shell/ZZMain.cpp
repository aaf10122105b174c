#include "ZZMain.h"

#include "fontmapping.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

#include "common/commonroutines.h"
#include "common/loginvalues.h"
#include "common/messageservice.h"
#include "common/silentabort.h"
#include "db/authority.h"
#include "db/dberror.h"
#include "framework/ZZI000.h"
#include "platform/inifile.h"
#include "platform/launcherlink.h"
#include "platform/programdir.h"

namespace {

const char kHint[] = "hint";

// Image 0 marks an inactive tab or Window-menu entry, image 1 the active one.
QIcon drawMark(bool active)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (active) {
        painter.setPen(QPen(QColor(0x1E, 0x5A, 0x1E), 1));
        painter.setBrush(QColor(0x3C, 0xB4, 0x3C));
        const QPointF arrow[3] = {{4.5, 2.5}, {13.5, 8.0}, {4.5, 13.5}};
        painter.drawPolygon(arrow, 3);
    } else {
        painter.setPen(QPen(QColor(0x70, 0x70, 0x70), 1));
        painter.setBrush(QColor(0xD8, 0xD8, 0xD8));
        painter.drawEllipse(QRectF(4.5, 4.5, 7, 7));
    }
    return QIcon(pixmap);
}

// The first control the Tab key reaches in a screen: the first of its focus
// chain (the tab order the screen set) that takes the focus by Tab, the work
// area before the button bar (whose close button the base screen makes first).
QWidget *firstTabStop(QWidget *screen)
{
    const auto *base = qobject_cast<TfrmZZI000 *>(screen);
    const QWidget *buttons = base ? base->panButtons : nullptr;
    QWidget *firstButton = nullptr;
    for (QWidget *w = screen->nextInFocusChain(); w && w != screen; w = w->nextInFocusChain()) {
        if (!screen->isAncestorOf(w) || !(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled()
            || !w->isVisibleTo(screen) || w->focusProxy())
            continue;
        if (!buttons || !buttons->isAncestorOf(w))
            return w;
        if (!firstButton)
            firstButton = w;
    }
    return firstButton;
}

} // namespace

TfrmZZMain::TfrmZZMain(const QString &caption,
                       const QSqlDatabase &db,
                       const QString &projectId,
                       QWidget *parent)
    : QMainWindow(parent)
    , m_db(db)
    , m_projectId(projectId.isEmpty() ? programProjectId() : projectId)
{
    buildFrame();
    FormCreate(caption);
    ScreenHost::setCurrent(this);
}

TfrmZZMain::~TfrmZZMain()
{
    // FormDestroy: the open-request list lives as long as the main window.
    login().openRequests.clear();
    if (ScreenHost::current() == this)
        ScreenHost::setCurrent(nullptr);
}

QString TfrmZZMain::programProjectId()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toUpper();
}

QString TfrmZZMain::cutCaption(const QString &caption)
{
    return CutAccessKey(caption);
}

void TfrmZZMain::buildFrame()
{
    setObjectName(QStringLiteral("frmZ0Main"));
    setMinimumSize(1024, 746);
    QFont mainFont = FontMapping::font(QStringLiteral("굴림체"));
    mainFont.setPixelSize(12);
    setFont(mainFont);

    imlMenuImages[0] = drawMark(false);
    imlMenuImages[1] = drawMark(true);

    mmuMenu = menuBar();
    mmuMenu->setObjectName(QStringLiteral("mmuMenu"));
    mmuMenuWindow = mmuMenu->addMenu(QStringLiteral("창(&W)"));
    mmuMenuWindow->setObjectName(QStringLiteral("mmuMenuWindow"));
    mmuMenuWindow->menuAction()->setObjectName(QStringLiteral("mmuMenuWindowItem"));
    mmuMenuWindowClose = mmuMenuWindow->addAction(QStringLiteral("종료"));
    mmuMenuWindowClose->setObjectName(QStringLiteral("mmuMenuWindowClose"));
    mmuMenuWindowClose->setShortcut(Qt::Key_F12);
    mmuMenuWindowClose->setVisible(false);
    // With no program open the menu has no visible entry. A popup of no size is
    // never mapped by X11, and Qt then never maps the menu again for the
    // session: one pixel keeps it a real (and all but invisible) window.
    mmuMenuWindow->setMinimumSize(1, 1);
    connect(mmuMenuWindowClose, &QAction::triggered, this, &TfrmZZMain::mmuMenuWindowCloseClick);
    // A hidden action's shortcut does not fire in Qt; the window-wide shortcut
    // below stands in for it, anywhere in the window including the screens.
    auto *f12 = new QShortcut(QKeySequence(Qt::Key_F12), this);
    f12->setObjectName(QStringLiteral("scMenuWindowClose"));
    f12->setContext(Qt::WindowShortcut);
    connect(f12, &QShortcut::activated, this, &TfrmZZMain::mmuMenuWindowCloseClick);

    panTabs = new QWidget(this);
    panTabs->setObjectName(QStringLiteral("panTabs"));
    panTabs->setAutoFillBackground(true);
    QPalette workspace = panTabs->palette();
    workspace.setColor(QPalette::Window, QColor(0xAB, 0xAB, 0xAB));
    panTabs->setPalette(workspace);
    auto *layout = new QVBoxLayout(panTabs);
    layout->setContentsMargins(0, 0, 0, 0);
    pgcTabs = new QTabWidget(panTabs);
    pgcTabs->setObjectName(QStringLiteral("pgcTabs"));
    pgcTabs->setAutoFillBackground(true);
    // The workspace colour is the empty panel's only; screens keep the usual face colour.
    QPalette face = pgcTabs->palette();
    face.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    pgcTabs->setPalette(face);
    pgcTabs->setDocumentMode(true);
    pgcTabs->setIconSize(QSize(16, 16));
    pgcTabs->hide();
    layout->addWidget(pgcTabs);
    // Says why the window stays empty when the user holds no program here.
    lblNoPrograms = new QLabel(
            QStringLiteral("이 사용자에게 허용된 프로그램이 없습니다. 관리자에게 문의하십시오."),
            panTabs);
    lblNoPrograms->setObjectName(QStringLiteral("lblNoPrograms"));
    lblNoPrograms->setAlignment(Qt::AlignCenter);
    lblNoPrograms->hide();
    layout->addWidget(lblNoPrograms);
    setCentralWidget(panTabs);
    connect(pgcTabs, &QTabWidget::currentChanged, this, &TfrmZZMain::markTabs);
}

void TfrmZZMain::FormCreate(const QString &caption)
{
    ReadProgramCount();
    BuildProgramMenu();
    // The employee as well as the account: two employees may work at one desktop.
    QString employee = login().empName.trimmed();
    if (!login().empNo.trimmed().isEmpty())
        employee += QLatin1Char('(') + login().empNo.trimmed() + QLatin1Char(')');
    setWindowTitle(caption + QLatin1Char('(') + login().accountName + QLatin1Char(')')
                   + (employee.isEmpty() ? QString() : QStringLiteral(" - ") + employee));
    login().openRequests.clear();
}

void TfrmZZMain::ReadProgramCount()
{
    const QString dir = login().programDir.isEmpty() ? programDirectory() : login().programDir;
    m_programCount = IniFile(dir + QStringLiteral("Main.ini"))
                             .readInteger(QStringLiteral("MAIN"),
                                          QStringLiteral("PROGRAM_COUNT"),
                                          10);
}

void TfrmZZMain::BuildProgramMenu()
{
    if (!m_db.isValid() || !m_db.isOpen()) {
        m_showOnStart = false;
        return;
    }
    m_showOnStart = true;
    bool anyProgram = false;
    try {
        login().accountName = Authority::accountDisplayName(m_db, login().dbUser);
        for (const Authority::MenuPrograms &entry :
             Authority::menuBar(m_db, m_projectId, login().empNo)) {
            auto *current = new QMenu(entry.menu.menuName, mmuMenu);
            current->setObjectName(QStringLiteral("mnu") + entry.menu.menuId);
            mmuMenu->insertMenu(mmuMenuWindow->menuAction(), current);
            anyProgram = true;
            for (const Authority::ProgramRow &program : entry.programs) {
                QAction *item = current->addAction(program.programName);
                item->setObjectName(QStringLiteral("mnu") + program.programId);
                item->setData(program.programId);
                item->setStatusTip(program.programId);
                connect(item, &QAction::triggered, this, [this, item] { MenuProgramClick(item); });
            }
        }
    } catch (const DbError &e) {
        // The rule is decided before any menu is built: a failure leaves no menu.
        MessageService::instance().error(e.message());
        return;
    }
    lblNoPrograms->setVisible(!anyProgram);
}

bool TfrmZZMain::OpenProgram(const QString &caption, const QString &programId)
{
    for (int i = 0; i < pgcTabs->count(); ++i) {
        if (pgcTabs->widget(i)->property(kHint).toString() == programId) {
            pgcTabs->setCurrentIndex(i);
            markTabs();
            return false;
        }
    }
    if (!mayOpen(caption, programId))
        return false;
    if (pgcTabs->count() == m_programCount) {
        MessageService::instance().error(
                QStringLiteral("최대 %1개의 프로그램만 동시에 실행할 수 있습니다.")
                        .arg(m_programCount));
        return false;
    }

    const QString tabCaption = cutCaption(caption);
    pgcTabs->show();
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tsh") + programId);
    page->setProperty(kHint, programId);
    page->installEventFilter(this);
    const int index = pgcTabs->addTab(page, tabCaption);
    pgcTabs->setTabToolTip(index, programId);
    pgcTabs->setCurrentIndex(index);
    // Lay the pages out now so that the screen is embedded at its final size.
    if (panTabs->layout())
        panTabs->layout()->activate();

    QWidget *screen = nullptr;
    try {
        screen = CreateProgramScreen(programId);
    } catch (const SilentAbort &) {
    } catch (const DbError &e) {
        MessageService::instance().error(e.message());
    } catch (const std::exception &e) {
        MessageService::instance().error(QString::fromLocal8Bit(e.what()));
    }

    bool opened = false;
    if (!screen) {
        pgcTabs->removeTab(pgcTabs->indexOf(page));
        delete page;
        pgcTabs->setVisible(pgcTabs->count() > 0);
    } else {
        m_tags.insert(page, screen);
        QAction *entry = mmuMenuWindow->addAction(tabCaption);
        entry->setData(programId);
        entry->setStatusTip(programId);
        connect(entry, &QAction::triggered, this, [this, entry] { MenuProgramClick(entry); });
        opened = true;
    }
    markTabs();
    return opened;
}

bool TfrmZZMain::mayOpen(const QString &caption, const QString &programId)
{
    // The menu bar is one path to a program among several (a screen handing over
    // to another, a start-up request): each asks the decision the menu bar was
    // built from, read again now, and a decision that cannot be read refuses.
    const QString name = cutCaption(caption).trimmed();
    const QString named = name.isEmpty() || name == programId
                                  ? programId
                                  : name + QLatin1Char('(') + programId + QLatin1Char(')');
    try {
        if (!m_db.isValid())
            throw DbError(QStringLiteral("데이터베이스에 연결되어 있지 않습니다."));
        for (const Authority::MenuPrograms &menu :
             Authority::menuBar(m_db, m_projectId, login().empNo)) {
            for (const Authority::ProgramRow &program : menu.programs) {
                if (program.programId == programId)
                    return true;
            }
        }
        MessageService::instance().error(
                QStringLiteral("%1 프로그램을 사용할 권한이 없습니다.").arg(named));
    } catch (const DbError &e) {
        MessageService::instance().error(
                QStringLiteral("%1 프로그램의 사용 권한을 확인할 수 없어 열지 않습니다.\r\r"
                               "에러내용:\r")
                        .arg(named)
                + e.message());
    }
    return false;
}

QWidget *TfrmZZMain::CreateProgramScreen(const QString &)
{
    return nullptr;
}

QWidget *TfrmZZMain::EmbedScreen(QWidget *screen)
{
    QWidget *page = lastPage();
    if (!screen || !page)
        return screen;
    screen->setParent(page, Qt::Widget); // no border, no window of its own
    screen->move(0, 0);
    screen->resize(page->size());
    // A screen whose creation failed has shown its error and never opens.
    if (auto *base = qobject_cast<TfrmZZI000 *>(screen); base && !base->ensureCreated()) {
        delete screen;
        return nullptr;
    }
    screen->show();
    // Focus goes to the screen's first tab stop, as the Tab key would move it,
    // unless the screen has placed it itself while being shown.
    QWidget *focus = QApplication::focusWidget();
    if (!focus || !screen->isAncestorOf(focus)) {
        if (QWidget *first = firstTabStop(screen))
            first->setFocus(Qt::TabFocusReason);
        else
            screen->setFocus(Qt::TabFocusReason);
    }
    return screen;
}

QWidget *TfrmZZMain::lastPage() const
{
    return pgcTabs->count() > 0 ? pgcTabs->widget(pgcTabs->count() - 1) : nullptr;
}

void TfrmZZMain::MenuProgramClick(QAction *item)
{
    if (item)
        OpenProgram(item->text(), item->data().toString());
}

void TfrmZZMain::markTabs()
{
    const QList<QAction *> entries = windowEntries();
    for (int i = 0; i < pgcTabs->count(); ++i)
        pgcTabs->setTabIcon(i, imlMenuImages[0]);
    for (QAction *entry : entries)
        entry->setIcon(imlMenuImages[0]);
    const int active = pgcTabs->currentIndex();
    if (active < 0)
        return;
    pgcTabs->setTabIcon(active, imlMenuImages[1]);
    if (active < entries.size())
        entries.at(active)->setIcon(imlMenuImages[1]);
}

void TfrmZZMain::mmuMenuWindowCloseClick()
{
    QWidget *page = pgcTabs->currentWidget();
    if (!page)
        return;
    QPointer<QWidget> screen = m_tags.value(page);
    if (!screen)
        return;
    // The screen answers the close request through closeActiveTab(). One that
    // accepts the close without answering still loses its tab.
    const bool closed = screen->close();
    if (closed && pgcTabs->indexOf(page) >= 0 && pgcTabs->currentWidget() == page)
        RemoveActiveTab();
}

void TfrmZZMain::RemoveActiveTab()
{
    const int active = pgcTabs->currentIndex();
    if (active < 0)
        return;
    const QList<QAction *> entries = windowEntries();
    if (active < entries.size()) {
        QAction *entry = entries.at(active);
        mmuMenuWindow->removeAction(entry);
        entry->deleteLater();
    }
    QWidget *page = pgcTabs->widget(active);
    m_tags.remove(page);
    page->removeEventFilter(this);
    pgcTabs->removeTab(active);
    page->hide();
    // The screen asking for this is still inside its close handling: it dies
    // with its page once that has returned.
    page->deleteLater();
    pgcTabs->setVisible(pgcTabs->count() > 0);
    markTabs();
}

void TfrmZZMain::closeActiveTab()
{
    RemoveActiveTab();
}

bool TfrmZZMain::openProgram(const QString &caption, const QString &programId)
{
    return OpenProgram(caption, programId);
}

int TfrmZZMain::tabCount() const
{
    return pgcTabs->count();
}

QString TfrmZZMain::tabProgramId(int index) const
{
    QWidget *page = pgcTabs->widget(index);
    return page ? page->property(kHint).toString() : QString();
}

QWidget *TfrmZZMain::tabScreen(int index) const
{
    return m_tags.value(pgcTabs->widget(index));
}

QList<QAction *> TfrmZZMain::windowEntries() const
{
    QList<QAction *> entries = mmuMenuWindow->actions();
    entries.removeOne(mmuMenuWindowClose);
    return entries;
}

void TfrmZZMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TfrmZZMain::FormResize()
{
    QWidget *active = pgcTabs->currentWidget();
    if (!active)
        return;
    // Every page has the size of the active one; hidden pages are laid out
    // only when they are shown.
    const QSize size = active->size();
    for (int i = 0; i < pgcTabs->count(); ++i) {
        if (QWidget *screen = m_tags.value(pgcTabs->widget(i)))
            screen->resize(size);
    }
}

bool TfrmZZMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        auto *page = qobject_cast<QWidget *>(watched);
        if (QWidget *screen = m_tags.value(page))
            screen->resize(page->size());
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmZZMain::closeEvent(QCloseEvent *event)
{
    const int open = pgcTabs->count();
    for (int i = 0; i < open; ++i) {
        const int before = pgcTabs->count();
        mmuMenuWindowCloseClick();
        // A screen that keeps its unsaved changes (a refused save) keeps the window open.
        if (pgcTabs->count() == before)
            break;
    }
    event->setAccepted(pgcTabs->count() == 0);
    LauncherLink::send(ScreenMessage::LauncherClose, 0, 0);
}
