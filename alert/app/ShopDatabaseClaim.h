#pragma once
// What start-up makes sure of before the data modules connect: the alias's
// database file is a shop database (looked at without writing to it), and no
// other instance of the program works on it.
#include "platform/rtl/AnsiString.h"

#include <memory>

class TInstanceLock;

// Checks the file AliasName names and takes the instance lock of its real
// path, which the program keeps until it ends. Raises Exception naming the
// file when it is not a shop database, or naming the running instance's
// process. A missing file gives no lock: the connection reports it.
std::unique_ptr<TInstanceLock> ClaimShopDatabase(const AnsiString& AliasName);
