// Every published grid setting comes back from each kind of copy a program
// makes (saved state, assignment, a form file, a form's stored properties)
// and goes back to its default on a reset of the grid group; the copies of
// single groups leave the rest of the grid alone.
#include "grid/foundation/DateTimeDefs.h"
#include "grid/foundation/ImageList.h"
#include "grid/foundation/MaskDefs.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/GxGrid.h"
#include "grid/model/Rows.h"
#include "grid/tests/SettingsCopyFixture.h"
#include "platform/classes/Filer.h"
#include "platform/classes/Publish.h"
#include "platform/classes/TypInfo.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/PublishedProps.h"
#include "platform/gui/QtApp.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace grid;
using namespace settings_copy;

namespace {

// One setting and a value other than a new grid's: a number (ordinal,
// colour, enumeration member) or a text.
struct TSetting {
    const char* Name;
    std::int64_t Ord;
    const char* Text = nullptr;
};

const std::vector<TSetting>& Settings() {
    static const std::vector<TSetting> List = {
        {"AlwaysShowEditor", 0},
        {"AlwaysShowFocus", 1},
        {"AlwaysDetectButton", 1},
        {"AlwaysShowScrollBar", 3},
        {"AutoScale", 1},
        {"BorderStyle", 0},
        {"ButtonEdgeWidth", 3},
        {"CellSelectMode", 0},
        {"CenterPicture", 0},
        {"CheckBoxStyle", 2},
        {"CheckBoxValues", 0, "Yes|No"},
        {"CheckMouseFocus", 0},
        {"Color", 0x00336699},
        {"ColMoving", 0},
        {"ColSelectMode", 0},
        {"Ctl3D", 0},
        {"Cursor", -3},
        {"DefaultButtonHeight", 10},
        {"DefaultButtonWidth", 13},
        {"DefaultColWidth", 70},
        {"DefaultRowHeight", 18},
        {"DragCursor", -13},
        {"DragKind", 1},
        {"DragMode", 1},
        {"DrawOverlap", 1},
        {"EditColor", 0x0000FF00},
        {"EditFontColor", 0x00000080},
        {"ExportDelimiter", 0, ";"},
        {"FixedColCount", 1},
        {"FixedLineColor", 0x00808080},
        {"FixedRowCount", 1},
        {"FlatButtons", 0},
        {"FocusBorder", 2},
        {"FocusBorderColor", 0x00112233},
        {"FocusColor", 0x000000AA},
        {"FocusFontColor", 0x00445566},
        {"GridLines", 1},
        {"GridMode", 0},
        {"Heading3D", 0},
        {"HeadingButton", 0},
        {"HeadingColor", 0x000000FF},
        {"HeadingHeight", 22},
        {"HeadingHorzAlignment", 2},
        {"HeadingOn", 0},
        {"HeadingParentFont", 0},
        {"HeadingVertAlignment", 2},
        {"HeadingWordWrap", 0},
        {"HelpContext", 12},
        {"Hint", 0, "the orders"},
        {"HorzAlignment", 1},
        {"InactiveButtonState", 2},
        {"Is3D", 1},
        {"KeepAspectRatio", 1},
        {"ParentCtl3D", 0},
        {"ParentShowHint", 0},
        {"LineColor", 0x00123456},
        {"PrintCols", 3},
        {"PrintLinesPerPage", 55},
        {"PrintOrientation", 0},
        {"PrintTitle", 0, "Open orders"},
        {"PrintTotals", 0},
        {"PrintWithGridFormats", 0},
        {"ProvideGridMenu", 1},
        {"ReadOnlyButton", 0},
        {"ResizeCols", 0},
        {"ResizeColsInGrid", 1},
        {"ResizeRows", 1},
        {"ResizeRowsInGrid", 1},
        {"RowBarAlignment", 1},
        {"RowBarIndicator", 0},
        {"RowBarOn", 0},
        {"RowBarWidth", 20},
        {"RowChangedIndicator", 2},
        {"RowMoving", 0},
        {"RowSelectMode", 1},
        {"ScrollBars", 2},
        {"ScrollSpeed", 1},
        {"SelectedAreaCursor", -21},
        {"SelectFixed", 0},
        {"SelectionColor", 0x00FF00FF},
        {"SelectionFontColor", 0x0000FFFF},
        {"SelectionType", 2},
        {"ShowHint", 1},
        {"ShrinkPicture", 0},
        {"SkipReadOnly", 0},
        {"SpinButtonHeight", 8},
        {"SpinButtonWidth", 12},
        {"SpinRepeatDelay", 120},
        {"SpinStartDelay", 700},
        {"StoreData", 1},
        {"StretchPicture", 0},
        {"TabRowWrap", 0},
        {"Tag", 7},
        {"ThumbTracking", 1},
        {"TransparentColor", 0x00FFFFFF},
        {"VertAlignment", 0},
        {"WantTabs", 0},
        {"WordWrap", 0},
    };
    return List;
}

// Published, but shown by other tests or not a grid setting: where the
// grid stands and what it is called, the counts, the links and objects
// (below), and the framework's switches that follow its parent.
const std::set<std::string> Elsewhere = {
    "Left",     "Top",     "Width",    "Height",      "Name",        "Visible",
    "TabOrder", "TabStop", "Align",    "Anchors",     "Enabled",     "Font",
    "ParentColor", "ParentFont", "Version", "Cols",    "Rows",        "XMLExport",
    "GridReport",  "DateTimeDef", "ImageList", "MaskDefs", "PopupMenu", "HeadingFont",
    "Constraints"};

// Published settings that a reset of the grid group leaves to the column
// and row groups and to the values.
const std::set<std::string> NotGridGroup = {"DefaultColWidth", "DefaultRowHeight",
                                            "StoreData"};

void Put(TgxGrid& G, const TSetting& S) {
    const TPropInfo& P = Prop(G, S.Name);
    if (S.Text)
        P.SetStr(&G, S.Text);
    else
        P.SetOrd(&G, S.Ord);
}

std::string Read(const TgxGrid& G, const char* Name) {
    const TPropInfo& P = Prop(G, Name);
    return P.GetStr ? std::string(P.GetStr(&G)) : std::to_string(P.GetOrd(&G));
}

std::string Wanted(const TSetting& S) {
    return S.Text ? std::string(S.Text) : std::to_string(S.Ord);
}

// An image list and mask definitions a form file can hold; the grid needs
// only their links.
class FormImageList : public TgxImageList {
public:
    using TgxImageList::TgxImageList;
    AnsiString ClassName() const override { return "FormImageList"; }
};
class FormMaskDefs : public TgxMaskDefs {
public:
    using TgxMaskDefs::TgxMaskDefs;
    AnsiString ClassName() const override { return "FormMaskDefs"; }
};
const TPublished<FormImageList, TComponent> FormImageListClass(
    "FormImageList", [](auto&) {}, true);
const TPublished<FormMaskDefs, TComponent> FormMaskDefsClass("FormMaskDefs", [](auto&) {}, true);

class GridSettingsCopy : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        PublishGuiClasses();
    }
};

