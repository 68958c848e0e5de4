// Menus: resources read with TinyXML, items by index or id, and the
// framework's ownership of a shown menu.
#include "sdk/ui/MenuUI.h"

#include <tinyxml.h>

#include "sdk/ui.h"
#include "sim/core/Text.h"
#include "sim/ui/UiInternal.h"

namespace {

SMenuItem* FindIn(std::vector<SMenuItem>& items, int32_t id) {
    for (SMenuItem& item : items) {
        if (!item.separator && item.id == id) return &item;
        if (SMenuItem* found = FindIn(item.children, id)) return found;
    }
    return nullptr;
}

bool RemoveIn(std::vector<SMenuItem>& items, int32_t id) {
    for (auto it = items.begin(); it != items.end(); ++it) {
        if (!it->separator && it->id == id) {
            items.erase(it);
            return true;
        }
        if (RemoveIn(it->children, id)) return true;
    }
    return false;
}

std::u16string ItemText(const char* text) {
    std::u16string value = sim::ToWide(text ? text : "");
    if (!value.empty() && value[0] == u'#') return I18NSTR(value.c_str(), 0);
    return value;
}

bool ReadItems(const TiXmlElement& parent, std::vector<SMenuItem>& items, int depth) {
    if (depth > 16) return false;
    for (const TiXmlElement* e = parent.FirstChildElement(); e; e = e->NextSiblingElement()) {
        SMenuItem item;
        const std::string kind = e->Value();
        if (kind == "Separator") {
            item.separator = true;
        } else if (kind == "Item") {
            int id = 0;
            e->QueryIntAttribute("id", &id);
            item.id = id;
            item.text = ItemText(e->Attribute("text"));
            const char* checked = e->Attribute("checked");
            const char* enabled = e->Attribute("enabled");
            item.checked = checked && std::string(checked) == "true";
            item.enabled = !enabled || std::string(enabled) != "false";
            if (!ReadItems(*e, item.children, depth + 1)) return false;
        } else {
            continue;
        }
        items.push_back(std::move(item));
    }
    return true;
}

}  // namespace

bool CMenuUI::Load(int32_t menuId) {
    const std::string path = sim::ui::FindResource("menu/" + std::to_string(menuId) + ".xml");
    std::string xml;
    if (path.empty() || !sim::ui::ReadFile(path, xml) || !sim::ui::IsValidUtf8(xml)) return false;
    TiXmlDocument doc;
    doc.Parse(xml.c_str(), nullptr, TIXML_ENCODING_UTF8);
    const TiXmlElement* root = doc.RootElement();
    std::vector<SMenuItem> items;
    if (doc.Error() || !root || !ReadItems(*root, items, 0)) return false;
    m_menuId = menuId;
    m_items = std::move(items);
    return true;
}

void CMenuUI::AddItem(int32_t id, const std::u16string& text, bool checked, bool enabled) {
    SMenuItem item;
    item.id = id;
    item.text = text;
    item.checked = checked;
    item.enabled = enabled;
    m_items.push_back(std::move(item));
}

void CMenuUI::AddSeparator() {
    SMenuItem item;
    item.separator = true;
    m_items.push_back(std::move(item));
}

bool CMenuUI::AddSubItem(int32_t parentId, int32_t id, const std::u16string& text, bool checked) {
    SMenuItem* parent = FindItem(parentId);
    if (!parent) return false;
    SMenuItem item;
    item.id = id;
    item.text = text;
    item.checked = checked;
    parent->children.push_back(std::move(item));
    return true;
}

SMenuItem* CMenuUI::GetItemAt(int index) {
    return index >= 0 && index < GetItemCount() ? &m_items[size_t(index)] : nullptr;
}

bool CMenuUI::CheckItemAt(int index, bool checked) {
    SMenuItem* item = GetItemAt(index);
    if (!item) return false;
    item->checked = checked;
    return true;
}

bool CMenuUI::RemoveItemAt(int index) {
    if (!GetItemAt(index)) return false;
    m_items.erase(m_items.begin() + index);
    return true;
}

SMenuItem* CMenuUI::FindItem(int32_t id) { return FindIn(m_items, id); }

bool CMenuUI::CheckItem(int32_t id, bool checked) {
    SMenuItem* item = FindItem(id);
    if (!item) return false;
    item->checked = checked;
    return true;
}

bool CMenuUI::EnableItem(int32_t id, bool enabled) {
    SMenuItem* item = FindItem(id);
    if (!item) return false;
    item->enabled = enabled;
    return true;
}

bool CMenuUI::RemoveItem(int32_t id) { return RemoveIn(m_items, id); }

void CMenuUI::Show(HWND owner, int32_t x, int32_t y, INotifyUI* target) {
    m_owner = owner;
    m_target = target;
    m_point = TPointUI{x, y};
    sim::ui::MenuShown(this);
}
