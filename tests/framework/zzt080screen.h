#pragma once

#include "framework/ZZI080.h"

/// A generic grid editor over the test table ZT080MS, saved through PR_TEST080:
/// CODE (6 characters), NAME, NOTE (read-only), QTY (a number with a sum footer).
class TfrmZZT080 : public TfrmZZI080
{
    Q_OBJECT

public:
    explicit TfrmZZT080(QWidget *parent = nullptr);

    // Open for the tests.
    using TfrmZZI080::attachEditControls;
    using TfrmZZI080::EnablePanel;
    using TfrmZZI080::ErrFocus;
    using TfrmZZI080::GridDrawCell;

    enum Column { Code, Name, Note, Qty };

protected:
    void FormCreate() override;
};
