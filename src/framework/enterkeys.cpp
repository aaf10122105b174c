#include "enterkeys.h"

#include "useraction.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace {

class EnterKeyFilter : public QObject
{
public:
    EnterKeyFilter(QWidget *field, std::function<void()> action)
        : QObject(field)
        , m_action(std::move(action))
    {
        setObjectName(QStringLiteral("kesaEnterKeys"));
        field->installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        if (key->modifiers() & ~Qt::KeypadModifier)
            return false;
        RunUserAction(m_action);
        return true;
    }

private:
    std::function<void()> m_action;
};

void install(QWidget *field, std::function<void()> action)
{
    // One rule per field: the newest replaces the older one.
    delete field->findChild<EnterKeyFilter *>(QStringLiteral("kesaEnterKeys"),
                                              Qt::FindDirectChildrenOnly);
    new EnterKeyFilter(field, std::move(action));
}

} // namespace

namespace EnterKeys {

QWidget *nextControl(QWidget *from)
{
    for (QWidget *next = from->nextInFocusChain(); next && next != from;
         next = next->nextInFocusChain()) {
        if (next->isEnabled() && next->isVisible() && (next->focusPolicy() & Qt::TabFocus)
            && next->window() == from->window())
            return next;
    }
    return nullptr;
}

void moveToNext(QWidget *field)
{
    install(field, [field] {
        if (QWidget *next = nextControl(field))
            next->setFocus(Qt::TabFocusReason);
    });
}

void moveTo(QWidget *field, std::function<QWidget *()> target)
{
    install(field, [target = std::move(target)] {
        if (QWidget *next = target())
            next->setFocus(Qt::TabFocusReason);
    });
}

void run(QWidget *field, std::function<void()> action)
{
    install(field, std::move(action));
}

} // namespace EnterKeys
