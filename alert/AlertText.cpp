#include "alert/AlertText.h"

#include "alert/AlertCatalogue.h"
#include "alert/FieldReading.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Format.h"

#include <array>
#include <string_view>
#include <vector>

namespace {

// The tokens in the order they are replaced, which is also the order they
// are tried at a position of the text. CUSTOM is not among them: it is replaced first, since its
// replacement is program text with tokens of its own.
constexpr std::array<std::string_view, 22> Tokens = {
    "VAL",         "EMPGEN",      "ARG1",         "ARG2",      "ARG3",        "ARG4",
    "JOBIDDESC",   "JINBRDESC",   "WONBR",        "PONBR",     "STNBR",       "PBNBR",
    "EMPNAME",     "JOB%BUDGET",  "JOB%COMPLETE", "JI%BUDGET", "JI%COMPLETE", "WO%BUDGET",
    "WO%COMPLETE", "INVCODEDESC", "PIDESC",       "DAYSAWAY",
};

AnsiString CustomText(const AlertTransaction& Alert) {
    switch (Alert.AlertNbr) {
    case 26:
        switch (Alert.TransType) {
        case 1:
            return "Archived job labor cost changed.\nJob: JOBIDDESC. WO WONBR. Changed by: "
                   "EMPGEN. "
                   "Labor transaction for EMPNAME on ARG1.";
        case 2:
            return "Archived job material cost changed.\nJob: JOBIDDESC. PO PONBR. Vendor: ARG1. "
                   "Changed by: EMPGEN.";
        case 3:
            return "Archived job inventory cost changed.\nJob: JOBIDDESC. WO WONBR. Inventory "
                   "Item: "
                   "ARG1 - ARG2. Changed by: EMPGEN.\nInventory transaction for EMPNAME on ARG3.";
        case 4:
            return "Archived job sub contractor cost changed.\nJob: JOBIDDESC. PO PONBR. Sub "
                   "Contractor: ARG1. Changed by: EMPGEN.";
        case 5:
            return "Archived job miscellaneous cost changed.\nJob: JOBIDDESC. Job Item: "
                   "JINBRDESC.\nPrev Cost: ARG1. New Cost: ARG2. Changed by: EMPGEN.";
        default:
            return "UNKNOWN";
        }
    case 48: {
        // The items listed end at the first empty argument.
        AnsiString text = "Item 1: ARG1.";
        if (!Alert.Arg2.empty()) {
            text += " Item 2: ARG2.";
            if (!Alert.Arg3.empty()) {
                text += " Item 3: ARG3.";
                if (!Alert.Arg4.empty()) text += " Item 4: ARG4.";
            }
        }
        return text;
    }
    case 63:
        switch (Alert.TransType) {
        case 1:
            return "Regular invoice deleted or un-posted from job.";
        case 2:
            return "Progress Billing deleted from job.";
        default:
            return "UNKNOWN";
        }
    default:
        return "UNKNOWN";
    }
}

AnsiString NumberAndText(TDataSet& Row, const char* Number, const char* Text) {
    return Format("%s - %s", FieldText(Row, Number), FieldText(Row, Text));
}

// One scan from left to right over Text for the tokens from Tokens[First]
// on. A token's value is expanded in turn, for the tokens after it only: a
// value brings in tokens the later replacements fill, as replacing the
// tokens one after the other in list order does, while a value holding its
// own token (or an earlier one) keeps it, so no text can expand for ever;
// the depth is at most the number of tokens. Text between the letters that
// start a token is copied in one piece.
AnsiString ExpandTokens(AlertContext& Context, const AlertTransaction& Alert,
                        const AnsiString& Text, std::size_t First) {
    static const AnsiString Starts = [] {
        AnsiString letters;
        for (const std::string_view& token : Tokens)
            if (letters.find(token[0]) == AnsiString::npos) letters += token[0];
        return letters;
    }();
    // The tokens to try at a letter, in the order of the token list.
    static const std::array<std::vector<std::size_t>, 256> ByFirstLetter = [] {
        std::array<std::vector<std::size_t>, 256> byLetter;
        for (std::size_t index = 0; index < Tokens.size(); ++index)
            byLetter[static_cast<unsigned char>(Tokens[index][0])].push_back(index);
        return byLetter;
    }();
    AnsiString result;
    result.reserve(Text.size() + 64);
    std::size_t at = 0;
    while (at < Text.size()) {
        const std::size_t next = Text.find_first_of(Starts, at);
        if (next == AnsiString::npos) {
            result.append(Text, at, AnsiString::npos);
            break;
        }
        result.append(Text, at, next - at);
        at = next;
        const std::string_view rest(Text.data() + at, Text.size() - at);
        std::size_t match = Tokens.size();
        for (const std::size_t index : ByFirstLetter[static_cast<unsigned char>(rest[0])])
            if (index >= First && rest.starts_with(Tokens[index])) {
                match = index;
                break;
            }
        if (match == Tokens.size()) {
            result += Text[at++];
            continue;
        }
        const AnsiString value = AlertTokenValue(Context, Alert, AnsiString(Tokens[match]));
        if (match + 1 < Tokens.size() && value.find_first_of(Starts) != AnsiString::npos)
            result += ExpandTokens(Context, Alert, value, match + 1);
        else
            result += value;
        at += Tokens[match].size();
    }
    return result;
}

} // namespace

