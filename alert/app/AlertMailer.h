#pragma once
// The e-mail side of the main window: sending the due alerts of a run and
// trying a connection with the SMTP settings in the window's controls. The
// mail task provides it; the window runs without one and then sends nothing.
#include <cstdint>
#include <vector>

class IAlertMailer {
public:
    virtual ~IAlertMailer() = default;

    // Sends the alerts of the frequency class that are due, one message per
    // recipient. Handles its own connection and sending errors (a line in
    // the results log). True when the run reached its last message, which
    // the window counts.
    virtual bool SendAlertEmails(std::uint8_t RunClass) = 0;
    // The recipients (employee numbers) of the last SendAlertEmails whose
    // message the server did not accept: their alerts stay due.
    virtual std::vector<std::int32_t> UnsentRecipients() const { return {}; }

    // Opens, authenticates and closes one connection with the settings in
    // the window, and shows the outcome to the operator.
    virtual void TestConnection() = 0;
};
