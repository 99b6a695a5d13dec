// The process-wide update settings (Part 3.2).
#pragma once

// The operating-system generation, 1 to 3 (0 before it is detected); 3 is Windows 8 and later.
extern int OsGeneration;
