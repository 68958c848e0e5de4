// What the server says about reading, in any type and order while the
// person and group windows are open: the partner's read cursor and its
// time, the unread counts of receipts, the group's member count, the first
// load's flag and the extra information of receipt messages.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ByteStream.h"
#include "FuzzWorld.h"
#include "sdk/qel_msg.h"

namespace {

const char* const kKeys[] = {"partner-read-cursor", "partner-read-cursor_time", "receipt-unread-msgid",
                             "recent-msg-loaded", "total-members-count"};

std::string Key(fuzz::ByteStream& in) {
    const size_t key = in.Choice(6);
    return key < 5 ? kKeys[key] : in.Text();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ByteStream in(data, size);
    fuzz::World world;
    const qel_handle person = sim::OpenConversation("bob");
    const qel_handle group = sim::OpenConversation("g1", true);
    const qel_handle objects[] = {person, group, sim::AddGroup("g1"), sim::AddBuddy("bob", "Bob")};

    std::vector<qel_handle> stored;
    for (size_t n = in.Choice(8); n > 0; --n) {
        sim::StoredMsg msg;
        msg.sent = in.Flag();
        msg.read = in.Flag();
        msg.flags = in.Flag() ? uint32_t(QEL_MSG_FLAG_RECEIPT) : 0u;
        msg.content = "m" + std::to_string(n);
        msg.extraInfo = in.Text();
        stored.push_back(sim::AddStoredMsg(in.Flag() ? group : person, msg));
    }
    fuzz::World::Open(sim::ChatKind::Person, "bob");
    fuzz::World::Open(sim::ChatKind::Group, "g1");

    for (int steps = 0; !in.AtEnd() && steps < 64; ++steps) {
        const qel_handle object = objects[in.Choice(4)];
        switch (in.Choice(6)) {
            case 0: {
                const std::string key = Key(in);
                sim::ServerSetAttrib(object, key, in.Int64());
                break;
            }
            case 1: {
                // A value of the wrong type is what an older server sends.
                const std::string key = Key(in);
                sim::ServerSetAttrib(object, key, in.Text());
                break;
            }
            case 2: {
                const int64_t seq = in.Int64();
                sim::ServerSetPartnerReadCursor(person, seq, in.Int64());
                break;
            }
            case 3:
                if (!stored.empty()) sim::ServerSetReceiptUnread(stored[in.Choice(stored.size())], int(in.Int64()));
                break;
            case 4:
                sim::DeliverIncomingMsg(in.Flag() ? group : person, in.Text(), "text/plain", "bob");
                break;
            case 5:
                sim::Advance(uint32_t(in.Byte()) * 100);
                break;
        }
        sim::RunUntilIdle();
    }
    return 0;
}
