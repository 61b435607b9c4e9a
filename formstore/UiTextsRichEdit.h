#pragma once
// The holders of the rich-text editor's default texts: its toolbar hints and
// lock captions, its main and pop-up menu captions and its paragraph and tab
// dialogs. Each list gives the properties in their published order with
// their default texts.
#include "formstore/UiTextsHolder.h"

#include <memory>

#define FORMSTORE_UI_RICH_EDIT_TEXTS(X)                                                            \
    X(FontNameComboHint, "Font | Changes the font of the selection")                               \
    X(FontSizeComboHint, "Font Size | Changes the font size of the selection")                     \
    X(NewButtonHint, "New | Creates a new document")                                               \
    X(LoadButtonHint, "Load | Load from file")                                                     \
    X(SaveAsButtonHint, "Save As | Save to file")                                                  \
    X(PrintButtonHint, "Print | Prints the active document")                                       \
    X(FindButtonHint, "Find | Finds the specified text")                                           \
    X(CutButtonHint, "Cut | Cuts the selection and puts it on the Clipboard")                      \
    X(CopyButtonHint, "Copy | Copies the selection and puts it on the Clipboard")                  \
    X(UndoButtonHint, "Undo | Reverses the last action")                                           \
    X(RedoButtonHint, "Redo | Reverses the last undo action")                                      \
    X(PasteButtonHint, "Paste | Inserts Clipboard contents")                                       \
    X(BoldButtonHint, "Bold | Makes the selection bold (toggle)")                                  \
    X(ColorButtonHint, "Color | Formats the selection with a color")                               \
    X(UnderlineButtonHint,                                                                         \
      "Underline | Formats the selection with a continuous underline (toggle)")                    \
    X(ItalicButtonHint, "Italic | Makes the selection italic (toggle)")                            \
    X(LeftButtonHint, "Align Left | Left-justifies paragraph (toggle)")                            \
    X(CenterButtonHint, "Center | Center-justifies paragraph (toggle)")                            \
    X(RightButtonHint, "Align Right | Right-justifies paragraph (toggle)")                         \
    X(BulletButtonHint, "Bullets | Inserts a bullet on this line (toggle)")                        \
    X(HighlightButtonHint, "Highlight Text | Makes the selection highlighted")                     \
    X(SaveExitHint, "Save And Exit | Saves changes and exits editor")                              \
    X(PageSetupHint, "Page Setup | Changes page layout settings")                                  \
    X(ExitHint, "Exit")                                                                            \
    X(ClearHint, "Erases the Selection")                                                           \
    X(SelectAllHint, "Selects all of the text")                                                    \
    X(FindNextHint, "Repeats the last find")                                                       \
    X(ReplaceHint, "Replaces specific text with different text")                                   \
    X(InsertObjectHint, "Inserts new embedded object")                                             \
    X(SpellCheckHint, "Check spelling")                                                            \
    X(ToolbarHint, "Shows or hides the toolbar")                                                   \
    X(FormatBarHint, "Shows or hides the format bar")                                              \
    X(ViewStatusBarHint, "Shows or hides the status bar")                                          \
    X(OptionsHint, "Sets options")                                                                 \
    X(FontHint, "Selects font for current selection")                                              \
    X(ParagraphHint, "Formats current or selected paragraph(s)")                                   \
    X(TabsHint, "Sets tabs")                                                                       \
    X(CAPLockCaption, "CAP")                                                                       \
    X(NUMLockCaption, "NUM")

