#pragma once
// The SMTP mailer of the main window: it reads the window's SMTP controls
// and date preference, writes to its results log and shows its boxes.
#include "alert/app/SmtpAlertMailer.h"

#include <memory>

class TMainFormWindow;

// The mailer for the window, sending through the main data module the
// window's owner holds. Hand it to TMainFormWindow::SetMailer.
std::unique_ptr<SmtpAlertMailer> CreateMainFormMailer(TMainFormWindow& Window);
