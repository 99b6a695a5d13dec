// One pass of check, compare and install, run once per service run on the service thread with
// the settings loaded when the update context was built.
#pragma once

// Everything it has to say goes to the log and to the registry. Never throws.
void RunUpdateCycle();
