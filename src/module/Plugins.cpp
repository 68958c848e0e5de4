#include "module/Plugins.h"

#include "module/Guids.h"
#include "module/ModuleDll.h"
#include "module/ObjectImpl.h"

namespace tavi {

namespace {
template <const pfx::GUID& Id>
class CPluginObject final : public CObjectImpl<pfx::IObject> {
public:
    pfx::GUID GetClassId() const override { return Id; }
};
}  // namespace

bool CreateConvWndPlugin(pfx::IObject** out) { return CreateObjectOf<CPluginObject<kConvWndPluginId>>(out); }
bool CreateShakePlugin(pfx::IObject** out) { return CreateObjectOf<CPluginObject<kShakePluginId>>(out); }

}  // namespace tavi
