// Feeds arbitrary bytes to everything that reads message contents from
// outside: the XML bodies and the upload rewriting. A body that reads into
// nodes must pack again into a body that reads.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "FreshStandIn.h"

#include "msghandle/MsgContentPacker.h"
#include "msghandle/MsgContentReader.h"

using namespace tavi;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    // The stand-in keeps every log line; none survives the input.
    const fuzz::FreshStandIn standIn;

    MsgNodeList nodes;
    if (CMsgContentReader::ReadContent(nodes, kContentRichXml, input)) {
        std::string body, summary;
        CMsgContentPacker::PackRichXmlMsg(body, summary, u"", RefsOf(nodes), false);
        MsgNodeList again;
        if (!CMsgContentReader::ReadContent(again, kContentRichXml, body)) __builtin_trap();
    }
    nodes.clear();
    CMsgContentReader::ReadContent(nodes, kContentImgXml, input);
    CMsgContentReader::ReadContent(nodes, kContentTextPlain, input);

    std::string rewritten = input;
    std::map<std::string, std::string> digests;
    CMsgContentReader::RewriteImageSrcs(rewritten, {{"a.jpg", "K"}, {"", "E"}}, &digests);
    rewritten = input;
    CMsgContentReader::SetRootImageSrc(rewritten, "K");
    return 0;
}
