// The save dialog through its test seam, and the extension a confirmed
// name gets.
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/SaveDialog.h"

#include <gtest/gtest.h>

namespace {

const char* const ExportFilter = "CSV File (*.csv)|*.csv|XML File (*.xml)|*.xml";

TEST(SaveDialogTest, AnAnswererSeesTheRequestAndItsAnswerComesBack) {
    TSaveDialog Dialog(nullptr);
    Dialog.SetFilter(ExportFilter);
    Dialog.SetFilterIndex(0);
    Dialog.SetDefaultExt("csv");
    Dialog.SetTitle("Grid Export");
    TFileDialogRequest Seen;
    ScopedFileDialogAnswerer Answer([&](TFileDialogRequest& R) {
        Seen = R;
        R.FileName = "/tmp/out";
        R.FilterIndex = 2;
        return true;
    });
    ASSERT_TRUE(Dialog.Execute());
    EXPECT_EQ(Seen.Title, "Grid Export");
    EXPECT_EQ(Seen.Filter, ExportFilter);
    EXPECT_EQ(Seen.FilterIndex, 1); // 0 selects the first
    EXPECT_EQ(Seen.DefaultExt, "csv");
    // Chosen under the XML filter, so the XML extension.
    EXPECT_EQ(Dialog.FileName(), "/tmp/out.xml");
    EXPECT_EQ(Dialog.FilterIndex(), 2);
}

TEST(SaveDialogTest, ACancelLeavesTheDialogAsItWas) {
    TSaveDialog Dialog(nullptr);
    Dialog.SetFileName("kept.csv");
    Dialog.SetFilterIndex(1);
    ScopedFileDialogAnswerer Answer([](TFileDialogRequest& R) {
        R.FileName = "/tmp/other.csv";
        R.FilterIndex = 2;
        return false;
    });
    EXPECT_FALSE(Dialog.Execute());
    EXPECT_EQ(Dialog.FileName(), "kept.csv");
    EXPECT_EQ(Dialog.FilterIndex(), 1);
}

TEST(SaveDialogTest, OffscreenWithoutAnAnswererItCancels) {
    EnsureQtApplication();
    ASSERT_TRUE(IsHeadlessPlatform());
    TSaveDialog Dialog(nullptr);
    Dialog.SetFileName("kept.csv");
    EXPECT_FALSE(Dialog.Execute());
    EXPECT_EQ(Dialog.FileName(), "kept.csv");
}

TEST(SaveDialogTest, DefaultExtensionRules) {
    struct Case {
        const char* Name;
        const char* Filter;
        int Index;
        const char* DefaultExt;
        const char* Expected;
    };
    const Case Cases[] = {
        {"report", ExportFilter, 1, "csv", "report.csv"},
        {"report", ExportFilter, 2, "csv", "report.xml"},
        {"report.txt", ExportFilter, 2, "csv", "report.txt"},         // has one already
        {"dir.d/report", ExportFilter, 1, "csv", "dir.d/report.csv"}, // a dot in the folder
        {"report", "All files (*.*)|*.*", 1, "csv", "report.csv"},    // no single extension
        {"report", "Texts|*.txt;*.log", 1, "csv", "report.csv"},
        {"report", ExportFilter, 9, "csv", "report.xml"}, // held to the last filter
        {"report", "", 1, "csv", "report.csv"},
        {"report", ExportFilter, 1, "", "report"}, // no default: as typed
    };
    for (const Case& C : Cases)
        EXPECT_EQ(TSaveDialog::WithDefaultExt(C.Name, C.Filter, C.Index, C.DefaultExt), C.Expected)
            << C.Name << " / " << C.Filter << " / " << C.Index;
}

} // namespace
