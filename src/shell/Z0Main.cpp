#include "Z0Main.h"

#include <QHash>

#include "admin/ZAI010.h"
#include "admin/ZAI020.h"
#include "admin/ZAI030.h"
#include "admin/ZAI040.h"
#include "admin/ZAI050.h"
#include "admin/ZAI120.h"
#include "admin/ZAI130.h"
#include "admin/ZAI140.h"
#include "admin/ZAI150.h"
#include "admin/ZAS010.h"
#include "admin/ZAS011.h"
#include "admin/ZAS120.h"
#include "codes/ZXB000.h"
#include "codes/ZXI010.h"
#include "codes/ZXI011.h"
#include "codes/ZXI020.h"
#include "codes/ZXI021.h"
#include "framework/ZIP010.h"
#include "tickets/ZXS090.h"
#include "tickets/ZXS095.h"

namespace {

QHash<QString, TfrmZ0Main::ScreenFactory> &catalogue()
{
    // One row per program ID that has a screen; every screen unit adds its row here.
    static QHash<QString, TfrmZ0Main::ScreenFactory> table = {
            {QStringLiteral("ZAI010"), [] { return new TfrmZAI010; }},
            {QStringLiteral("ZAI020"), [] { return new TfrmZAI020; }},
            {QStringLiteral("ZAI030"), [] { return new TfrmZAI030; }},
            {QStringLiteral("ZAI040"), [] { return new TfrmZAI040; }},
            {QStringLiteral("ZAI050"), [] { return new TfrmZAI050; }},
            {QStringLiteral("ZAI120"), [] { return new TfrmZAI120; }},
            {QStringLiteral("ZAI130"), [] { return new TfrmZAI130; }},
            {QStringLiteral("ZAI140"), [] { return new TfrmZAI140; }},
            {QStringLiteral("ZAI150"), [] { return new TfrmZAI150; }},
            {QStringLiteral("ZAS010"), [] { return new TfrmZAS010; }},
            {QStringLiteral("ZAS011"), [] { return new TfrmZAS011; }},
            {QStringLiteral("ZAS120"), [] { return new TfrmZAS120; }},
            {QStringLiteral("ZXB000"), [] { return new TfrmZXB000; }},
            {QStringLiteral("ZXI010"), [] { return new TfrmZXI010; }},
            {QStringLiteral("ZXI011"), [] { return new TfrmZXI011; }},
            {QStringLiteral("ZXI020"), [] { return new TfrmZXI020; }},
            {QStringLiteral("ZXI021"), [] { return new TfrmZXI021; }},
            {QStringLiteral("ZIP010"), [] { return new TfrmZIP010; }},
            {QStringLiteral("ZXS090"), [] { return new TfrmZXS090; }},
            {QStringLiteral("ZXS095"), [] { return new TfrmZXS095; }},
    };
    return table;
}

} // namespace

TfrmZ0Main::TfrmZ0Main(const QSqlDatabase &db, const QString &projectId, QWidget *parent)
    : TfrmZZMain(QStringLiteral("시스템 관리"), db, projectId, parent)
{}

void TfrmZ0Main::registerScreen(const QString &programId, ScreenFactory factory)
{
    catalogue().insert(programId, std::move(factory));
}

void TfrmZ0Main::unregisterScreen(const QString &programId)
{
    catalogue().remove(programId);
}

bool TfrmZ0Main::hasScreen(const QString &programId)
{
    return catalogue().contains(programId);
}

QWidget *TfrmZ0Main::CreateProgramScreen(const QString &programId)
{
    const auto row = catalogue().constFind(programId);
    if (row == catalogue().constEnd() || !*row)
        return nullptr;
    QWidget *screen = (*row)();
    return screen ? EmbedScreen(screen) : nullptr;
}