#define FORMSTORE_UI_RICH_EDIT_MENU_TEXTS(X)                                                       \
    X(FileCaption, "&File")                                                                        \
    X(LoadCaption, "&Load")                                                                        \
    X(SaveAsCaption, "Save &As")                                                                   \
    X(SaveExitCaption, "&Save and Exit")                                                           \
    X(PrintCaption, "&Print")                                                                      \
    X(PageSetupCaption, "Page Set&up")                                                             \
    X(ExitCaption, "E&xit")                                                                        \
    X(EditCaption, "&Edit")                                                                        \
    X(UndoCaption, "&Undo")                                                                        \
    X(CutCaption, "Cu&t")                                                                          \
    X(CopyCaption, "&Copy")                                                                        \
    X(PasteCaption, "&Paste")                                                                      \
    X(ClearCaption, "Cle&ar")                                                                      \
    X(SelectallCaption, "Select A&ll")                                                             \
    X(FindCaption, "&Find")                                                                        \
    X(FindNextCaption, "Find &Next")                                                               \
    X(ReplaceCaption, "R&eplace")                                                                  \
    X(InsertObjectCaption, "&Object...")                                                           \
    X(ToolCaption, "&Tools")                                                                       \
    X(SpellCheckCaption, "Check &Spelling")                                                        \
    X(InsertCaption, "&Insert")                                                                    \
    X(RulerCaption, "&Ruler")                                                                      \
    X(RedoCaption, "")                                                                             \
    X(ViewCaption, "&View")                                                                        \
    X(ToolbarCaption, "&Toolbar")                                                                  \
    X(FormatBarCaption, "&Format Bar")                                                             \
    X(ViewStatusBarCaption, "&Status Bar")                                                         \
    X(OptionsCaption, "&Options")                                                                  \
    X(FormatCaption, "F&ormat")                                                                    \
    X(FontCaption, "&Font")                                                                        \
    X(BulletStyleCaption, "&Bullet Style")                                                         \
    X(ParagraphCaption, "&Paragraph")                                                              \
    X(TabsCaption, "&Tabs")                                                                        \
    X(HelpCaption, "Help")

#define FORMSTORE_UI_RICH_EDIT_POPUP_MENU_TEXTS(X)                                                 \
    X(EditCaption, "&Edit")                                                                        \
    X(ViewCaption, "&View")                                                                        \
    X(CutCaption, "Cu&t")                                                                          \
    X(CopyCaption, "&Copy")                                                                        \
    X(PasteCaption, "&Paste")                                                                      \
    X(FontCaption, "&Font")                                                                        \
    X(BulletStyleCaption, "&Bullet Style")                                                         \
    X(BoldCaption, "B&old")                                                                        \
    X(ItalicCaption, "&Italic")                                                                    \
    X(UnderlineCaption, "&Underline")                                                              \
    X(ParagraphCaption, "P&aragraph")                                                              \
    X(TabsCaption, "&Tabs")                                                                        \
    X(FindCaption, "Fin&d")                                                                        \
    X(ReplaceCaption, "&Replace")                                                                  \
    X(InsertObjectCaption, "Insert &Object...")                                                    \
    X(SpellCheckCaption, "Check &Spelling")

#define FORMSTORE_UI_RICH_EDIT_PARAGRAPH_DIALOG_TEXTS(X)                                           \
    X(ParagraphDlgCaption, "Paragraph")                                                            \
    X(IndentationGroupBoxCaption, "Indentation")                                                   \
    X(LeftEditHint, "Left Indentation")                                                            \
    X(RightEditHint, "Right Indentation")                                                          \
    X(FirstLineEditHint, "First Line of Paragraph Indentation")                                    \
    X(AlignmentHint, "Changes Alignment of Paragraph")                                             \
    X(LeftEditCaption, "Left:")                                                                    \
    X(RightEditCaption, "Right:")                                                                  \
    X(FirstLineEditCaption, "First line:")                                                         \
    X(SpacingGroupCaption, "Spacing")                                                              \
    X(BeforeParagraphCaption, "&Before")                                                           \
    X(AfterParagraphCaption, "Aft&er")                                                             \
    X(WithinParagraphCaption, "Li&ne Spacing")                                                     \
    X(WithinParagraphAtCaption, "&At")                                                             \
    X(AlignmentCaption, "Alignment")                                                               \
    X(AlignLeft, "Left")                                                                           \
    X(AlignRight, "Right")                                                                         \
    X(AlignCenter, "Center")                                                                       \
    X(SpacingSingle, "")                                                                           \
    X(Spacing1_5, "")                                                                              \
    X(SpacingDouble, "")                                                                           \
    X(SpacingAtLeast, "")                                                                          \
    X(SpacingExactly, "")                                                                          \
    X(SpacingMultiple, "")

#define FORMSTORE_UI_RICH_EDIT_TAB_DIALOG_TEXTS(X)                                                 \
    X(TabDlgCaption, "Tab")                                                                        \
    X(TabGroupBoxCaption, "&Tab Stop Position")                                                    \
    X(SetTabButtonCaption, "Set")                                                                  \
    X(ClearTabButtonCaption, "Clear")                                                              \
    X(ClearAllButtonCaption, "Clear All")                                                          \
    X(TabPositionEditHint, "Tab Position Edit Box")                                                \
    X(ListBoxHint, "List of tabs and their positions")                                             \
    X(SetButtonHint, "Set a new tab position")                                                     \
    X(ClearButtonHint, "Clear the selected tab position")                                          \
    X(ClearAllButtonHint, "Clear all the tabs")

