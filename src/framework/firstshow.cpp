#include "firstshow.h"

#include "useraction.h"

#include <QEvent>
#include <QWidget>

namespace {

class FirstShowFilter : public QObject
{
public:
    FirstShowFilter(QWidget *widget, std::function<void()> action)
        : QObject(widget)
        , m_action(std::move(action))
    {
        widget->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A window runs the action on ShowToParent, which follows its show event
        // and its mapping (a dialog is centred by then). A child (a screen in a
        // tab) runs it on the first show that makes it visible: shown inside a
        // hidden parent it gets ShowToParent long before it appears.
        const auto *widget = static_cast<QWidget *>(watched);
        const bool shown = (event->type() == QEvent::ShowToParent
                            || (event->type() == QEvent::Show && !widget->isWindow()))
                           && widget->isVisible();
        if (shown) {
            watched->removeEventFilter(this);
            const std::function<void()> action = std::move(m_action);
            deleteLater();
            RunUserAction(action);
        }
        return false;
    }

private:
    std::function<void()> m_action;
};

} // namespace

void RunOnFirstShow(QWidget *widget, std::function<void()> action)
{
    new FirstShowFilter(widget, std::move(action));
}
