#include <gtest/gtest.h>

#include <string>

#include "module/CtrlFactory.h"
#include "module/StdMap.h"

namespace {

// The control is opaque to the registry; any distinct address will do.
CControlUI* FakeControl(int& storage) { return reinterpret_cast<CControlUI*>(&storage); }

struct RecordingSink : pfx::IAttrSink {
    std::u16string seen;
    void SetAttribute(const char16_t* name, const char16_t* value, bool replace) override {
        seen.append(name).append(u"=").append(value).append(replace ? u"!;" : u";");
    }
};

}  // namespace

TEST(CtrlFactory, StoresFindsReplaysAndRemovesControls) {
    int a = 0, b = 0;
    tavi::CCtrlFactory factory;
    pfx::CStr2StrMap attributes;
    attributes.Insert(u"show_mode", u"1", false);
    attributes.Insert(u"owner", u"plugin-7", false);

    factory.AddCtrl(u"head", FakeControl(a), 42, &attributes);
    factory.AddCtrl(u"", FakeControl(b), 1, nullptr);
    factory.AddCtrl(nullptr, FakeControl(b), 1, nullptr);
    EXPECT_FALSE(factory.HasCtrl(FakeControl(b)));
    EXPECT_FALSE(factory.HasCtrl(nullptr));
    EXPECT_TRUE(factory.HasCtrl(FakeControl(a)));

    CControlUI* control = nullptr;
    intptr_t value = 0;
    RecordingSink sink;
    ASSERT_TRUE(factory.FindCtrl(u"head", &control, &value, &sink));
    EXPECT_EQ(control, FakeControl(a));
    EXPECT_EQ(value, 42);
    EXPECT_EQ(sink.seen, u"owner=plugin-7!;show_mode=1!;");
    EXPECT_TRUE(factory.FindCtrl(u"head", nullptr, nullptr, nullptr));

    factory.AddCtrl(u"head", FakeControl(b), 7, nullptr);  // replaces, attributes too
    sink.seen.clear();
    ASSERT_TRUE(factory.FindCtrl(u"head", &control, nullptr, &sink));
    EXPECT_EQ(control, FakeControl(b));
    EXPECT_EQ(sink.seen, u"");

    factory.AddCtrl(u"head", nullptr, 0, nullptr);
    EXPECT_FALSE(factory.FindCtrl(u"head", &control, &value, nullptr));
    EXPECT_FALSE(factory.FindCtrl(nullptr, &control, &value, nullptr));
    EXPECT_FALSE(factory.HasCtrl(FakeControl(b)));
}

TEST(CtrlFactory, AttributeBagAndCurrentName) {
    tavi::CCtrlFactory factory;
    EXPECT_EQ(std::u16string(factory.GetAttr(u"x")), u"");
    EXPECT_EQ(std::u16string(factory.GetCurName()), u"");
    factory.SetAttr(u"x", u"");
    factory.SetAttr(u"", u"1");
    EXPECT_EQ(std::u16string(factory.GetAttr(u"x")), u"");
    factory.SetAttr(u"x", u"1");
    factory.SetAttr(u"x", u"2");
    factory.SetAttr(u"x", u"");  // an empty value changes nothing
    factory.SetAttr(u"x", nullptr);
    EXPECT_EQ(std::u16string(factory.GetAttr(u"x")), u"2");
    EXPECT_EQ(std::u16string(factory.GetAttr(nullptr)), u"");

    factory.SetCurName(u"head");
    factory.SetCurName(u"");
    factory.SetCurName(nullptr);
    EXPECT_EQ(std::u16string(factory.GetCurName()), u"head");
}
