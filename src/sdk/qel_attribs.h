// The SDK's attribute sets and weak references. Every SDK object has a
// main attribute set and, on demand, named ones ("ext"); a set holds
// integer and text values by narrow key and named child sets.
#pragma once

#include <cstdint>

#include "sdk/qel.h"

extern "C" {

// A token that stays valid after the object is gone; 0 for null. Turning
// it back answers null once the SDK has dropped the object.
uint64_t qel_object_weak_ref(qel_handle object);
qel_handle qel_object_from_weak_ref(uint64_t ref);

// The object's attribute set: `name` null or "" is its main set, any other
// name a named set ("ext"), created on first use. Null for a null object.
qel_handle qel_object_get_attribs(qel_handle object, const char* name);

// Every qel_attribs_* call takes an attribute set, or any other object
// for that object's main set. Writes pass a mode (1 or 3; kept as given)
// and signal the change when the value changed.
int qel_attribs_get_int(qel_handle attribs, const char* key, int defaultValue);
int64_t qel_attribs_get_int64(qel_handle attribs, const char* key, int64_t defaultValue);
// The text lives until the value next changes; callers copy it.
const char* qel_attribs_get_str(qel_handle attribs, const char* key, const char* defaultValue);
bool qel_attribs_has(qel_handle attribs, const char* key);
void qel_attribs_set_int(qel_handle attribs, const char* key, int value, int mode);
void qel_attribs_set_int64(qel_handle attribs, const char* key, int64_t value, int mode);
void qel_attribs_set_str(qel_handle attribs, const char* key, const char* value, int mode);

// Child sets, kept in insertion order. add_child answers the existing
// child of that name when there is one.
qel_handle qel_attribs_add_child(qel_handle attribs, const char* name, int mode);
qel_handle qel_attribs_find_child(qel_handle attribs, const char* name);
const char* qel_attribs_get_name(qel_handle attribs);
// Fills a new array (released with qel_release_handle_array); 0 on success.
int qel_attribs_get_all_childs(qel_handle attribs, qel_handle** list, int* count);
// Drops every child; their handles turn null.
void qel_attribs_remove_childs(qel_handle attribs);

// Arrays of handles that the SDK hands out are released by the caller.
void qel_release_handle_array(qel_handle* list);

}  // extern "C"
