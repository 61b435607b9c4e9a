#pragma once
// A small component tree for the stream tests and the reader fuzzer: boxes
// inside boxes, each with properties of every kind the stream knows, a
// nested object, a string list, a collection, a reference to another box
// and two defined properties (an integer and a block of bytes).
#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/classes/Filer.h"
#include "platform/classes/Publish.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace stream_fixture {

enum class TShade : std::uint8_t { shNone, shLight, shDark, shDeep };
using enum TShade;
using TShades = SmallSet<TShade>;

inline const TTypeInfo& ShadeType() {
    static const TTypeInfo Info = MakeEnumType("TShade", {"shNone", "shLight", "shDark", "shDeep"});
    return Info;
}
inline const TTypeInfo& ShadesType() {
    static const TTypeInfo Info = MakeSetType("TShades", ShadeType());
    return Info;
}

// A nested object, streamed as "Sample.Size" and so on.
class TSample : public TPersistent {
public:
    AnsiString ClassName() const override { return "TSample"; }
    const AnsiString& Face() const { return FFace; }
    void SetFace(const AnsiString& V) { FFace = V; }
    int Size() const { return FSize; }
    void SetSize(int V) { FSize = V; }
    TShades Style() const { return FStyle; }
    void SetStyle(TShades V) { FStyle = V; }
    void Assign(TPersistent* Source) override {
        auto* S = dynamic_cast<TSample*>(Source);
        if (!S) return TPersistent::Assign(Source);
        FFace = S->FFace;
        FSize = S->FSize;
        FStyle = S->FStyle;
    }

private:
    AnsiString FFace = "Sans";
    int FSize = 8;
    TShades FStyle;
};

class TEntry : public TCollectionItem {
public:
    explicit TEntry(TCollection* Collection) : TCollectionItem(Collection) {}
    AnsiString ClassName() const override { return "TEntry"; }
    const AnsiString& Caption() const { return FCaption; }
    void SetCaption(const AnsiString& V) { FCaption = V; }
    int Weight() const { return FWeight; }
    void SetWeight(int V) { FWeight = V; }
    TShade Shade() const { return FShade; }
    void SetShade(TShade V) { FShade = V; }

private:
    AnsiString FCaption;
    int FWeight = 1;
    TShade FShade = shNone;
};

class TBox : public TComponent {
public:
    explicit TBox(TComponent* AOwner)
        : TComponent(AOwner), FSample(std::make_unique<TSample>()),
          FLines(std::make_unique<TStringList>()),
          FEntries(std::make_unique<TOwnedCollection>(this, CollectionItemClass<TEntry>())) {}
    ~TBox() override {
        SetParentBox(nullptr);
        for (TBox* Child : FChildren)
            Child->FParentBox = nullptr;
    }
    AnsiString ClassName() const override { return "TBox"; }

    TBox* ParentBox() const { return FParentBox; }
    void SetParentBox(TBox* Value) {
        if (FParentBox) std::erase(FParentBox->FChildren, this);
        FParentBox = Value;
        if (Value) Value->FChildren.push_back(this);
    }
    bool HasParent() const override { return FParentBox != nullptr; }
    const std::vector<TBox*>& Children() const { return FChildren; }

    int Left() const { return FLeft; }
    void SetLeft(int V) { FLeft = V; }
    bool Active() const { return FActive; }
    void SetActive(bool V) { FActive = V; }
    char Letter() const { return FLetter; }
    void SetLetter(char V) { FLetter = V; }
    std::int64_t Wide() const { return FWide; }
    void SetWide(std::int64_t V) { FWide = V; }
    double Ratio() const { return FRatio; }
    void SetRatio(double V) { FRatio = V; }
    TShade Shade() const { return FShade; }
    void SetShade(TShade V) { FShade = V; }
    TShades Shades() const { return FShades; }
    void SetShades(TShades V) { FShades = V; }
    const AnsiString& Caption() const { return FCaption; }
    void SetCaption(const AnsiString& V) { FCaption = V; }
    const Variant& Extra() const { return FExtra; }
    void SetExtra(const Variant& V) { FExtra = V; }
    TSample* Sample() const { return FSample.get(); }
    void SetSample(TSample* V) { FSample->Assign(V); }
    TStrings* Lines() const { return FLines.get(); }
    void SetLines(TStrings* V) { FLines->Assign(V); }
    TOwnedCollection* Entries() const { return FEntries.get(); }
    void SetEntries(TOwnedCollection* V) { FEntries->Assign(V); }
    TBox* Link() const { return FLink; }
    void SetLink(TBox* V) {
        if (FLink) FLink->RemoveFreeNotification(this);
        FLink = V;
        if (V) V->FreeNotification(this);
    }

    // Unpublished data kept through DefineProperties.
    int Checksum = 0;
    std::vector<unsigned char> Blob;
    int LoadedCalls = 0;

