#include "twolistmover.h"

#include "marklistdelegate.h"

#include "framework/ZZI000.h"
#include "framework/useraction.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QSet>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton *moveButton(const QString &objectName, const QString &text, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setText(text);
    button->setFixedSize(32, 25);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QListWidget *listBox(const QString &objectName, MarkListDelegate *delegate, QWidget *parent)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(objectName);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setUniformItemSizes(true);
    list->setItemDelegate(delegate);
    return list;
}

} // namespace

TwoListMover::TwoListMover(TfrmZZI000 *screen,
                           const QString &leftCaption,
                           const QString &rightCaption,
                           QWidget *parent)
    : QWidget(parent)
    , m_screen(screen)
    , m_delegate(new MarkListDelegate(this))
    , m_groupOf([](const QString &id) { return id; })
{
    setObjectName(QStringLiteral("twoListMover"));
    lblListSrc = new QLabel(leftCaption, this);
    lblListSrc->setObjectName(QStringLiteral("lblListSrc"));
    lblListDst = new QLabel(rightCaption, this);
    lblListDst->setObjectName(QStringLiteral("lblListDst"));
    lstListSrc = listBox(QStringLiteral("lstListSrc"), m_delegate, this);
    lstListDst = listBox(QStringLiteral("lstListDst"), m_delegate, this);
    lstListSrc->setFixedWidth(360);

    sbtListS2D = moveButton(QStringLiteral("sbtListS2D"), QStringLiteral(">"), this);
    sbtListS2DAll = moveButton(QStringLiteral("sbtListS2DAll"), QStringLiteral(">>"), this);
    sbtListD2S = moveButton(QStringLiteral("sbtListD2S"), QStringLiteral("<"), this);
    sbtListD2SAll = moveButton(QStringLiteral("sbtListD2SAll"), QStringLiteral("<<"), this);
    auto *buttons = new QVBoxLayout;
    buttons->addStretch(1);
    for (QToolButton *button : {sbtListS2D, sbtListS2DAll, sbtListD2S, sbtListD2SAll})
        buttons->addWidget(button);
    buttons->addStretch(1);

    m_leftFoot = new QVBoxLayout;
    m_rightFoot = new QVBoxLayout;
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    grid->addWidget(lblListSrc, 0, 0);
    grid->addWidget(lblListDst, 0, 2);
    grid->addWidget(lstListSrc, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(lstListDst, 1, 2);
    grid->addLayout(m_leftFoot, 2, 0);
    grid->addLayout(m_rightFoot, 2, 2);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(1, 1);

    const auto clicks = [](QToolButton *button, std::function<void()> handler) {
        connect(button, &QToolButton::clicked, button, [handler] { RunUserAction(handler); });
    };
    clicks(sbtListS2D, [this] { sbtListS2DClick(); });
    clicks(sbtListS2DAll, [this] { sbtListS2DAllClick(); });
    clicks(sbtListD2S, [this] { sbtListD2SClick(); });
    clicks(sbtListD2SAll, [this] { sbtListD2SAllClick(); });
}

void TwoListMover::setMarkColours(const QHash<int, QColor> &colours)
{
    m_delegate->setMarkColours(colours);
    lstListSrc->viewport()->update();
    lstListDst->viewport()->update();
}

void TwoListMover::setGroupOf(std::function<QString(const QString &)> groupOf)
{
    m_groupOf = std::move(groupOf);
}

void TwoListMover::setSides(ListSides *sides)
{
    m_sides = sides;
    refresh();
}

void TwoListMover::fill(QListWidget *list, const QList<ListEntry> &entries)
{
    list->clear();
    for (const ListEntry &entry : entries) {
        auto *item = new QListWidgetItem(entry.text, list);
        item->setData(MarkListDelegate::MarkRole, entry.mark);
    }
}

void TwoListMover::refresh()
{
    fill(lstListSrc, m_sides ? m_sides->left : QList<ListEntry>());
    fill(lstListDst, m_sides ? m_sides->right : QList<ListEntry>());
}

void TwoListMover::sbtListS2DClick()
{
    move(lstListSrc, false, true);
}

void TwoListMover::sbtListS2DAllClick()
{
    move(lstListSrc, true, true);
}

void TwoListMover::sbtListD2SClick()
{
    move(lstListDst, false, false);
}

void TwoListMover::sbtListD2SAllClick()
{
    move(lstListDst, true, false);
}

void TwoListMover::move(QListWidget *from, bool all, bool toRight)
{
    m_screen->ShowStatusMessage(QString());
    if (!m_sides)
        return;
    QList<ListEntry> &source = toRight ? m_sides->left : m_sides->right;
    QList<ListEntry> &target = toRight ? m_sides->right : m_sides->left;
    QSet<QString> programs;
    for (int row = 0; !all && row < from->count() && row < source.size(); ++row) {
        if (from->item(row)->isSelected())
            programs.insert(m_groupOf(source.at(row).id));
    }
    if (source.isEmpty() || (!all && programs.isEmpty()))
        return;
    // Every entry of a chosen program goes, in list order: a program filed
    // under two menus never stands on both sides.
    QList<ListEntry> kept;
    for (const ListEntry &entry : std::as_const(source)) {
        if (all || programs.contains(m_groupOf(entry.id))) {
            ListEntry moved = entry;
            moved.mark += toRight ? m_markStep : -m_markStep;
            target.append(moved);
        } else {
            kept.append(entry);
        }
    }
    source = kept;
    refresh();
    Q_EMIT moved();
}
