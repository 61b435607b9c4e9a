#pragma once
// The masked edit: an edit whose text follows an edit mask of the form
// "mask;save-literals;blank". Mask characters: L/l letter, A/a letter or
// digit, C/c any character, 0/9 digit, # digit or sign (upper case:
// required, lower case or 9/#: optional), > and < upper and lower case for
// what follows (<> neither), \ makes the next character a literal, : and /
// are the time and date separators, _ a blank; every other character is a
// literal. Save-literals 0 leaves the literals out of Text.
#include "platform/gui/StdCtrls.h"

class TCustomMaskEdit : public TCustomEdit {
public:
    explicit TCustomMaskEdit(TComponent* AOwner);
    AnsiString ClassName() const override { return "TCustomMaskEdit"; }

    const AnsiString& EditMask() const { return FEditMask; }
    void SetEditMask(const AnsiString& Value);
    bool IsMasked() const { return !FEditMask.empty(); }
    // The text as shown: literals in place and the blank character where
    // nothing has been typed.
    AnsiString EditText() const;
    void SetEditText(const AnsiString& Value);
    // The blank character of the mask ('_' unless the mask names one).
    char MaskBlank() const { return FBlank; }
    // Whether Text keeps the literals.
    bool MaskSaveLiterals() const { return FSaveLiterals; }

protected:
    AnsiString GetText() const override;
    void SetTextValue(const AnsiString& Value) override;

private:
    struct TMaskChar {
        char Kind; // the mask character, or 0 for a literal
        char Literal;
    };
    void ParseMask();

    AnsiString FEditMask;
    std::vector<TMaskChar> FChars;
    char FBlank = '_';
    bool FSaveLiterals = true;
};

class TMaskEdit : public TCustomMaskEdit {
public:
    explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
    AnsiString ClassName() const override { return "TMaskEdit"; }
};
