#include "alert/AlertText.h"

#include "alert/AlertCatalogue.h"
#include "alert/FieldReading.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Format.h"

#include <algorithm>
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

// The place of each token in Tokens.
enum Token : std::size_t {
    tVal,
    tEmpGen,
    tArg1,
    tArg2,
    tArg3,
    tArg4,
    tJobIdDesc,
    tJiNbrDesc,
    tWoNbr,
    tPoNbr,
    tStNbr,
    tPbNbr,
    tEmpName,
    tJobBudget,
    tJobComplete,
    tJiBudget,
    tJiComplete,
    tWoBudget,
    tWoComplete,
    tInvCodeDesc,
    tPiDesc,
    tDaysAway,
    tCount
};
static_assert(tCount == Tokens.size());

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
    return FieldText(Row, Number) + " - " + FieldText(Row, Text);
}

AnsiString TokenValue(AlertContext& Context, const AlertTransaction& Alert, std::size_t Index) {
    IShopLookups& shop = Context.Shop;
    switch (Index) {
    case tVal:
        return Alert.ValueText;
    case tEmpGen: {
        TDataSet& employee = shop.SelectEmployeeName(Alert.EmpNbrGeneratedTrans);
        return FieldText(employee, Alert.EmpNbrGeneratedTrans != 0 ? "FirstLast" : "Fname");
    }
    case tArg1:
        return Alert.Arg1;
    case tArg2:
        return Alert.Arg2;
    case tArg3:
        return Alert.Arg3;
    case tArg4:
        return Alert.Arg4;
    case tJobIdDesc:
        return NumberAndText(shop.SelectJob(Alert.JobNbr), "JobId", "JobDescr");
    case tJiNbrDesc:
        return NumberAndText(shop.SelectJobItem(Alert.JobItemNbr), "ItemNbr", "JobItemDescr");
    case tWoNbr:
        return IntToStr(Alert.WoNbr);
    case tPoNbr:
        return IntToStr(Alert.PoNbr);
    case tStNbr:
        return IntToStr(Alert.ShipTicketNbr);
    case tPbNbr:
        return IntToStr(Alert.ProgressBillingNbr);
    case tEmpName:
        return FieldText(shop.SelectEmployee(Alert.EmpNbr), "FirstLast");
    case tJobBudget:
        return IntToStr(FieldInt(shop.SelectJob(Alert.JobNbr), "PercentBudget"));
    case tJobComplete:
        return IntToStr(FieldInt(shop.SelectJob(Alert.JobNbr), "PercentComp"));
    case tJiBudget:
        return IntToStr(FieldInt(shop.SelectJobItem(Alert.JobItemNbr), "PercentBudget"));
    case tJiComplete:
        return IntToStr(FieldInt(shop.SelectJobItem(Alert.JobItemNbr), "PercentComp"));
    case tWoBudget:
        return IntToStr(FieldInt(shop.SelectWorkOrder(Alert.WoNbr), "PercentBudget"));
    case tWoComplete:
        return IntToStr(FieldInt(shop.SelectWorkOrder(Alert.WoNbr), "PercentComp"));
    case tInvCodeDesc:
        return NumberAndText(shop.SelectInventoryItem(Alert.InvNbr), "Code", "Descr");
    case tPiDesc:
        return FieldText(shop.SelectPoItem(Alert.PoItemNbr), "Descr");
    case tDaysAway:
        return DaysAwayText(Alert.Arg1);
    default:
        return "UNKNOWN";
    }
}

// One scan from left to right over Text for the tokens from Tokens[First]
// on. A token's value is expanded in turn, for the tokens after it only: a
// value brings in tokens the later replacements fill, as replacing the
// tokens one after the other in list order does, while a value holding its
// own token (or an earlier one) keeps it, so no text can expand for ever;
// the depth is at most the number of tokens. Text between the letters that
// start a token is copied in one piece.
AnsiString ExpandTokens(AlertContext& Context, const AlertTransaction& Alert,
                        std::string_view Text, std::size_t First) {
    // The tokens to try at a letter, in the order of the token list; a
    // letter no token begins with has none.
    static const std::array<std::vector<std::size_t>, 256> ByFirstLetter = [] {
        std::array<std::vector<std::size_t>, 256> byLetter;
        for (std::size_t index = 0; index < Tokens.size(); ++index)
            byLetter[static_cast<unsigned char>(Tokens[index][0])].push_back(index);
        return byLetter;
    }();
    auto startsToken = [](char Letter) {
        return !ByFirstLetter[static_cast<unsigned char>(Letter)].empty();
    };
    AnsiString result;
    result.reserve(Text.size() + 64);
    std::size_t at = 0;
    while (at < Text.size()) {
        std::size_t next = at;
        while (next < Text.size() && !startsToken(Text[next]))
            ++next;
        result.append(Text.data() + at, next - at);
        at = next;
        if (at == Text.size()) break;
        const std::string_view rest = Text.substr(at);
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
        const AnsiString value = TokenValue(Context, Alert, match);
        if (match + 1 < Tokens.size() && std::any_of(value.begin(), value.end(), startsToken))
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
    if (Token == "CUSTOM") return CustomText(Alert);
    const auto found = std::find(Tokens.begin(), Tokens.end(), Token);
    return TokenValue(Context, Alert, static_cast<std::size_t>(found - Tokens.begin()));
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
        const AnsiString customText = CustomText(Alert);
        for (auto at = pattern.find(custom); at != AnsiString::npos;
             at = pattern.find(custom, at + customText.size()))
            pattern.replace(at, custom.size(), customText);
    }

    Alert.MessageText = ExpandTokens(Context, Alert, pattern, 0);
}
