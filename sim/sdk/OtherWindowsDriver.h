// Driver API of the e-mail service, the ad-hoc sender, presence and the
// window shakes: the peer's and the server's side of e-mail and ad-hoc
// windows and of the shake button.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sdk/qel.h"

namespace sim {

// ---- the e-mail service on the SDK bus ----
// Without it the bus offers no e-mail service (it is there after a reset).
void SetEmailServiceAvailable(bool available);
// An e-mail exchanged with the peer, kept oldest first. `raw` is header,
// "\r\n\r\n" and body; a folder of "" stands for an item the service cannot
// describe (it is handed out as a null item).
struct StoredEmail {
    std::string folder = "inbox";
    std::string raw;
    std::string sender;
    int64_t time = 0;  // 0: now
    bool seen = false;
};
void AddEmail(const std::string& peerId, const StoredEmail& email);
// A stored e-mail whose raw text holds the subject and the body.
std::string MakeRawEmail(const std::string& subject, const std::string& body,
                         const std::string& contentType = "text/plain");
const std::vector<StoredEmail>& EmailsWith(const std::string& peerId);
// E-mail requests are recorded as SDK requests "email_send" (convId is the
// receiver, value the subject, content the body), "email_get" (convId the
// peer, msgId the offset, flags the count, value the flag) and
// "email_seen" (convId the peer). The kinds SdkCall::Email* refuse or fail
// the next request of each operation.

// ---- the host's ad-hoc sender ----
// Recorded as SDK requests "adhoc" (contentType, content, summary).
void SetAdhocSenderAvailable(bool available);

// ---- presence ----
// The buddy's status type (0 and 2 are offline kinds); without one the SDK
// knows no presence for the buddy.
void SetPresence(const std::string& buddyId, int statusType);
void ClearPresence(const std::string& buddyId);

// ---- usage reports ----
// "<event>:<action>" for every use reported to the application object.
const std::vector<std::string>& UsageReports();

}  // namespace sim
