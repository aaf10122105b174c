#pragma once

/// The wait cursor while the object lives (a search, a save, an export).
class WaitCursor
{
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

/// The normal cursor while the object lives, where a wait cursor is showing:
/// a question asked in the middle of a long action shows the arrow.
class NormalCursor
{
public:
    NormalCursor();
    ~NormalCursor();
    NormalCursor(const NormalCursor &) = delete;
    NormalCursor &operator=(const NormalCursor &) = delete;

private:
    bool m_active = false;
};

/// Runs a question (a box, a file dialog) with the normal cursor.
template<typename F>
auto withNormalCursor(F &&ask)
{
    const NormalCursor normal;
    return ask();
}
