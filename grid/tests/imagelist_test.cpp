#include "grid/foundation/ImageList.h"
#include "grid/tests/FormTextFixture.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <regex>

using namespace grid;

namespace {

class RecordingImageLink : public TgxImageLink {
public:
    void ImageChanged(TgxImageItem* Image) override { Changes.push_back(Image); }
    void ImageListDeleted() override {
        ++Deleted;
        ListAfterDelete = ImageList();
    }
    std::vector<TgxImageItem*> Changes;
    int Deleted = 0;
    TgxImageListComponent* ListAfterDelete = reinterpret_cast<TgxImageListComponent*>(1);
};

TgxImage* AddNamed(TgxImageList& List, const AnsiString& RefName) {
    TgxImage* Image = List.Images()->Add();
    Image->SetRefName(RefName);
    return Image;
}

void ExpectListError(const std::function<void()>& Action, const AnsiString& Message) {
    try {
        Action();
        ADD_FAILURE() << "no error, expected: " << Message;
    } catch (const EListError& E) {
        EXPECT_EQ(E.Message, Message);
    }
}

void Paint(TBitmap& Bitmap, int Width, int Height, TColor Colour) {
    Bitmap.SetSize(Width, Height);
    Bitmap.Canvas()->Brush()->SetColor(Colour);
    Bitmap.Canvas()->FillRect({0, 0, Width, Height});
}

TEST(ImageList, NamesAreFoundBySetAndNameWithoutCaseOrBlanks) {
    TgxImageList List(nullptr);
    AddNamed(List, "A");
    AddNamed(List, "Flags.Red");
    AddNamed(List, "S.A");
    struct Case {
        const char* Text;
        int Index;
    } Cases[] = {{" Flags . Red ", 1}, {"FLAGS.RED", 1}, {"red", -1}, {"a", 0},
                 {" a ", 0},           {".A", 0},        {"s.a", 2},  {"S.B", -1},
                 {"Flags.", -1}};
    for (const Case& C : Cases)
        EXPECT_EQ(List.NameIndex(C.Text), C.Index) << C.Text;
    EXPECT_EQ(List.Images()->SetNames()->Text(), "Flags\r\nS\r\n");
}

TEST(ImageList, RenamingKeepsNamesUniqueWithinTheirSet) {
    TgxImageList List(nullptr);
    TgxImage* A = AddNamed(List, "A");
    TgxImage* B = AddNamed(List, "S.A"); // the same name in another set
    EXPECT_EQ(B->GetSetName(), "S");

    // A plain name keeps the image in its set.
    B->SetRefName("B");
    EXPECT_EQ(B->GetSetName(), "S");
    B->SetRefName(" A ");
    EXPECT_EQ(B->GetName(), "A");
    EXPECT_EQ(B->GetSetName(), "S");

    ExpectListError([&] { B->SetRefName(".a"); }, "Name 'a' already exists in main set.");
    ExpectListError([&] { A->SetRefName(" s . A"); }, "Name 'A' already exists in set 's'.");
    ExpectListError([&] { B->SetSetName(""); }, "Name 'A' already exists in main set.");
    ExpectListError([&] { A->SetSetName(" s "); }, "Name 'A' already exists in set 's'.");
    EXPECT_EQ(A->GetName(), "A");
    EXPECT_EQ(A->GetSetName(), "");
    EXPECT_EQ(B->GetSetName(), "S");

    // An image may change the case of its own name; a set name differing
    // only in case changes nothing.
    A->SetRefName("a");
    EXPECT_EQ(A->GetName(), "a");
    B->SetSetName("s");
    EXPECT_EQ(B->GetSetName(), "S");
    B->SetSetName("T");
    EXPECT_EQ(List.Images()->SetNames()->Text(), "S\r\nT\r\n");
}

TEST(ImageList, ImagesSharingAnIdentifierStillGetUniqueNames) {
    // A copy carries its identifier along, so two images of one list may
    // share one; the rename check must still see them as two.
    TgxImageList Other(nullptr);
    TgxImage* Source = AddNamed(Other, "Q");
    ASSERT_EQ(Source->GetID(), 1);

    TgxImageList List(nullptr);
    AddNamed(List, "A");
    AddNamed(List, "B");
    List.SetImage(Variant("B"), Source);
    TgxImage* Copy = List.Images()->Items(1);
    EXPECT_EQ(Copy->GetName(), "Q");
    EXPECT_EQ(Copy->GetID(), 1);
    ExpectListError([&] { Copy->SetRefName("A"); }, "Name 'A' already exists in main set.");
}

TEST(ImageList, AddTakesTheFirstFreeNumberAndTheNextIdentifier) {
    TgxImageList List(nullptr);
    TgxImage* First = List.Images()->Add();
    EXPECT_EQ(First->GetName(), "Image1");
    EXPECT_EQ(First->GetID(), 1);
    First->SetID(7);
    AddNamed(List, "image3");
    AddNamed(List, "S.Image04"); // a number counts by value, in any set

    TgxImage* Next = List.Images()->Add();
    EXPECT_EQ(Next->GetName(), "Image2");
    EXPECT_EQ(Next->GetSetName(), "");
    EXPECT_EQ(Next->GetID(), 10);
    EXPECT_EQ(List.Images()->Add()->GetName(), "Image5");

    // An inserted image is named and numbered the same way.
    TgxImage* Inserted = List.Images()->Insert(0);
    EXPECT_EQ(List.Images()->Items(0), Inserted);
    EXPECT_EQ(Inserted->GetName(), "Image6");
    EXPECT_EQ(Inserted->GetID(), 12);
    EXPECT_EQ(List.IdIndex(12), 0);
    EXPECT_EQ(List.IdIndex(99), -1);
    EXPECT_THROW(List.Images()->Insert(99), EListError);
    EXPECT_EQ(List.Images()->Count(), 6);
}

TEST(ImageList, IndexesAreNamesOrNumbers) {
    TgxImageList List(nullptr);
    // An empty list has no image under any index, and no error.
    EXPECT_EQ(List.GetImage(Variant("X")), nullptr);
    EXPECT_EQ(List.GetImage(Variant(5)), nullptr);
    EXPECT_FALSE(List.IndexExists(Variant(0)));

    TgxImage* A = AddNamed(List, "A");
    TgxImage* B = AddNamed(List, "S.B");
    EXPECT_EQ(List.GetImage(Variant("s.b")), B);
    EXPECT_EQ(List.GetImage(Variant(0)), A);
    EXPECT_EQ(List.GetImage(Variant(short(1))), B);
    ExpectListError([&] { List.GetImage(Variant("B")); }, "Index 'B' not found in imagelist.");
    ExpectListError([&] { List.GetImage(Variant(2)); }, "Index (2) out of bounds.");
    ExpectListError([&] { List.GetImage(Variant(-1)); }, "Index (-1) out of bounds.");

    struct Case {
        Variant Index;
        bool Exists;
    } Cases[] = {{Unassigned(), false}, {Null(), false},      {Variant("A"), true},
                 {Variant("B"), false}, {Variant(1), true},   {Variant(2), false},
                 {Variant(-1), false},  {Variant("1"), false}};
    for (const Case& C : Cases)
        EXPECT_EQ(List.IndexExists(C.Index), C.Exists) << VarToStr(C.Index);

    // Every index accepted finds its image.
    for (const Case& C : Cases)
        if (C.Exists) {
            EXPECT_NE(List.GetImage(C.Index), nullptr);
        }
}

TEST(ImageList, NextAndPreviousStayInTheSetAndWrap) {
    TgxImageList List(nullptr);
    EXPECT_TRUE(List.NextIndex(Variant("")).IsEmpty());
    AddNamed(List, "S.A"); // 0
    AddNamed(List, "M");   // 1
    AddNamed(List, "S.B"); // 2
    AddNamed(List, "T.C"); // 3
    AddNamed(List, "N");   // 4

    struct Case {
        Variant From;
        int Step;
        Variant Expected;
    } Cases[] = {
        {Variant("S.B"), 1, Variant(0)},  {Variant("S.A"), 1, Variant(2)},
        {Variant("S.A"), -1, Variant(2)}, {Variant("M"), 1, Variant(4)},
        {Variant("N"), 1, Variant(1)},    {Variant("T.C"), 1, Variant(3)},
        {Variant("T.C"), -1, Variant(3)}, {Variant(""), 1, Variant(0)},
        {Variant(""), -1, Variant(4)},    {Variant("X"), 1, Unassigned()},
        {Variant(4), 1, Variant(0)},      {Variant(0), -1, Variant(4)},
        {Variant(2), 1, Variant(3)},      {Variant(9), 1, Variant(0)},
        {Variant(1.0), 1, Unassigned()},  {Unassigned(), 1, Unassigned()},
    };
    for (const Case& C : Cases) {
        const Variant Got = C.Step > 0 ? List.NextIndex(C.From) : List.PrevIndex(C.From);
        EXPECT_EQ(Got.Type(), C.Expected.Type()) << VarToStr(C.From) << " " << C.Step;
        if (!C.Expected.IsEmpty()) {
            EXPECT_EQ(Got.AsInteger(), C.Expected.AsInteger());
        }
    }
}

TEST(ImageList, ChangesReachTheEventAndEveryLink) {
    TgxImageList List(nullptr);
    std::vector<AnsiString> Heard;
    List.OnChange = [&](TObject* Sender, TgxImage* Image) {
        EXPECT_EQ(Sender, &List);
        Heard.push_back(Image ? Image->GetName() : "*");
    };
    RecordingImageLink First, Second;
    First.SetImageList(&List);
    Second.SetImageList(&List);
    EXPECT_EQ(List.LinkCount(), 2);

    TgxImage* Image = List.Images()->Add(); // the list grows, then the name is set
    EXPECT_EQ(Heard, (std::vector<AnsiString>{"*", "Image1"}));
    Heard.clear();
    First.Changes.clear();

    Image->SetTransparent(true);
    EXPECT_EQ(Heard, (std::vector<AnsiString>{"Image1"}));
    ASSERT_EQ(First.Changes.size(), 1u);
    EXPECT_EQ(First.Changes[0], Image);
    EXPECT_EQ(Second.Changes.back(), Image);

    // Drawing on the image's bitmap is a change of the image, also after
    // the bitmap was replaced.
    TBitmap Source;
    Paint(Source, 4, 4, clRed);
    Image->SetBitmap(&Source);
    Heard.clear();
    Image->GetBitmap()->Canvas()->SetPixels(0, 0, clBlue);
    ASSERT_FALSE(Heard.empty());
    EXPECT_EQ(Heard.back(), "Image1");

    Heard.clear();
    List.Images()->Delete(0);
    EXPECT_EQ(Heard, (std::vector<AnsiString>{"*"}));
}

TEST(ImageList, LinksAreDetachedWhenTheListGoes) {
    RecordingImageLink Kept;
    auto List = std::make_unique<TgxImageList>(nullptr);
    {
        RecordingImageLink Gone;
        Gone.SetImageList(List.get());
        Kept.SetImageList(List.get());
    } // a link going away unlinks itself
    EXPECT_EQ(List->LinkCount(), 1);

    AddNamed(*List, "A");
    EXPECT_EQ(Kept.GetTsImage(Variant("A")), List->Images()->Items(0));
    List.reset();
    EXPECT_EQ(Kept.Deleted, 1);
    EXPECT_EQ(Kept.ListAfterDelete, nullptr);
    EXPECT_EQ(Kept.GetTsImage(Variant("A")), nullptr);

    // Clearing lets go of the links too.
    TgxImageList Other(nullptr);
    AddNamed(Other, "S.A");
    Kept.SetImageList(&Other);
    Other.Clear();
    EXPECT_EQ(Kept.Deleted, 2);
    EXPECT_EQ(Kept.ImageList(), nullptr);
    EXPECT_EQ(Other.Images()->Count(), 0);
    EXPECT_EQ(Other.Images()->SetNames()->Count(), 0);
}

TEST(ImageList, ALinkBelongsToOneListAtATime) {
    TgxImageList First(nullptr), Second(nullptr);
    {
        RecordingImageLink Link;
        Link.SetImageList(&First);
        Link.SetImageList(&Second);
        EXPECT_EQ(First.LinkCount(), 0);
        EXPECT_EQ(Second.LinkCount(), 1);
        // Linked from the list's side while held by another list.
        First.AddLink(&Link);
        EXPECT_EQ(Link.ImageList(), &First);
        EXPECT_EQ(Second.LinkCount(), 0);
        First.AddLink(&Link);
        EXPECT_EQ(First.LinkCount(), 1);
    }
    EXPECT_EQ(First.LinkCount(), 0);
    AddNamed(First, "A"); // would reach a freed link if one were left behind
}

TEST(ImageList, SetBitmapTakesACopyAndIgnoresEmptyBitmaps) {
    TgxImageList List(nullptr);
    TgxImage* Image = List.Images()->Add();
    TBitmap Red;
    Paint(Red, 3, 2, clRed);
    Image->SetBitmap(&Red);
    TBitmap* Held = Image->GetBitmap();
    ASSERT_NE(Held, &Red);
    EXPECT_EQ(Held->Width(), 3);

    TBitmap Empty;
    Image->SetBitmap(&Empty);
    Image->SetBitmap(nullptr);
    EXPECT_EQ(Image->GetBitmap()->Width(), 3);
    Red.Canvas()->SetPixels(0, 1, clBlue);
    EXPECT_EQ(Image->GetBitmap()->Canvas()->Pixels(0, 1), clRed);
    // Setting its own bitmap back is a safe copy.
    Image->SetBitmap(Image->GetBitmap());
    EXPECT_EQ(Image->GetBitmap()->Canvas()->Pixels(2, 1), clRed);
}

TEST(ImageList, TransparentColourFollowsTheMode) {
    TgxImageList List(nullptr);
    TgxImage* Image = List.Images()->Add();
    EXPECT_EQ(Image->GetTransparentColor(), clWhite); // nothing to take it from yet
    EXPECT_EQ(Image->GetTransparentMode(), tmAuto);
    EXPECT_FALSE(Image->GetTransparent());

    TBitmap Picture;
    Paint(Picture, 4, 4, clRed);
    Picture.Canvas()->SetPixels(0, 3, clLime);
    Image->SetBitmap(&Picture);
    EXPECT_EQ(Image->GetTransparentColor(), clLime); // bottom-left pixel

    Image->SetTransparentColor(clBlue);
    EXPECT_EQ(Image->GetTransparentMode(), tmFixed);
    EXPECT_EQ(Image->GetTransparentColor(), clBlue);
    EXPECT_EQ(Image->GetBitmap()->TransparentColor(), clBlue);

    Image->SetTransparentMode(tmAuto);
    EXPECT_EQ(Image->GetTransparentColor(), clLime);
    Image->SetTransparent(true);
    EXPECT_TRUE(Image->GetBitmap()->Transparent());
}

TEST(ImageList, AssignCopiesTheImageAsItStands) {
    TgxImageList Source(nullptr);
    TgxImage* From = AddNamed(Source, "Flags.Red");
    From->SetID(42);
    TBitmap Picture;
    Paint(Picture, 2, 2, clRed);
    From->SetBitmap(&Picture);
    From->SetTransparentColor(clRed);
    From->SetTransparent(true);

    TgxImageList List(nullptr);
    TgxImage* To = List.Images()->Add();
    To->Assign(From);
    EXPECT_EQ(To->GetName(), "Red");
    EXPECT_EQ(To->GetSetName(), "Flags");
    EXPECT_EQ(To->GetID(), 42);
    EXPECT_TRUE(To->GetTransparent());
    EXPECT_EQ(To->GetTransparentMode(), tmFixed);
    EXPECT_EQ(To->GetTransparentColor(), clRed);
    EXPECT_NE(To->GetBitmap(), From->GetBitmap());
    EXPECT_EQ(To->GetBitmap()->Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(List.Images()->SetNames()->Text(), "Flags\r\n");

    // A whole list: the images and set names, but its own identity.
    TgxImageList Copy(nullptr);
    const AnsiString Guid = Copy.GetGUID();
    Copy.Assign(&Source);
    EXPECT_EQ(Copy.GetGUID(), Guid);
    ASSERT_EQ(Copy.Images()->Count(), 1);
    EXPECT_EQ(Copy.Images()->Owner(), &Copy);
    EXPECT_EQ(Copy.NameIndex("flags.red"), 0);
    EXPECT_EQ(Copy.Images()->Items(0)->GetID(), 42);
    EXPECT_EQ(Copy.Images()->SetNames()->Text(), "Flags\r\n");
}

TEST(ImageList, AFormKeepsImagesIdentifiersSetsAndTheGuid) {
    TgxImageList List(nullptr);
    List.SetName("Pictures");
    TgxImage* Red = AddNamed(List, "Flags.Red");
    TBitmap Bitmap;
    Paint(Bitmap, 4, 3, clRed);
    Bitmap.Canvas()->SetPixels(1, 1, clBlue);
    Red->SetBitmap(&Bitmap);
    Red->SetTransparentMode(tmFixed);
    Red->SetTransparentColor(clBlue);
    Red->SetTransparent(true);
    TgxImage* Plain = AddNamed(List, "Plain");
    Paint(Bitmap, 2, 2, clGreen);
    Plain->SetBitmap(&Bitmap);
    List.Images()->Items(0)->SetIndex(1);    // identifiers no longer follow the order
    List.Images()->SetNames()->Add("Spare"); // a set with no image yet

    const std::string Text = FormText(List);
    TgxImageList Read(nullptr);
    ReadFormText(Text, Read);
    SCOPED_TRACE(Text);
    EXPECT_EQ(Read.GetGUID(), List.GetGUID());
    EXPECT_EQ(Read.Images()->SetNames()->Text(), "Flags\r\nSpare\r\n");
    ASSERT_EQ(Read.Images()->Count(), 2);
    for (int I = 0; I < 2; ++I) {
        const TgxImage* A = List.Images()->Items(I);
        const TgxImage* B = Read.Images()->Items(I);
        EXPECT_EQ(B->GetID(), A->GetID());
        EXPECT_EQ(B->GetName(), A->GetName());
        EXPECT_EQ(B->GetSetName(), A->GetSetName());
        EXPECT_EQ(B->GetTransparent(), A->GetTransparent());
        EXPECT_EQ(B->GetTransparentMode(), A->GetTransparentMode());
        EXPECT_EQ(B->GetTransparentColor(), A->GetTransparentColor());
        ASSERT_EQ(B->GetBitmap()->Width(), A->GetBitmap()->Width());
        ASSERT_EQ(B->GetBitmap()->Height(), A->GetBitmap()->Height());
        EXPECT_EQ(B->GetBitmap()->Canvas()->Pixels(1, 1), A->GetBitmap()->Canvas()->Pixels(1, 1));
    }
    EXPECT_EQ(Read.IdIndex(1), 1);
    EXPECT_EQ(Read.NameIndex("flags.red"), 1);
    // Adding after a read goes on from the largest identifier read.
    EXPECT_EQ(Read.Images()->Add()->GetID(), 3);
}

TEST(ImageList, NamesReadFromAFormAreTakenAsTheyStand) {
    const std::string Form = "object Pictures: TgxImageList\n"
                             "  Images = <\n"
                             "    item\n      Name = 'A'\n      ID = 1\n    end\n"
                             "    item\n      Name = ' A '\n      SetName = 'Set '\n"
                             "      ID = 7\n    end>\n"
                             "end\n";
    TgxImageList List(nullptr);
    ReadFormText(Form, List);
    ASSERT_EQ(List.Images()->Count(), 2);
    TgxImage* Image = List.Images()->Items(1);
    EXPECT_EQ(Image->GetName(), " A ");
    EXPECT_EQ(Image->GetSetName(), "Set ");
    EXPECT_EQ(Image->GetID(), 7);
    EXPECT_EQ(List.Images()->SetNames()->Text(), "Set \r\n");
    EXPECT_FALSE(List.IsReading());
    // Once read, names are checked again.
    ExpectListError([&] { List.Images()->Items(0)->SetRefName("Set.A"); },
                    "Name 'A' already exists in set 'Set'.");
}

TEST(ImageList, EachListHasItsOwnGuid) {
    const std::regex Form(
        "\\{[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\\}");
    TgxImageList First(nullptr), Second(nullptr);
    EXPECT_TRUE(std::regex_match(First.GetGUID(), Form)) << First.GetGUID();
    EXPECT_NE(First.GetGUID(), Second.GetGUID());
}

} // namespace
