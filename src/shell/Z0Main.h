#pragma once

#include <functional>

#include "ZZMain.h"

/// The main window of this program: TfrmZZMain with the program catalogue, a
/// table from program ID to the factory of its screen.
class TfrmZ0Main : public TfrmZZMain
{
    Q_OBJECT

public:
    using ScreenFactory = std::function<QWidget *()>;

    explicit TfrmZ0Main(const QSqlDatabase &db,
                        const QString &projectId = QString(),
                        QWidget *parent = nullptr);

    /// Adds or replaces a row of the catalogue (program IDs compare exactly).
    static void registerScreen(const QString &programId, ScreenFactory factory);
    static void unregisterScreen(const QString &programId);
    static bool hasScreen(const QString &programId);

protected:
    QWidget *CreateProgramScreen(const QString &programId) override;
};
