// The GUI classes in the component stream: a form with nested controls, a
// font and a memo's lines written and read back into an equal form; the
// published descriptions the property storage of a form relies on.
#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PublishedProps.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

AnsiString TextOf(const AnsiString& Bytes) {
    TStringStream In(Bytes), Out;
    ObjectBinaryToText(&In, &Out);
    return Out.DataString();
}

} // namespace

TEST(PublishedProps, FormWithNestedControlsReadsBackEqual) {
    PublishGuiClasses();
    auto Form = std::make_unique<TForm>(nullptr);
    Form->SetName("Form1");
    Form->SetCaption("Orders");
    Form->SetBounds(10, 20, 400, 300);
    auto* Panel = new TPanel(Form.get());
    Panel->SetName("Panel1");
    Panel->SetParent(Form.get());
    Panel->SetBounds(0, 0, 200, 100);
    Panel->SetBevelOuter(bvLowered);
    auto* Edit = new TEdit(Form.get());
    Edit->SetName("Edit1");
    Edit->SetParent(Panel);
    Edit->SetText("hello");
    Edit->Font()->SetName("DejaVu Sans");
    Edit->Font()->SetStyle(TFontStyles{fsBold, fsUnderline});
    Edit->SetParentFont(false);
    auto* Memo = new TMemo(Form.get());
    Memo->SetName("Memo1");
    Memo->SetParent(Form.get());
    Memo->Lines()->Add("first");
    Memo->Lines()->Add("second");
    auto* Check = new TCheckBox(Form.get());
    Check->SetName("CheckBox1");
    Check->SetParent(Panel);
    Check->SetAllowGrayed(true);
    Check->SetState(cbGrayed);
    auto* Label = new TLabel(Form.get());
    Label->SetName("Label1");
    Label->SetParent(Form.get());
    Label->SetFocusControl(Edit);

    TStringStream Stream;
    WriteComponentRes(&Stream, Form.get());
    const AnsiString Text = TextOf(Stream.DataString());
    EXPECT_NE(Text.find("  object Panel1: TPanel\n"), AnsiString::npos) << Text;
    EXPECT_NE(Text.find("    object Edit1: TEdit\n"), AnsiString::npos) << Text;
    EXPECT_NE(Text.find("Font.Style = [fsBold, fsUnderline]"), AnsiString::npos) << Text;
    EXPECT_NE(Text.find("State = cbGrayed"), AnsiString::npos) << Text;
    EXPECT_EQ(Text.find("Checked"), AnsiString::npos) << Text;

    TForm Copy(nullptr);
    Stream.SetPosition(0);
    ReadComponentRes(&Stream, &Copy);
    EXPECT_EQ(Copy.Name(), "Form1");
    EXPECT_EQ(Copy.Caption(), "Orders");
    auto* PanelB = dynamic_cast<TPanel*>(Copy.FindComponent("Panel1"));
    auto* EditB = dynamic_cast<TEdit*>(Copy.FindComponent("Edit1"));
    auto* MemoB = dynamic_cast<TMemo*>(Copy.FindComponent("Memo1"));
    auto* CheckB = dynamic_cast<TCheckBox*>(Copy.FindComponent("CheckBox1"));
    auto* LabelB = dynamic_cast<TLabel*>(Copy.FindComponent("Label1"));
    ASSERT_TRUE(PanelB && EditB && MemoB && CheckB && LabelB);
    EXPECT_EQ(PanelB->Parent(), &Copy);
    EXPECT_EQ(PanelB->BevelOuter(), bvLowered);
    EXPECT_EQ(PanelB->Width(), 200);
    EXPECT_EQ(EditB->Parent(), PanelB);
    EXPECT_EQ(EditB->Text(), "hello");
    EXPECT_FALSE(EditB->ParentFont());
    EXPECT_TRUE(*EditB->Font() == *Edit->Font());
    EXPECT_EQ(MemoB->Lines()->Count(), 2);
    EXPECT_TRUE(MemoB->Lines()->Equals(Memo->Lines()));
    EXPECT_EQ(CheckB->Parent(), PanelB);
    EXPECT_EQ(CheckB->State(), cbGrayed);
    EXPECT_EQ(LabelB->FocusControl(), EditB);
}

