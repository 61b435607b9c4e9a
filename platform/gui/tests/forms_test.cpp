// Forms and the application: creation order, showing and closing, modal
// forms, placement, layout, menus, the screen, the command line and a
// screenshot of a sample form.
#include "GuiTestSupport.h"

#include "platform/gui/Buttons.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

class LoggedForm : public TForm {
public:
    explicit LoggedForm(TComponent* AOwner) : TForm(AOwner) {
        OnCreate = [this](TObject*) { Log.push_back("OnCreate"); };
        OnShow = [this](TObject*) { Log.push_back("OnShow"); };
        OnDestroy = [this](TObject*) { Log.push_back("OnDestroy"); };
    }
    static inline std::vector<std::string> Log;
};

class DataModule : public TComponent {
public:
    using TComponent::TComponent;
};

TEST(Forms, CreateFormMakesTheFirstFormTheMainFormAndRunEndsWhenItCloses) {
    LoggedForm::Log.clear();
    Application->Initialize();
    DataModule* Module = nullptr;
    LoggedForm* Main = nullptr;
    LoggedForm* Second = nullptr;
    Application->CreateForm(Module);
    Application->CreateForm(Main);
    Application->CreateForm(Second);
    EXPECT_EQ(Application->MainForm(), Main);
    EXPECT_EQ(Module->Owner(), Application);

    Main->OnShow = [&](TObject*) {
        LoggedForm::Log.push_back("OnShow");
        Main->Close();
    };
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_FALSE(Main->Visible());
    EXPECT_EQ(LoggedForm::Log, (std::vector<std::string>{"OnCreate", "OnCreate", "OnShow"}));

    delete Second;
    delete Main;
    delete Module;
    EXPECT_EQ(Application->MainForm(), nullptr);
    Application->Initialize();
    EXPECT_FALSE(Application->Terminated());
}

TEST(Forms, CloseAsksOnCloseQueryThenOnCloseDecides) {
    struct Case {
        bool CanClose;
        TCloseAction Action;
        bool VisibleAfter;
        bool FreedAfter;
    };
    for (const Case& C : {Case{false, caHide, true, false}, Case{true, caHide, false, false},
                          Case{true, caNone, true, false}, Case{true, caFree, false, true}}) {
        auto* Form = new TForm(nullptr);
        Form->OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = C.CanClose; };
        Form->OnClose = [&](TObject*, TCloseAction& Action) { Action = C.Action; };
        Form->Show();
        const int Before = Screen->FormCount();
        Form->Close();
        Application->ProcessMessages();
        const bool Freed = Screen->FormCount() == Before - 1;
        EXPECT_EQ(Freed, C.FreedAfter) << static_cast<int>(C.Action);
        if (!Freed) {
            EXPECT_EQ(Form->Visible(), C.VisibleAfter) << static_cast<int>(C.Action);
            delete Form;
        }
    }
}

TEST(Forms, ShowModalReturnsTheResultOfTheButtonThatEndedIt) {
    auto* Owner = new TForm(nullptr);
    auto* Dialog = new TForm(Owner);
    Dialog->SetPosition(poMainFormCenter);
    auto* Ok = new TBitBtn(Dialog);
    Ok->SetParent(Dialog);
    Ok->SetKind(bkOK);
    EXPECT_EQ(Ok->Caption(), "OK");
    bool ShownModal = false;
    Dialog->OnShow = [&](TObject*) {
        ShownModal = Dialog->FormState().Contains(fsModal);
        Click(Ok);
    };
    EXPECT_EQ(Dialog->ShowModal(), mrOk);
    EXPECT_TRUE(ShownModal);
    EXPECT_FALSE(Dialog->Visible());

    // Enter in an edit presses the default button; Escape the cancel one.
    auto* Edit = new TEdit(Dialog);
    Edit->SetParent(Dialog);
    Edit->SetTop(40);
    auto* Cancel = new TBitBtn(Dialog);
    Cancel->SetParent(Dialog);
    Cancel->SetTop(80);
    Cancel->SetKind(bkCancel);
    for (auto [Key, Expected] :
         {std::pair{Qt::Key_Return, mrOk}, std::pair{Qt::Key_Escape, mrCancel}}) {
        Dialog->OnShow = [&, Key = Key](TObject*) { TypeKey(Edit->Widget(), Key); };
        EXPECT_EQ(Dialog->ShowModal(), Expected);
    }

    Dialog->OnShow = nullptr;
    Dialog->Show();
    EXPECT_THROW(Dialog->ShowModal(), EInvalidOperation);
    delete Owner;
}

