#include "grid/foundation/SectionedTexts.h"

#include "grid/foundation/SparseLists.h"

#include <algorithm>
#include <string>

namespace grid {

TSectionedTexts::TSectionedTexts(int SectionShift)
    : FShift(SectionShift), FLast((1 << SectionShift) - 1) {}

TSectionedTexts::~TSectionedTexts() {
    Clear();
}

const TPackedTexts* TSectionedTexts::Find(int S) const {
    if (S == 0) return FFirst.Length() ? &FFirst : nullptr;
    return FMore ? static_cast<const TPackedTexts*>(FMore->ItemAt(S)) : nullptr;
}

TPackedTexts& TSectionedTexts::Make(int S) {
    if (S == 0) return FFirst;
    if (TPackedTexts* Section = Find(S)) return *Section;
    // Section numbers are dense where items are: small sections of the
    // number array keep a lone far section cheap.
    if (!FMore) FMore = std::make_unique<TSparsePointerArray>(SPASmall);
    auto Section = std::make_unique<TPackedTexts>();
    FMore->StoreAt(S, Section.get());
    return *Section.release();
}

void TSectionedTexts::DropIfEmpty(int S) {
    // The first section lets its block go by itself once empty.
    if (S == 0) return;
    TPackedTexts* Section = Find(S);
    if (!Section || Section->Length() > 0) return;
    FMore->StoreAt(S, nullptr);
    delete Section;
}

int TSectionedTexts::SectionAtOrBelow(int S) const {
    if (S < 0) return -1;
    if (S > 0 && FMore) {
        const int Found = FMore->HighestFrom(S);
        if (Found > 0) return Found;
    }
    return FFirst.Length() ? 0 : -1;
}

int TSectionedTexts::SectionAtOrAbove(int S) const {
    if (S <= 0 && FFirst.Length()) return 0;
    return FMore ? FMore->LowestFrom(std::max(S, 1)) : -1;
}

int TSectionedTexts::HighBound() const {
    const int Top = SectionAtOrBelow(TSparsePointerArray::MaxIndexes >> FShift);
    return Top < 0 ? -1 : (Top << FShift) + Find(Top)->Length() - 1;
}

bool TSectionedTexts::Present(int Index) const {
    const TPackedTexts* Section = Find(Index >> FShift);
    return Section && Section->Present(Index & FLast);
}

std::string_view TSectionedTexts::Text(int Index) const {
    const TPackedTexts* Section = Find(Index >> FShift);
    return Section ? Section->Text(Index & FLast) : std::string_view();
}

void TSectionedTexts::Store(int Index, bool Present, std::string_view Text) {
    const int S = Index >> FShift;
    if (!Present) {
        if (TPackedTexts* Section = Find(S)) {
            Section->Store(Index & FLast, false, {});
            DropIfEmpty(S);
        }
        return;
    }
    TPackedTexts& Section = Make(S);
    try {
        Section.Store(Index & FLast, true, Text);
    } catch (...) {
        DropIfEmpty(S);
        throw;
    }
}

void TSectionedTexts::OpenGap(int Index) {
    const int First = Index >> FShift;
    // From the top section down: a section's last item goes to the first
    // place of the section above, which has already made room for it.
    for (int S = SectionAtOrBelow(TSparsePointerArray::MaxIndexes >> FShift); S >= First;
         S = S == First ? -1 : SectionAtOrBelow(S - 1)) {
        TPackedTexts& Section = *Find(S);
        const int From = S == First ? (Index & FLast) : 0;
        if (Section.Length() <= From) continue;
        if (Section.Length() > FLast) {
            const std::string Out(Section.Text(FLast));
            Section.Store(FLast, false, {});
            Make(S + 1).Store(0, true, Out);
        }
        Section.Insert(From, {}, false);
        DropIfEmpty(S);
    }
}

void TSectionedTexts::Insert(int Index, std::string_view Text) {
    OpenGap(Index);
    try {
        Store(Index, true, Text);
    } catch (...) {
        Erase(Index);
        throw;
    }
}

void TSectionedTexts::Erase(int Index) {
    const int First = Index >> FShift;
    // From the bottom section up: a section's first item goes to the last
    // place of the section below, which has already given up that place.
    for (int S = SectionAtOrAbove(First); S >= 0;) {
        TPackedTexts& Section = *Find(S);
        if (S > First && Section.Present(0)) {
            const std::string Out(Section.Text(0));
            Make(S - 1).Store(FLast, true, Out);
        }
        Section.Erase(S == First ? (Index & FLast) : 0);
        DropIfEmpty(S);
        S = SectionAtOrAbove(S + 1);
    }
}

void TSectionedTexts::Clear() {
    if (FMore) {
        FMore->VisitItems([](int, void* Section) {
            delete static_cast<TPackedTexts*>(Section);
            return 0;
        });
        FMore.reset();
    }
    FFirst.Clear();
}

void TSectionedTexts::VisitItems(const std::function<void(int, std::string_view)>& Visit) const {
    for (int S = SectionAtOrAbove(0); S >= 0; S = SectionAtOrAbove(S + 1)) {
        const TPackedTexts& Section = *Find(S);
        for (int I = 0; I < Section.Length(); ++I)
            if (Section.Present(I)) Visit((S << FShift) + I, Section.Text(I));
    }
}

} // namespace grid
