#pragma once
// The binary component stream: TWriter writes a component tree (the root's
// properties, then each child with its class, owner-relative name,
// properties and children), TReader builds it again. Properties come from
// the published-property registry (TypInfo.h) and from DefineProperties.
//
// Reading is bounded: every length and count is checked against the bytes
// left, nesting is limited, and whatever is wrong raises EReadError naming
// it. Only classes given to RegisterClass are made from a stream; any other
// name raises EClassNotFound.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/Variant.h"

#include <cstdint>
#include <functional>
#include <vector>

class TStream;
class TPersistent;
class TComponent;
class TCollection;
struct TPropInfo;
class TReader;
class TWriter;

// Value tags of the stream; the ordinals are the format's.
enum TValueType : std::uint8_t {
    vaNull,
    vaList,
    vaInt8,
    vaInt16,
    vaInt32,
    vaExtended,
    vaString,
    vaIdent,
    vaFalse,
    vaTrue,
    vaBinary,
    vaSet,
    vaLString,
    vaNil,
    vaCollection,
    vaSingle,
    vaCurrency,
    vaDate,
    vaWString,
    vaInt64,
    vaUTF8String,
    vaDouble,
};

// Flags before a component's class name (as 0xF0 | flags).
enum TFilerFlag : std::uint8_t { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

// The four bytes every component stream starts with.
inline constexpr char FilerSignature[4] = {'T', 'P', 'F', '0'};

using TReaderProc = std::function<void(TReader* Reader)>;
using TWriterProc = std::function<void(TWriter* Writer)>;
using TStreamProc = std::function<void(TStream* Stream)>;

class TFiler : public TObject {
public:
    explicit TFiler(TStream* Stream) : FStream(Stream) {}
    AnsiString ClassName() const override { return "TFiler"; }

    // A property kept outside the published ones: the reader calls ReadData
    // when the stream holds it; the writer calls WriteData when HasData.
    virtual void DefineProperty(const AnsiString& Name, const TReaderProc& ReadData,
                                const TWriterProc& WriteData, bool HasData) = 0;
    // The same for a block of bytes, read and written as a stream.
    virtual void DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData,
                                      const TStreamProc& WriteData, bool HasData) = 0;

    TStream* Stream() const { return FStream; }
    TComponent* Root() const { return FRoot; }
    void SetRoot(TComponent* Value) { FRoot = Value; }
    // The component names of references are relative to.
    TComponent* LookupRoot() const { return FLookupRoot; }
    // While a descendant is written (WriteDescendent): the ancestor's
    // counterpart of the object whose properties are being written, so a
    // defined property can store only what differs from it; else nullptr.
    TPersistent* Ancestor() const { return FAncestor; }

protected:
    // Asks Instance and the hooks of its published classes for their
    // defined properties.
    void CallDefineProperties(TPersistent* Instance);

    TStream* FStream;
    TComponent* FRoot = nullptr;
    TComponent* FLookupRoot = nullptr;
    TPersistent* FAncestor = nullptr;
};

class TWriter : public TFiler {
public:
    explicit TWriter(TStream* Stream) : TFiler(Stream) {}
    AnsiString ClassName() const override { return "TWriter"; }

    void DefineProperty(const AnsiString& Name, const TReaderProc& ReadData,
                        const TWriterProc& WriteData, bool HasData) override;
    void DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData,
                              const TStreamProc& WriteData, bool HasData) override;

    // The signature, then Root with its children.
    void WriteRootComponent(TComponent* Root);
    // Root as a descendant of Ancestor (nullptr: of nothing): each component
    // is written with the ancestor's component of the same name as its
    // Ancestor().
    void WriteDescendent(TComponent* Root, TComponent* Ancestor);
    // One component (through its WriteState) as a child of the root.
    void WriteComponent(TComponent* Component);
    // Class, name, properties and children of Component.
    void WriteData(TComponent* Component);
    void WriteSignature();
    // The published properties (those not at their default) and the defined
    // ones of Instance.
    void WriteProperties(TPersistent* Instance);
    void WriteCollection(TCollection* Collection);

    void WriteListBegin() { WriteValue(vaList); }
    void WriteListEnd() { WriteValue(vaNull); }
    void WriteInteger(std::int64_t Value);
    void WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }
    void WriteChar(char Value);
    void WriteFloat(double Value);
    void WriteSingle(float Value);
    void WriteCurrency(std::int64_t Scaled);
    void WriteDate(double Value);
    void WriteString(const AnsiString& Value);
    void WriteIdent(const AnsiString& Ident);
    void WriteSet(const std::vector<AnsiString>& Members);
    void WriteVariant(const Variant& Value);
    // A short string: a length byte and the bytes (at most 255).
    void WriteStr(const AnsiString& Value);
    void WriteValue(TValueType Value);
    void Write(const void* Buffer, int Count);

