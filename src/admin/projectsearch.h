#pragma once

#include <functional>

class ProjectChooser;
class QComboBox;
class QLabel;
class SearchArea;
class ScreenFrame;

/// The authority screens' search by project, a base of each: the project
/// chooser in the screen's search area and the screen's members for its parts
/// (`lblProject`, `cbbProject`).
class ProjectSearch
{
public:
    virtual ~ProjectSearch() = default;

    ProjectChooser *projects = nullptr;
    QLabel *lblProject = nullptr;
    QComboBox *cbbProject = nullptr;

protected:
    /// Creates the chooser in the screen's search area (left of the search
    /// button) with the focus colours of the screen's frame. Enter in the list
    /// runs `search` when there is one.
    void createProjectChooser(ScreenFrame &frame,
                              SearchArea &area,
                              const std::function<void()> &search);
};
