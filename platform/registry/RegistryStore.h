#pragma once
// The registry roots on disk: one readable file per root in the
// configuration folder (HKEY_CURRENT_USER.reg, ...). Readers take the file as
// it stands (it is only ever replaced whole); a change is made under the
// file's lock on a fresh read, so two processes never lose each other's
// changes. A damaged or unreadable file raises ERegistryException naming it
// and is never replaced.
#include "platform/registry/RegistryTree.h"

#include <functional>
#include <memory>

namespace registry_store {

// "HKEY_CURRENT_USER" and so on; empty for a value that names no root.
AnsiString RootName(HKEY Root);
// The file that holds Root; empty for a value that names no root.
AnsiString RootFileName(HKEY Root);

// The keys of Root as its file holds them now (an empty root when there is no file yet).
std::shared_ptr<const TKey> Snapshot(HKEY Root);

// Runs Change on the keys of Root as the file holds them, under the file's
// lock, and writes the result back when Change returns true. An exception
// from Change leaves the file as it was.
void Modify(HKEY Root, const std::function<bool(TKey& Keys)>& Change);

} // namespace registry_store
