#pragma once
// The report component a grid hands printing and previewing to, and its
// page margins. The base prints nothing: a derived report component does
// the page layout; the grid needs only the hooks and the menu captions.
#include "platform/classes/Component.h"
#include "platform/gui/Graphics.h"

#include <memory>

namespace grid {

class TgxCustomGrid;

class TgoReportPageMargins : public TPersistent {
public:
    AnsiString ClassName() const override { return "TgoReportPageMargins"; }
    int RightMargin() const { return FRight; }
    void SetRightMargin(int Value) { FRight = Value; }
    int LeftMargin() const { return FLeft; }
    void SetLeftMargin(int Value) { FLeft = Value; }
    int BottomMargin() const { return FBottom; }
    void SetBottomMargin(int Value) { FBottom = Value; }
    int TopMargin() const { return FTop; }
    void SetTopMargin(int Value) { FTop = Value; }
    void Assign(TPersistent* Source) override;

private:
    int FRight = 7;
    int FLeft = 7;
    int FBottom = 15;
    int FTop = 7;
};

class TgoCustomGridReport : public TComponent {
public:
    explicit TgoCustomGridReport(TComponent* AOwner);
    ~TgoCustomGridReport() override;
    AnsiString ClassName() const override { return "TgoCustomGridReport"; }

    virtual void Print(TgxCustomGrid* Grid);
    virtual void PrintPreview(TgxCustomGrid* Grid);

    const AnsiString& DateTimeCaption() const { return FDateTimeCaption; }
    const AnsiString& PageCaption() const { return FPageCaption; }
    const AnsiString& EndOfReportText() const { return FEndOfReportText; }
    const AnsiString& RecordsCaption() const { return FRecordsCaption; }
    TFont* TitleFont() const { return FTitleFont.get(); }
    void SetTitleFont(TFont* Value) { FTitleFont->Assign(Value); }
    TPicture* TitleImage() const { return FTitleImage.get(); }
    void SetTitleImage(TPicture* Value) { FTitleImage->Assign(Value); }
    TgoReportPageMargins* Margins() const { return FMargins.get(); }
    void SetMargins(TgoReportPageMargins* Value) { FMargins->Assign(Value); }
    bool ProvideGridMenu() const { return FProvideGridMenu; }
    void SetProvideGridMenu(bool Value) { FProvideGridMenu = Value; }
    // "Preview...|Print...|Export...": the captions of the grid's three
    // menu commands, split at the first two bars.
    const AnsiString& MenuOptionsText() const { return FMenuOptionsText; }
    void SetMenuOptionsText(const AnsiString& Text);
    const AnsiString& PreviewCaption() const { return FPreviewCaption; }
    const AnsiString& PrintCaption() const { return FPrintCaption; }
    const AnsiString& ExportCaption() const { return FExportCaption; }

    // What a derived report puts on its pages (all on for a new report):
    // the date and time, page numbers, the end-of-report line, the record
    // count, the title image and the column headings; its print mode (2 for
    // a new report), a switch for printing without colours and the colour
    // of the frame it draws (none).
    bool PrintDateTime() const { return FPrintDateTime; }
    void SetPrintDateTime(bool Value) { FPrintDateTime = Value; }
    bool PrintPageNumbers() const { return FPrintPageNumbers; }
    void SetPrintPageNumbers(bool Value) { FPrintPageNumbers = Value; }
    bool PrintEndOfReport() const { return FPrintEndOfReport; }
    void SetPrintEndOfReport(bool Value) { FPrintEndOfReport = Value; }
    bool PrintRecordCount() const { return FPrintRecordCount; }
    void SetPrintRecordCount(bool Value) { FPrintRecordCount = Value; }
    bool PrintTitleImage() const { return FPrintTitleImage; }
    void SetPrintTitleImage(bool Value) { FPrintTitleImage = Value; }
    bool PrintHeadings() const { return FPrintHeadings; }
    void SetPrintHeadings(bool Value) { FPrintHeadings = Value; }
    int PrintMode() const { return FPrintMode; }
    void SetPrintMode(int Value) { FPrintMode = Value; }
    bool Monochrome() const { return FMonochrome; }
    void SetMonochrome(bool Value) { FMonochrome = Value; }
    TColor FrameColor() const { return FFrameColor; }
    void SetFrameColor(TColor Value) { FFrameColor = Value; }

private:
    AnsiString FDateTimeCaption = "DateTime:";
    AnsiString FPageCaption = "Page:";
    AnsiString FEndOfReportText = "*** END OF REPORT ***";
    AnsiString FRecordsCaption = "Records";
    std::unique_ptr<TFont> FTitleFont;
    bool FPrintDateTime = true;
    bool FPrintPageNumbers = true;
    bool FPrintEndOfReport = true;
    bool FPrintRecordCount = true;
    bool FProvideGridMenu = false;
    bool FPrintTitleImage = true;
    std::unique_ptr<TPicture> FTitleImage;
    AnsiString FMenuOptionsText = "Preview...|Print...|Export...";
    AnsiString FPreviewCaption;
    AnsiString FPrintCaption;
    AnsiString FExportCaption;
    bool FPrintHeadings = true;
    int FPrintMode = 2;
    std::unique_ptr<TgoReportPageMargins> FMargins;
    bool FMonochrome = false;
    TColor FFrameColor = clNone;
};

} // namespace grid
