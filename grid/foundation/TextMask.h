#pragma once
// An edit mask: a picture in the mask language, parsed on demand, that
// answers whether a text fits and what typing may insert.
#include "grid/foundation/PictureTree.h"
#include "platform/rtl/Persistent.h"

#include <memory>

namespace grid {

class TgxTextCase;

// What a text mask needs of the mask definition that owns it: the name its
// messages carry, its text-case rule, its parse-error event and its way of
// raising (which puts the definitions component's name in front).
class TgxMaskOwner {
public:
    virtual AnsiString GetName() const = 0;
    virtual TgxTextCase* GetTextCase() const = 0;
    virtual void DoParseError(const AnsiString& Message, bool& Raise) = 0;
    [[noreturn]] virtual void InvalidOp(const AnsiString& Message) = 0;
    virtual void Changed() = 0;

protected:
    ~TgxMaskOwner() = default;
};

// The text-case rule of a mask definition.
class TgxTextCase : public TPersistent {
public:
    explicit TgxTextCase(TgxMaskOwner* AOwner = nullptr) : FOwner(AOwner) {}
    AnsiString ClassName() const override { return "TgxTextCase"; }

    TgxCaseType CaseType() const { return FCaseType; }
    void SetCaseType(TgxCaseType Value);
    bool Optional() const { return FOptional; }
    void SetOptional(bool Value);

    void Assign(TPersistent* Source) override;

private:
    void Changed();

    TgxMaskOwner* FOwner;
    TgxCaseType FCaseType = cstNone;
    bool FOptional = false;
};

class TgxTextMask : public TPersistent {
public:
    explicit TgxTextMask(TgxMaskOwner* AMask = nullptr);
    ~TgxTextMask() override;
    AnsiString ClassName() const override { return "TgxTextMask"; }

    TgxMaskOwner* Mask() const { return FMask; }
    const AnsiString& Picture() const { return FPicture; }
    int PictureLen() const { return static_cast<int>(FPicture.size()); }
    bool PictureValid() const { return FPictureValid; }

    // Takes a new picture and checks its syntax. On an error the picture is
    // kept but marked invalid (every text then fits), and the owner's
    // parse-error handler decides whether the error is raised.
    void SetPicture(const AnsiString& Value);
    // The parsed picture, built on first use; nullptr for an invalid picture.
    TgxPictureList* GetPictureList();

    // Whether the text fits (FullCompare) or begins a fitting text.
    bool ValidText(const AnsiString& Text, bool FullCompare);
    // Whether Input may be typed at the 1-based Caret of Text. On success
    // Input becomes the literals to insert followed by the typed characters
    // with their case converted.
    bool ValidInput(const AnsiString& Text, AnsiString& Input, int Caret, bool FullCompare,
                    bool InsertLiterals);

    TgxTextCase* GetTextCase() const { return FMask ? FMask->GetTextCase() : nullptr; }

private:
    std::unique_ptr<TgxPictureList> ParsePicture();
    void UseDefaultPicture();

    TgxMaskOwner* FMask;
    AnsiString FPicture;
    std::unique_ptr<TgxPictureList> FPictureList;
    bool FPictureValid = true;
};

} // namespace grid
