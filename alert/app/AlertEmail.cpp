#include "alert/app/AlertEmail.h"

#include "alert/AlertCatalogue.h"
#include "platform/rtl/DateTimeFormat.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

struct Section {
    const char* Prefix; // of the section's marker lines
    const char* Title;
};

// In the order the sections appear in a message. The job section has one
// set of group markers per job block, made as the block opens; the last
// section takes the alerts no other section can name.
constexpr Section Sections[] = {
    {"Job", "Jobs"},      {"PO", "Purchasing"}, {"Emp", "Employee"},
    {"Inv", "Inventory"}, {"Other", "Other"},
};
constexpr int JobSection = 0;
constexpr int OtherSection = static_cast<int>(std::size(Sections)) - 1;

// Priority groups from the top of a section down, by the names of the
// priorities (3 is "None"); the last takes the priorities that have no name.
constexpr const char* Groups[] = {"High", "Medium", "Low", "None", "Other"};
constexpr int OtherGroup = static_cast<int>(std::size(Groups)) - 1;

const AnsiString Dashes(31, '-');
const AnsiString Stars(31, '*');
const AnsiString GroupRule = Dashes + Dashes;
const AnsiString GroupIndent = "    ";

// A section's markers: its index first, then one per priority group.
constexpr int IndexSlot = 0;
constexpr int GroupSlot(int Group) {
    return Group + 1;
}

// A marker line: the section's prefix and a name ("JobIndex", "POHigh"),
// behind a control character no alert text starts with, so that a text
// that reads like a marker is never taken for one. Made once: every alert
// looks up several.
const AnsiString& Marker(int SectionIndex, int Slot) {
    using SectionMarkers = std::array<AnsiString, std::size(Groups) + 1>;
    static const std::array<SectionMarkers, std::size(Sections)> Markers = [] {
        std::array<SectionMarkers, std::size(Sections)> Made;
        for (std::size_t S = 0; S < Made.size(); ++S) {
            const AnsiString Prefix = '\x01' + AnsiString(Sections[S].Prefix);
            Made[S][IndexSlot] = Prefix + "Index";
            for (int G = 0; G <= OtherGroup; ++G)
                Made[S][GroupSlot(G)] = Prefix + Groups[G];
        }
        return Made;
    }();
    return Markers[static_cast<std::size_t>(SectionIndex)][static_cast<std::size_t>(Slot)];
}

// The section an alert belongs in, by the kind of shop record its
// category is about.
int SectionOf(std::int32_t AlertNbr) {
    std::int32_t Mask = 0;
    try {
        Mask = GetAlertCategory(GetAlertDefinition(AlertNbr).Category).RecordKindMask;
    } catch (const Exception&) {
        // An alert id the catalogue does not know still reaches its reader.
        return OtherSection;
    }
    switch (Mask) {
    case RecordKind::Job:
    case RecordKind::JobItem:
    case RecordKind::WorkOrder:
    case RecordKind::Product:
        return JobSection;
    case RecordKind::PurchaseOrder:
        return 1;
    case RecordKind::Employee:
        return 2;
    case RecordKind::Inventory:
        return 3;
    default:
        return OtherSection;
    }
}

int GroupOf(std::int32_t Priority) {
    switch (Priority) {
    case 2:
        return 0;
    case 1:
        return 1;
    case 0:
        return 2;
    case 3:
        return 3;
    default:
        return OtherGroup;
    }
}

// The position of the first line equal to Line, or -1.
int IndexOf(const AlertEmailList& List, const AnsiString& Line) {
    const auto Found = std::find(List.begin(), List.end(), Line);
    return Found == List.end() ? -1 : static_cast<int>(Found - List.begin());
}

// A position that is not in the list (a marker an alert's own text took
// the place of) puts the line at the end rather than outside the list.
void Insert(AlertEmailList& List, int At, AnsiString Line) {
    const int Size = static_cast<int>(List.size());
    List.insert(List.begin() + (At < 0 || At > Size ? Size : At), std::move(Line));
}

void Delete(AlertEmailList& List, int At) {
    List.erase(List.begin() + At);
}

void DeleteFirst(AlertEmailList& List, const AnsiString& Line) {
    const int At = IndexOf(List, Line);
    if (At >= 0) Delete(List, At);
}

// Turns the group markers of one section (its first job block for the job
// section) into the group headings and rules; an empty group leaves nothing.
// Works from the bottom up, so that the positions above stay valid.
void CloseGroups(AlertEmailList& List, int SectionIndex) {
    for (int G = OtherGroup; G >= 0; --G) {
        const int A =
            1 + IndexOf(List, Marker(SectionIndex, G == 0 ? IndexSlot : GroupSlot(G - 1)));
        const int B = IndexOf(List, Marker(SectionIndex, GroupSlot(G)));
        if (A == 0 || B < A) continue;
        Delete(List, B);
        if (B == A) continue;
        // The rule below the last alert becomes the group's closing rule.
        Delete(List, B - 1);
        Insert(List, B - 1, GroupRule + "\n");
        Insert(List, A, GroupRule);
        Insert(List, A, GroupIndent + Groups[G]);
    }
}

