#include "mail/MxMessageParts.h"

#include "mail/MxMessageCoder.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"

#include <cstdio>

namespace mail {

namespace {

const char* const CannotCreatePart = "TMxMessagePart can not be created.  Use descendant classes. ";

// Parts are made as TMxText or TMxAttachment; the collection's own Add
// would have to make the abstract base.
TCollectionItemClass MessagePartClass() {
    return {[](TCollection*) -> TCollectionItem* {
                throw EMxCanNotCreateMessagePart(CannotCreatePart);
            },
            [](const TCollectionItem* AItem) {
                return dynamic_cast<const TMxMessagePart*>(AItem) != nullptr;
            }};
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

// ---------------------------------------------------------------- parts

TMxMessagePart::TMxMessagePart(TCollection* ACollection)
    : TCollectionItem(ACollection), FRawHeaders(std::make_unique<TMxHeaderList>()),
      FExtraHeaders(std::make_unique<TMxHeaderList>()) {}

TMxMessagePart::~TMxMessagePart() = default;

void TMxMessagePart::Assign(TPersistent* ASource) {
    auto* source = dynamic_cast<TMxMessagePart*>(ASource);
    if (source == nullptr || source->ClassName() != ClassName()) {
        TCollectionItem::Assign(ASource);
        return;
    }
    FRawHeaders->Assign(source->FRawHeaders.get());
    FExtraHeaders->Assign(source->FExtraHeaders.get());
}

void TMxMessagePart::SetExtraHeaders(TStrings* AValue) {
    FExtraHeaders->Assign(AValue);
}

AnsiString TMxMessagePart::ContentID() const {
    return FRawHeaders->ValueOf("Content-ID");
}
void TMxMessagePart::SetContentID(const AnsiString& AValue) {
    FRawHeaders->SetValueOf("Content-ID", AValue);
}
AnsiString TMxMessagePart::ContentTransfer() const {
    return FRawHeaders->ValueOf("Content-Transfer-Encoding");
}
void TMxMessagePart::SetContentTransfer(const AnsiString& AValue) {
    FRawHeaders->SetValueOf("Content-Transfer-Encoding", AValue);
}
AnsiString TMxMessagePart::ContentType() const {
    return FRawHeaders->ValueOf("Content-Type");
}
void TMxMessagePart::SetContentType(const AnsiString& AValue) {
    FRawHeaders->SetValueOf("Content-Type", AValue);
}
AnsiString TMxMessagePart::ContentDisposition() const {
    return FRawHeaders->ValueOf("Content-Disposition");
}
void TMxMessagePart::SetContentDisposition(const AnsiString& AValue) {
    FRawHeaders->SetValueOf("Content-Disposition", AValue);
}

TMxText::TMxText(TCollection* ACollection, const TStrings* ABody)
    : TMxMessagePart(ACollection), FBody(std::make_unique<TStringList>()) {
    if (ABody != nullptr) FBody->Assign(ABody);
}

void TMxText::Assign(TPersistent* ASource) {
    TMxMessagePart::Assign(ASource);
    if (auto* source = dynamic_cast<TMxText*>(ASource)) FBody->Assign(source->FBody.get());
}

void TMxText::SetBody(TStrings* AValue) {
    FBody->Assign(AValue);
}

TMxAttachment::TMxAttachment(TCollection* ACollection, const AnsiString& ADataFile)
    : TMxMessagePart(ACollection), DataFile(ADataFile), AttachmentName(FileNamePart(ADataFile)) {}

TMxAttachment::~TMxAttachment() {
    if (DeleteDataFile && !DataFile.empty()) std::remove(DataFile.c_str());
}

void TMxAttachment::Assign(TPersistent* ASource) {
    TMxMessagePart::Assign(ASource);
    if (auto* source = dynamic_cast<TMxAttachment*>(ASource))
        AttachmentName = source->AttachmentName;
}

void TMxAttachment::Encode(TStream* ADest) const {
    auto* parts = dynamic_cast<TMxMessageParts*>(Collection());
    TMxMessageEncoderInfo* info =
        parts != nullptr ? parts->MessageEncoderInfo() : TMxMessageEncoderList::FindEncoder("MIME");
    std::unique_ptr<TMxMessageEncoder> encoder = info->EncoderClass();
    encoder->PartFileName = AttachmentName;
    TFileStream data(DataFile, fmOpenRead | fmShareDenyWrite);
    encoder->EncodeStream(&data, ADest);
}

// ---------------------------------------------------------- collection

TMxMessageParts::TMxMessageParts(TPersistent* AOwner)
    : TOwnedCollection(AOwner, MessagePartClass()) {
    SetAttachmentEncoding("MIME");
}

TMxMessagePart* TMxMessageParts::Items(int AIndex) const {
    return static_cast<TMxMessagePart*>(TCollection::Items(AIndex));
}

void TMxMessageParts::RecountParts() {
    FAttachmentTotal = 0;
    FRelatedAttachmentTotal = 0;
    FTextPartTotal = 0;
    for (int i = 0; i < Count(); ++i) {
        TMxMessagePart* part = Items(i);
        if (dynamic_cast<TMxText*>(part) != nullptr) {
            ++FTextPartTotal;
        } else if (dynamic_cast<TMxAttachment*>(part) != nullptr) {
            ++FAttachmentTotal;
            if (!part->ContentID().empty()) ++FRelatedAttachmentTotal;
        }
    }
}

void TMxMessageParts::SetAttachmentEncoding(const AnsiString& AValue) {
    TMxMessageEncoderInfo* info = TMxMessageEncoderList::FindEncoder(AValue);
    FAttachmentEncoding = AValue;
    FMessageEncoderInfo = info;
}

// ---------------------------------------------------------- boundaries

AnsiString TMxMIMEBoundary::Boundary() const {
    return FBoundaries.empty() ? AnsiString() : FBoundaries.back();
}

void TMxMIMEBoundary::Push(const AnsiString& ABoundary) {
    if (!FBoundaries.empty() && SameText(FBoundaries.back(), ABoundary)) {
        FSameAgain = true;
        return;
    }
    if (ABoundary.empty()) return;
    if (Count() >= MxMaxBoundaryDepth) {
        throw EMxMessageException("MIME parts are nested deeper than " +
                                  std::to_string(MxMaxBoundaryDepth) + " levels at boundary \"" +
                                  ABoundary + "\"");
    }
    FBoundaries.push_back(ABoundary);
    FSameAgain = false;
}

void TMxMIMEBoundary::Pop() {
    if (!FBoundaries.empty()) FBoundaries.pop_back();
}

void TMxMIMEBoundary::Clear() {
    FBoundaries.clear();
    FSameAgain = false;
}

// ---------------------------------------------------------- helpers

AnsiString HeaderParameter(const AnsiString& AValue, const AnsiString& AName) {
    const AnsiString upper = UpperCase(AValue);
    const AnsiString key = UpperCase(AName) + "=";
    std::size_t at = 0;
    while ((at = upper.find(key, at)) != AnsiString::npos) {
        // "name=" must not be found inside "filename=".
        if (at == 0 || upper[at - 1] == ';' || IsBlank(upper[at - 1])) break;
        at += key.size();
    }
    if (at == AnsiString::npos) return AnsiString();
    std::size_t start = at + key.size();
    while (start < AValue.size() && IsBlank(AValue[start]))
        ++start;
    if (start < AValue.size() && AValue[start] == '"') {
        const std::size_t close = AValue.find('"', start + 1);
        return AValue.substr(start + 1,
                             close == AnsiString::npos ? AnsiString::npos : close - start - 1);
    }
    const std::size_t end = AValue.find_first_of("; \t", start);
    return Trim(AValue.substr(start, end == AnsiString::npos ? AnsiString::npos : end - start));
}

AnsiString FileNamePart(const AnsiString& APath) {
    const std::size_t slash = APath.rfind('/');
    return slash == AnsiString::npos ? APath : APath.substr(slash + 1);
}

} // namespace mail