namespace formstore {

// The editor's main menu captions.
class TuiRichEditMenuLabels : public TuiHolder {
public:
    explicit TuiRichEditMenuLabels(TPersistent* AOwner) : TuiHolder(AOwner) {}
    AnsiString ClassName() const override { return "TuiRichEditMenuLabels"; }
    // Copies every property of another TuiRichEditMenuLabels.
    void Assign(TPersistent* Value) override;

    FORMSTORE_UI_RICH_EDIT_MENU_TEXTS(FORMSTORE_UI_TEXT)
};

// The editor's pop-up menu captions.
class TuiRichEditPopupMenuLabels : public TuiHolder {
public:
    explicit TuiRichEditPopupMenuLabels(TPersistent* AOwner) : TuiHolder(AOwner) {}
    AnsiString ClassName() const override { return "TuiRichEditPopupMenuLabels"; }
    // Copies every property of another TuiRichEditPopupMenuLabels.
    void Assign(TPersistent* Value) override;

    FORMSTORE_UI_RICH_EDIT_POPUP_MENU_TEXTS(FORMSTORE_UI_TEXT)
};

// The paragraph dialog.
class TuiRichEditParagraphDlg : public TuiHolder {
public:
    explicit TuiRichEditParagraphDlg(TPersistent* AOwner) : TuiHolder(AOwner) {}
    AnsiString ClassName() const override { return "TuiRichEditParagraphDlg"; }
    // Copies every property of another TuiRichEditParagraphDlg.
    void Assign(TPersistent* Value) override;

    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }

    FORMSTORE_UI_RICH_EDIT_PARAGRAPH_DIALOG_TEXTS(FORMSTORE_UI_TEXT)

    int FHelpContext = 0;
};

// The tab stops dialog.
class TuiRichEditTabDlg : public TuiHolder {
public:
    explicit TuiRichEditTabDlg(TPersistent* AOwner) : TuiHolder(AOwner) {}
    AnsiString ClassName() const override { return "TuiRichEditTabDlg"; }
    // Copies every property of another TuiRichEditTabDlg.
    void Assign(TPersistent* Value) override;

    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }

    FORMSTORE_UI_RICH_EDIT_TAB_DIALOG_TEXTS(FORMSTORE_UI_TEXT)

    int FHelpContext = 0;
};

// The editor's hints and lock captions, and the holders of its menus and
// dialogs, which it owns.
class TuiDBRichEditIntl : public TuiHolder {
public:
    explicit TuiDBRichEditIntl(TPersistent* AOwner);
    ~TuiDBRichEditIntl() override;
    AnsiString ClassName() const override { return "TuiDBRichEditIntl"; }
    // Copies the texts, the four holders' texts and the dialogs' help
    // contexts of another TuiDBRichEditIntl.
    void Assign(TPersistent* Value) override;

    // Owned here; writing one copies Value's properties into it.
    TuiRichEditMenuLabels* MenuLabels() const { return FMenuLabels.get(); }
    void SetMenuLabels(TuiRichEditMenuLabels* Value) { FMenuLabels->Assign(Value); }
    TuiRichEditPopupMenuLabels* PopupMenuLabels() const { return FPopupMenuLabels.get(); }
    void SetPopupMenuLabels(TuiRichEditPopupMenuLabels* Value) { FPopupMenuLabels->Assign(Value); }
    TuiRichEditParagraphDlg* ParagraphDialog() const { return FParagraphDialog.get(); }
    void SetParagraphDialog(TuiRichEditParagraphDlg* Value) { FParagraphDialog->Assign(Value); }
    TuiRichEditTabDlg* TabDialog() const { return FTabDialog.get(); }
    void SetTabDialog(TuiRichEditTabDlg* Value) { FTabDialog->Assign(Value); }

private:
    std::unique_ptr<TuiRichEditMenuLabels> FMenuLabels;
    std::unique_ptr<TuiRichEditPopupMenuLabels> FPopupMenuLabels;
    std::unique_ptr<TuiRichEditParagraphDlg> FParagraphDialog;
    std::unique_ptr<TuiRichEditTabDlg> FTabDialog;

    FORMSTORE_UI_RICH_EDIT_TEXTS(FORMSTORE_UI_TEXT)
};

} // namespace formstore
