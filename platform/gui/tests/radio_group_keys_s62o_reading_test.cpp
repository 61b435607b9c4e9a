// The arrow keys in a radio group choose the next or previous item, round
// the ends, wherever the items lie, and each choice fires OnClick once.
#include "GuiTestSupport.h"

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"

#include <QApplication>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

class RadioGroupKeys : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 400, 300);
        Group = new TRadioGroup(Form);
        Group->SetParent(Form);
        Group->SetBounds(10, 10, 300, 120);
        for (const char* Item : {"One", "Two", "Three"})
            Group->Items()->Add(Item);
        // Two columns: "Three" stands beside "One", not below "Two".
        Group->SetColumns(2);
        Group->OnClick = [this](TObject*) { Clicks.push_back(Group->ItemIndex()); };
        ShowActive(*Form);
        Group->SetFocus();
    }
    void TearDown() override { delete Form; }

    static void Key(int K) {
        TypeKey(QApplication::focusWidget(), K);
        QApplication::processEvents();
    }

    TForm* Form = nullptr;
    TRadioGroup* Group = nullptr;
    std::vector<int> Clicks;
};

TEST_F(RadioGroupKeys, ArrowsStepThroughTheItemsRoundTheEnds) {
    Group->SetItemIndex(0);
    Clicks.clear();
    struct Step {
        int Key;
        int Index;
    };
    for (const Step& S : {Step{Qt::Key_Down, 1}, Step{Qt::Key_Down, 2}, Step{Qt::Key_Right, 0},
                          Step{Qt::Key_Up, 2}, Step{Qt::Key_Left, 1}}) {
        Key(S.Key);
        EXPECT_EQ(Group->ItemIndex(), S.Index);
        QWidget* Focus = QApplication::focusWidget();
        ASSERT_NE(Focus, nullptr);
        EXPECT_EQ(qobject_cast<QRadioButton*>(Focus)->text(),
                  Group->Items()->Strings(S.Index).c_str());
    }
    EXPECT_EQ(Clicks, (std::vector<int>{1, 2, 0, 2, 1}));
}

TEST_F(RadioGroupKeys, AClickHandlerMayRebuildTheItems) {
    Group->OnClick = [this](TObject*) {
        Clicks.push_back(Group->ItemIndex());
        Group->Items()->Add("More");
    };
    struct Choice {
        const char* How;
        std::function<void()> Choose;
    };
    for (const Choice& C : std::vector<Choice>{
             {"key", [] { Key(Qt::Key_Down); }},
             {"mouse", [this] {
                  QRadioButton* Next = nullptr;
                  for (QRadioButton* B : Group->Widget()->findChildren<QRadioButton*>())
                      if (B->isVisible() && B->text() == "Two") Next = B;
                  ASSERT_NE(Next, nullptr);
                  ClickAt(Next, QPoint(6, Next->height() / 2));
                  QApplication::processEvents();
              }},
         }) {
        Group->SetItemIndex(0);
        Group->SetFocus();
        const int Before = Group->Items()->Count();
        Clicks.clear();
        C.Choose();
        EXPECT_EQ(Clicks.size(), 1u) << C.How;
        EXPECT_EQ(Group->Items()->Count(), Before + 1) << C.How;
    }
}

} // namespace
