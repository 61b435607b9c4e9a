#pragma once
// The program's entry: starts the GUI, reads the command line, fixes the
// date and time formats every statement relies on, creates the data modules
// and the main window in their order and runs the message loop.

// Returns 0 also when start-up failed: the failure has been shown.
int ApplicationMain(int Argc, char** Argv);