TEST(PublishedProps, FontAndControlsDescribeTheirProperties) {
    PublishGuiClasses();
    TFont Font;
    std::vector<AnsiString> Names;
    for (const TPropInfo* Prop : GetPropList(&Font))
        Names.push_back(Prop->Name);
    EXPECT_EQ(Names, (std::vector<AnsiString>{"Charset", "Color", "Height", "Name", "Pitch", "Size",
                                              "Style"}));
    TCheckBox Check(nullptr);
    const TPropInfo* State = GetPropInfo(&Check, "state");
    ASSERT_NE(State, nullptr);
    EXPECT_EQ(State->PropType, &CheckBoxStateType());
    TMemo Memo(nullptr);
    const TPropInfo* Lines = GetPropInfo(&Memo, "Lines");
    ASSERT_NE(Lines, nullptr);
    EXPECT_EQ(GetObjectProp(&Memo, Lines), Memo.Lines());
    EXPECT_EQ(FindClass("TEdit"), FindPublishedClass("TEdit"));
}

TEST(PublishedProps, BoundsFromAStreamStayWithinAScreen) {
    PublishGuiClasses();
    for (const char* Text :
         {"object F: TForm\n  Width = 100000\nend\n",
          "object F: TForm\n  object P: TPanel\n    Left = -40000\n  end\nend\n"}) {
        TStringStream In(Text), Binary;
        ObjectTextToBinary(&In, &Binary);
        Binary.SetPosition(0);
        TForm Form(nullptr);
        try {
            ReadComponentRes(&Binary, &Form);
            ADD_FAILURE() << "accepted: " << Text;
        } catch (const EReadError& E) {
            EXPECT_NE(E.Message.find("out of range"), AnsiString::npos) << E.Message;
        }
        EXPECT_EQ(Form.ComponentCount(), 0);
    }
}

TEST(PublishedProps, HintHelpAnd3DSwitchesAndSizeLimitsTravelOnlyWhenSet) {
    PublishGuiClasses();
    TForm Form(nullptr);
    Form.SetName("Form1");
    auto* Plain = new TPanel(&Form);
    Plain->SetName("Plain");
    Plain->SetParent(&Form);
    auto* Set = new TPanel(&Form);
    Set->SetName("Set");
    Set->SetParent(&Form);
    Set->SetParentShowHint(false);
    Set->SetParentCtl3D(false);
    Set->SetHelpContext(42);
    Set->Constraints()->SetMinWidth(50);
    Set->Constraints()->SetMaxHeight(300);

    TStringStream Stream;
    WriteComponentRes(&Stream, &Form);
    const AnsiString Text = TextOf(Stream.DataString());
    const std::size_t SetAt = Text.find("object Set: TPanel");
    ASSERT_NE(SetAt, AnsiString::npos) << Text;
    const AnsiString PlainPart = Text.substr(0, SetAt), SetPart = Text.substr(SetAt);
    for (const char* Name : {"ParentShowHint", "ParentCtl3D", "HelpContext", "Constraints"}) {
        EXPECT_EQ(PlainPart.find(Name), AnsiString::npos) << Name << " at its default in\n" << Text;
        EXPECT_NE(SetPart.find(Name), AnsiString::npos) << Name << " not in\n" << Text;
    }

    TForm Copy(nullptr);
    Stream.SetPosition(0);
    ReadComponentRes(&Stream, &Copy);
    auto* SetB = dynamic_cast<TPanel*>(Copy.FindComponent("Set"));
    auto* PlainB = dynamic_cast<TPanel*>(Copy.FindComponent("Plain"));
    ASSERT_TRUE(SetB && PlainB);
    EXPECT_FALSE(SetB->ParentShowHint());
    EXPECT_FALSE(SetB->ParentCtl3D());
    EXPECT_EQ(SetB->HelpContext(), 42);
    EXPECT_EQ(SetB->Constraints()->MinWidth(), 50);
    EXPECT_EQ(SetB->Constraints()->MaxHeight(), 300);
    EXPECT_TRUE(PlainB->ParentShowHint());
    EXPECT_TRUE(PlainB->ParentCtl3D());
    EXPECT_EQ(PlainB->HelpContext(), 0);
    EXPECT_EQ(PlainB->Constraints()->MinWidth(), 0);
}
