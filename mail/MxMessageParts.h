#pragma once
// The MIME parts of a message: text parts with their lines and attachments
// kept in a data file, the collection that holds them with its counters and
// attachment encoder, and the boundary stack a reader keeps while it walks
// nested multiparts.
#include "mail/MxExceptions.h"
#include "mail/MxHeaderList.h"
#include "platform/classes/Collection.h"
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/StringList.h"

#include <memory>
#include <vector>

class TStream;

namespace mail {

RTL_DECLARE_EXCEPTION(EMxMessageException, EMxException);
RTL_DECLARE_EXCEPTION(EMxCanNotCreateMessagePart, EMxMessageException);

class TMxMessageEncoderInfo;

// The base of the two part kinds; a collection refuses to make one itself.
class TMxMessagePart : public TCollectionItem {
public:
    ~TMxMessagePart() override;
    AnsiString ClassName() const override { return "TMxMessagePart"; }

    // From a part of the same class: the raw and extra headers.
    void Assign(TPersistent* ASource) override;

    TMxHeaderList* RawHeaders() const { return FRawHeaders.get(); }
    TMxHeaderList* ExtraHeaders() const { return FExtraHeaders.get(); }
    void SetExtraHeaders(TStrings* AValue);

    // The values of these headers in RawHeaders; an empty value removes one.
    AnsiString ContentID() const;
    void SetContentID(const AnsiString& AValue);
    AnsiString ContentTransfer() const;
    void SetContentTransfer(const AnsiString& AValue);
    AnsiString ContentType() const;
    void SetContentType(const AnsiString& AValue);
    AnsiString ContentDisposition() const;
    void SetContentDisposition(const AnsiString& AValue);

    bool IsEncoded = false;

protected:
    explicit TMxMessagePart(TCollection* ACollection);

private:
    std::unique_ptr<TMxHeaderList> FRawHeaders;
    std::unique_ptr<TMxHeaderList> FExtraHeaders;
};

class TMxText : public TMxMessagePart {
public:
    explicit TMxText(TCollection* ACollection, const TStrings* ABody = nullptr);
    AnsiString ClassName() const override { return "TMxText"; }

    void Assign(TPersistent* ASource) override;

    TStringList* Body() const { return FBody.get(); }
    void SetBody(TStrings* AValue);

private:
    std::unique_ptr<TStringList> FBody;
};

class TMxAttachment : public TMxMessagePart {
public:
    // ADataFile names the file that holds the data; AttachmentName starts
    // as its file-name part.
    explicit TMxAttachment(TCollection* ACollection, const AnsiString& ADataFile = AnsiString());
    // Deletes DataFile when DeleteDataFile is set.
    ~TMxAttachment() override;
    AnsiString ClassName() const override { return "TMxAttachment"; }

    void Assign(TPersistent* ASource) override;

    AnsiString DataFile;
    bool DeleteDataFile = false;
    AnsiString AttachmentName;

    // Codes DataFile with the attachment encoder of the collection (MIME
    // outside a message) onto ADest.
    void Encode(TStream* ADest) const;
};

class TMxMessageParts : public TOwnedCollection {
public:
    explicit TMxMessageParts(TPersistent* AOwner);
    AnsiString ClassName() const override { return "TMxMessageParts"; }

    TMxMessagePart* Items(int AIndex) const;

    void RecountParts();
    int AttachmentTotal() const { return FAttachmentTotal; }
    int RelatedAttachmentTotal() const { return FRelatedAttachmentTotal; }
    int TextPartTotal() const { return FTextPartTotal; }

    const AnsiString& AttachmentEncoding() const { return FAttachmentEncoding; }
    // "Message encoder not found: <name>" (EMxException) for a name that is
    // not registered; the old encoding stays.
    void SetAttachmentEncoding(const AnsiString& AValue);
    TMxMessageEncoderInfo* MessageEncoderInfo() const { return FMessageEncoderInfo; }

private:
    int FAttachmentTotal = 0;
    int FRelatedAttachmentTotal = 0;
    int FTextPartTotal = 0;
    AnsiString FAttachmentEncoding;
    TMxMessageEncoderInfo* FMessageEncoderInfo = nullptr;
};

// Nested multiparts deeper than this are refused rather than stacked
// without bound.
inline constexpr int MxMaxBoundaryDepth = 32;

// The boundaries of the multiparts a reader is inside, innermost on top.
class TMxMIMEBoundary {
public:
    // The top boundary, empty when there is none.
    AnsiString Boundary() const;
    int Count() const { return static_cast<int>(FBoundaries.size()); }
    // A boundary equal to the top (case ignored) only marks that the same
    // boundary came again; another non-empty one goes on top and clears the
    // mark. EMxMessageException past MxMaxBoundaryDepth.
    void Push(const AnsiString& ABoundary);
    void Pop();
    void Clear();
    // Whether the last push met the top boundary again.
    bool SameBoundaryAgain() const { return FSameAgain; }

private:
    std::vector<AnsiString> FBoundaries;
    bool FSameAgain = false;
};

// The value of parameter AName (e.g. "boundary") in a header value such as
// `multipart/mixed; boundary="abc"`, found without regard to case and kept
// in its own case: a quoted value up to its closing quote, else up to the
// next ";" or blank. Empty when absent.
AnsiString HeaderParameter(const AnsiString& AValue, const AnsiString& AName);

// The part of APath after its last '/'.
AnsiString FileNamePart(const AnsiString& APath);

} // namespace mail
