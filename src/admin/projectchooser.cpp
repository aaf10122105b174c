#include "projectchooser.h"

#include "common/commonroutines.h"
#include "common/silentabort.h"
#include "db/sqlstatement.h"

#include <QComboBox>
#include <QLabel>

ProjectChooser::ProjectChooser(QWidget *parent, const QString &caption)
    : QObject(parent)
{
    setObjectName(QStringLiteral("projectChooser"));
    lblProject = new QLabel(caption, parent);
    lblProject->setObjectName(QStringLiteral("lblProject"));
    cbbProject = new QComboBox(parent);
    cbbProject->setObjectName(QStringLiteral("cbbProject"));
    cbbProject->setFixedWidth(200);
    lblProject->setBuddy(cbbProject);
    connect(cbbProject, &QComboBox::currentIndexChanged, this, &ProjectChooser::projectChanged);
}

void ProjectChooser::Fill(const QSqlDatabase &db)
{
    // The ID completes the order: two projects of one name keep their places.
    SqlStatement query(db,
                       QStringLiteral("SELECT PROJECT_ID, PROJECT_NAME FROM ZA020MS "
                                      "ORDER BY PROJECT_NAME, PROJECT_ID"));
    query.open();
    QStringList ids;
    QStringList names;
    while (query.next()) {
        ids << query.value(0).toString();
        names << query.value(1).toString();
    }
    query.close();

    const QSignalBlocker quiet(cbbProject);
    cbbProject->clear();
    m_ids = ids;
    cbbProject->addItems(names);
    cbbProject->setCurrentIndex(m_ids.isEmpty() ? -1 : 0);
    Q_EMIT projectChanged();
}

QString ProjectChooser::projectId() const
{
    return m_ids.value(cbbProject->currentIndex());
}

QString ProjectChooser::projectName() const
{
    return hasProject() ? cbbProject->currentText() : QString();
}

bool ProjectChooser::hasProject() const
{
    const int index = cbbProject->currentIndex();
    return index >= 0 && index < m_ids.size();
}

void ProjectChooser::CheckSelected(const QString &caption) const
{
    if (hasProject())
        return;
    ShowErrorMessage((caption.isEmpty() ? lblProject->text() : caption)
                     + QStringLiteral("를 선택하지 않았습니다.\r"
                                      "[프로젝트 등록]에서 프로젝트를 먼저 등록하십시오."));
    Abort();
}