    void Loaded() override {
        TComponent::Loaded();
        ++LoadedCalls;
    }

protected:
    void DefineProperties(TFiler* Filer) override {
        TComponent::DefineProperties(Filer);
        Filer->DefineProperty(
            "Checksum", [this](TReader* R) { Checksum = R->ReadInteger(); },
            [this](TWriter* W) { W->WriteInteger(Checksum); }, Checksum != 0);
        Filer->DefineBinaryProperty(
            "Blob",
            [this](TStream* S) {
                Blob.resize(static_cast<std::size_t>(S->GetSize()));
                if (!Blob.empty()) S->ReadBuffer(Blob.data(), static_cast<int>(Blob.size()));
            },
            [this](TStream* S) {
                if (!Blob.empty()) S->WriteBuffer(Blob.data(), static_cast<int>(Blob.size()));
            },
            !Blob.empty());
    }
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == FLink) FLink = nullptr;
    }

private:
    TBox* FParentBox = nullptr;
    std::vector<TBox*> FChildren;
    int FLeft = 0;
    bool FActive = true;
    char FLetter = 'a';
    std::int64_t FWide = 0;
    double FRatio = 0;
    TShade FShade = shNone;
    TShades FShades;
    AnsiString FCaption;
    Variant FExtra;
    std::unique_ptr<TSample> FSample;
    std::unique_ptr<TStringList> FLines;
    std::unique_ptr<TOwnedCollection> FEntries;
    TBox* FLink = nullptr;
};

// The root of a tree of boxes.
class TBoxForm : public TBox {
public:
    explicit TBoxForm(TComponent* AOwner) : TBox(AOwner) {}
    AnsiString ClassName() const override { return "TBoxForm"; }
};

// Publishes the classes above and registers the boxes for streaming.
inline void RegisterStreamFixture() {
    static const bool Done = [] {
        PublishNow<TSample>("TSample", [](auto& C) {
            C.template Inherits<TPersistent>();
            C.Property("Face", &TSample::Face, &TSample::SetFace).Default("Sans");
            C.Property("Size", &TSample::Size, &TSample::SetSize).Default(8);
            C.Property("Style", &TSample::Style, &TSample::SetStyle, ShadesType())
                .Default(TShades{});
        });
        PublishNow<TEntry>("TEntry", [](auto& C) {
            C.template Inherits<TCollectionItem>();
            C.Property("Caption", &TEntry::Caption, &TEntry::SetCaption);
            C.Property("Weight", &TEntry::Weight, &TEntry::SetWeight).Default(1);
            C.Property("Shade", &TEntry::Shade, &TEntry::SetShade, ShadeType()).Default(shNone);
        });
        const TClassInfo* Box = PublishNow<TBox>("TBox", [](auto& C) {
            C.template Inherits<TComponent>();
            C.Property("Left", &TBox::Left, &TBox::SetLeft).Default(0);
            C.Property("Active", &TBox::Active, &TBox::SetActive).Default(true);
            C.Property("Letter", &TBox::Letter, &TBox::SetLetter).Default('a');
            C.Property("Wide", &TBox::Wide, &TBox::SetWide).Default(0);
            C.Property("Ratio", &TBox::Ratio, &TBox::SetRatio);
            C.Property("Shade", &TBox::Shade, &TBox::SetShade, ShadeType()).Default(shNone);
            C.Property("Shades", &TBox::Shades, &TBox::SetShades, ShadesType()).Default(TShades{});
            C.Property("Caption", &TBox::Caption, &TBox::SetCaption);
            C.Property("Extra", &TBox::Extra, &TBox::SetExtra);
            C.Property("Sample", &TBox::Sample, &TBox::SetSample);
            C.Property("Lines", &TBox::Lines, &TBox::SetLines);
            C.Property("Entries", &TBox::Entries, &TBox::SetEntries);
            C.Property("Link", &TBox::Link, &TBox::SetLink);
            C.SetParentProc([](TBox& Self, TComponent* Parent) {
                Self.SetParentBox(dynamic_cast<TBox*>(Parent));
            });
            C.Children(
                [](TBox& Self, const std::function<void(TComponent*)>& Proc, TComponent* Root) {
                    for (int I = 0; I < Root->ComponentCount(); ++I) {
                        TComponent* Child = Root->Components(I);
                        auto* ChildBox = dynamic_cast<TBox*>(Child);
                        const TBox* Parent = ChildBox ? ChildBox->ParentBox() : nullptr;
                        if (Parent == &Self || (&Self == Root && !Parent)) Proc(Child);
                    }
                });
        });
        const TClassInfo* Form =
            PublishNow<TBoxForm>("TBoxForm", [](auto& C) { C.template Inherits<TBox>(); });
        RegisterClasses({Box, Form});
        return true;
    }();
    (void)Done;
}

} // namespace stream_fixture
