#pragma once
// Names of the kernel objects (events, mutexes, file mappings) shared between
// processes. Each name lives in POSIX shared memory under a prefix holding
// the user's id, so that two users' programs never meet, and an optional
// namespace, so that separate groups of processes (a test run, say) keep to
// themselves. The namespace comes from SetKernelNamespace, else from the
// environment variable BEACONMILL_KERNEL_NAMESPACE.
#include "platform/rtl/AnsiString.h"

// The shared-memory name ("/beaconmill-<uid>-...") of the object Name. Raises
// EOSError when the name is too long for the system.
AnsiString KernelObjectName(const AnsiString& Name);
// Where the object's segment shows in the file system.
AnsiString KernelObjectPath(const AnsiString& Name);

AnsiString KernelNamespace();
void SetKernelNamespace(const AnsiString& Namespace);

// A namespace no other process uses: Prefix, the process id and a counter.
// Tests give each case one, so that test programs running side by side
// never share (or wedge) each other's objects.
AnsiString UniqueKernelNamespace(const AnsiString& Prefix);

// Removes every object of the current user in Namespace; for cleaning up
// after a group of processes that is done. Gives the number removed.
int RemoveKernelNamespace(const AnsiString& Namespace);
