#pragma once

#include <QObject>
#include <QSqlDatabase>
#include <QStringList>

class QComboBox;
class QLabel;
class QWidget;

/// The project chooser of the authority screens: the label `lblProject`
/// ("* 프로젝트" unless told otherwise) and the drop-down list `cbbProject` of
/// the project names, ordered by name, with the project IDs kept beside them in
/// the same order. The screen puts both widgets where it wants them.
class ProjectChooser : public QObject
{
    Q_OBJECT

public:
    explicit ProjectChooser(QWidget *parent, const QString &caption = QStringLiteral("* 프로젝트"));

    /// Reads the projects; the first one is selected when there is one.
    void Fill(const QSqlDatabase &db);

    /// The selected project's ID and name; empty when none is selected.
    QString projectId() const;
    QString projectName() const;
    /// The IDs in the order of the names shown.
    const QStringList &projectIds() const { return m_ids; }
    bool hasProject() const;

    /// Without a selected project: the error box "<caption>를 선택하지
    /// 않았습니다.\r[프로젝트 등록]에서 프로젝트를 먼저 등록하십시오." and a silent
    /// abort. `caption` empty: the label's caption.
    void CheckSelected(const QString &caption = QString()) const;

    QLabel *lblProject = nullptr;
    QComboBox *cbbProject = nullptr;

Q_SIGNALS:
    /// Another project was selected (also by Fill()).
    void projectChanged();

private:
    QStringList m_ids;
};
