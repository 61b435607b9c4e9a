// Every character typed into a cell lands in the cell: no punctuation mark
// is taken for a key that moves the current cell or deletes text.
#include "GridEditFixture.h"
#include "grid/foundation/MaskDefs.h"

using namespace grid;

namespace {

class GridTypedCharacters : public GridEditFixture {
protected:
    void SetUp() override {
        GridEditFixture::SetUp();
        Grid->SetGridColCount(6);
        Grid->SetGridRowCount(30);
        Grid->SetGridMode(gmEdit);
    }
};

} // namespace

TEST_F(GridTypedCharacters, EveryCharacterReachesAPlainAndAMaskedCell) {
    TgxMaskDefs Defs(nullptr);
    TgxMask* Mask = Defs.Masks()->Add();
    Mask->SetName("Any");
    Mask->SetPicture("*@");
    Grid->SetMaskDefs(&Defs);
    Grid->GetCol(4)->SetMaskName("Any");

    QString Text = "5";
    for (char16_t C = 0x20; C < 0x7F; ++C)
        Text += QChar(C);
    Text += QString::fromUtf8("\xC3\xA9\xC3\x9F\xE2\x82\xAC\xD0\xB6"); // é ß € ж
    const AnsiString Expected = Text.toUtf8().toStdString();

    for (int Col : {3, 4}) {
        SCOPED_TRACE(Col == 3 ? "plain cell" : "masked cell");
        GoTo(Col, 6);
        // Character by character, so a stray move shows where it happened.
        for (QChar C : Text) {
            Type(QString(C));
            ASSERT_EQ(At(), std::make_pair(Col, 6)) << "after '" << QString(C).toStdString() << "'";
        }
        EXPECT_EQ(EditorText(), Expected);
        Press(Qt::Key_Return);
        EXPECT_EQ(Stored(Col, 6), Expected);
    }
    Grid->SetMaskDefs(nullptr);
}

TEST_F(GridTypedCharacters, ThePunctuationOnceTakenForMovesIsTyped) {
    struct Case {
        const char* Typed;
        const char* Stored;
    };
    // '!' read as Page Up, '"' as Page Down, '\'' as Right, '(' as Down,
    // '.' as Delete.
    for (const Case& C : {Case{"5!", "5!"}, Case{"\"x", "\"x"}, Case{"a'b", "a'b"},
                          Case{"(1)", "(1)"}, Case{"5.5", "5.5"}, Case{"%&$#", "%&$#"}}) {
        SCOPED_TRACE(C.Typed);
        GoTo(3, 6);
        Type(QString::fromUtf8(C.Typed));
        EXPECT_EQ(At(), std::make_pair(3, 6));
        Press(Qt::Key_Tab);
        EXPECT_EQ(Stored(3, 6), C.Stored);
    }
}
