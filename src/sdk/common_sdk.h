// The client common library's functions over SDK objects: drafts, error
// texts, users, groups and their permissions, attribute shortcuts.
#pragma once

#include <string>
#include <vector>

#include "sdk/qel.h"

namespace common {

// Whether unsent input is kept as a draft.
bool HaveDraft();
// The user-facing text of an SDK error code.
std::u16string GetSDKErrorInfo(int errorCode);
// True for the ids of special proxy users (no read cursors for them).
bool SpecialProxyUserId(const char16_t* userId);
// How many history messages a first page shows.
int GetHisShowNum(qel_handle account);
// The current account's buddy of that id; null when unknown.
qel_handle GetQelBuddy(const char16_t* userId);
// Whether the id is the current account's own user.
bool IsOwner(const char16_t* userId);
// The name shown for a user: the buddy's "nickname", else the id.
std::u16string GetUserNameOnShow(const char16_t* userId);
// False for system and service accounts.
bool IsNormalUser(const char16_t* userId);

// Integer attributes of an object's main set.
int GetQELAttribs_int(qel_handle object, const char* key, int defaultValue);
void SetQELAttribs_int(qel_handle object, const char* key, int value, int mode);

// Role-based limits: 1 when the limit of that key applies to the user.
int GetRBACLimit(const char* key);
// Whether the user holds a permission ("MESSAGE_TOP", "GROUP_MESSAGE_RECALL")
// in the group, and the permissions of one member.
bool GetGroupPerm(qel_handle group, const char* permission);
std::vector<std::string> GetGroupPermList(qel_handle group, const char* buddyId);
// Whether the user is barred from speaking in the group.
bool IsMeForbidWordInGrp(qel_handle group);

// ---- names and avatars of members (@-mentions) ----
// The Latin spelling of a text attribute of a buddy ("nickname").
std::u16string GetLatinName(qel_handle buddy, const char* key);
// The Latin spelling of the member's own name in the group (its "note"
// there); empty when the member has none.
std::u16string GetGrpLatinName(qel_handle group, const char* buddyId);
// Where the avatar of the buddy under that avatar key is kept.
std::u16string GetUserAvatarPath(qel_handle buddy, const char* avatarKey);
// Whether the client shows user ids beside names.
bool IsShowUserId();

}  // namespace common

// ---- read state and reminder bars ----
class CControlUI;
namespace common {

// A time as a date and time of day (flags 0: the plain form).
std::u16string GetFixDateDescript(int64_t time, int flags);
// A rough description of an interval in seconds ("3 hours"); empty for none.
std::u16string GetVagueTime(int64_t interval);
// Days until the buddy's birthday while it is worth a reminder; -1 otherwise.
int GetBirthdayRemind(qel_handle buddy, int flags);
// The client's birthday page for a user.
void OpenBirthRemindURL(const char16_t* userId);
// Whether the client offers group-top messages in this conversation.
bool HasGrpTopMsg(qel_handle conversation);
// The business type of a message ("notice", "bonus", ...); "" when none.
std::string GetMsgDataBiz(qel_handle message);
// A member's name in a group in Latin spelling; the id when unknown.
std::u16string GetGrpLatinName(qel_handle group, const char16_t* userId);
// Puts the buddy's avatar on a button.
void QelBtnSetAvatarByHandle(CControlUI* button, qel_handle buddy);

}  // namespace common
