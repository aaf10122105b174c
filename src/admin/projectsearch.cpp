#include "projectsearch.h"

#include "projectchooser.h"

#include "framework/enterkeys.h"
#include "framework/screenframe.h"
#include "framework/searcharea.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>

void ProjectSearch::createProjectChooser(ScreenFrame &frame,
                                         SearchArea &area,
                                         const std::function<void()> &search)
{
    projects = new ProjectChooser(area.panSearch);
    lblProject = projects->lblProject;
    cbbProject = projects->cbbProject;
    area.addSearchWidget(lblProject);
    area.addSearchWidget(cbbProject);
    frame.attachFocusColours({cbbProject});
    if (search)
        EnterKeys::run(cbbProject, search);
}
