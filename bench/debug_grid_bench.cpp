// Adding one generated alert to the program's debug grid when it already
// holds 1,000, 10,000 or 100,000 rows, beside the reference: appending the
// same six cells as a row of a QStandardItemModel under a QTableView of the
// same size. Both views are shown, and each added row lies below what they
// show. The time per row should stay flat as the grid grows (amortised
// constant), and the ratio to the reference is what the grid adds.
#include "alert/app/GeneratedAlertsGrid.h"
#include "alert/store/ShopOptions.h"
#include "components/PellworthGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "SteadyHeap.h"

#include <QCoreApplication>
#include <QStandardItemModel>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdlib>
#include <memory>

namespace {

constexpr int ViewWidth = 680;
constexpr int ViewHeight = 400;

// Enough for the reference at 100,000 rows, the larger of the two.
constexpr std::size_t WarmBytes = 256u * 1024 * 1024;

void StartQt() {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    EnsureQtApplication();
    benchheap::WarmHeap(WarmBytes);
}

AlertTransaction SampleAlert(int N) {
    AlertTransaction Alert;
    Alert.AlertNbr = 27;
    Alert.EventTimeStamp = 45000.25 + N / 1440.0;
    Alert.EmpNbrGeneratedTrans = 12;
    Alert.RecipientNbr = 104;
    Alert.Priority = 2;
    Alert.MessageText =
        "Job 4711 status changed to In Production by employee 12 (alert " + std::to_string(N) + ")";
    return Alert;
}

void BM_DebugGridAddAlert(benchmark::State& State) {
    StartQt();
    auto* Form = new TForm(nullptr);
    Form->SetBounds(0, 0, ViewWidth + 20, ViewHeight + 20);
    auto* Grid = new components::TPellworthGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(0, 0, ViewWidth, ViewHeight);
    SetUpGeneratedAlertsGrid(*Grid);
    Form->Show();
    ShopOptions Options;
    GeneratedAlertsGrid View(*Grid, Options);
    const int Start = static_cast<int>(State.range(0));
    for (int N = 0; N < Start; ++N)
        View.AddAlert(SampleAlert(N));
    Grid->Update();
    int N = Start;
    for (auto _ : State)
        View.AddAlert(SampleAlert(++N));
    Grid->Update();
    State.SetItemsProcessed(State.iterations());
    delete Form;
}
BENCHMARK(BM_DebugGridAddAlert)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(2000);

void BM_QtTableAppendRow(benchmark::State& State) {
    StartQt();
    QStandardItemModel Model(0, 6);
    QTableView View;
    View.resize(ViewWidth, ViewHeight);
    View.setModel(&Model);
    View.setWordWrap(true);
    View.show();
    const auto Append = [&Model](int N) {
        const AlertTransaction Alert = SampleAlert(N);
        QList<QStandardItem*> Row;
        Row << new QStandardItem(QString::fromStdString(Alert.MessageText));
        for (int Value : {Alert.AlertNbr, 0, Alert.EmpNbrGeneratedTrans, Alert.RecipientNbr,
                          static_cast<int>(Alert.Priority)}) {
            auto* Item = new QStandardItem;
            Item->setData(Value, Qt::DisplayRole);
            Row << Item;
        }
        Model.appendRow(Row);
    };
    const int Start = static_cast<int>(State.range(0));
    for (int N = 0; N < Start; ++N)
        Append(N);
    QCoreApplication::processEvents();
    int N = Start;
    for (auto _ : State)
        Append(++N);
    QCoreApplication::processEvents();
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_QtTableAppendRow)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(2000);

} // namespace
