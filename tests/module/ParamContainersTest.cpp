#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "module/DynamicParamImpl.h"
#include "module/StdContainer.h"
#include "module/StdMap.h"
#include "module/StdString.h"

namespace {

void CollectPair(const char16_t* key, const char16_t* value, void* user) {
    static_cast<std::u16string*>(user)->append(key).append(u"=").append(value).append(u";");
}
void CollectItem(const char16_t* text, void* user) { static_cast<std::u16string*>(user)->append(text).append(u";"); }
bool StartsWithA(const char16_t* text, void*) { return text[0] == u'a'; }

}  // namespace

TEST(StdString, CountsAndIgnoresNull) {
    auto* text = new pfx::CStdString(u"abc");
    EXPECT_EQ(text->GetClassId(), pfx::MakeGuid("{4B3553AB-124B-402F-844D-192AB31F770D}"));
    text->SetString(nullptr);
    EXPECT_EQ(std::u16string(text->GetString()), u"abc");
    EXPECT_EQ(text->GetLength(), 3u);
    text->SetString(u"");
    EXPECT_TRUE(text->IsEmpty());
    EXPECT_EQ(text->AddRef(), 2);
    EXPECT_EQ(text->Release(), 1);
    EXPECT_EQ(text->Release(), 0);  // destroyed; the leak checker notices otherwise
}

TEST(StdMap, KeepsOrderAndIteratorAcrossChanges) {
    pfx::CStr2StrMap map;
    EXPECT_TRUE(map.Insert(u"b", u"2", false));
    EXPECT_TRUE(map.Insert(u"a", u"1", false));
    EXPECT_TRUE(map.Insert(u"c", u"3", true));
    EXPECT_FALSE(map.Insert(u"a", u"other", false));  // keeps the old value
    EXPECT_FALSE(map.Insert(nullptr, u"x", false));
    EXPECT_EQ(std::u16string(map.GetKey()), u"c");

    std::u16string seen;
    map.ForEach(CollectPair, &seen);
    EXPECT_EQ(seen, u"a=1;b=2;c=3;");

    map.RemoveCurrent();  // the last pair: the iterator is left at the end
    EXPECT_TRUE(map.IsEnd());
    EXPECT_EQ(std::u16string(map.GetValue()), u"");
    map.MoveNext();
    EXPECT_TRUE(map.IsEnd());

    ASSERT_TRUE(map.Find(u"a", false));
    map.Remove(u"a");  // removing the current pair moves on to the next
    EXPECT_EQ(std::u16string(map.GetKey()), u"b");
    map.SetValue(u"two");
    EXPECT_TRUE(map.Find(u"B", true));
    EXPECT_FALSE(map.Find(u"B", false));
    EXPECT_EQ(std::u16string(map.GetValue()), u"two");
    EXPECT_EQ(map.GetCount(), 1u);

    seen.clear();
    map.Lock();
    map.Lock();  // a critical section may be re-entered by its owner
    map.Unlock();
    map.Unlock();
    map.ClearWith(CollectPair, &seen);
    EXPECT_EQ(seen, u"b=two;");
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_TRUE(map.IsEnd());
}

TEST(StdContainer, IteratesCountsAndKeepsListAlive) {
    auto* list = new pfx::CStrVector();
    list->Add(u"apple");
    list->Add(nullptr);
    list->Add(u"pear");
    list->Add(u"avocado");
    EXPECT_EQ(list->GetCount(), 3u);
    EXPECT_EQ(list->CountIf(StartsWithA, nullptr), 2u);

    pfx::IStrVector::Iterator* it = nullptr;
    ASSERT_TRUE(list->GetIterator(&it));
    EXPECT_EQ(it->GetClassId(), pfx::MakeGuid("{918578D9-584B-46CE-820B-6EC5C33AE570}"));
    std::u16string seen;
    for (; !list->IsEnd(it); it->MoveNext()) seen.append(it->GetValue()).append(u";");
    EXPECT_EQ(seen, u"apple;pear;avocado;");

    ASSERT_TRUE(list->GetIterator(&it));  // reused, back at the first element
    it->MoveNext();
    it->SetValue(u"plum");
    seen.clear();
    list->ForEach(CollectItem, &seen);
    EXPECT_EQ(seen, u"apple;plum;avocado;");

    pfx::CStrVector other;
    EXPECT_TRUE(other.IsEnd(it));  // not its iterator
    EXPECT_TRUE(list->IsEnd(nullptr));

    seen.clear();
    list->ClearWith(CollectItem, &seen);
    EXPECT_EQ(seen, u"apple;plum;avocado;");
    EXPECT_TRUE(list->IsEnd(it));
    EXPECT_EQ(std::u16string(it->GetValue()), u"");

    // The iterator keeps its list alive until it goes itself.
    EXPECT_EQ(list->Release(), 1);
    EXPECT_EQ(it->Release(), 0);
}

TEST(DynamicParam, StoresReplacesAndAnswersMissing) {
    pfx::CDynamicParamImpl params;
    params.SetParam(u"mode", u"1");
    params.SetParam(u"mode", u"2");
    pfx::CStdString out(u"untouched");
    EXPECT_FALSE(params.GetParam(u"missing", &out));
    EXPECT_EQ(std::u16string(out.GetString()), u"untouched");
    EXPECT_TRUE(params.GetParam(u"mode", &out));
    EXPECT_EQ(std::u16string(out.GetString()), u"2");
    EXPECT_TRUE(params.GetParam(u"mode", nullptr));
    EXPECT_FALSE(params.GetParam(nullptr, &out));
}
