#include "msghandle/MsgSendContext.h"

#include "msghandle/SendState.h"

namespace tavi {

_QelMsgData SOutMsgData::Data() const {
    _QelMsgData data{};
    data.time = m_time;
    data.extra_info = m_hasExtra ? m_extra.c_str() : nullptr;
    data.client_tag = m_hasClientTag ? m_clientTag.c_str() : nullptr;
    data.content_type = m_contentType.c_str();
    data.content = m_content.c_str();
    data.summary = m_summary.c_str();
    return data;
}

SSendContext::SSendContext() { OnSendStarted(); }
SSendContext::SSendContext(const SSendContext& other) : SSendContext() { *this = other; }
SSendContext::~SSendContext() { OnSendFinished(); }

}  // namespace tavi
