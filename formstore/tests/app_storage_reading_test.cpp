// Storage dispatch, default names and the application helpers, through
// real storage objects, forms and grids.
#include "formstore/AppStorage.h"
#include "formstore/FormPlacement.h"
#include "formstore/StorageDispatch.h"

#include "platform/rtl/testing/ScratchConfig.h"

#include "grid/foundation/DrawGrid.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "platform/registry/IniFiles.h"
#include "platform/registry/RegIniFile.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

using namespace formstore;

namespace {

const AnsiString ReadingKey = "Software\\Pellworth\\ReadingTests";

class TReadingFormWindow : public TForm {
public:
    explicit TReadingFormWindow(TComponent* AOwner) : TForm(AOwner) {}
    AnsiString ClassName() const override { return "TMainFormWindow"; }
};

class TOtherWindow : public TForm {
public:
    explicit TOtherWindow(TComponent* AOwner) : TForm(AOwner) {}
    AnsiString ClassName() const override { return "TOtherWindow"; }
};

class AppStorageReading : public ScratchConfig {
protected:
    void SetUp() override {
        ScratchConfig::SetUp();
        Application->Initialize();
        TRegIniFile(ReadingKey).EraseSection("S");
        TRegIniFile(ReadingKey).EraseSection("T");
    }
    void TearDown() override {
        TRegIniFile(ReadingKey).EraseSection("S");
        TRegIniFile(ReadingKey).EraseSection("T");
        while (Screen->FormCount() > 0) delete Screen->Forms(0);
        ScratchConfig::TearDown();
    }
    std::vector<std::pair<const char*, std::function<std::unique_ptr<TObject>()>>> Kinds() {
        return {
            {"registry", [] { return std::make_unique<TRegIniFile>(ReadingKey); }},
            {"ini file", [this] { return std::make_unique<TIniFile>(File("r.ini")); }},
        };
    }
};

} // namespace

TEST_F(AppStorageReading, QuotedValuesAreWrappedOnlyInTheIniFile) {
    {
        TIniFile Ini(File("r.ini"));
        IniWriteString(&Ini, "S", "Q", "\"a\"");
        IniWriteString(&Ini, "S", "A", "'b'");
        IniWriteString(&Ini, "S", "P", "\"c");
    }
    const AnsiString Text = ReadFile(File("r.ini"));
    EXPECT_NE(Text.find("Q=\"\"a\"\""), AnsiString::npos) << Text;
    EXPECT_NE(Text.find("A=\"'b'\""), AnsiString::npos) << Text;
    EXPECT_NE(Text.find("P=\"c"), AnsiString::npos) << Text;
    TIniFile Ini(File("r.ini"));
    EXPECT_EQ(IniReadString(&Ini, "S", "Q", ""), "\"a\"");
    EXPECT_EQ(IniReadString(&Ini, "S", "A", ""), "'b'");

    TRegIniFile Reg(ReadingKey);
    IniWriteString(&Reg, "S", "Q", "\"a\"");
    EXPECT_EQ(Reg.ReadString("S", "Q", ""), "\"a\"");
    EXPECT_EQ(IniReadString(&Reg, "S", "Q", ""), "\"a\"");
    EXPECT_EQ(IniReadString(&Reg, "S", "Missing", "dflt"), "dflt");
}

TEST_F(AppStorageReading, NumbersAndBooleansInBothStores) {
    for (auto& [Kind, Make] : Kinds()) {
        SCOPED_TRACE(Kind);
        IniWriteInteger(Make().get(), "S", "I", -42);
        EXPECT_EQ(IniReadString(Make().get(), "S", "I", ""), "-42");
        EXPECT_EQ(IniReadInteger(Make().get(), "S", "I", 7), -42);
        EXPECT_EQ(IniReadInteger(Make().get(), "S", "None", 7), 7);
        IniWriteString(Make().get(), "S", "Bad", "12x");
        EXPECT_EQ(IniReadInteger(Make().get(), "S", "Bad", 7), 7);
        IniWriteBool(Make().get(), "S", "B", true);
        EXPECT_EQ(IniReadString(Make().get(), "S", "B", ""), "1");
        IniWriteBool(Make().get(), "S", "B", false);
        EXPECT_EQ(IniReadString(Make().get(), "S", "B", ""), "0");
        EXPECT_FALSE(IniReadBool(Make().get(), "S", "B", true));
        IniWriteString(Make().get(), "S", "B", "-3");
        EXPECT_TRUE(IniReadBool(Make().get(), "S", "B", false));
        EXPECT_TRUE(IniReadBool(Make().get(), "S", "None", true));
        for (const char* Bad : {"abc", "", "yes"}) {
            IniWriteString(Make().get(), "S", "B", Bad);
            EXPECT_TRUE(IniReadBool(Make().get(), "S", "B", true)) << Bad;
            EXPECT_FALSE(IniReadBool(Make().get(), "S", "B", false)) << Bad;
        }
        IniWriteString(Make().get(), "S", "Big", "2147483648");
        EXPECT_EQ(IniReadInteger(Make().get(), "S", "Big", 7), 7);
        IniWriteString(Make().get(), "S", "Min", "-2147483648");
        EXPECT_EQ(IniReadInteger(Make().get(), "S", "Min", 7), INT32_MIN);
    }
}

