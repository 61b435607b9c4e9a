#pragma once
// E-mail addresses: one address with its display name, parsed from and
// formatted to the text form of a header ("Name <local@domain>"), and a
// list of them for the To, Cc and Reply-To headers.
#include "platform/classes/Collection.h"
#include "platform/rtl/AnsiString.h"

namespace mail {

class TMxEMailAddressItem : public TCollectionItem {
public:
    explicit TMxEMailAddressItem(TCollection* ACollection = nullptr);
    AnsiString ClassName() const override { return "TMxEMailAddressItem"; }

    void Assign(TPersistent* ASource) override;

    const AnsiString& Address() const { return FAddress; }
    // CR, LF and NUL are refused (EMxEmailParseError): they would end the
    // header line the address is written into.
    void SetAddress(const AnsiString& AValue);
    const AnsiString& Name() const { return FName; }
    void SetName(const AnsiString& AValue);

    // The address alone, in angle brackets when a name goes with it and
    // with the local part quoted when it needs to be.
    AnsiString GetAddressForm() const;
    AnsiString GetText() const;
    // Parses one address; "@ Outside address" (EMxEmailParseError) for an
    // "@" after a closed angle-bracket address.
    void SetText(const AnsiString& AValue);

private:
    AnsiString FAddress;
    AnsiString FName;
};

class TMxEMailAddressList : public TOwnedCollection {
public:
    explicit TMxEMailAddressList(TPersistent* AOwner = nullptr);
    AnsiString ClassName() const override { return "TMxEMailAddressList"; }

    TMxEMailAddressItem* Add();
    TMxEMailAddressItem* Items(int AIndex) const;

    // Every item's text joined by ", ".
    AnsiString GetAddressText() const;
    // Clears the list and parses a list text (commas, groups, comments and
    // quotes). On a parse error the list keeps what it held.
    void SetAddressText(const AnsiString& AValue);
};

// Raises EMxEmailParseError when AText holds CR, LF or NUL.
void CheckAddressText(const AnsiString& AText);

// The address as an SMTP envelope writes it between "<" and ">": the local
// part as it stands when it is a dot-string, else quoted with a backslash
// before each backslash and double quote; then "@" and the domain. A text
// that cannot be written so (empty, a byte outside printable ASCII, a
// domain that is neither a host name nor an address literal) raises
// EMxEmailParseError naming it, so that nothing of it reaches the command.
AnsiString EnvelopeAddress(const AnsiString& AAddress);

} // namespace mail
