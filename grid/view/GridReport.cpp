#include "grid/view/GridReport.h"

#include "grid/model/GxGrid.h"
#include "platform/classes/Publish.h"
#include "platform/gui/PublishedProps.h"

namespace grid {

void TgoReportPageMargins::Assign(TPersistent* Source) {
    if (auto* Other = dynamic_cast<TgoReportPageMargins*>(Source)) {
        FRight = Other->FRight;
        FLeft = Other->FLeft;
        FBottom = Other->FBottom;
        FTop = Other->FTop;
        return;
    }
    TPersistent::Assign(Source);
}

TgoCustomGridReport::TgoCustomGridReport(TComponent* AOwner)
    : TComponent(AOwner), FTitleFont(std::make_unique<TFont>()),
      FTitleImage(std::make_unique<TPicture>()),
      FMargins(std::make_unique<TgoReportPageMargins>()) {
    // The captions follow the text from the start: a report left at its
    // default text (which a form does not store) would otherwise offer
    // menu items without captions.
    SetMenuOptionsText(FMenuOptionsText);
}

TgoCustomGridReport::~TgoCustomGridReport() = default;

void TgoCustomGridReport::Print(TgxCustomGrid*) {}

void TgoCustomGridReport::PrintPreview(TgxCustomGrid*) {}

void TgoCustomGridReport::SetMenuOptionsText(const AnsiString& Text) {
    FMenuOptionsText = Text;
    if (Text.empty()) {
        FPreviewCaption.clear();
        FPrintCaption.clear();
        FExportCaption.clear();
        return;
    }
    const std::size_t First = Text.find('|');
    FPreviewCaption = Text.substr(0, First);
    if (First == AnsiString::npos) return;
    const AnsiString Rest = Text.substr(First + 1);
    const std::size_t Second = Rest.find('|');
    FPrintCaption = Rest.substr(0, Second);
    if (Second == AnsiString::npos) return;
    FExportCaption = Rest.substr(Second + 1);
}

namespace {

const TPublished<TgoReportPageMargins> MarginsClass("TgoReportPageMargins", [](auto& C) {
    C.Property("RightMargin", &TgoReportPageMargins::RightMargin,
               &TgoReportPageMargins::SetRightMargin)
        .Default(7);
    C.Property("LeftMargin", &TgoReportPageMargins::LeftMargin,
               &TgoReportPageMargins::SetLeftMargin)
        .Default(7);
    C.Property("BottomMargin", &TgoReportPageMargins::BottomMargin,
               &TgoReportPageMargins::SetBottomMargin)
        .Default(15);
    C.Property("TopMargin", &TgoReportPageMargins::TopMargin, &TgoReportPageMargins::SetTopMargin)
        .Default(7);
});

const TPublished<TgoCustomGridReport, TComponent> ReportClass("TgoCustomGridReport", [](auto& C) {
    C.Property("TitleFont", &TgoCustomGridReport::TitleFont, &TgoCustomGridReport::SetTitleFont);
    C.Property("TitleImage", &TgoCustomGridReport::TitleImage, &TgoCustomGridReport::SetTitleImage);
    C.Property("ProvideGridMenu", &TgoCustomGridReport::ProvideGridMenu,
               &TgoCustomGridReport::SetProvideGridMenu)
        .Default(false);
    C.Property(
         "MenuOptionsText", [](const TgoCustomGridReport& R) { return R.MenuOptionsText(); },
         [](TgoCustomGridReport& R, const AnsiString& V) { R.SetMenuOptionsText(V); })
        .Stored([](const TgoCustomGridReport& R) {
            return R.MenuOptionsText() != "Preview...|Print...|Export...";
        });
    C.Property("Margins", &TgoCustomGridReport::Margins, &TgoCustomGridReport::SetMargins);
    C.Property("PrintDateTime", &TgoCustomGridReport::PrintDateTime,
               &TgoCustomGridReport::SetPrintDateTime)
        .Default(true);
    C.Property("PrintPageNumbers", &TgoCustomGridReport::PrintPageNumbers,
               &TgoCustomGridReport::SetPrintPageNumbers)
        .Default(true);
    C.Property("PrintEndOfReport", &TgoCustomGridReport::PrintEndOfReport,
               &TgoCustomGridReport::SetPrintEndOfReport)
        .Default(true);
    C.Property("PrintRecordCount", &TgoCustomGridReport::PrintRecordCount,
               &TgoCustomGridReport::SetPrintRecordCount)
        .Default(true);
    C.Property("PrintTitleImage", &TgoCustomGridReport::PrintTitleImage,
               &TgoCustomGridReport::SetPrintTitleImage)
        .Default(true);
    C.Property("PrintHeadings", &TgoCustomGridReport::PrintHeadings,
               &TgoCustomGridReport::SetPrintHeadings)
        .Default(true);
    C.Property("PrintMode", &TgoCustomGridReport::PrintMode, &TgoCustomGridReport::SetPrintMode)
        .Default(2);
    C.Property("Monochrome", &TgoCustomGridReport::Monochrome,
               &TgoCustomGridReport::SetMonochrome)
        .Default(false);
    C.Property("FrameColor", &TgoCustomGridReport::FrameColor,
               &TgoCustomGridReport::SetFrameColor)
        .Default(clNone);
});

} // namespace

void PublishGridReportProperty(TClassBuilder<TgxGrid>& C) {
    C.Property("GridReport", &TgxGrid::GridReport, &TgxGrid::SetGridReport);
}

} // namespace grid
