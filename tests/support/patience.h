#pragma once

/// How long a test waits for something that should happen at once (an answer,
/// a window, a signal): long enough for a machine under heavy load with the
/// sanitizers on, so that it only ever ends a test that would otherwise hang.
/// No verdict depends on it.
constexpr int PatienceMs = 60000;
