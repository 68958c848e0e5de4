// The attribute map a plugin hands over may be shared with its own threads:
// the factory holds the map's lock only while it copies the pairs.
#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "module/CtrlFactory.h"
#include "module/StdMap.h"

TEST(CtrlFactoryLock, TheAttributeMapIsFreeForOtherThreadsOnceTheControlIsStored) {
    int storage = 0;
    tavi::CCtrlFactory factory;
    pfx::CStr2StrMap attributes;
    attributes.Insert(u"owner", u"plugin-7", false);
    factory.AddCtrl(u"head", reinterpret_cast<CControlUI*>(&storage), 1, &attributes);

    auto other = std::async(std::launch::async, [&attributes] {
        attributes.Lock();
        attributes.Insert(u"late", u"1", false);
        attributes.Unlock();
    });
    const bool free = other.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    if (!free) attributes.Unlock();  // release what this thread still holds so the helper can end
    other.wait();
    EXPECT_TRUE(free);
    EXPECT_TRUE(attributes.Find(u"late", false));
}
