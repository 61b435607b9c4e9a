// The published side of the framework's own base classes: the component's
// Name and Tag, the lines of a string list (kept as the defined property
// "Strings"), collections and their items.
#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/classes/Filer.h"
#include "platform/classes/Publish.h"
#include "platform/rtl/StringList.h"

void PublishCoreClasses();

void PublishCoreClasses() {
    PublishNow<TPersistent>("TPersistent", [](auto&) {});

    PublishNow<TComponent>("TComponent", [](auto& C) {
        C.template Inherits<TPersistent>();
        // The name goes into the component's header, not its properties.
        C.Property("Name", &TComponent::Name, &TComponent::SetName).Stored(false);
        C.Property("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
        // A root streams the components it owns that no parent streams.
        C.Children(
            [](TComponent& Self, const std::function<void(TComponent*)>& Proc, TComponent* Root) {
                if (&Self != Root) return;
                for (int I = 0; I < Self.ComponentCount(); ++I)
                    if (!Self.Components(I)->HasParent()) Proc(Self.Components(I));
            });
    });

    PublishNow<TCollection>("TCollection", [](auto& C) { C.template Inherits<TPersistent>(); });
    PublishNow<TOwnedCollection>("TOwnedCollection",
                                 [](auto& C) { C.template Inherits<TCollection>(); });
    PublishNow<TCollectionItem>("TCollectionItem",
                                [](auto& C) { C.template Inherits<TPersistent>(); });

    PublishNow<TStrings>("TStrings", [](auto& C) {
        C.template Inherits<TPersistent>();
        C.DefineProperties([](TStrings& Self, TFiler* Filer) {
            if (!Self.StoresStrings()) return;
            Filer->DefineProperty(
                "Strings",
                [&Self](TReader* Reader) {
                    Reader->ReadListBegin();
                    Self.BeginUpdate();
                    try {
                        Self.Clear();
                        while (!Reader->EndOfList())
                            Self.Add(Reader->ReadString());
                    } catch (...) {
                        Self.EndUpdate();
                        throw;
                    }
                    Self.EndUpdate();
                    Reader->ReadListEnd();
                },
                [&Self](TWriter* Writer) {
                    Writer->WriteListBegin();
                    for (int I = 0; I < Self.Count(); ++I)
                        Writer->WriteString(Self.Strings(I));
                    Writer->WriteListEnd();
                },
                Self.Count() > 0);
        });
    });
    PublishNow<TStringList>("TStringList", [](auto& C) { C.template Inherits<TStrings>(); });
}
