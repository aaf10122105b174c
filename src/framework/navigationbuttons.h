#pragma once

#include <functional>

class QToolButton;
class QWidget;

/// The four record-navigation speed buttons of the grid screens and dialogs.
struct NavigationButtons
{
    QToolButton *first = nullptr;
    QToolButton *prior = nullptr;
    QToolButton *next = nullptr;
    QToolButton *last = nullptr;
};

/// Creates `sbtFirst`, `sbtPrior`, `sbtNext` and `sbtLast` in that order on
/// `parent`; `place` puts each one into the button bar.
NavigationButtons createNavigationButtons(QWidget *parent,
                                          const std::function<void(QWidget *)> &place);
