// A form with each standard control: which changes fire which events, when
// made in code and when made by the operator.
#include "GuiTestSupport.h"

#include "platform/gui/ComCtrls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/DateTime.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

class ControlsForm : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 500, 400);
        Panel = new TPanel(Form);
        Panel->SetParent(Form);
        Panel->SetAlign(alClient);
        Edit = Make<TEdit>(10, 10);
        Memo = Make<TMemo>(10, 40);
        Combo = Make<TComboBox>(10, 140);
        Combo->Items()->Add("None");
        Combo->Items()->Add("SSL");
        Check = Make<TCheckBox>(10, 170);
        Check->SetCaption("Encrypt");
        Radio = Make<TRadioGroup>(200, 10);
        Radio->Items()->Add("Off");
        Radio->Items()->Add("SMTP");
        Picker = Make<TDateTimePicker>(200, 130);
        Picker->SetKind(dtkTime);
        Label = Make<TLabel>(200, 160);
        Label->SetCaption("On");
        Button = Make<TButton>(200, 190);
        Bar = Make<TScrollBar>(200, 230);

        Edit->OnChange = Log("Edit.OnChange");
        Memo->OnChange = Log("Memo.OnChange");
        Combo->OnChange = Log("Combo.OnChange");
        Check->OnClick = Log("Check.OnClick");
        Radio->OnClick = Log("Radio.OnClick");
        Picker->OnChange = Log("Picker.OnChange");
        Label->OnClick = Log("Label.OnClick");
        Button->OnClick = Log("Button.OnClick");
        Bar->OnChange = Log("Bar.OnChange");
        Form->Show();
        Events.clear();
    }

    void TearDown() override { delete Form; }

    template <class T> T* Make(int X, int Y) {
        auto* C = new T(Form);
        C->SetParent(Panel);
        C->SetLeft(X);
        C->SetTop(Y);
        return C;
    }

    TNotifyEvent Log(std::string Name) {
        return [this, Name](TObject*) { Events.push_back(Name); };
    }

public:
    TForm* Form = nullptr;
    TPanel* Panel = nullptr;
    TEdit* Edit = nullptr;
    TMemo* Memo = nullptr;
    TComboBox* Combo = nullptr;
    TCheckBox* Check = nullptr;
    TRadioGroup* Radio = nullptr;
    TDateTimePicker* Picker = nullptr;
    TLabel* Label = nullptr;
    TButton* Button = nullptr;
    TScrollBar* Bar = nullptr;
    std::vector<std::string> Events;
};

struct TCase {
    const char* Name;
    std::function<void(ControlsForm&)> Act;
    std::vector<std::string> Expected;
};

class CodeChanges : public ControlsForm, public ::testing::WithParamInterface<TCase> {};

TEST_P(CodeChanges, FireTheFrameworksEvents) {
    GetParam().Act(*this);
    EXPECT_EQ(Events, GetParam().Expected);
}

using V = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(
    Gui, CodeChanges,
    ::testing::Values(
        TCase{"EditText", [](ControlsForm& F) { F.Edit->SetText("smtp.example.com"); },
              V{"Edit.OnChange"}},
        TCase{"EditSameText", [](ControlsForm& F) { F.Edit->SetText(""); }, V{}},
        TCase{"EditSelText", [](ControlsForm& F) { F.Edit->SetSelText("x"); }, V{"Edit.OnChange"}},
        TCase{"MemoAdd", [](ControlsForm& F) { F.Memo->Lines()->Add("line"); }, V{"Memo.OnChange"}},
        TCase{"ComboItemIndex", [](ControlsForm& F) { F.Combo->SetItemIndex(1); }, V{}},
        TCase{"CheckBoxChecked", [](ControlsForm& F) { F.Check->SetChecked(true); },
              V{"Check.OnClick"}},
        TCase{"CheckBoxUnchanged", [](ControlsForm& F) { F.Check->SetChecked(false); }, V{}},
        TCase{"RadioItemIndex", [](ControlsForm& F) { F.Radio->SetItemIndex(1); },
              V{"Radio.OnClick"}},
        TCase{"RadioSameIndex", [](ControlsForm& F) { F.Radio->SetItemIndex(-1); }, V{}},
        TCase{"PickerTime", [](ControlsForm& F) { F.Picker->SetTime(EncodeTime(6, 3, 0, 0)); },
              V{}},
        TCase{"ScrollBarPosition", [](ControlsForm& F) { F.Bar->SetPosition(40); },
              V{"Bar.OnChange"}}),
    [](const ::testing::TestParamInfo<TCase>& Info) { return std::string(Info.param.Name); });

