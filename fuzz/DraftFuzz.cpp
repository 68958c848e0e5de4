// Drafts come back from the peer's attribute set as the server keeps them:
// any number of pieces with any content type and body. Opening the window
// shows them in the input; closing it stores the input again, and that
// must show the same input the next time.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ByteStream.h"
#include "FuzzWorld.h"
#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"

namespace {

constexpr int kServerWrite = 3;
const char* const kContentTypes[] = {"text/plain", "rich/xml", "img/xml"};

qel_handle DraftOwner(bool group) {
    qel_handle buddies = qel_account_buddies(sim::CurrentAccount());
    if (!group) return qel_buddies_find_buddy_base(buddies, "bob");
    return qel_buddies_cate_find_buddy_group(qel_buddies_find_cate(buddies, QEL_CATE_GROUP), "g1");
}

sim::EditContent InputOf(HWND window) {
    tavi::CTaviPanel* panel = fuzz::World::Panel(window);
    return panel ? sim::ReadEdit(panel->GetInputEdit()) : sim::EditContent();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ByteStream in(data, size);
    fuzz::World world;
    const bool group = in.Flag();
    qel_handle draft = qel_attribs_add_child(qel_object_get_attribs(DraftOwner(group), "ext"), "draft", kServerWrite);
    for (int i = 0; !in.AtEnd() && i < 8; ++i) {
        // Pieces are usually named "0-<n>", but the server may hold any name.
        const std::string name = in.Flag() ? in.Text() : "0-" + std::to_string(i);
        const size_t type = in.Choice(4);
        const std::string contentType = type < 3 ? kContentTypes[type] : in.Text();
        const std::string body = in.Flag() ? in.Rest() : in.Text();
        qel_handle piece = qel_attribs_add_child(draft, name.c_str(), kServerWrite);
        qel_attribs_set_str(piece, "draft", body.c_str(), kServerWrite);
        if (in.Flag()) qel_attribs_set_str(piece, "draft-type", contentType.c_str(), kServerWrite);
    }

    const sim::ChatKind kind = group ? sim::ChatKind::Group : sim::ChatKind::Person;
    const std::string peer = group ? "g1" : "bob";
    HWND window = fuzz::World::Open(kind, peer);
    const sim::EditContent shown = InputOf(window);
    sim::CloseChatWindow(window);
    window = fuzz::World::Open(kind, peer);
    const sim::EditContent again = InputOf(window);
    if (again.text != shown.text || again.objects.size() != shown.objects.size()) __builtin_trap();
    return 0;
}
