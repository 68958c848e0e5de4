// The SDK's accounts: login state, the own user, preferences, buddies in
// categories (1 buddies, 2 groups), buddy groups with their members, and
// custom smileys.
#pragma once

#include <cstdint>

#include "sdk/qel.h"

// A custom smiley's stored information.
struct QelSmileyInfo {
    const char* key;   // the smiley's key (its picture's key in the input)
    const char* text;  // the stored record: "<uploaded key>\n<digest>" once uploaded
    const char* time;  // when the record was last modified
};

enum : int {
    QEL_CATE_BUDDY = 1,
    QEL_CATE_GROUP = 2,
};

extern "C" {

// 1 while logged in, 0 otherwise.
int qel_account_get_login_state(qel_handle account);
// The own user's buddy id; "" for a null account.
const char* qel_account_get_buddy_id(qel_handle account);
qel_handle qel_account_bound_buddy(qel_handle account);
bool qel_account_is_enable_db_multithread(qel_handle account);

// Preferences by narrow key. Texts and arrays live until the preference
// set next changes; callers copy them.
qel_handle qel_account_preference(qel_handle account);
int qel_preference_get_int(qel_handle pref, const char* key, int defaultValue);
void qel_preference_set_int(qel_handle pref, const char* key, int value);
const char16_t* qel_preference_get_wstr(qel_handle pref, const char* key, const char16_t* defaultValue);
void qel_preference_set_wstr(qel_handle pref, const char* key, const char16_t* value);
// Null with a count of 0 when the key holds no array.
const char16_t* const* qel_preference_get_wstr_array(qel_handle pref, const char* key, int* count);
void qel_preference_remove(qel_handle pref, const char* key);
// Writes the preference set to storage; 0 on success.
int qel_preference_save(qel_handle pref, int flags);

// Buddies and categories.
qel_handle qel_account_buddies(qel_handle account);
// Any buddy the account knows (friends, group members, the own user).
qel_handle qel_buddies_find_buddy_base(qel_handle buddies, const char* buddyId);
qel_handle qel_buddies_find_cate(qel_handle buddies, int cateType);
int qel_buddies_cate_get_type(qel_handle cate);
// Category 1: a friend of that id; category 2: a member of one of its groups.
qel_handle qel_buddies_cate_find_buddy(qel_handle cate, const char* buddyId);
qel_handle qel_buddies_cate_find_buddy_group(qel_handle cate, const char* groupId);

const char* qel_buddy_get_id(qel_handle buddy);
// The buddy's conversation on a channel ("im"); with `create` non-zero it
// is made when missing.
qel_handle qel_buddy_get_conversation(qel_handle buddy, const char* channelId, int create);

const char* qel_buddy_group_get_id(qel_handle group);
// The members in the group's order; 0 on success, an error code when the
// member list cannot be read (the list is then empty).
int qel_buddy_group_get_all_buddies(qel_handle group, int flags, qel_handle** list, int* count);
// A member's group-specific attributes ("authority-role", "note"); null
// when the buddy is not a member.
qel_handle qel_buddy_group_get_member_attribs(qel_handle group, const char* buddyId);
qel_handle qel_buddy_group_get_conversation(qel_handle group, const char* channelId, int create);

// Custom smileys: null when the account has none.
qel_handle qel_account_custom_smileys(qel_handle account);
const QelSmileyInfo* qel_smiley_get_info(qel_handle smiley);
// Stores a new record and its time; 0 on success.
int qel_smiley_modify(qel_handle smiley, const char* text, const char* time);

// A service interface of the account's bus by identifier; null when the
// account offers none.
void* qel_get_bus_interface(qel_handle account, const char* serviceId);

}  // extern "C"
