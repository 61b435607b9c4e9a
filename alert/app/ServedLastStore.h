#pragma once
// The recipients whose message ended a run at the connection level, the
// latest last, kept where the window keeps its placement: in the registry
// file of the configuration folder, under
// Software\Pellworth\Dornwick\Served Last, one text value per database
// named by its file ("5,2"). A restart reads it back, so that one
// recipient a server keeps turning away that way holds up the others for
// one run at most, however often the program is started.
#include "platform/rtl/AnsiString.h"

#include <cstdint>
#include <vector>

class ServedLastStore {
public:
    explicit ServedLastStore(AnsiString DatabaseFile);

    // The stored recipients; none when nothing is stored or the value
    // cannot be read (a number that is none, or past MaxRecipients, is
    // left out).
    std::vector<std::int32_t> Load() const;
    // Raises the registry's error when the value cannot be written.
    void Save(const std::vector<std::int32_t>& Recipients) const;

    static constexpr std::size_t MaxRecipients = 1000;
    static constexpr const char* Key = "\\Software\\Pellworth\\Dornwick\\Served Last";

private:
    AnsiString FDatabaseFile;
};