TEST(Forms, PlacementKeepsTheNormalRectangleWhileMaximised) {
    auto* Form = new TForm(nullptr);
    Form->SetBounds(100, 120, 400, 300);
    Form->Show();
    TWindowPlacement P;
    ASSERT_TRUE(GetWindowPlacement(Form, &P));
    EXPECT_EQ(P.showCmd, static_cast<unsigned>(SW_SHOWNORMAL));
    EXPECT_EQ(P.rcNormalPosition, Rect(100, 120, 500, 420));

    Form->SetWindowState(wsMaximized);
    Application->ProcessMessages();
    ASSERT_TRUE(GetWindowPlacement(Form, &P));
    EXPECT_EQ(P.showCmd, static_cast<unsigned>(SW_SHOWMAXIMIZED));
    EXPECT_EQ(P.rcNormalPosition, Rect(100, 120, 500, 420));

    P.showCmd = SW_SHOWNORMAL;
    P.rcNormalPosition = Rect(50, 60, 350, 260);
    P.ptMaxPosition = Point(-4, -4);
    ASSERT_TRUE(SetWindowPlacement(Form, &P));
    Application->ProcessMessages();
    EXPECT_EQ(Form->WindowState(), wsNormal);
    EXPECT_EQ(Form->BoundsRect(), Rect(50, 60, 350, 260));
    ASSERT_TRUE(GetWindowPlacement(Form, &P));
    EXPECT_EQ(P.ptMaxPosition, Point(-4, -4));
    delete Form;

    // A hidden window takes the placement without being shown.
    auto* Hidden = new TForm(nullptr);
    TWindowPlacement H;
    H.showCmd = SW_HIDE;
    H.rcNormalPosition = Rect(10, 20, 210, 170);
    ASSERT_TRUE(SetWindowPlacement(Hidden, &H));
    EXPECT_FALSE(Hidden->Visible());
    EXPECT_EQ(Hidden->BoundsRect(), Rect(10, 20, 210, 170));
    delete Hidden;
}

TEST(Forms, ConstraintsKeepTheMinimumSize) {
    auto* Form = new TForm(nullptr);
    Form->Constraints()->SetMinWidth(750);
    Form->Constraints()->SetMinHeight(515);
    Form->SetBounds(0, 0, 300, 200);
    EXPECT_EQ(Form->Width(), 750);
    EXPECT_EQ(Form->Height(), 515);
    Form->SetBounds(0, 0, 900, 600);
    EXPECT_EQ(Form->Width(), 900);
    delete Form;
}

TEST(Forms, AlignAndAnchorsFollowTheParentsSize) {
    auto* Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 400, 300);
    auto* Top = new TPanel(Form);
    Top->SetParent(Form);
    Top->SetHeight(30);
    Top->SetAlign(alTop);
    auto* Bottom = new TPanel(Form);
    Bottom->SetParent(Form);
    Bottom->SetHeight(20);
    Bottom->SetAlign(alBottom);
    auto* Client = new TPanel(Form);
    Client->SetParent(Form);
    Client->SetAlign(alClient);
    auto* Corner = new TButton(Client);
    Corner->SetParent(Client);
    Corner->SetBounds(300, 200, 75, 25);
    Corner->SetAnchors({akRight, akBottom});
    auto* Wide = new TEdit(Client);
    Wide->SetParent(Client);
    Wide->SetBounds(10, 10, 200, 21);
    Wide->SetAnchors({akLeft, akTop, akRight});

    EXPECT_EQ(Top->BoundsRect(), Rect(0, 0, 400, 30));
    EXPECT_EQ(Bottom->BoundsRect(), Rect(0, 280, 400, 300));
    EXPECT_EQ(Client->BoundsRect(), Rect(0, 30, 400, 280));

    Form->SetBounds(0, 0, 500, 350);
    EXPECT_EQ(Client->BoundsRect(), Rect(0, 30, 500, 330));
    EXPECT_EQ(Corner->BoundsRect(), Rect(400, 250, 475, 275));
    EXPECT_EQ(Wide->BoundsRect(), Rect(10, 10, 310, 31));
    Form->SetBounds(0, 0, 400, 300);
    EXPECT_EQ(Corner->BoundsRect(), Rect(300, 200, 375, 225));
    delete Form;
}