TEST_F(AppStorageReading, IniLineConversion) {
    struct Case { AnsiString Text, Line; };
    const Case Cases[] = {
        {"a\r\nb", "a\\nb"},
        {"a\n\rb", "a\\nb"},
        {"a\nb", "a\\nb"},
        {"a\rb", "a\\nb"},
        {"a\r\n\r\nb", "a\\n\\nb"},
        {"a\n\nb", "a\\n\\nb"},
        {"", ""},
        {AnsiString("ab\0cd", 5), "ab"},
    };
    for (const auto& C : Cases) EXPECT_EQ(StrToIniStr(C.Text), C.Line) << C.Line;
    EXPECT_EQ(IniStrToStr("a\\nb\\n"), "a\r\nb\r\n");
    EXPECT_EQ(IniStrToStr("a\\tb\\"), "a\\tb\\");
    const AnsiString Max(4096, 'x');
    EXPECT_EQ(StrToIniStr(Max), Max);
    EXPECT_EQ(IniStrToStr(Max), Max);
    for (auto* Convert : {&StrToIniStr, &IniStrToStr}) {
        try {
            Convert(AnsiString("ab") + '\0' + AnsiString(4094, 'x'));
            ADD_FAILURE() << "no error";
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message, "Line too long");
        }
    }
}

TEST_F(AppStorageReading, DefaultSectionsOfComponents) {
    auto* Form = new TReadingFormWindow(Application);
    Form->SetName("MainForm");
    auto* Grid = new grid::TDrawGrid_ts(Form);
    Grid->SetName("Grid1");
    Grid->SetParent(Form);
    auto* Panel = new TPanel(Form);
    Panel->SetName("Panel1");
    Panel->SetParent(Form);
    auto* Nested = new TEdit(Form);
    Nested->SetName("Edit1");
    Nested->SetParent(Panel);
    auto* Timerish = new TComponent(Form);
    Timerish->SetName("Helper");
    auto* Unparented = new TEdit(Form);
    Unparented->SetName("Spare");

    TPanel Loose(nullptr);
    Loose.SetName("Outer");
    TEdit InLoose(nullptr);
    InLoose.SetName("Inner");
    InLoose.SetParent(&Loose);
    TEdit Alone(nullptr);
    Alone.SetName("Alone");
    TComponent Free(nullptr);
    Free.SetName("Free");

    struct Case { TComponent* C; AnsiString Expected; };
    const Case Cases[] = {
        {nullptr, ""},
        {Form, "TMainFormWindow"},
        {Grid, "TMainFormWindowGrid1"},
        {Nested, "TMainFormWindowEdit1"},
        {Timerish, "TMainFormWindow.Helper"},
        {Unparented, "Spare"},
        {&InLoose, "OuterInner"},
        {&Alone, "Alone"},
        {&Free, "Free"},
    };
    for (const auto& C : Cases) EXPECT_EQ(GetDefaultSection(C.C), C.Expected);
    InLoose.SetParent(nullptr);
}

TEST_F(AppStorageReading, DefaultIniDataTakesTheFormsPlacement) {
    auto* Form = new TReadingFormWindow(Application);
    auto* Edit = new TEdit(Form);
    Edit->SetName("Edit1");
    Edit->SetParent(Form);
    AnsiString Name, Section;
    GetDefaultIniData(Edit, Name, Section, true);
    EXPECT_EQ(Name, GetDefaultIniRegKey());
    EXPECT_EQ(Section, "TMainFormWindowEdit1");
    GetDefaultIniData(Edit, Name, Section, false);
    EXPECT_EQ(Name, GetDefaultIniName());

    auto* Placement = new TFormPlacement(Form);
    Placement->SetIniFileName("Software\\Mine");
    auto* Second = new TFormPlacement(Form);
    Second->SetIniFileName("Software\\Second");
    GetDefaultIniData(Edit, Name, Section, false);
    EXPECT_EQ(Name, Placement->GetIniFileName());
    EXPECT_EQ(Name, "Software\\Mine");
}