AnsiString DaysAwayText(const AnsiString& DayCount) {
    const int days = StrToInt(DayCount);
    if (days >= 2) return Format("%d days away", days);
    if (days == 1) return "1 day away";
    if (days == 0) return "today";
    if (days == -1) return "1 day ago";
    return Format("%d days ago", -static_cast<long long>(days));
}

AnsiString AlertTokenValue(AlertContext& Context, const AlertTransaction& Alert,
                           const AnsiString& Token) {
    IShopLookups& shop = Context.Shop;
    if (Token == "CUSTOM") return CustomText(Alert);
    if (Token == "VAL") return Alert.ValueText;
    if (Token == "EMPGEN") {
        TDataSet& employee = shop.SelectEmployee(Alert.EmpNbrGeneratedTrans);
        return FieldText(employee, Alert.EmpNbrGeneratedTrans != 0 ? "FirstLast" : "Fname");
    }
    if (Token == "ARG1") return Alert.Arg1;
    if (Token == "ARG2") return Alert.Arg2;
    if (Token == "ARG3") return Alert.Arg3;
    if (Token == "ARG4") return Alert.Arg4;
    if (Token == "JOBIDDESC")
        return NumberAndText(shop.SelectJob(Alert.JobNbr), "JobId", "JobDescr");
    if (Token == "JINBRDESC")
        return NumberAndText(shop.SelectJobItem(Alert.JobItemNbr), "ItemNbr", "JobItemDescr");
    if (Token == "WONBR") return IntToStr(Alert.WoNbr);
    if (Token == "PONBR") return IntToStr(Alert.PoNbr);
    if (Token == "STNBR") return IntToStr(Alert.ShipTicketNbr);
    if (Token == "PBNBR") return IntToStr(Alert.ProgressBillingNbr);
    if (Token == "EMPNAME") return FieldText(shop.SelectEmployee(Alert.EmpNbr), "FirstLast");
    if (Token == "JOB%BUDGET")
        return IntToStr(FieldInt(shop.SelectJob(Alert.JobNbr), "PercentBudget"));
    if (Token == "JOB%COMPLETE")
        return IntToStr(FieldInt(shop.SelectJob(Alert.JobNbr), "PercentComp"));
    if (Token == "JI%BUDGET")
        return IntToStr(FieldInt(shop.SelectJobItem(Alert.JobItemNbr), "PercentBudget"));
    if (Token == "JI%COMPLETE")
        return IntToStr(FieldInt(shop.SelectJobItem(Alert.JobItemNbr), "PercentComp"));
    if (Token == "WO%BUDGET")
        return IntToStr(FieldInt(shop.SelectWorkOrder(Alert.WoNbr), "PercentBudget"));
    if (Token == "WO%COMPLETE")
        return IntToStr(FieldInt(shop.SelectWorkOrder(Alert.WoNbr), "PercentComp"));
    if (Token == "INVCODEDESC")
        return NumberAndText(shop.SelectInventoryItem(Alert.InvNbr), "Code", "Descr");
    if (Token == "PIDESC") return FieldText(shop.SelectPoItem(Alert.PoItemNbr), "Descr");
    if (Token == "DAYSAWAY") return DaysAwayText(Alert.Arg1);
    return "UNKNOWN";
}

void ExpandAlertText(AlertContext& Context, AlertTransaction& Alert) {
    AnsiString pattern = GetAlertDefinition(Alert.AlertNbr).MessageTemplate;
    if (Alert.SourceType == 5)
        pattern += "\nReferenced Job: JOBIDDESC.";
    else if (Alert.SourceType == 6)
        pattern += "\nReferenced Job: JOBIDDESC. Job Item: JINBRDESC. Work Order WONBR.";

    // The CUSTOM text is the program's own and carries further tokens, so it
    // becomes part of the pattern before the pattern is scanned.
    const std::string_view custom = "CUSTOM";
    if (pattern.find(custom) != AnsiString::npos) {
        const AnsiString customText = AlertTokenValue(Context, Alert, "CUSTOM");
        for (auto at = pattern.find(custom); at != AnsiString::npos;
             at = pattern.find(custom, at + customText.size()))
            pattern.replace(at, custom.size(), customText);
    }

    Alert.MessageText = ExpandTokens(Context, Alert, pattern, 0);
}
