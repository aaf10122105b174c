#pragma once

/// The C library's allocator, set once at the start of the program.
namespace Allocator {

/// Keeps the allocator's large-block and trim thresholds where they start.
/// By default glibc raises both after the first large block is freed (a
/// large query result, an export) and from then on keeps freed memory in the
/// heap: every later large result is then built in scattered, reused memory
/// and is markedly slower than the first. Fixed thresholds make the tenth
/// export of a session as fast as the first. Does nothing elsewhere.
void keepThresholdsFixed();

} // namespace Allocator
