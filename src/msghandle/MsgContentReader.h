// Reads the packed contents back: "text/plain", "rich/xml" and "img/xml"
// bodies into message nodes, and the rewriting of picture sources once the
// pictures are uploaded. Bodies come from the network and from storage, so
// they are parsed through the safe XML reader.
#pragma once

#include <map>
#include <string>

#include "msghandle/MsgNodes.h"

namespace tavi {

class CMsgContentReader {
public:
    // Appends the nodes of a body to `nodes`. A "text/plain" body is one run
    // of text as it stands (a smiley written "[name]" stays text). False for
    // another content type or an XML body that cannot be read.
    static bool ReadContent(MsgNodeList& nodes, const std::string& contentType, const std::string& body);

    static void ReadTextPlain(MsgNodeList& nodes, const std::string& body);
    // Each "span" of the root becomes a text run with the root's style; each
    // "img" or "localimg" child a picture.
    static bool ReadRichXml(MsgNodeList& nodes, const std::string& body);
    static bool ReadImgXml(MsgNodeList& nodes, const std::string& body);

    // "img/xml": the root element's source becomes `key`. `digest`, when
    // given, receives the element's "md5". False when the body cannot be read.
    static bool SetRootImageSrc(std::string& body, const std::string& key, std::string* digest = nullptr);

    // "rich/xml": every "img" child of the root whose "md5" is the digest of
    // a cache name (the name without extension), or whose "src" is the cache
    // name itself, gets the uploaded key as "src". `digests`, when given,
    // receives per cache name the digest found (the element's "md5" when it
    // was matched by "src"). False when the body cannot be read.
    static bool RewriteImageSrcs(std::string& body, const std::map<std::string, std::string>& keysByCacheName,
                                 std::map<std::string, std::string>* digests = nullptr);
};

}  // namespace tavi
