#pragma once
// One alert event: a row of ALERT_TRANSACTION, or a row found by the daily
// checks, with the context gathered while it is processed. The alert history
// row is written from it. The lookup members cache what has been looked up
// for the life of the record, so that a transaction processed against
// several settings looks each related record up once.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/TDateTime.h"

#include <cstdint>
#include <map>
#include <vector>

struct AlertTransaction {
    std::int32_t AlertTransToken = 0;
    std::int32_t AlertNbr = 0; // the alert id
    std::int32_t TransType = 0;
    TDateTime EventTimeStamp = 0.0;          // becomes the alert's DateGenerated
    std::int32_t EmpNbrGeneratedTrans = -99; // -99: none
    std::int32_t JobNbr = 0;
    std::int32_t JobItemNbr = 0;
    std::int32_t WoNbr = 0;
    std::int32_t PoNbr = 0;
    std::int32_t PoItemNbr = 0;
    std::int32_t BillingNbr = 0;
    std::int32_t ProgressBillingNbr = 0;
    std::int32_t ShipTicketNbr = 0;
    std::int32_t InvNbr = 0;
    std::int32_t EmpNbr = -99; // the employee the event is about; -99: none
    std::int32_t WoProductNbr = 0;
    std::int32_t DeptNbr = 0;
    std::int32_t ActionItemNbr = 0; // set by the daily checks only
    std::int32_t RFINbr = 0;        // set by the daily checks only
    std::int32_t QuoteNbr = 0;      // set by the daily checks only
    AnsiString Tag1, Arg1, Tag2, Arg2, Tag3, Arg3, Tag4, Arg4;

    std::int32_t RecipientNbr = -99; // becomes AlertRecipientNbr
    std::int8_t Priority = 0;
    AnsiString MessageText;     // the composed alert text; becomes Descr
    std::uint8_t EmailCode = 0; // becomes SendEmail

    // Looked-up context: 0 not looked up yet, -99 none.
    std::int32_t JobManager = 0;
    std::int32_t WoEmployee = 0;
    std::int32_t PoEmployee = 0;
    std::int32_t PoRequester = 0;
    // Job number to its project manager, and work order to its employee, for
    // the jobs and work orders a purchase order's items are linked to; empty
    // until looked up.
    std::map<std::int32_t, std::int32_t> PoJobManagers;
    std::map<std::int32_t, std::int32_t> PoWoEmployees;
    // The order's jobs (or, when none, work orders) that belong to the
    // current setting's employee; alert creation makes one alert per entry.
    std::vector<std::int32_t> JobList;
    std::vector<std::int32_t> WoList;
    std::int32_t EmpDeptNbr = 0;  // 0 not looked up yet, -99 none
    std::int32_t InvTypeNbr = -1; // -1 not looked up yet, -99 none
    std::int32_t JobDispNbr = -1; // -1 not looked up yet
    std::uint8_t SourceType = 0;
    AnsiString ValueText; // replaces the template token VAL
};