TEST(Forms, MainMenuItemsClickAndTakeClientSpace) {
    auto* Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 400, 300);
    auto* Menu = new TMainMenu(Form);
    auto* File = new TMenuItem(Form);
    File->SetCaption("File");
    auto* Exit = new TMenuItem(Form);
    Exit->SetCaption("Exit");
    int Clicks = 0;
    Exit->OnClick = [&](TObject*) { ++Clicks; };
    Menu->Items()->Add(File);
    File->Add(Exit);
    EXPECT_THROW(File->Insert(5, new TMenuItem(Form)), EMenuError);
    Form->SetMenu(Menu);
    Form->Show();
    EXPECT_LT(Form->ClientHeight(), 300);

    auto* Bar = static_cast<QMenuBar*>(Menu->MenuBarWidget());
    QMenu* FileMenu = Bar->actions().at(0)->menu();
    ASSERT_NE(FileMenu, nullptr);
    FileMenu->actions().at(0)->trigger();
    EXPECT_EQ(Clicks, 1);
    delete Form;
}

TEST(Forms, ScreenAndCommandLine) {
    EXPECT_GT(Screen->Width(), 0);
    EXPECT_GT(Screen->PixelsPerInch(), 0);
    Screen->OverrideSize(1920, 1080);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
    EXPECT_EQ(Screen->Height(), 1080);
    Screen->OverrideSize(0, 0);

    EXPECT_FALSE(ParamStr(0).empty());
    SetCommandLine({"/opt/beaconmill/beaconmill", "/debug", "-x"});
    EXPECT_EQ(ParamCount(), 2);
    EXPECT_EQ(ParamStr(1), "/debug");
    EXPECT_EQ(ParamStr(3), "");
}

TEST(Forms, NumbersKeepTheirDotAfterTheGuiStarts) {
    Application->Initialize();
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    char Buffer[16];
    std::snprintf(Buffer, sizeof Buffer, "%.1f", 1.5);
    EXPECT_STREQ(Buffer, "1.5");
}

TEST(Forms, ScreenshotOfASampleForm) {
    auto* Form = new TForm(nullptr);
    Form->SetCaption("Beacon Mill");
    Form->SetBounds(0, 0, 420, 260);
    auto* Label = new TLabel(Form);
    Label->SetParent(Form);
    Label->SetBounds(16, 16, 120, 17);
    Label->SetCaption("Scheduled Run Time");
    auto* Edit = new TEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(16, 40, 180, 21);
    Edit->SetText("smtp.example.com");
    auto* Button = new TButton(Form);
    Button->SetParent(Form);
    Button->SetBounds(16, 72, 150, 25);
    Button->SetCaption("Run Daily Alerts Now");
    auto* Memo = new TMemo(Form);
    Memo->SetParent(Form);
    Memo->SetBounds(210, 16, 190, 220);
    Memo->Lines()->Add("Generated alerts: 0, Emailed alerts: 0");
    Form->Show();
    Application->ProcessMessages();

    const std::filesystem::path File =
        std::filesystem::path(::testing::TempDir()) / "beaconmill_sample_form.png";
    std::filesystem::remove(File);
    ASSERT_TRUE(Form->Widget()->grab().save(QString::fromStdString(File.string()), "PNG"));
    const QImage Shot(QString::fromStdString(File.string()));
    EXPECT_EQ(Shot.width(), 420);
    EXPECT_EQ(Shot.height(), 260);
    delete Form;
}

} // namespace

namespace {

TEST(Controls, AFreedWindowedChildLeavesItsParentsTabOrder) {
    TForm Form(nullptr);
    auto* First = new TPanel(&Form);
    First->SetParent(&Form);
    auto* Freed = new TPanel(&Form);
    Freed->SetParent(&Form);
    delete Freed;

    std::vector<TWinControl*> Order;
    Form.GetTabOrderList(Order);
    EXPECT_EQ(Order, (std::vector<TWinControl*>{First}));
    // The parent goes on working with its tab order after the child is gone.
    auto* Later = new TPanel(&Form);
    Later->SetParent(&Form);
    EXPECT_EQ(Later->TabOrder(), 1);
}

} // namespace

namespace {

TEST(Forms, AnExitHandlerThatTakesTheFocusBackIsAskedOnce) {
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 200, 100);
    auto* Kept = new TEdit(&Form);
    Kept->SetParent(&Form);
    auto* Other = new TEdit(&Form);
    Other->SetParent(&Form);
    Form.Show();
    Kept->SetFocus();
    int Exits = 0;
    Kept->OnExit = [&](TObject*) {
        ++Exits;
        Kept->SetFocus();
    };

    Other->SetFocus();

    EXPECT_EQ(Exits, 1);
    EXPECT_EQ(Form.ActiveControl(), Kept);
}

} // namespace
