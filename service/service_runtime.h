// The process's life inside the service control manager: a run-once service that reports its
// start, runs one update cycle and reports that it has stopped.
#pragma once

#include <windows.h>

// Lends the main thread to the service control manager. True when the process ran as the
// service and the service has stopped; false when the connection failed (a start from a
// console or by the scheduled task).
bool RunServiceDispatcher();

// The service thread's entry; the arguments are ignored.
void WINAPI ServiceMain(DWORD argc, LPWSTR* argv);
// Runs on the dispatcher's thread for every control the service receives.
void WINAPI ServiceControlHandler(DWORD control);
// The body of the service between its start report and its stop report.
void RunService();
// Fills the shared status record for the state and reports it; the result is not looked at.
void ReportServiceStatus(DWORD state, DWORD waitHint);
