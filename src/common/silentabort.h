#pragma once

#include <exception>

/// Ends a user action without any message; the user-action guard swallows it.
class SilentAbort : public std::exception
{
public:
    const char *what() const noexcept override { return "silent abort"; }
};

[[noreturn]] inline void Abort()
{
    throw SilentAbort();
}