TEST_F(AppStorageReading, FindingShowingAndMakingForms) {
    EXPECT_EQ(FindForm<TReadingFormWindow>(), nullptr);
    auto* A = ShowFormOfClass<TReadingFormWindow>("", false);
    ASSERT_NE(A, nullptr);
    EXPECT_TRUE(A->Visible());
    EXPECT_EQ(FindForm<TReadingFormWindow>(), A);
    EXPECT_EQ(FindForm<TForm>() != nullptr, true);
    EXPECT_EQ(ShowFormOfClass<TReadingFormWindow>("", false), A);
    auto* B = ShowFormOfClass<TReadingFormWindow>("Second", false);
    EXPECT_NE(B, A);
    EXPECT_EQ(B->Caption(), "Second");
    EXPECT_EQ(ShowFormOfClass<TReadingFormWindow>("Second", false), B);
    EXPECT_NE(ShowFormOfClass<TReadingFormWindow>("second", false), B);
    B->SetWindowState(wsMinimized);
    EXPECT_EQ(FindShowForm<TReadingFormWindow>("Second"), B);
    EXPECT_EQ(B->WindowState(), wsNormal);
    EXPECT_EQ(FindForm<TOtherWindow>(), nullptr);

    TOtherWindow* Ref = nullptr;
    auto* Made = InstantiateForm(Ref);
    EXPECT_EQ(Made, Ref);
    ASSERT_NE(Ref, nullptr);
    EXPECT_EQ(InstantiateForm(Ref), Made);
}

TEST_F(AppStorageReading, UniqueFileNameSkipsTakenNames) {
    const AnsiString Dir = File("names");
    std::filesystem::create_directories(Dir.c_str());
    EXPECT_EQ(GetUniqueFileNameInDir(Dir, "file%d.txt"), "file0.txt");
    std::ofstream((Dir + "/file0.txt").c_str()) << "x";
    std::ofstream((Dir + "/file1.txt").c_str()) << "x";
    EXPECT_EQ(GetUniqueFileNameInDir(Dir, "file%d.txt"), "file2.txt");
    EXPECT_EQ(GetUniqueFileNameInDir(Dir + "/", "file%d.txt"), "file2.txt");
    EXPECT_EQ(GetUniqueFileNameInDir(Dir, "file%.3d.txt"), "file000.txt");
    // A dangling link holds its name; a pattern without a number has one name.
    std::filesystem::create_symlink((Dir + "/nowhere").c_str(), (Dir + "/file2.txt").c_str());
    EXPECT_EQ(GetUniqueFileNameInDir(Dir, "file%d.txt"), "file3.txt");
    EXPECT_EQ(GetUniqueFileNameInDir(Dir, "file0.txt"), "");
    EXPECT_EQ(GetUniqueFileNameInDir(Dir, "fresh.txt"), "fresh.txt");
}

namespace {

// A dialog that closes itself with the result it is given as soon as it shows.
TModalResult NextResult = mrNone;
int Alive = 0;
struct TSelfClosing : TForm {
    explicit TSelfClosing(TComponent* O) : TForm(O) {
        ++Alive;
        OnShow = [this](TObject*) {
            if (NextResult == mrNone) throw Exception("no result");
            SetModalResult(NextResult);
        };
    }
    ~TSelfClosing() override { --Alive; }
};

} // namespace

TEST_F(AppStorageReading, ShowDialogIsTrueForOkAndYesAndFreesTheDialog) {
    const std::pair<TModalResult, bool> Cases[] = {
        {mrOk, true}, {mrYes, true}, {mrCancel, false}, {mrNo, false}, {mrAbort, false}};
    for (auto [Result, Expected] : Cases) {
        NextResult = Result;
        EXPECT_EQ(ShowDialog<TSelfClosing>(), Expected) << Result;
        EXPECT_EQ(Alive, 0);
    }
    NextResult = mrNone;
    EXPECT_THROW(ShowDialog<TSelfClosing>(), Exception);
    EXPECT_EQ(Alive, 0);
}

TEST_F(AppStorageReading, UniqueFileNameMasksThatAreNoIntegerPattern) {
    const AnsiString Dir = File("masks");
    std::filesystem::create_directories(Dir.c_str());
    for (const AnsiString Mask : {"a%s.txt", "a%d%d.txt", "a%n.txt", "a%f.txt", "a%"}) {
        SCOPED_TRACE(Mask);
        try {
            const AnsiString Name = GetUniqueFileNameInDir(Dir, Mask);
            EXPECT_LT(Name.size(), 4096u);
        } catch (const Exception&) {
        }
    }
}
