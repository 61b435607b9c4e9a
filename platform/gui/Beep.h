#pragma once
// The system's default sound, where the window system has one.

// Sounds the default beep; Type (the kind of message it goes with) is
// accepted for the framework's callers and does not change the sound.
bool MessageBeep(unsigned Type = 0);
