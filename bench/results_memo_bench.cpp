// Rewriting the counter line (line 0) of the program's results memo when the
// memo holds 1,000, 10,000 or 100,000 log lines, beside the reference:
// replacing the first block of a QPlainTextEdit of the same size and text
// through a QTextCursor. Both are shown. The time per rewrite should stay
// flat as the memo grows; the ratio to the reference is what the memo adds.
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/StringList.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

constexpr int MemoWidth = 464;
constexpr int MemoHeight = 250;

void StartQt() {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    EnsureQtApplication();
}

std::string LogText(int Lines) {
    std::string Text = "Generated alerts: 0, Emailed alerts: 0\n";
    for (int N = 1; N <= Lines; ++N)
        Text += "9:40 AM 06/05/24: Database error in alert transaction " + std::to_string(N) +
                ": UNIQUE constraint failed\n";
    return Text;
}

std::string CounterLine(int N) {
    return "Generated alerts: " + std::to_string(N) + ", Emailed alerts: " + std::to_string(N / 3);
}

void BM_MemoCounterLine(benchmark::State& State) {
    StartQt();
    auto* Form = new TForm(nullptr);
    Form->SetBounds(0, 0, MemoWidth + 20, MemoHeight + 20);
    auto* Memo = new TMemo(Form);
    Memo->SetParent(Form);
    Memo->SetBounds(0, 0, MemoWidth, MemoHeight);
    Memo->SetReadOnly(true);
    Memo->SetScrollBars(ssVertical);
    Memo->Lines()->SetText(LogText(static_cast<int>(State.range(0))));
    Form->Show();
    int N = 0;
    for (auto _ : State)
        Memo->Lines()->Put(0, CounterLine(++N));
    State.SetItemsProcessed(State.iterations());
    delete Form;
}
BENCHMARK(BM_MemoCounterLine)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(500);

void BM_QtPlainTextFirstBlock(benchmark::State& State) {
    StartQt();
    QPlainTextEdit Edit;
    Edit.resize(MemoWidth, MemoHeight);
    Edit.setReadOnly(true);
    Edit.setUndoRedoEnabled(false);
    Edit.setPlainText(QString::fromStdString(LogText(static_cast<int>(State.range(0)))));
    Edit.show();
    int N = 0;
    for (auto _ : State) {
        QTextCursor Cursor(Edit.document()->firstBlock());
        Cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        Cursor.insertText(QString::fromStdString(CounterLine(++N)));
    }
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_QtPlainTextFirstBlock)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(500);

} // namespace