TEST_F(GridSettingsCopy, TheTableCoversEveryPublishedSetting) {
    TgxGrid G(nullptr);
    std::set<std::string> Listed = Elsewhere;
    for (const TSetting& S : Settings())
        Listed.insert(S.Name);
    for (const TPropInfo* P : GetPropList(&G))
        EXPECT_TRUE(Listed.count(P->Name)) << P->Name << " is published but not in the table";
    // And a new grid has every setting the table changes at another value.
    for (const TSetting& S : Settings())
        EXPECT_NE(Read(G, S.Name), Wanted(S)) << S.Name;
}

TEST_F(GridSettingsCopy, EachSettingComesBackFromEveryCopy) {
    for (const TSetting& S : Settings()) {
        SCOPED_TRACE(S.Name);
        const std::string Want = Wanted(S);
        TgxGrid Source(nullptr);
        Put(Source, S);
        ASSERT_EQ(Read(Source, S.Name), Want);

        TgxGrid Loaded(nullptr);
        Load(Loaded, Saved(Source));
        EXPECT_EQ(Read(Loaded, S.Name), Want) << "saved state";

        TgxGrid Assigned(nullptr);
        Assigned.Assign(&Source);
        EXPECT_EQ(Read(Assigned, S.Name), Want) << "assignment";

        TGridForm On;
        TForm Copy(nullptr);
        Put(*On.Grid, S);
        TgxGrid* Read1 = ThroughFormFile(On, Copy);
        ASSERT_NE(Read1, nullptr);
        EXPECT_EQ(Read(*Read1, S.Name), Want) << "form file";

        TgxGrid Stored(nullptr);
        ThroughStoredProps(Source, Stored, S.Name);
        EXPECT_EQ(Read(Stored, S.Name), Want) << "stored properties";

        if (!NotGridGroup.count(S.Name)) {
            const TgxGrid Fresh(nullptr);
            Source.ResetPropKinds({pkGrid});
            EXPECT_EQ(Read(Source, S.Name), Read(Fresh, S.Name)) << "reset";
        }
    }
}