// Puts the section's title between its rules above a section that holds
// alerts. The job section's title goes at the top of the body.
void AddSectionHeading(AlertEmailList& List, int SectionIndex) {
    int K = SectionIndex == JobSection ? 0 : IndexOf(List, Marker(SectionIndex, IndexSlot));
    const int E = SectionIndex == OtherSection
                      ? static_cast<int>(List.size()) - 1
                      : IndexOf(List, Marker(SectionIndex + 1, IndexSlot)) - 1;
    if (K == E) return;
    if (SectionIndex != JobSection) ++K;
    Insert(List, K, Stars + "\n");
    Insert(List, K, Sections[SectionIndex].Title);
    Insert(List, K, Stars);
    if (SectionIndex != JobSection) Insert(List, K, "");
}

// The heading of a deleted job's block: its number and description, which
// only the alert's text still holds ("...Job: <number> - <description>.
// Deleted by: ...").
AnsiString DeletedJobHeading(const AnsiString& Descr) {
    std::size_t Start = Descr.find("Job: ");
    Start = Start == AnsiString::npos ? 0 : Start + 5;
    std::size_t End = Descr.find(". Deleted by", Start);
    if (End == AnsiString::npos) End = Descr.size();
    return Descr.substr(Start, End - Start);
}

void AppendLines(std::vector<AnsiString>& Lines, const AnsiString& Text) {
    const auto IsLineEnd = [](char C) { return C == '\r' || C == '\n'; };
    auto Start = Text.begin();
    while (true) {
        const auto End = std::find_if(Start, Text.end(), IsLineEnd);
        Lines.emplace_back(Start, End);
        if (End == Text.end()) return;
        Start = End + 1;
        if (*End == '\r' && Start != Text.end() && *Start == '\n') ++Start;
    }
}

} // namespace

AnsiString AlertEmailDatePattern(int DatePreference) {
    return DatePreference == 1 ? "mm/dd/yy" : "dd/mm/yy";
}

AnsiString AlertEmailSubject(std::uint8_t RunClass, TDateTime Today, int DatePreference) {
    if (RunClass != 1) return "Dornwick Alerts";
    return Format("Dornwick Alerts for %s",
                  FormatDateTime(AlertEmailDatePattern(DatePreference), Today));
}

void SeedAlertEmailBody(AlertEmailList& List) {
    List.clear();
    List.push_back(Marker(JobSection, IndexSlot));
    for (int S = JobSection + 1; S <= OtherSection; ++S) {
        List.push_back(Marker(S, IndexSlot));
        for (int G = 0; G <= OtherGroup; ++G)
            List.push_back(Marker(S, GroupSlot(G)));
    }
}

void BuildAlertEmailBody(AlertEmailList& List, bool JobMode) {
    if (JobMode) {
        // The seed's marker: no job block is open yet.
        if (!List.empty() && List.front() == Marker(JobSection, IndexSlot)) {
            Delete(List, 0);
            return;
        }
        CloseGroups(List, JobSection);
        DeleteFirst(List, Marker(JobSection, IndexSlot));
        return;
    }
    for (int S = OtherSection; S >= JobSection; --S) {
        CloseGroups(List, S);
        AddSectionHeading(List, S);
    }
    for (int S = OtherSection; S >= JobSection; --S)
        DeleteFirst(List, Marker(S, IndexSlot));
}

AlertEmailComposer::AlertEmailComposer(int DatePreference)
    : FStampFormat("h:nn AM/PM " + AlertEmailDatePattern(DatePreference)) {
    SeedAlertEmailBody(FList);
}

void AlertEmailComposer::OpenJobBlock(const AlertEmailRow& Row) {
    const AnsiString Heading =
        Row.JobNbr == -1 ? DeletedJobHeading(Row.Descr) : Row.JobId + " - " + Row.JobDescr;
    BuildAlertEmailBody(FList, true);
    const int At = IndexOf(FList, Marker(JobSection + 1, IndexSlot));
    for (int G = OtherGroup; G >= 0; --G)
        Insert(FList, At, Marker(JobSection, GroupSlot(G)));
    Insert(FList, At, Marker(JobSection, IndexSlot));
    Insert(FList, At, Dashes + "\n");
    Insert(FList, At, Heading);
    Insert(FList, At, Dashes);
    // Every deleted job opens a block of its own: its alerts carry no job.
    FCurrentJob = Row.JobNbr == -1 ? 0 : Row.JobNbr;
    FJobBlockOpen = true;
}

void AlertEmailComposer::Add(const AlertEmailRow& Row) {
    const int S = SectionOf(Row.AlertNbr);
    if (S == JobSection && (!FJobBlockOpen || Row.JobNbr != FCurrentJob)) OpenJobBlock(Row);
    const int At = IndexOf(FList, Marker(S, GroupSlot(GroupOf(Row.Priority))));
    Insert(FList, At, Dashes);
    Insert(FList, At, Row.Descr);
    Insert(FList, At, FormatDateTime(FStampFormat, Row.DateGenerated));
}

std::vector<AnsiString> AlertEmailComposer::Finish() {
    BuildAlertEmailBody(FList, false);
    std::vector<AnsiString> Lines;
    Lines.reserve(FList.size() + 8);
    for (const AnsiString& Line : FList)
        AppendLines(Lines, Line);
    SeedAlertEmailBody(FList);
    FCurrentJob = 0;
    FJobBlockOpen = false;
    return Lines;
}

std::vector<AnsiString> ComposeAlertEmailBody(std::span<const AlertEmailRow> Rows,
                                              int DatePreference) {
    AlertEmailComposer Composer(DatePreference);
    for (const AlertEmailRow& Row : Rows)
        Composer.Add(Row);
    return Composer.Finish();
}
