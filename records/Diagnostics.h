// Diagnostic lines on standard output. Each line is flushed at once: a redirected
// standard output is fully buffered, and lines must not be lost if the process is stopped.
#pragma once

namespace ledgrin {

#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
void DiagPrintf(const char* format, ...);

// Prints text followed by a line feed.
void DiagLine(const char* text);

// Turns the diagnostic lines off while it lives, for tools whose standard output
// carries data of their own.
class QuietDiagnostics {
  public:
    QuietDiagnostics();
    ~QuietDiagnostics();
    QuietDiagnostics(const QuietDiagnostics&) = delete;
    QuietDiagnostics& operator=(const QuietDiagnostics&) = delete;

  private:
    bool wasQuiet_;
};

} // namespace ledgrin