TEST_F(GridSettingsCopy, TheHeadingFontAndTheLinksTravelWithTheGrid) {
    TGridForm On;
    auto* Images = new FormImageList(On.Form.get());
    Images->SetName("Images");
    auto* Masks = new FormMaskDefs(On.Form.get());
    Masks->SetName("Masks");
    // The framework streams no menus: this one is the program's.
    TPopupMenu MenuObject(nullptr);
    TPopupMenu* Menu = &MenuObject;
    TgxGrid& G = *On.Grid;
    G.SetImageList(Images);
    G.SetMaskDefs(Masks);
    G.SetPopupMenu(Menu);
    TFont Heading;
    Heading.SetSize(17);
    Heading.SetStyle({fsBold});
    G.SetHeadingFont(&Heading);
    EXPECT_FALSE(G.HeadingParentFont());

    const auto Check = [](TgxGrid& Got, TgxImageListComponent* I, TgxMaskDefsComponent* M,
                          TPopupMenu* P) {
        EXPECT_FALSE(Got.HeadingParentFont());
        EXPECT_EQ(Got.HeadingFont()->Size(), 17);
        EXPECT_EQ(Got.HeadingFont()->Style(), TFontStyles{fsBold});
        EXPECT_EQ(Got.ImageList(), I);
        EXPECT_EQ(Got.GetMaskDefs(), M);
        EXPECT_EQ(Got.PopupMenu(), P);
    };
    {
        SCOPED_TRACE("form file");
        TForm Copy(nullptr);
        TgxGrid* Read = ThroughFormFile(On, Copy);
        ASSERT_NE(Read, nullptr);
        Check(*Read, dynamic_cast<TgxImageListComponent*>(Copy.FindComponent("Images")),
              dynamic_cast<TgxMaskDefsComponent*>(Copy.FindComponent("Masks")), nullptr);
    }
    {
        SCOPED_TRACE("assignment");
        TgxGrid Assigned(nullptr);
        Assigned.Assign(&G);
        Check(Assigned, Images, Masks, Menu);
        // A reset of the grid group gives the heading font back to the
        // parent and drops the links.
        Assigned.ResetPropKinds({pkGrid});
        EXPECT_TRUE(Assigned.HeadingParentFont());
        EXPECT_EQ(Assigned.HeadingFont()->Size(), Assigned.Font()->Size());
        EXPECT_EQ(Assigned.ImageList(), nullptr);
        EXPECT_EQ(Assigned.GetMaskDefs(), nullptr);
        EXPECT_EQ(Assigned.PopupMenu(), nullptr);
    }
    {
        SCOPED_TRACE("saved state");
        TgxGrid Loaded(nullptr);
        Load(Loaded, Saved(G));
        EXPECT_FALSE(Loaded.HeadingParentFont());
        EXPECT_EQ(Loaded.HeadingFont()->Size(), 17);
    }
}

