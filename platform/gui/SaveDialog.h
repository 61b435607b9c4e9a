#pragma once
// The platform's save-file dialog as a component, and the seam through
// which a test answers it: with an answerer installed no window opens, the
// answerer sees the request and either confirms a file (its name, and the
// filter it was chosen under) or cancels. Without a display (the offscreen
// platform) nobody could choose, so the request is written to standard
// error and cancelled.
#include "platform/classes/Component.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/AnsiString.h"

#include <functional>

struct TFileDialogRequest {
    AnsiString Title;
    // Pairs of a description and its patterns, all joined by '|':
    // "CSV File (*.csv)|*.csv|XML File (*.xml)|*.xml"; patterns of one
    // filter are separated by ';'.
    AnsiString Filter;
    // The filter selected, counted from 1.
    int FilterIndex = 1;
    AnsiString DefaultExt;
    AnsiString InitialDir;
    // In: the name offered. Out: the file chosen.
    AnsiString FileName;
};

using TFileDialogAnswerer = std::function<bool(TFileDialogRequest& Request)>;

// Installs an answerer for its lifetime; the previous one comes back after.
class ScopedFileDialogAnswerer {
public:
    explicit ScopedFileDialogAnswerer(TFileDialogAnswerer Answerer);
    ~ScopedFileDialogAnswerer();
    ScopedFileDialogAnswerer(const ScopedFileDialogAnswerer&) = delete;
    ScopedFileDialogAnswerer& operator=(const ScopedFileDialogAnswerer&) = delete;

private:
    TFileDialogAnswerer FPrevious;
};

class TSaveDialog : public TComponent {
public:
    explicit TSaveDialog(TComponent* AOwner) : TComponent(AOwner) {}
    AnsiString ClassName() const override { return "TSaveDialog"; }

    const AnsiString& Filter() const { return FFilter; }
    void SetFilter(const AnsiString& Value) { FFilter = Value; }
    // Counted from 1; 0 or less selects the first filter. After a confirmed
    // dialog: the filter the file was chosen under.
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int Value) { FFilterIndex = Value; }
    // Added (without its dot) to a chosen name that has no extension,
    // unless the selected filter names exactly one extension, which is
    // added instead.
    const AnsiString& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const AnsiString& Value) { FDefaultExt = Value; }
    const AnsiString& Title() const { return FTitle; }
    void SetTitle(const AnsiString& Value) { FTitle = Value; }
    const AnsiString& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const AnsiString& Value) { FInitialDir = Value; }
    const AnsiString& FileName() const { return FFileName; }
    void SetFileName(const AnsiString& Value) { FFileName = Value; }

    // Shows the dialog (owned by the owner's window when the owner is a
    // windowed control); true when the user chose a file, which is then in
    // FileName. A cancel leaves FileName and FilterIndex as they were.
    virtual bool Execute();

    // The extension a confirmed name gets: Name itself when it has one.
    static AnsiString WithDefaultExt(const AnsiString& Name, const AnsiString& Filter,
                                     int FilterIndex, const AnsiString& DefaultExt);

private:
    AnsiString FFilter;
    int FFilterIndex = 1;
    AnsiString FDefaultExt;
    AnsiString FTitle;
    AnsiString FInitialDir;
    AnsiString FFileName;
};
