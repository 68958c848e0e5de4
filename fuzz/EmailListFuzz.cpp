// The e-mails that the client's e-mail service hands an e-mail window: any
// folder, raw text (header, empty line, body), sender and time, null
// items among them, as the first page and as older pages.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ByteStream.h"
#include "FuzzWorld.h"
#include "msghandle/MsgHandle.h"
#include "sdk/email.h"

namespace {

// Mostly e-mails of the usual form, sometimes anything at all.
std::string Raw(fuzz::ByteStream& in) {
    if (in.Flag()) return in.Text();
    const std::string subject = in.Text();
    const std::string body = in.Text();
    return sim::MakeRawEmail(subject, body, in.Flag() ? "text/plain" : in.Text());
}

struct Item {
    std::string folder, raw, sender;
    bool nullFolder, nullRaw, nullSender;
    SEmailItem view;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ByteStream in(data, size);
    fuzz::World world;
    sim::SetEmailServiceAvailable(true);
    for (size_t n = in.Choice(4); n > 0; --n) {
        sim::StoredEmail email;
        email.folder = in.Flag() ? "inbox" : in.Text();
        email.raw = Raw(in);
        email.sender = in.Flag() ? "bob" : in.Text();
        email.time = in.Int64();
        sim::AddEmail("bob", email);
    }
    HWND window = fuzz::World::Open(sim::ChatKind::Email, "bob");
    tavi::CTaviPanel* panel = fuzz::World::Panel(window);
    tavi::CMsgHandle* handler = panel ? panel->GetMsgHandle() : nullptr;
    if (!handler) return 0;

    while (!in.AtEnd()) {
        std::vector<std::unique_ptr<Item>> items;
        std::vector<const SEmailItem*> list;
        for (size_t n = in.Choice(5); n > 0; --n) {
            if (in.Choice(8) == 0) {
                list.push_back(nullptr);
                continue;
            }
            auto item = std::make_unique<Item>();
            item->folder = in.Flag() ? "inbox" : in.Text();
            item->raw = Raw(in);
            item->sender = in.Text();
            const uint8_t nulls = in.Byte();
            item->view.folder = nulls & 1 ? nullptr : item->folder.c_str();
            item->view.raw = nulls & 2 ? nullptr : item->raw.c_str();
            item->view.sender = nulls & 4 ? nullptr : item->sender.c_str();
            item->view.time = in.Int64();
            list.push_back(&item->view);
            items.push_back(std::move(item));
        }
        handler->InsertEmailMsgs(list.empty() ? nullptr : list.data(), int(list.size()), in.Byte() & 1);
        sim::RunUntilIdle();
    }
    return 0;
}