TEST_F(GridSettingsCopy, AnAssignmentReportsTheColumnsItMoves) {
    TgxGrid Source(nullptr);
    Source.SetGridColCount(5);
    Source.GridCols()->Item(2)->SetDisplayCol(4);
    TgxGrid Target(nullptr);
    Target.SetGridColCount(5);
    std::vector<int> MovedTo;
    Target.OnColMoved = [&](TObject*, int To, int, bool ByUser) {
        EXPECT_FALSE(ByUser);
        MovedTo.push_back(To);
    };
    Target.Assign(&Source);
    EXPECT_EQ(Target.GetDataCol(4), 2);
    EXPECT_EQ(MovedTo, (std::vector<int>{4, 2, 3}));
}

TEST_F(GridSettingsCopy, AColumnsListIsDesignedWithItsGrid) {
    TgxGrid G(nullptr);
    TgxCol* Own = G.GridCols()->Item(2);
    Own->SetButtonType(btCombo);
    Own->SetParentCombo(false);
    TgxComboGrid* List = Own->GetCombo()->GetGrid();
    EXPECT_FALSE(List->GetInDesignMode());
    G.SetInDesignMode(true);
    EXPECT_TRUE(List->GetInDesignMode());
    G.SetInDesignMode(false);
    EXPECT_FALSE(List->GetInDesignMode());
}

TEST_F(GridSettingsCopy, AGridTakingADesignedGridIsDesignedToo) {
    TgxGrid Source(nullptr);
    Source.SetInDesignMode(true);
    TgxGrid Target(nullptr);
    ASSERT_FALSE(Target.GetInDesignMode());
    Target.Assign(&Source);
    EXPECT_TRUE(Target.GetInDesignMode());
    // A designed grid stays designed whatever it takes.
    TgxGrid Plain(nullptr);
    Target.Assign(&Plain);
    EXPECT_TRUE(Target.GetInDesignMode());
}

// A target with values in 5 columns by 6 rows.
void FillValues(TgxGrid& G) {
    G.SetStoreData(true);
    G.SetGridColCount(5);
    G.SetGridRowCount(6);
    for (int R = 1; R <= 6; ++R)
        for (int C = 1; C <= 5; ++C)
            G.SetCellValue(C, R, Variant("v" + std::to_string(C) + std::to_string(R)));
}

TEST_F(GridSettingsCopy, TakingRowsOrColumnsAloneKeepsTheValues) {
    TgxGrid Source(nullptr);
    Source.SetGridColCount(5);
    Source.SetGridRowCount(6);
    Source.SetRowColor(2, 0x0000FF);
    Source.GridCols()->Item(3)->SetColor(0x00FF00);

    TgxGrid Rows(nullptr);
    FillValues(Rows);
    Rows.SetCellColor(4, 4, 0x123456);
    Rows.AssignPropKinds(&Source, {pkRows}, false);
    EXPECT_EQ(Rows.GetRowColor(2), 0x0000FF);
    EXPECT_EQ(VarToStr(Rows.GetCellValue(1, 1)), "v11");
    EXPECT_EQ(VarToStr(Rows.GetCellValue(5, 6)), "v56");
    EXPECT_EQ(Rows.GetCellColor(4, 4), 0x123456); // cells are a group of their own

    TgxGrid Cols(nullptr);
    FillValues(Cols);
    Cols.AssignPropKinds(&Source, {pkCols}, false);
    EXPECT_EQ(Cols.GridCols()->Item(3)->Color(), 0x00FF00);
    EXPECT_EQ(VarToStr(Cols.GetCellValue(3, 2)), "v32");
    EXPECT_EQ(VarToStr(Cols.GetCellValue(5, 6)), "v56");

    // Fewer rows and columns in the source: what lies beyond goes; the
    // values left are checked against the new cell types.
    TgxGrid Small(nullptr);
    Small.SetGridColCount(3);
    Small.SetGridRowCount(2);
    Small.GridCols()->Item(2)->SetControlType(ctPicture);
    TgxGrid Target(nullptr);
    FillValues(Target);
    Target.AssignPropKinds(&Small, {pkCols, pkRows}, false);
    EXPECT_EQ(VarToStr(Target.GetCellValue(1, 2)), "v12");
    EXPECT_EQ(VarToStr(Target.GetCellValue(2, 1)), ""); // text in a picture column
    Target.SetGridColCount(5);
    Target.SetGridRowCount(6);
    EXPECT_EQ(VarToStr(Target.GetCellValue(5, 6)), "");
    EXPECT_EQ(VarToStr(Target.GetCellValue(1, 3)), "");
}

