// An editing grid whose mask definitions change or go away while a cell is
// being typed into.
#include "grid/foundation/MaskDefs.h"
#include "grid/tests/GridEditFixture.h"

#include <gtest/gtest.h>

using namespace grid;

namespace {

class MaskLinksWhileEditing : public GridEditFixture {
protected:
    void SetUp() override {
        GridEditFixture::SetUp();
        Defs = new TgxMaskDefs(Form);
        Defs->SetName("MaskDefs1");
        TgxMask* Digits = Defs->Masks()->Add();
        Digits->SetName("Digits");
        Digits->SetPicture("###");
        Grid->SetMaskDefs(Defs);
        Grid->GetCol(Variant(1))->SetMaskName("Digits");
        GoTo(1, 1);
        Type("a1");
        ASSERT_EQ(EditorText(), "1");
    }
    TgxMaskDefs* Defs = nullptr;
};

} // namespace

TEST_F(MaskLinksWhileEditing, DefinitionsFreedMidEditLeaveTheCellFreeToType) {
    delete Defs;
    EXPECT_EQ(Grid->GetMaskDefs(), nullptr);
    Type("b2");
    EXPECT_EQ(EditorText(), "1b2");
}

TEST_F(MaskLinksWhileEditing, MaskDeletedMidEditIsNoLongerUsed) {
    Defs->Masks()->Delete(0);
    Type("b2");
    EXPECT_EQ(EditorText(), "1b2");
}

TEST_F(MaskLinksWhileEditing, MaskReplacedMidEditIsLookedUpAgain) {
    Defs->Masks()->Delete(0);
    TgxMask* Letters = Defs->Masks()->Add();
    Letters->SetName("Digits");
    Letters->SetPicture("#??");
    Type("9b");
    EXPECT_EQ(EditorText(), "1b");
}
