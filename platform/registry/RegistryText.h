#pragma once
// The readable text a registry root is kept in, one file per root:
//
//   [Software\Pellworth\Dornwick\Beacon Mill]
//   "NormPos"="10,20,810,620"
//   "Path"=expand:"%HOME%/files"
//   "ColumnCount"=dword:00000003
//   "Scale"=hex:00,00,00,00,00,00,f8,3f
//   @="the key's unnamed value"
//
// A header names a key by its full path from the root ("[]" is the root
// itself) and implies its parents. Strings escape \\ \" \n \r \t and other
// control bytes as \xHH; other bytes stand as they are. Lines starting with
// ';' are comments.
#include "platform/registry/RegistryTree.h"

#include <memory>

namespace registry_store {

// Reads the text of FileName. Anything it cannot read exactly raises
// ERegistryException naming the file and the line.
std::unique_ptr<TKey> ParseRegistryText(const AnsiString& Text, const AnsiString& FileName);

// The text of Root; RootName goes into the heading comment.
AnsiString RegistryText(const TKey& Root, const AnsiString& RootName);

} // namespace registry_store