TEST_F(ControlsForm, OperatorChangesFireOnceEach) {
    TypeText(Edit->Widget(), "ab");
    EXPECT_EQ(Edit->Text(), "ab");

    Click(Check);
    Click(Button);
    Click(Label);
    auto* Second = Radio->Widget()->findChildren<QRadioButton*>().at(1);
    ClickAt(Second, QPoint(6, Second->height() / 2));

    Combo->SetStyle(csDropDownList);
    TypeKey(Combo->Widget(), Qt::Key_Down);

    QWidget* PickerWidget = Picker->Widget();
    TypeKey(PickerWidget, Qt::Key_Up);

    EXPECT_EQ(Events, (V{"Edit.OnChange", "Edit.OnChange", "Check.OnClick", "Button.OnClick",
                         "Label.OnClick", "Radio.OnClick", "Combo.OnChange", "Picker.OnChange"}));
    EXPECT_TRUE(Check->Checked());
    EXPECT_EQ(Radio->ItemIndex(), 1);
    EXPECT_EQ(Combo->ItemIndex(), 0);
}

TEST_F(ControlsForm, MemoLineZeroOfAnEmptyMemoIsWritable) {
    Memo->Lines()->Put(0, "Generated alerts: 0, Emailed alerts: 0");
    Memo->Lines()->Add("10:00 AM: Beacon mill on");
    Memo->Lines()->Put(0, "Generated alerts: 3, Emailed alerts: 1");
    ASSERT_EQ(Memo->Lines()->Count(), 2);
    EXPECT_EQ(Memo->Lines()->Strings(0), "Generated alerts: 3, Emailed alerts: 1");
    EXPECT_EQ(Memo->Lines()->Strings(1), "10:00 AM: Beacon mill on");
    EXPECT_THROW(Memo->Lines()->Put(5, "x"), EStringListError);
}

// Line edits change one line of the widget's text; checked against a plain
// list after every step, with the text ending with and without a final line
// break. The program's edits leave nothing to undo: a memo written to for
// months must not keep every line it ever held.
TEST_F(ControlsForm, MemoLineEditsMatchAPlainList) {
    struct Step {
        char Op; // 'p' put, 'i' insert, 'd' delete, 'a' add
        int Index;
        const char* Text;
    };
    const Step Steps[] = {
        {'a', 0, "one"},   {'a', 0, "two"}, {'a', 0, "three"}, {'p', 0, "first"},
        {'p', 2, "last"},  {'i', 1, "mid"}, {'i', 0, "top"},   {'i', 5, "end"},
        {'d', 5, ""},      {'d', 0, ""},    {'d', 2, ""},      {'p', 1, "two lines\nhere"},
        {'d', 3, ""},      {'d', 0, ""},    {'d', 0, ""},      {'d', 0, ""},
        {'a', 0, "again"},
    };
    for (const bool FinalBreak : {false, true}) {
        SCOPED_TRACE(FinalBreak ? "text ends with a line break" : "no final line break");
        Memo->SetText(FinalBreak ? "seed\n" : "seed");
        std::vector<std::string> Model{"seed"};
        int Changes = 0;
        Memo->OnChange = [&Changes](TObject*) { ++Changes; };
        for (const Step& S : Steps) {
            SCOPED_TRACE(std::string(1, S.Op) + " " + std::to_string(S.Index) + " " + S.Text);
            TStrings* Lines = Memo->Lines();
            switch (S.Op) {
            case 'p':
                Lines->Put(S.Index, S.Text);
                Model[static_cast<std::size_t>(S.Index)] = S.Text;
                break;
            case 'i':
                Lines->Insert(S.Index, S.Text);
                Model.insert(Model.begin() + S.Index, S.Text);
                break;
            case 'd':
                Lines->Delete(S.Index);
                Model.erase(Model.begin() + S.Index);
                break;
            default:
                Lines->Add(S.Text);
                Model.push_back(S.Text);
                break;
            }
            // A line written with a break in it is two lines from then on.
            std::vector<std::string> Expected;
            for (const std::string& Line : Model) {
                std::size_t Start = 0;
                for (std::size_t Break; (Break = Line.find('\n', Start)) != std::string::npos;
                     Start = Break + 1)
                    Expected.push_back(Line.substr(Start, Break - Start));
                Expected.push_back(Line.substr(Start));
            }
            Model = Expected;
            std::vector<std::string> Got;
            for (int I = 0; I < Lines->Count(); ++I)
                Got.push_back(Lines->Strings(I));
            ASSERT_EQ(Got, Model);
        }
        EXPECT_EQ(Changes, static_cast<int>(std::size(Steps)));
        EXPECT_FALSE(static_cast<QPlainTextEdit*>(Memo->Widget())->document()->isUndoAvailable());
        Memo->OnChange = nullptr;
    }
    EXPECT_THROW(Memo->Lines()->Delete(2), EStringListError);
    EXPECT_THROW(Memo->Lines()->Insert(3, "x"), EStringListError);
}

