#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/NewRows.h"

namespace parvane::cli {

// The desktop notification that parvane-scan --notify sends after a run: one freedesktop
// notification (org.freedesktop.Notifications on the session bus) that sums up what is new.
struct Notification
{
    std::string summary; // UTF-8 plain text
    std::string body;    // UTF-8, with "&", "<" and ">" escaped for the servers that read markup
};

// Maximum number of stock names in a notification; the others are counted ("et 3 autres").
inline constexpr std::size_t kNotifiedNames = 10;

// The notification for the new rows `fresh` of a run that logged `errors` errors: the new
// crossings, then the new proximities, each stock named once per kind, at most kNotifiedNames
// names in all, and the error count. std::nullopt when nothing is new.
std::optional<Notification> newRowsNotification(const std::vector<PrintedRow>& fresh, std::size_t errors);

// Sends `notification` on the session bus and waits (a few seconds at most) for the server's
// answer. Returns std::nullopt on success, else why it failed (no session bus, no notification
// service).
std::optional<std::string> sendNotification(const Notification& notification);

// --notify: sends the notification of `fresh` and `errors`, or says on `err` that nothing is new
// or why no notification could be sent. Never changes the outcome of the run.
void notifyNewRows(const std::vector<PrintedRow>& fresh, std::size_t errors, std::ostream& err);

} // namespace parvane::cli
