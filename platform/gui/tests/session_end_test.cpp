// The end-of-session signals, each case in a process of its own (the
// handlers stay installed for the life of the process).
#include "platform/gui/Forms.h"
#include "platform/gui/SessionEnd.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

class SessionEndTest : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(SessionEndTest, TheSignalClosesTheMainFormOnTheEventLoop) {
    for (const int Signal : {SIGTERM, SIGINT, SIGHUP}) {
        EXPECT_EXIT(
            {
                Application->Initialize();
                TForm* Form = nullptr;
                Application->CreateForm(Form);
                Form->OnClose = [](TObject*, TCloseAction&) { std::fprintf(stderr, "closed\n"); };
                Form->Show();
                HandleSessionEndSignals([](const AnsiString& Name) {
                    std::fprintf(stderr, "ending on %s\n", Name.c_str());
                });
                std::raise(Signal);
                // The handler itself only passes the signal on.
                const bool EarlyClose = !Form->Visible() || Application->Terminated();
                Application->ProcessMessages();
                const bool Closed = !Form->Visible() && Application->Terminated();
                std::fflush(stderr);
                _exit(!EarlyClose && Closed ? 0 : 3);
            },
            ::testing::ExitedWithCode(0), "ending on SIG(TERM|INT|HUP)\nclosed\n");
    }
}

TEST_F(SessionEndTest, ASecondSignalWhileClosingEndsTheProcessAtOnce) {
    EXPECT_EXIT(
        {
            Application->Initialize();
            HandleSessionEndSignals(nullptr);
            std::raise(SIGTERM);
            std::raise(SIGINT);
            _exit(0);
        },
        ::testing::KilledBySignal(SIGINT), "");
}

} // namespace