private:
    void WriteProperty(TPersistent* Instance, const TPropInfo* Prop);
    AnsiString ComponentReference(const TComponent* Component) const;

    AnsiString FPropPath;
    TComponent* FRootAncestor = nullptr;
};

class TReader : public TFiler {
public:
    explicit TReader(TStream* Stream);
    AnsiString ClassName() const override { return "TReader"; }

    void DefineProperty(const AnsiString& Name, const TReaderProc& ReadData,
                        const TWriterProc& WriteData, bool HasData) override;
    void DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData,
                              const TStreamProc& WriteData, bool HasData) override;

    // Reads a whole stream into Root (made from the stream's class when
    // nullptr; the caller then owns it). On failure the components made so
    // far are freed and the error goes on.
    TComponent* ReadRootComponent(TComponent* Root);
    // Reads one child component of the root (made and owned by the root).
    TComponent* ReadComponent(TComponent* Component);
    void ReadSignature();
    void ReadCollection(TCollection* Collection);

    TValueType NextValue();
    TValueType ReadValue();
    // Only a 0 ends a list; the byte may be the length of the next name,
    // which need not be a valid value type.
    bool EndOfList();
    void ReadListBegin();
    void ReadListEnd();
    std::int64_t ReadInt64();
    int ReadInteger();
    bool ReadBoolean();
    char ReadChar();
    double ReadFloat();
    AnsiString ReadString();
    AnsiString ReadIdent();
    Variant ReadVariant();
    // A short string.
    AnsiString ReadStr();
    void SkipValue();
    void Read(void* Buffer, int Count);

    // The component that children being read go into.
    TComponent* Parent() const { return FParent; }
    TComponent* Owner() const { return FOwner; }

private:
    struct TFixup {
        TPersistent* Instance;
        const TPropInfo* Prop;
        AnsiString Name;
    };

    void ReadProperty(TPersistent* Instance);
    void ReadPropValue(TPersistent* Instance, const TPropInfo* Prop);
    void ReadComponentData(TComponent* Instance);
    void ResolveFixups();
    // Raises EReadError unless Count more bytes are there.
    void Need(std::int64_t Count, const char* What);
    [[noreturn]] void Fail(const AnsiString& What) const;
    void Enter();
    void Leave() { --FDepth; }
    // Frees the components made from index Mark on, the last made first (so
    // a parent's children go before it).
    void FreeCreated(std::size_t Mark);

    std::int64_t FSize = 0;
    TComponent* FParent = nullptr;
    TComponent* FOwner = nullptr;
    AnsiString FPropName;
    bool FPropHandled = false;
    int FDepth = 0;
    std::vector<TFixup> FFixups;
    std::vector<TComponent*> FLoaded;
    std::vector<TComponent*> FCreated;
};

// Finds a component of another root by its root's name ("Form2" of
// "Form2.Button1"); the GUI layer points it at the open forms.
using TFindGlobalComponent = std::function<TComponent*(const AnsiString& Name)>;
void SetFindGlobalComponent(TFindGlobalComponent Proc);
TComponent* FindGlobalComponent(const AnsiString& Name);

// Round trips through memory: the component (with its children) as a
// stream, and a stream read into Instance (or into a new object of the
// stream's class when nullptr, which the caller then owns).
void WriteComponentRes(TStream* Stream, TComponent* Instance);
TComponent* ReadComponentRes(TStream* Stream, TComponent* Instance);
