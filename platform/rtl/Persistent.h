#pragma once
// The base of everything that can copy itself from another object and that
// the form streaming system will read and write: Assign/AssignTo, the owner
// used to build a name path, and the hook through which a class adds
// properties of its own to the stream.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Object.h"

class TFiler;
class TReader;
class TWriter;

class TPersistent : public TObject {
public:
    AnsiString ClassName() const override { return "TPersistent"; }

    // Copies Source into this object. The base asks Source to do it
    // (AssignTo); when neither side knows the other, EConvertError
    // "Cannot assign a <source> to a <destination>" is raised.
    virtual void Assign(TPersistent* Source);

    // The dotted path a designer or an error message uses to name this
    // object: the owner's path, a dot and the class name.
    virtual AnsiString GetNamePath() const;

    // The object this one belongs to in the streaming tree, or nullptr.
    virtual TPersistent* GetOwner() const { return nullptr; }

protected:
    // Copies this object into Dest; the base knows no way to do it.
    virtual void AssignTo(TPersistent* Dest);

    // Adds properties that are not published to the stream; nothing here.
    virtual void DefineProperties(TFiler* Filer);

    // Raises the assignment error with Source (or "nil") as the source and
    // this object as the destination.
    [[noreturn]] void AssignError(const TPersistent* Source) const;

private:
    friend class TFiler;
    friend class TReader;
    friend class TWriter;
};