TEST_F(GridSettingsCopy, ARowResetToItsDefaultsKeepsNoObject) {
    TgxGrid G(nullptr);
    G.SetRowColor(2, 0x0000FF);
    G.SetRowColor(3, 0x00FF00);
    G.SetRowHeight(3, 30);
    ASSERT_NE(G.GridRows()->Item(2), nullptr);
    G.ResetRowProperties({prColor});
    EXPECT_EQ(G.GridRows()->Item(2), nullptr);
    ASSERT_NE(G.GridRows()->Item(3), nullptr); // its height is still its own
    EXPECT_EQ(G.GetRowColor(3), clNone);
    EXPECT_EQ(G.GetRowHeight(3), 30);
}

TEST_F(GridSettingsCopy, AColumnsListKeepsItsSettings) {
    TGridForm On;
    TgxCol* Own = On.Grid->GridCols()->Item(2);
    Own->SetButtonType(btCombo);
    Own->SetParentCombo(false);
    TgxComboGrid* List = Own->GetCombo()->GetGrid();
    List->SetStoreData(true);
    List->SetGridColCount(3);
    List->SetGridRowCount(2);
    List->SetCellValue(2, 2, Variant("second"));
    List->SetDropDownRows(9);
    List->SetDropDownCols(2);
    List->SetValueCol(3);
    List->SetComboDisplayCol(2);
    List->SetValueColSorted(true);
    List->SetCompareType(ctCaseSensitive);
    List->SetAutoSearch(asCenter);
    List->SetAutoFill(true);
    List->SetAutoFillConvertCase(afcOnExit);
    List->SetDropDownStyle(ddDropDownList);

    const auto Check = [](TgxGrid& G) {
        TgxCombo* Combo = G.GridCols()->Item(2)->GetCombo();
        ASSERT_NE(Combo, nullptr);
        TgxComboGrid* L = Combo->GetGrid();
        EXPECT_EQ(VarToStr(L->GetCellValue(2, 2)), "second");
        EXPECT_EQ(L->DropDownRows(), 9);
        EXPECT_EQ(L->DropDownCols(), 2);
        EXPECT_EQ(L->ValueCol(), 3);
        EXPECT_EQ(L->ComboDisplayCol(), 2);
        EXPECT_TRUE(L->ValueColSorted());
        EXPECT_EQ(L->CompareType(), ctCaseSensitive);
        EXPECT_EQ(L->AutoSearch(), asCenter);
        EXPECT_TRUE(L->AutoFill());
        EXPECT_EQ(L->AutoFillConvertCase(), afcOnExit);
        EXPECT_EQ(L->DropDownStyle(), ddDropDownList);
    };
    {
        SCOPED_TRACE("form file");
        TForm Copy(nullptr);
        TgxGrid* Read = ThroughFormFile(On, Copy);
        ASSERT_NE(Read, nullptr);
        Check(*Read);
    }
    const std::string Good = Saved(*On.Grid);
    {
        SCOPED_TRACE("saved state");
        TgxGrid Loaded(nullptr);
        Load(Loaded, Good);
        Check(Loaded);
    }
    // A damaged setting is refused by name and the grid keeps its state.
    const std::string Rows = std::string("\x0c" "DropDownRows", 13);
    const std::size_t At = Good.find(Rows);
    ASSERT_NE(At, std::string::npos);
    std::string Bad = Good;
    ASSERT_EQ(Bad[At + Rows.size()], 2); // a one-byte integer: 9, now -1
    Bad[At + Rows.size() + 1] = '\xff';
    TgxGrid Target(nullptr);
    const std::string Before = Saved(Target);
    try {
        Load(Target, Bad);
        ADD_FAILURE() << "a list of -1 rows was taken";
    } catch (const Exception& E) {
        EXPECT_NE(E.Message.find("DropDownRows"), std::string::npos) << E.Message;
    }
    EXPECT_EQ(Saved(Target), Before);
}

} // namespace
