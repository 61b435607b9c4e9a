#include "alert/app/ServedLastStore.h"

#include "platform/registry/Registry.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatFormat.h"

#include <algorithm>
#include <utility>

ServedLastStore::ServedLastStore(AnsiString DatabaseFile) : FDatabaseFile(std::move(DatabaseFile)) {}

std::vector<std::int32_t> ServedLastStore::Load() const {
    std::vector<std::int32_t> Recipients;
    AnsiString Text;
    try {
        TRegistry Reg;
        if (!Reg.OpenKeyReadOnly(Key) || !Reg.ValueExists(FDatabaseFile)) return Recipients;
        Text = Reg.ReadString(FDatabaseFile);
    } catch (const Exception&) {
        // A value of another type is no order: everybody keeps the
        // selection's.
        return Recipients;
    }
    for (std::size_t Start = 0; Start <= Text.size() && Recipients.size() < MaxRecipients;) {
        const std::size_t End = std::min(Text.find(',', Start), Text.size());
        int Recipient = 0;
        if (TryStrToInt(Text.substr(Start, End - Start), Recipient) &&
            std::find(Recipients.begin(), Recipients.end(), Recipient) == Recipients.end())
            Recipients.push_back(Recipient);
        Start = End + 1;
    }
    return Recipients;
}

void ServedLastStore::Save(const std::vector<std::int32_t>& Recipients) const {
    AnsiString Text;
    for (const std::int32_t Recipient : Recipients)
        Text += (Text.empty() ? "" : ",") + IntToStr(Recipient);
    TRegistry Reg;
    if (!Reg.OpenKey(Key, true)) throw Exception("Failed to create key " + AnsiString(Key));
    if (Text.empty())
        Reg.DeleteValue(FDatabaseFile);
    else
        Reg.WriteString(FDatabaseFile, Text);
}
