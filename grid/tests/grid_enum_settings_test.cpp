// Every published enumeration setting of the grid carries the names the
// grid's settings are known by, and every value of it comes back from each
// copy a program makes: the saved state, an assignment, the binary and the
// text form, and a form's stored properties.
#include "grid/model/GxGrid.h"
#include "grid/tests/SettingsCopyFixture.h"
#include "platform/classes/TypInfo.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PublishedProps.h"
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace grid;
using namespace settings_copy;

namespace {

using TNames = std::vector<std::string>;

// The members of each enumeration setting, by ordinal.
const std::map<std::string, TNames>& Members() {
    static const TNames ScrollStyle = {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};
    static const TNames Horz = {"htaLeft", "htaRight", "htaCenter", "htaDefault"};
    static const TNames Vert = {"vtaTop", "vtaBottom", "vtaCenter", "vtaDefault"};
    static const TNames Wrap = {"uiOn", "uiOff", "uiDefault"};
    static const std::map<std::string, TNames> List = {
        {"AlwaysShowScrollBar", ScrollStyle},
        {"BorderStyle", {"bsNone", "bsSingle"}},
        {"CellSelectMode", {"cmNone", "cmRange"}},
        {"CheckBoxStyle", {"stFlat", "stCheck", "stCross"}},
        {"ColSelectMode", {"csNone", "csMulti"}},
        {"DragKind", {"dkDrag", "dkDock"}},
        {"DragMode", {"dmManual", "dmAutomatic"}},
        {"DrawOverlap", {"doDrawColOnTop", "doDrawRowOnTop"}},
        {"FocusBorder", {"fbNone", "fbDot", "fbSingle", "fbDouble", "fbDash"}},
        {"GridLines", {"glNone", "glVertLines", "glHorzLines", "glBoth"}},
        {"GridMode", {"gmListBox", "gmEdit", "gmEditInsert", "gmBrowse"}},
        {"HeadingButton", {"hbCell", "hbButton", "hbNone"}},
        {"HeadingHorzAlignment", Horz},
        {"HeadingVertAlignment", Vert},
        {"HeadingWordWrap", Wrap},
        {"HorzAlignment", Horz},
        {"InactiveButtonState", {"ibsBackGround", "ibsPicture", "ibsNone"}},
        {"PrintOrientation", {"pmPortrait", "pmLandscape"}},
        {"ResizeCols", {"rcNone", "rcSingle", "rcAll"}},
        {"ResizeRows", {"rrNone", "rrSingle", "rrAll"}},
        {"RowBarAlignment", Vert},
        {"RowChangedIndicator", {"riOn", "riOff", "riAutoReset"}},
        {"RowSelectMode", {"rsNone", "rsSingle", "rsMulti"}},
        {"ScrollBars", ScrollStyle},
        {"ScrollSpeed", {"spHigh", "spLow", "spVariable"}},
        {"SelectionType", {"sltDefault", "sltInvert", "sltColor"}},
        {"VertAlignment", Vert},
        {"WordWrap", Wrap},
    };
    return List;
}

// The framework's own enumerations, whose members the platform fixes.
bool FrameworksOwn(const TPropInfo& P) {
    return P.PropType->Name == "Boolean" || P.Name == "Align";
}

TNames NamesOf(const TPropInfo& P) {
    TNames Result;
    for (std::int64_t I = P.PropType->MinValue; I <= P.PropType->MaxValue; ++I)
        Result.push_back(GetEnumName(P.PropType, I));
    return Result;
}

class GridEnumSettings : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        PublishGuiClasses();
    }
};

TEST_F(GridEnumSettings, EachEnumerationCarriesItsMembers) {
    const TgxGrid G(nullptr);
    int Seen = 0;
    for (const TPropInfo* P : GetPropList(&G)) {
        if (P->Kind() != tkEnumeration || FrameworksOwn(*P)) continue;
        ++Seen;
        const auto It = Members().find(P->Name);
        if (It == Members().end()) {
            ADD_FAILURE() << P->Name << " is an enumeration the table does not list";
            continue;
        }
        EXPECT_EQ(NamesOf(*P), It->second) << P->Name;
    }
    EXPECT_EQ(Seen, static_cast<int>(Members().size()));
    // The members the grid's code names are those ordinals.
    EXPECT_EQ(static_cast<int>(fbSingle), 2);
    EXPECT_EQ(static_cast<int>(fbDash), 4);
    EXPECT_EQ(static_cast<int>(csMulti), 1);
    EXPECT_EQ(static_cast<int>(glVertLines), 1);
    EXPECT_EQ(static_cast<int>(gmBrowse), 3);
    EXPECT_EQ(static_cast<int>(hbNone), 2);
    EXPECT_EQ(static_cast<int>(riOn), 0);
    EXPECT_EQ(static_cast<int>(spHigh), 0);
}

TEST_F(GridEnumSettings, EveryValueComesBackFromEveryCopy) {
    for (const auto& [Name, Names] : Members()) {
        for (std::size_t Ord = 0; Ord < Names.size(); ++Ord) {
            SCOPED_TRACE(Name + " = " + Names[Ord]);
            const auto Value = static_cast<std::int64_t>(Ord);
            const std::string& Member = Name;
            const auto Put = [&](TgxGrid& G) { Prop(G, Member.c_str()).SetOrd(&G, Value); };
            const auto Got = [&](const TgxGrid& G) { return Prop(G, Member.c_str()).GetOrd(&G); };
            try {
                TgxGrid Source(nullptr);
                Put(Source);
                ASSERT_EQ(Got(Source), Value);

                TgxGrid Loaded(nullptr);
                Load(Loaded, Saved(Source));
                EXPECT_EQ(Got(Loaded), Value) << "saved state";
                // A grid already holding the value takes a state again.
                Load(Source, Saved(Loaded));
                EXPECT_EQ(Got(Source), Value) << "saved state into the same value";

                TgxGrid Assigned(nullptr);
                Assigned.Assign(&Source);
                EXPECT_EQ(Got(Assigned), Value) << "assignment";

                TGridForm On;
                Put(*On.Grid);
                TForm Binary(nullptr);
                TgxGrid* FromFile = ThroughFormFile(On, Binary);
                ASSERT_NE(FromFile, nullptr);
                EXPECT_EQ(Got(*FromFile), Value) << "binary form";
                TForm Text(nullptr);
                TgxGrid* FromText = ThroughFormText(On, Text);
                ASSERT_NE(FromText, nullptr);
                EXPECT_EQ(Got(*FromText), Value) << "text form";
                if (Value != static_cast<std::int64_t>(Prop(*On.Grid, Name.c_str()).Default))
                    EXPECT_NE(FormText(*On.Form).find(Name + " = " + Names[Ord]),
                              std::string::npos)
                        << FormText(*On.Form);

                TgxGrid Stored(nullptr);
                ThroughStoredProps(Source, Stored, Name.c_str());
                EXPECT_EQ(Got(Stored), Value) << "stored properties";
            } catch (const Exception& E) {
                ADD_FAILURE() << E.Message;
            }
        }
    }
}

} // namespace
