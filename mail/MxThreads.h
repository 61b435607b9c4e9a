#pragma once
// Small thread helpers for the connect wait and the TLS thread id.
#include <cstdint>

namespace mail {

void SleepMs(std::uint32_t AMilliseconds);
std::uint64_t CurrentThreadId();
// True on the thread that started the program.
bool InMainThread();

} // namespace mail
