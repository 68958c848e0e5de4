// The host's parameter containers: small reference-counted objects through
// which strings, string maps, string lists and named parameters cross the
// module boundary, so that no standard-library type does.
//
// Strings go in and out as zero-terminated UTF-16. A returned pointer stays
// valid until the object that returned it changes. A null text argument is
// ignored (the call does nothing and answers false where it answers).
#pragma once

#include <cstdint>

#include "sdk/pfx.h"

namespace pfx {

// What a map or list holds; the host spells its container types with these.
struct PARAM_NAME_ISTR2STR_MAP {};  // wide string -> wide string
struct PARAM_NAME_IVEC_STR {};      // list of wide strings

// Callbacks carry the caller's own pointer back to it.
using PairCallback = void (*)(const char16_t* key, const char16_t* value, void* user);
using ItemCallback = void (*)(const char16_t* text, void* user);
using ItemPredicate = bool (*)(const char16_t* text, void* user);

struct IStdString : IObject {
    virtual const char16_t* GetString() = 0;
    // In code units.
    virtual uint32_t GetLength() const = 0;
    virtual void SetString(const char16_t* text) = 0;
    virtual bool IsEmpty() const = 0;
    virtual const char16_t* GetString() const = 0;
};

// An ordered map with one iterator position of its own. Single operations
// do not lock; a caller on another thread holds Lock..Unlock while it walks.
template <typename Tag>
struct IStdMap : IObject {
    virtual uint32_t GetCount() const = 0;
    virtual void MoveFirst() = 0;
    virtual void MoveNext() = 0;
    virtual bool IsEnd() const = 0;
    // The pair at the iterator; "" at the end.
    virtual const char16_t* GetValue() const = 0;
    virtual const char16_t* GetKey() const = 0;
    virtual void SetValue(const char16_t* value) = 0;
    virtual void Clear() = 0;
    virtual bool IsEmpty() const = 0;
    virtual void Remove(const char16_t* key) = 0;
    // Erases the pair at the iterator and moves on to the next one.
    virtual void RemoveCurrent() = 0;
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
    // With ignoreCase, keys equal under ASCII case folding match too. When
    // found, the iterator is positioned on the pair.
    virtual bool Find(const char16_t* key, bool ignoreCase) = 0;
    // Adds the pair only when the key is new; with moveTo the iterator goes
    // to the pair of that key.
    virtual bool Insert(const char16_t* key, const char16_t* value, bool moveTo) = 0;
    // Hands every pair to the callback (when given), then empties the map.
    virtual void ClearWith(PairCallback callback, void* user) = 0;
    virtual void ForEach(PairCallback callback, void* user) = 0;
};

template <typename Tag>
struct IStdContainer : IObject {
    // A position in one container, reference counted like the rest.
    struct Iterator : IObject {
        virtual void MoveNext() = 0;
        // "" at the end.
        virtual const char16_t* GetValue() const = 0;
        virtual void SetValue(const char16_t* text) = 0;
    };

    virtual uint32_t GetCount() const = 0;
    // Makes an iterator (count 1) when *out is null; either way sets it to
    // the first element. False when out is null or *out is not an iterator
    // this container can use.
    virtual bool GetIterator(Iterator** out) = 0;
    virtual bool IsEnd(const Iterator* iterator) const = 0;
    virtual void Add(const char16_t* text) = 0;
    virtual void Clear() = 0;
    virtual bool IsEmpty() const = 0;
    virtual uint32_t CountIf(ItemPredicate predicate, void* user) const = 0;
    virtual void ClearWith(ItemCallback callback, void* user) = 0;
    virtual void ForEach(ItemCallback callback, void* user) const = 0;
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
};

using IStr2StrMap = IStdMap<PARAM_NAME_ISTR2STR_MAP>;
using IStrVector = IStdContainer<PARAM_NAME_IVEC_STR>;

// Named parameters.
struct IDynamicParam : IObject {
    virtual void SetParam(const char16_t* name, const char16_t* value) = 0;
    // True when the name is present; then out (when given) receives the value.
    virtual bool GetParam(const char16_t* name, IStdString* out) const = 0;
};

// Receives the attributes kept for a control, one pair per call.
struct IAttrSink {
    virtual ~IAttrSink() = default;
    virtual void SetAttribute(const char16_t* name, const char16_t* value, bool replace) = 0;
};

}  // namespace pfx
