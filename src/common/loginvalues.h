#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <optional>

/// Process-wide values set at start-up and read everywhere.
struct LoginValues
{
    QString programDir;  ///< ends with '/'
    QString empNo;       ///< launch parameter 3
    QString empName;     ///< launch parameter 4
    QString dbUser;      ///< launch parameter 2
    QString accountName; ///< DETAIL_NAME of Z9999 for the database user
    /// Requests handed from one screen to a screen about to be shown:
    /// a text with an integer tag each.
    QList<QPair<QString, int>> openRequests;

    /// The workstation's address for the audit columns (dotted IPv4 text, may
    /// be empty), looked up when first asked for: the lookup of the host name
    /// may wait on the resolver, which the start-up should not.
    QString localIP() const;
    void setLocalIP(const QString &address) { m_localIP = address; }

private:
    mutable std::optional<QString> m_localIP;
};

LoginValues &login();
