#pragma once
// The program's entry: starts the GUI, reads the command line, fixes the
// date and time formats every statement relies on, makes sure the database
// is a shop database no other instance works on, creates the data modules
// and the main window in their order and runs the message loop.

// Returns 0 when the main window closed (also at the end of a session, see
// SessionEnd.h), 1 when start-up failed; the failure has been shown.
int ApplicationMain(int Argc, char** Argv);
