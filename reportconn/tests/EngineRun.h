#pragma once
// Runs a program (the engine emulator, the buffer reader) in a process of its
// own and collects its output, while the main thread runs the commands the
// connections hand it, as the program's event loop would.
#include <string>
#include <vector>

// The output lines; ExitCode gets the exit status.
std::vector<std::string> RunAndPump(const std::vector<std::string>& Argv, int* ExitCode = nullptr);
