#pragma once

#include "ZZI080.h"

/// The test screen of the generic grid editor: no statement, no procedure, no
/// columns. Its search shows how the editor reports a missing statement.
class TfrmZIP010 : public TfrmZZI080
{
    Q_OBJECT

public:
    explicit TfrmZIP010(QWidget *parent = nullptr);
};
