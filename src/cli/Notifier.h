#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/NewRows.h"

namespace parvane::cli {

// The desktop notification that parvane-scan --notify sends after a run: one freedesktop
// notification (org.freedesktop.Notifications on the session bus) that sums up what is new.
struct Notification
{
    std::string summary; // UTF-8 plain text
    std::string body;    // UTF-8, with "&", "<" and ">" escaped for the servers that read markup
    // Offer to open the new rows in the window: the default action (a click on the notification)
    // where the server has actions, else a line of the body that says how to see them.
    bool opensNewRows = false;
};

// What the server answered to a notification sent.
struct SentNotification
{
    std::uint32_t id = 0;
    bool withAction = false; // the notification carries the default action
};

// The key and label of the action that opens the new rows.
inline constexpr const char* kOpenNewRowsAction = "default";
inline constexpr const char* kOpenNewRowsLabel = "Voir les nouveaux";
// The line of the body where the server has no actions.
inline constexpr const char* kOpenNewRowsHint = "Ouvrir Parvane et cocher \"Nouveaux seulement\".";

// Maximum number of stock names in a notification; the others are counted ("et 3 autres").
inline constexpr std::size_t kNotifiedNames = 10;

// The notification for the new rows `fresh` of a run that logged `errors` errors: the new
// crossings, then the new proximities, each stock named once per kind (by the name of its file,
// whole), at most kNotifiedNames names in all, and the error count; it offers to open the new
// rows. With nothing new, the error count alone; std::nullopt when nothing is new and the run had
// no error.
std::optional<Notification> newRowsNotification(const std::vector<PrintedRow>& fresh, std::size_t errors);

// The notification of a run that was refused: `reason` (UTF-8, in French) says why.
Notification refusedRunNotification(std::string_view reason);

// The notification of --watch when the base folder `root` goes away (`present` false) and when it
// comes back.
Notification basePresenceNotification(const std::filesystem::path& root, bool present);

// Sends `notification` on the session bus and waits (a few seconds at most) for the server's
// answer; `sent`, when given, receives it. Returns std::nullopt on success, else why it failed (no
// session bus, no notification service).
std::optional<std::string> sendNotification(const Notification& notification,
                                            SentNotification* sent = nullptr);

// --notify: sends the notification of `fresh` and `errors`, or says on `err` that nothing is new
// or why no notification could be sent. Never changes the outcome of the run. Returns the id of the
// notification when it carries the action that opens the new rows.
std::optional<std::uint32_t> notifyNewRows(const std::vector<PrintedRow>& fresh, std::size_t errors,
                                           std::ostream& err);

// --notify on a refused run: sends refusedRunNotification(reason), or says on `err` why it could
// not be sent.
void notifyRefusedRun(std::string_view reason, std::ostream& err);

} // namespace parvane::cli
