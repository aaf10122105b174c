#pragma once

#include <QList>
#include <QPair>
#include <QString>

/// Process-wide values set at start-up and read everywhere.
struct LoginValues
{
    QString programDir;  ///< ends with '/'
    QString localIP;     ///< dotted IPv4 text, may be empty
    QString empNo;       ///< launch parameter 3
    QString empName;     ///< launch parameter 4
    QString dbUser;      ///< launch parameter 2
    QString accountName; ///< DETAIL_NAME of Z9999 for the database user
    /// Requests handed from one screen to a screen about to be shown:
    /// a text with an integer tag each.
    QList<QPair<QString, int>> openRequests;
};

LoginValues &login();
