#pragma once
// The fixed catalogue of the alerts the program can generate: a small tree of
// categories, one definition per alert id with its message template, the
// definitions the daily run checks, and the names of the priority levels.
// Alert ids are the numbers that alert transactions, settings and history
// rows carry.
#include "platform/rtl/AnsiString.h"

#include <cstdint>
#include <vector>

struct AlertCategory {
    std::uint8_t Id = 0;          // 0 is the row "None"
    std::uint8_t FirstChild = 0;  // 0 when none
    std::uint8_t NextSibling = 0; // 0 when none
    const char* Name = "";
    // For a leaf category, one bit naming the kind of shop record its alerts
    // are about (see RecordKind); 0 for the top-level categories and "None".
    std::int32_t RecordKindMask = 0;
};

// Bits of AlertCategory::RecordKindMask.
namespace RecordKind {
inline constexpr std::int32_t Job = 0x1;
inline constexpr std::int32_t JobItem = 0x2;
inline constexpr std::int32_t WorkOrder = 0x4;
inline constexpr std::int32_t Product = 0x8;
inline constexpr std::int32_t PurchaseOrder = 0x10;
inline constexpr std::int32_t Employee = 0x20;
inline constexpr std::int32_t Inventory = 0x40;
inline constexpr std::int32_t QuoteRequest = 0x80;
} // namespace RecordKind

struct AlertDefinition {
    std::int32_t AlertId = 0;
    std::int32_t Category = 0; // a leaf category id
    // 0 raised by a transaction; 1 checked by the daily run; 2 raised by a
    // transaction about an employee's hours; 3 checked by the daily run, about
    // an employee's hours. Bit 0 set: the daily run checks the alert.
    std::int32_t Kind = 0;
    // What the alert means, "__" where the employee's value goes.
    const char* Description = "";
    // The alert text with the tokens ExpandAlertText replaces.
    const char* MessageTemplate = "";
};

// The category whose id is the low 8 bits of Id. Raises Exception "An invalid
// alert category identifier ('%d') was encountered." for an unknown id.
const AlertCategory& GetAlertCategory(int Id);

// Raises Exception "An invalid Alert Id ('%d') was encountered." for an id
// that is not in the catalogue.
const AlertDefinition& GetAlertDefinition(int AlertId);

// The definitions the daily run checks (kind with bit 0 set), in table order.
std::vector<AlertDefinition> GetScheduledAlertDefinitions();

// "Low", "Medium", "High" or "None" for levels 0 to 3; any other level raises
// Exception "Invalid priority level (%d)".
AnsiString PriorityName(std::int8_t Level);
