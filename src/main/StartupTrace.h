#pragma once
// Start-up timestamps on stderr, for finding where the time to the About window goes.
// PABUKO_STARTUP_TRACE=1 counts from the start of main(); a number of nanoseconds since the
// epoch (as `date +%s%N` gives it just before the launch) counts from that instant instead,
// so that loading the libraries is counted too.
namespace pabuko {

// Prints the milliseconds since the start and the process's CPU time so far, with `what`.
// Does nothing unless the variable is set.
void StartupMark(const char* what);

}  // namespace pabuko
