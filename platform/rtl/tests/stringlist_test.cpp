#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

Lines LinesOf(const TStrings& List) {
    Lines Result;
    for (int I = 0; I < List.Count(); ++I)
        Result.push_back(List[I]);
    return Result;
}

void Fill(TStrings& List, const Lines& Items) {
    for (const auto& S : Items)
        List.Add(S);
}

// Runs Op and expects EStringListError with Message.
void ExpectListError(const std::function<void()>& Op, const std::string& Message) {
    try {
        Op();
        ADD_FAILURE() << "no exception, expected: " << Message;
    } catch (const EStringListError& E) {
        EXPECT_EQ(E.Message, Message);
    }
}

// ------------------------------------------------------ sorted, duplicates

TEST(TStringList, SortedAddHonoursDuplicates) {
    struct Case {
        TDuplicates Mode;
        Lines Expected;
    };
    // "a" and "B" equal earlier lines but for case; a duplicate that is
    // accepted goes before its equals.
    const Lines Input = {"b", "A", "a", "c", "B"};
    const std::vector<Case> Cases = {
        {TDuplicates::dupIgnore, {"A", "b", "c"}},
        {TDuplicates::dupAccept, {"a", "A", "B", "b", "c"}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(static_cast<int>(C.Mode));
        TStringList List;
        List.SetSorted(true);
        List.SetDuplicates(C.Mode);
        Fill(List, Input);
        EXPECT_EQ(LinesOf(List), C.Expected);
    }

    TStringList List;
    List.SetSorted(true);
    List.SetDuplicates(TDuplicates::dupError);
    Fill(List, {"b", "A"});
    ExpectListError([&] { List.Add("a"); }, "String list does not allow duplicates");
    EXPECT_EQ(LinesOf(List), (Lines{"A", "b"}));
}

TEST(TStringList, IgnoredDuplicateReturnsTheExistingIndex) {
    TStringList List;
    List.SetSorted(true);
    Fill(List, {"x", "m", "a"});
    int Changes = 0;
    List.OnChange = [&](TObject*) { ++Changes; };
    EXPECT_EQ(List.Add("M"), 1);
    EXPECT_EQ(List.Count(), 3);
    EXPECT_EQ(Changes, 0);
}

TEST(TStringList, CaseSensitiveListKeepsLinesThatDifferInCase) {
    TStringList List;
    List.SetCaseSensitive(true);
    List.SetSorted(true);
    Fill(List, {"b", "B", "b"});
    EXPECT_EQ(List.Count(), 2);
    EXPECT_NE(List.IndexOf("b"), List.IndexOf("B"));
    EXPECT_EQ(List.IndexOf("c"), -1);
}

TEST(TStringList, FindGivesTheInsertionPoint) {
    TStringList List;
    List.SetSorted(true);
    Fill(List, {"f", "b", "d"});
    struct Case {
        const char* S;
        bool Found;
        int Index;
    };
    for (const Case& C : {Case{"a", false, 0}, Case{"c", false, 1}, Case{"D", true, 1},
                          Case{"b", true, 0}, Case{"g", false, 3}}) {
        SCOPED_TRACE(C.S);
        int Index = -7;
        EXPECT_EQ(List.Find(C.S, Index), C.Found);
        EXPECT_EQ(Index, C.Index);
    }
}

TEST(TStringList, IndexOfFollowsCaseSensitivity) {
    TStringList List;
    Fill(List, {"alpha", "Beta"});
    EXPECT_EQ(List.IndexOf("BETA"), 1);
    List.SetCaseSensitive(true);
    EXPECT_EQ(List.IndexOf("BETA"), -1);
    EXPECT_EQ(List.IndexOf("Beta"), 1);
}

TEST(TStringList, SortingAnExistingListAndSortedRestrictions) {
    TStringList List;
    Fill(List, {"pear", "Apple", "fig"});
    List.PutObject(0, &List); // the object travels with its line
    List.SetSorted(true);
    EXPECT_EQ(LinesOf(List), (Lines{"Apple", "fig", "pear"}));
    EXPECT_EQ(List.Objects(2), &List);

    const std::string Message = "Operation not allowed on sorted string list";
    ExpectListError([&] { List.Insert(0, "zz"); }, Message);
    ExpectListError([&] { List.Exchange(0, 1); }, Message);
    ExpectListError([&] { List.Put(0, "zz"); }, Message);
    ExpectListError([&] { List.Move(0, 2); }, Message);
    EXPECT_EQ(LinesOf(List), (Lines{"Apple", "fig", "pear"}));
}

TEST(TStringList, ChangingCaseSensitivityResortsASortedList) {
    TStringList List;
    List.SetSorted(true);
    List.SetDuplicates(TDuplicates::dupAccept);
    Fill(List, {"b", "A", "a", "B"});
    List.SetCaseSensitive(true);
    // Find must work under the new rule: the list is in that rule's order
    // and every line is found where it is.
    for (int I = 1; I < List.Count(); ++I)
        EXPECT_LE(AnsiCompareStr(List[I - 1], List[I]), 0) << List[I - 1] << " " << List[I];
    for (int I = 0; I < List.Count(); ++I)
        EXPECT_EQ(List.IndexOf(List[I]), I) << List[I];
}

TEST(TStringList, CustomSortUsesTheGivenOrderUnlessKeptSorted) {
    TStringList List;
    Fill(List, {"ccc", "a", "bb", "dddd"});
    auto ByLength = [](TStringList* L, int I, int J) {
        return static_cast<int>(L->Get(J).size()) - static_cast<int>(L->Get(I).size());
    };
    List.CustomSort(ByLength);
    EXPECT_EQ(LinesOf(List), (Lines{"dddd", "ccc", "bb", "a"}));

    List.SetSorted(true);
    List.CustomSort(ByLength);
    EXPECT_EQ(LinesOf(List), (Lines{"a", "bb", "ccc", "dddd"}));
}

// ---------------------------------------------------------- index errors

TEST(TStringList, BadIndexesRaiseAndChangeNothing) {
    struct Case {
        const char* Name;
        std::function<void(TStringList&)> Op;
        int Index;
    };
    const std::vector<Case> Cases = {
        {"Get", [](TStringList& L) { L.Get(3); }, 3},
        {"Get negative", [](TStringList& L) { L.Get(-1); }, -1},
        {"Objects", [](TStringList& L) { L.Objects(3); }, 3},
        {"Put", [](TStringList& L) { L.Put(3, "x"); }, 3},
        {"PutObject", [](TStringList& L) { L.PutObject(-2, nullptr); }, -2},
        {"Delete", [](TStringList& L) { L.Delete(3); }, 3},
        {"Insert", [](TStringList& L) { L.Insert(4, "x"); }, 4},
        {"Exchange", [](TStringList& L) { L.Exchange(0, 3); }, 3},
        {"Move to", [](TStringList& L) { L.Move(0, 3); }, 3},
        {"Move from", [](TStringList& L) { L.Move(5, 0); }, 5},
        {"Names", [](TStringList& L) { L.Names(3); }, 3},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TStringList List;
        Fill(List, {"a", "b", "c"});
        ExpectListError([&] { C.Op(List); },
                        "List index out of bounds (" + std::to_string(C.Index) + ")");
        EXPECT_EQ(LinesOf(List), (Lines{"a", "b", "c"}));
    }
}

// ----------------------------------------------------------- change events

TEST(TStringList, ChangeEventsFireOncePerChangeOrUpdate) {
    struct Case {
        const char* Name;
        std::function<void(TStringList&)> Op;
        int Events; // OnChanging and OnChange each
    };
    TStringList Other;
    Fill(Other, {"x", "y"});
    const std::vector<Case> Cases = {
        {"Add", [](TStringList& L) { L.Add("z"); }, 1},
        {"AddObject", [](TStringList& L) { L.AddObject("z", &L); }, 1},
        {"InsertObject", [](TStringList& L) { L.InsertObject(0, "z", &L); }, 1},
        {"Put", [](TStringList& L) { L.Put(0, "z"); }, 1},
        {"Delete", [](TStringList& L) { L.Delete(0); }, 1},
        {"Clear", [](TStringList& L) { L.Clear(); }, 1},
        {"Move", [](TStringList& L) { L.Move(0, 1); }, 1},
        {"Exchange", [](TStringList& L) { L.Exchange(0, 1); }, 1},
        {"Sort", [](TStringList& L) { L.Sort(); }, 1},
        {"SetText", [](TStringList& L) { L.SetText("1\n2\n3"); }, 1},
        {"SetCommaText", [](TStringList& L) { L.SetCommaText("1,2,3"); }, 1},
        {"Assign", [&](TStringList& L) { L.Assign(&Other); }, 1},
        {"SetValues", [](TStringList& L) { L.SetValues("k", "v"); }, 1},
        {"update block",
         [](TStringList& L) {
             L.BeginUpdate();
             L.BeginUpdate();
             L.Add("1");
             L.EndUpdate();
             L.Delete(0);
             L.EndUpdate();
         },
         1},
        {"Clear of empty list",
         [](TStringList& L) {
             L.BeginUpdate();
             L.Clear();
             L.EndUpdate();
             L.Clear();
         },
         1},
        {"unmatched EndUpdate",
         [](TStringList& L) {
             L.EndUpdate();
             L.Add("z");
         },
         1},
        {"IndexOf", [](TStringList& L) { L.IndexOf("b"); }, 0},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TStringList List;
        Fill(List, {"b", "a"});
        int Changing = 0;
        int Change = 0;
        List.OnChanging = [&](TObject* Sender) {
            EXPECT_EQ(Sender, &List);
            ++Changing;
        };
        List.OnChange = [&](TObject* Sender) {
            EXPECT_EQ(Sender, &List);
            ++Change;
        };
        C.Op(List);
        EXPECT_EQ(Changing, C.Events);
        EXPECT_EQ(Change, C.Events);
    }
}

TEST(TStringList, ChangingSeesTheOldStateChangeTheNew) {
    TStringList List;
    Fill(List, {"a"});
    std::vector<int> Seen;
    List.OnChanging = [&](TObject*) { Seen.push_back(List.Count()); };
    List.OnChange = [&](TObject*) { Seen.push_back(List.Count()); };
    List.Add("b");
    EXPECT_EQ(Seen, (std::vector<int>{1, 2}));
}

// ------------------------------------------------------------- text forms

TEST(TStrings, TextJoinsWithCrLfAndSplitsAtAnyLineBreak) {
    TStringList List;
    EXPECT_EQ(List.Text(), "");
    Fill(List, {"a", "", "b"});
    EXPECT_EQ(List.Text(), "a\r\n\r\nb\r\n");

    struct Case {
        const char* Text;
        Lines Expected;
    };
    const std::vector<Case> Cases = {
        {"", {}},
        {"one", {"one"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\rc\r\n", {"a", "b", "c"}},
        {"a\n\n", {"a", ""}},
        {"a\n\rb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"x\r\r\ny", {"x", "", "y"}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Text);
        List.SetText(C.Text);
        EXPECT_EQ(LinesOf(List), C.Expected);
    }
}

TEST(TStrings, CommaTextRoundTrips) {
    struct Case {
        Lines Items;
        const char* Text;
    };
    const std::vector<Case> Cases = {
        {{}, ""},
        {{""}, "\"\""},
        {{"", ""}, ","},
        {{"a", "b"}, "a,b"},
        {{"a b", "c,d", "say \"hi\""}, "\"a b\",\"c,d\",\"say \"\"hi\"\"\""},
        {{"a", "", "b", ""}, "a,,b,"},
        {{"tab\there", "line\nbreak"}, "\"tab\there\",\"line\nbreak\""},
        {{"caf\xC3\xA9", "x=1"}, "caf\xC3\xA9,x=1"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Text);
        TStringList List;
        Fill(List, C.Items);
        EXPECT_EQ(List.CommaText(), C.Text);
        TStringList Back;
        Back.SetCommaText(C.Text);
        EXPECT_EQ(LinesOf(Back), C.Items);
    }
}

TEST(TStrings, CommaTextReadingSplitsAtBlanksAndCommas) {
    struct Case {
        const char* Text;
        Lines Expected;
    };
    const std::vector<Case> Cases = {
        {"a b,c", {"a", "b", "c"}},
        {"  a ,  b  ", {"a", "b"}},
        {"\"a b\" c", {"a b", "c"}},
        {",a", {"", "a"}},
        {"a, ", {"a"}},
        {"\"ab\"cd,e", {"ab", "cd", "e"}},
        {"\"a\"\"b\"", {"a\"b"}},
        {"\"unclosed, text", {"unclosed, text"}},
        {"x\ty\r\nz", {"x", "y", "z"}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Text);
        TStringList List;
        Fill(List, {"old"});
        List.SetCommaText(C.Text);
        EXPECT_EQ(LinesOf(List), C.Expected);
    }
}

TEST(TStrings, DelimitedTextUsesDelimiterAndQuoteChar) {
    TStringList List;
    List.SetDelimiter(';');
    List.SetQuoteChar('\'');
    Fill(List, {"a;b", "c,d", "it's", "e f"});
    EXPECT_EQ(List.DelimitedText(), "'a;b';c,d;'it''s';'e f'");
    EXPECT_EQ(List.CommaText(), "a;b,\"c,d\",it's,\"e f\"");

    TStringList Back;
    Back.SetDelimiter(';');
    Back.SetQuoteChar('\'');
    Back.SetDelimitedText(List.DelimitedText());
    EXPECT_EQ(LinesOf(Back), LinesOf(List));
    Back.SetDelimitedText("x y;z");
    EXPECT_EQ(LinesOf(Back), (Lines{"x", "y", "z"}));
}

// ----------------------------------------------------------- names/values

TEST(TStrings, NamesAndValues) {
    TStringList List;
    Fill(List, {"a=1", "B=2=3", "plain", "=x", "c="});
    EXPECT_EQ(List.Names(0), "a");
    EXPECT_EQ(List.Names(1), "B");
    EXPECT_EQ(List.Names(2), "");
    EXPECT_EQ(List.Values("b"), "2=3");
    EXPECT_EQ(List.Values("plain"), "");
    EXPECT_EQ(List.Values("missing"), "");
    EXPECT_EQ(List.IndexOfName("C"), 4);
    EXPECT_EQ(List.IndexOfName("plain"), -1);
    EXPECT_EQ(List.ValueFromIndex(1), "2=3");
    EXPECT_EQ(List.ValueFromIndex(2), ""); // no '=': no value, not a clipped line
    EXPECT_EQ(List.ValueFromIndex(3), "x");
    EXPECT_EQ(List.ValueFromIndex(-1), "");

    List.SetValues("A", "9");
    List.SetValues("new", "v");
    List.SetValues("B", "");
    List.SetValueFromIndex(1, "p"); // "plain" has the empty name
    EXPECT_EQ(LinesOf(List), (Lines{"A=9", "=p", "=x", "c=", "new=v"}));
    List.SetValueFromIndex(0, "");
    EXPECT_EQ(LinesOf(List), (Lines{"=p", "=x", "c=", "new=v"}));

    List.SetCaseSensitive(true);
    EXPECT_EQ(List.Values("NEW"), "");
    EXPECT_EQ(List.Values("new"), "v");
}

TEST(TStrings, SettingAValueOnASortedList) {
    TStringList List;
    List.SetSorted(true);
    Fill(List, {"m=1", "z=2"});
    List.SetValues("a", "0");
    EXPECT_EQ(LinesOf(List), (Lines{"a=0", "m=1", "z=2"}));
    // Rewriting a line in place would break the order: refused, and nothing
    // is left half done.
    ExpectListError([&] { List.SetValues("m", "5"); },
                    "Operation not allowed on sorted string list");
    EXPECT_EQ(LinesOf(List), (Lines{"a=0", "m=1", "z=2"}));
}

// ----------------------------------------------- assign, add strings, equals

TEST(TStrings, AssignAddStringsAndEquals) {
    TStringList Source;
    Fill(Source, {"b", "a", "B"});
    Source.PutObject(1, &Source);

    TStringList Target;
    Fill(Target, {"old"});
    Target.Assign(&Source);
    EXPECT_TRUE(Target.Equals(&Source));
    EXPECT_EQ(Target.Objects(1), &Source);

    TStringList Sorted;
    Sorted.SetSorted(true);
    Sorted.Assign(&Source);
    EXPECT_EQ(LinesOf(Sorted), (Lines{"a", "b"}));
    EXPECT_FALSE(Sorted.Equals(&Source));

    Target.Put(2, "b"); // Equals compares exactly, case included
    EXPECT_FALSE(Target.Equals(&Source));
    EXPECT_FALSE(Target.Equals(nullptr));

    Target.Assign(&Target);
    EXPECT_EQ(LinesOf(Target), (Lines{"b", "a", "b"}));
    Target.AddStrings(&Target);
    EXPECT_EQ(LinesOf(Target), (Lines{"b", "a", "b", "b", "a", "b"}));

    try {
        Target.Assign(static_cast<TPersistent*>(nullptr));
        ADD_FAILURE() << "no exception";
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message, "Cannot assign a nil to a TStringList");
    }
    EXPECT_EQ(Target.Count(), 6);
}

// ------------------------------------------------------------ owned objects

struct Counted : TObject {
    explicit Counted(int& Deaths) : FDeaths(Deaths) {}
    ~Counted() override { ++FDeaths; }
    int& FDeaths;
};

TEST(TStringList, OwnsObjectsFreesWhatItDeletes) {
    int Deaths = 0;
    Counted Kept(Deaths);
    {
        TStringList List(true);
        List.AddObject("a", new Counted(Deaths));
        List.AddObject("b", new Counted(Deaths));
        List.AddObject("c", new Counted(Deaths));
        List.AddObject("d", new Counted(Deaths));
        List.Delete(0);
        EXPECT_EQ(Deaths, 1);
        List.Clear();
        EXPECT_EQ(Deaths, 4);
        List.AddObject("e", new Counted(Deaths));
    }
    EXPECT_EQ(Deaths, 5);
    {
        TStringList List;
        List.AddObject("k", &Kept);
        List.Delete(0);
        List.AddObject("k", &Kept);
    }
    EXPECT_EQ(Deaths, 5);
}

// ------------------------------------------- storage-only TStrings descendant

// A list that provides only the storage primitives, as grid rows and memo
// lines do; everything else comes from TStrings.
class VectorStrings : public TStrings {
public:
    AnsiString Get(int Index) const override { return Items.at(Index).first; }
    int GetCount() const override { return static_cast<int>(Items.size()); }
    TObject* GetObject(int Index) const override { return Items.at(Index).second; }
    void PutObject(int Index, TObject* O) override { Items.at(Index).second = O; }
    void Insert(int Index, const AnsiString& S) override {
        if (Index < 0 || Index > GetCount()) IndexError(Index);
        Items.insert(Items.begin() + Index, {S, nullptr});
    }
    void Delete(int Index) override {
        if (Index < 0 || Index >= GetCount()) IndexError(Index);
        Items.erase(Items.begin() + Index);
    }
    void Clear() override { Items.clear(); }

    std::vector<std::pair<AnsiString, TObject*>> Items;
};

TEST(TStrings, DefaultsWorkOnTheStoragePrimitives) {
    VectorStrings List;
    List.SetCommaText("a,b,c");
    List.PutObject(0, &List);
    List.Move(0, 2);
    EXPECT_EQ(LinesOf(List), (Lines{"b", "c", "a"}));
    EXPECT_EQ(List.Objects(2), &List);
    List.Exchange(2, 0);
    EXPECT_EQ(LinesOf(List), (Lines{"a", "c", "b"}));
    EXPECT_EQ(List.Objects(0), &List);
    List.Put(0, "z");
    EXPECT_EQ(List.Objects(0), &List);
    EXPECT_EQ(List.IndexOf("B"), 2);
    EXPECT_EQ(List.IndexOfObject(&List), 0);

    // A move to a place that does not exist must not lose the line.
    ExpectListError([&] { List.Move(0, 3); }, "List index out of bounds (3)");
    EXPECT_EQ(LinesOf(List), (Lines{"z", "c", "b"}));
}

// ------------------------------------------------------------ files, streams

class TStringsFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char Template[] = "/tmp/stringlist_test.XXXXXX";
        ASSERT_NE(mkdtemp(Template), nullptr);
        Dir = Template;
    }
    void TearDown() override {
        for (const char* Name : {"/lines.txt", "/in.txt"})
            std::remove((Dir + Name).c_str());
        std::remove(Dir.c_str());
    }
    static std::string Read(const std::string& Path) {
        std::ifstream In(Path, std::ios::binary);
        std::stringstream S;
        S << In.rdbuf();
        return S.str();
    }
    std::string Dir;
};

TEST_F(TStringsFiles, SaveWritesCrLfLinesAndLoadReadsAnyBreaks) {
    TStringList List;
    Fill(List, {"one", "", "tw\xC3\xB6"});
    List.SaveToFile(Dir + "/lines.txt");
    EXPECT_EQ(Read(Dir + "/lines.txt"), "one\r\n\r\ntw\xC3\xB6\r\n");

    std::ofstream(Dir + "/in.txt", std::ios::binary) << "x\ny\r\nz";
    List.LoadFromFile(Dir + "/in.txt");
    EXPECT_EQ(LinesOf(List), (Lines{"x", "y", "z"}));
}

TEST_F(TStringsFiles, FailedLoadKeepsTheLines) {
    TStringList List;
    Fill(List, {"keep"});
    EXPECT_THROW(List.LoadFromFile(Dir + "/missing.txt"), EFOpenError);
    EXPECT_EQ(LinesOf(List), (Lines{"keep"}));
}

TEST(TStrings, StreamsReadFromThePositionAndWriteText) {
    TStringStream In("skip|a\rb");
    In.SetPosition(5);
    TStringList List;
    List.LoadFromStream(&In);
    EXPECT_EQ(LinesOf(List), (Lines{"a", "b"}));

    TStringStream Out("");
    List.SaveToStream(&Out);
    EXPECT_EQ(Out.DataString(), "a\r\nb\r\n");
}

} // namespace