TEST_F(ControlsForm, EditSelectionCountsBytes) {
    Edit->SetText("d\xC3\xA9j\xC3\xA0 vu"); // "déjà vu": two 2-byte characters
    Edit->SetSelStart(1);
    Edit->SetSelLength(5);
    EXPECT_EQ(Edit->SelText(), "\xC3\xA9j\xC3\xA0");
    EXPECT_EQ(Edit->SelStart(), 1);
    EXPECT_EQ(Edit->SelLength(), 5);
    Edit->SetSelText("X");
    EXPECT_EQ(Edit->Text(), "dX vu");
}

TEST_F(ControlsForm, KeyPressHandlersChangeOrSwallowTheCharacter) {
    Edit->OnKeyPress = [](TObject*, char& Key) {
        if (Key == 'x')
            Key = 0;
        else if (Key >= 'a' && Key <= 'z')
            Key = static_cast<char>(Key - 'a' + 'A');
    };
    TypeText(Edit->Widget(), "axb");
    EXPECT_EQ(Edit->Text(), "AB");

    Word Seen = 0;
    Edit->OnKeyDown = [&](TObject*, Word& Key, TShiftState) {
        Seen = Key;
        Key = 0;
    };
    TypeKey(Edit->Widget(), Qt::Key_Z, "z");
    EXPECT_EQ(Seen, 'Z');
    EXPECT_EQ(Edit->Text(), "AB");
}

TEST_F(ControlsForm, EnterAndExitFollowTheFocus) {
    // Showing the form focused the first control in tab order.
    EXPECT_EQ(Form->ActiveControl(), Edit);
    Edit->OnEnter = Log("Edit.OnEnter");
    Edit->OnExit = Log("Edit.OnExit");
    Combo->OnEnter = Log("Combo.OnEnter");
    Combo->SetFocus();
    EXPECT_TRUE(Combo->Focused());
    EXPECT_EQ(Form->ActiveControl(), Combo);
    Edit->SetFocus();
    EXPECT_EQ(Events, (V{"Edit.OnExit", "Combo.OnEnter", "Edit.OnEnter"}));

    Edit->SetVisible(false);
    EXPECT_THROW(Edit->SetFocus(), EInvalidOperation);
}

TEST_F(ControlsForm, CheckBoxCyclesThroughGrayedWhenAllowed) {
    Check->SetAllowGrayed(true);
    std::vector<TCheckBoxState> States;
    for (int I = 0; I < 3; ++I) {
        Click(Check);
        States.push_back(Check->State());
    }
    EXPECT_EQ(States, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
}

} // namespace
