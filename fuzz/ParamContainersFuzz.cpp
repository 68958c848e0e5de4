// The host's parameter containers driven by a stream of operations, each
// checked against a plain model after every step: strings, the ordered map
// with its iterator, the string list with its iterators, named parameters.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ByteStream.h"
#include "module/DynamicParamImpl.h"
#include "module/StdContainer.h"
#include "module/StdMap.h"
#include "module/StdString.h"
#include "util/Strings.h"

namespace {

#define CHECK(condition) \
    do {                 \
        if (!(condition)) __builtin_trap(); \
    } while (0)

using Pairs = std::map<std::u16string, std::u16string>;

void CollectPair(const char16_t* key, const char16_t* value, void* user) {
    static_cast<Pairs*>(user)->emplace(key, value);
}
void CollectItem(const char16_t* text, void* user) { static_cast<std::vector<std::u16string>*>(user)->push_back(text); }
bool HasA(const char16_t* text, void*) { return std::u16string_view(text).find(u'a') != std::u16string_view::npos; }

// The map's pairs and the key at its iterator (none at the end).
struct MapModel {
    Pairs pairs;
    bool atEnd = true;
    std::u16string at;

    void Erase(Pairs::iterator it) {
        const bool current = !atEnd && it->first == at;
        it = pairs.erase(it);
        if (!current) return;
        atEnd = it == pairs.end();
        if (!atEnd) at = it->first;
    }
};

void CheckMap(pfx::CStr2StrMap& map, const MapModel& model) {
    CHECK(map.GetCount() == model.pairs.size());
    CHECK(map.IsEmpty() == model.pairs.empty());
    CHECK(map.IsEnd() == model.atEnd);
    CHECK(map.GetKey() == (model.atEnd ? std::u16string() : model.at));
    CHECK(map.GetValue() == (model.atEnd ? std::u16string() : model.pairs.at(model.at)));
}

void PlayMap(fuzz::ByteStream& in) {
    auto* map = new pfx::CStr2StrMap;
    MapModel model;
    int locks = 0;
    while (!in.AtEnd()) {
        const std::u16string key = in.Wide();
        switch (in.Choice(11)) {
            case 0: {
                const std::u16string value = in.Wide();
                const bool moveTo = in.Flag();
                const bool added = model.pairs.emplace(key, value).second;
                CHECK(map->Insert(key.c_str(), value.c_str(), moveTo) == added);
                if (moveTo) model.atEnd = false, model.at = key;
                break;
            }
            case 1: {
                map->Remove(key.c_str());
                auto it = model.pairs.find(key);
                if (it != model.pairs.end()) model.Erase(it);
                break;
            }
            case 2:
                map->RemoveCurrent();
                if (!model.atEnd) model.Erase(model.pairs.find(model.at));
                break;
            case 3:
                map->MoveFirst();
                model.atEnd = model.pairs.empty();
                if (!model.atEnd) model.at = model.pairs.begin()->first;
                break;
            case 4:
                map->MoveNext();
                if (!model.atEnd) {
                    auto next = std::next(model.pairs.find(model.at));
                    model.atEnd = next == model.pairs.end();
                    if (!model.atEnd) model.at = next->first;
                }
                break;
            case 5:
                map->SetValue(key.c_str());
                if (!model.atEnd) model.pairs[model.at] = key;
                break;
            case 6: {
                const bool ignoreCase = in.Flag();
                auto it = model.pairs.find(key);
                if (it == model.pairs.end() && ignoreCase) {
                    for (it = model.pairs.begin(); it != model.pairs.end(); ++it)
                        if (util::EqualsNoCase(it->first, key)) break;
                }
                const bool found = it != model.pairs.end();
                CHECK(map->Find(key.c_str(), ignoreCase) == found);
                if (found) model.atEnd = false, model.at = it->first;
                break;
            }
            case 7:
            case 8: {
                Pairs seen;
                if (in.Flag()) {
                    map->ForEach(&CollectPair, &seen);
                    CHECK(seen == model.pairs);
                } else {
                    map->ClearWith(&CollectPair, &seen);
                    CHECK(seen == model.pairs);
                    model.pairs.clear();
                    model.atEnd = true;
                }
                break;
            }
            case 9:
                map->Clear();
                model.pairs.clear();
                model.atEnd = true;
                break;
            case 10:
                // Null texts are refused without effect.
                CHECK(!map->Insert(nullptr, key.c_str(), true));
                CHECK(!map->Insert(key.c_str(), nullptr, true));
                CHECK(!map->Find(nullptr, true));
                map->Remove(nullptr);
                map->SetValue(nullptr);
                if (locks < 3) {
                    map->Lock();
                    ++locks;
                } else {
                    map->Unlock();
                    --locks;
                }
                break;
        }
        CheckMap(*map, model);
    }
    while (locks-- > 0) map->Unlock();
    CHECK(map->Release() == 0);
}

void PlayList(fuzz::ByteStream& in) {
    using Iterator = pfx::CStrVector::Iterator;
    auto* list = new pfx::CStrVector;
    auto* other = new pfx::CStrVector;
    std::vector<std::u16string> model;
    Iterator* iterator = nullptr;
    size_t index = 0;
    while (!in.AtEnd()) {
        const std::u16string text = in.Wide();
        switch (in.Choice(7)) {
            case 0:
                list->Add(text.c_str());
                model.push_back(text);
                list->Add(nullptr);
                break;
            case 1:
                list->Clear();
                model.clear();
                break;
            case 2:
                // A new iterator, or the one at hand moved back to the start.
                CHECK(list->GetIterator(&iterator));
                index = 0;
                break;
            case 3:
                if (iterator) {
                    iterator->MoveNext();
                    if (index < model.size()) ++index;
                }
                break;
            case 4:
                if (iterator) {
                    iterator->SetValue(text.c_str());
                    if (index < model.size()) model[index] = text;
                }
                break;
            case 5: {
                std::vector<std::u16string> seen;
                const bool clear = in.Flag();
                if (clear) list->ClearWith(&CollectItem, &seen);
                else list->ForEach(&CollectItem, &seen);
                CHECK(seen == model);
                if (clear) model.clear();
                break;
            }
            case 6: {
                uint32_t count = 0;
                for (const auto& item : model) count += HasA(item.c_str(), nullptr);
                CHECK(list->CountIf(&HasA, nullptr) == count);
                CHECK(list->CountIf(nullptr, nullptr) == 0);
                // Another list's iterator is at its end for this one.
                Iterator* foreign = nullptr;
                CHECK(other->GetIterator(&foreign));
                CHECK(list->IsEnd(foreign));
                foreign->Release();
                break;
            }
        }
        CHECK(list->GetCount() == model.size());
        CHECK(list->IsEmpty() == model.empty());
        if (iterator) {
            const bool atEnd = index >= model.size();
            CHECK(list->IsEnd(iterator) == atEnd);
            CHECK(iterator->GetValue() == (atEnd ? std::u16string() : model[index]));
        }
    }
    // The iterator holds its list: the list goes with the iterator's last reference.
    if (iterator) {
        CHECK(list->Release() == 1);
        CHECK(iterator->Release() == 0);
    } else {
        CHECK(list->Release() == 0);
    }
    CHECK(other->Release() == 0);
}

void PlayParams(fuzz::ByteStream& in) {
    auto* params = new pfx::CDynamicParamImpl;
    auto* text = new pfx::CStdString(u"");
    Pairs model;
    std::u16string textModel;
    while (!in.AtEnd()) {
        const std::u16string name = in.Wide();
        const std::u16string value = in.Wide();
        switch (in.Choice(3)) {
            case 0:
                params->SetParam(name.c_str(), value.c_str());
                params->SetParam(nullptr, value.c_str());
                params->SetParam(name.c_str(), nullptr);
                model[name] = value;
                break;
            case 1: {
                auto it = model.find(name);
                CHECK(params->GetParam(name.c_str(), text) == (it != model.end()));
                if (it != model.end()) textModel = it->second;
                CHECK(!params->GetParam(nullptr, text));
                break;
            }
            case 2: {
                // A null text is ignored.
                const bool null = in.Flag();
                text->SetString(null ? nullptr : value.c_str());
                if (!null) textModel = value;
                break;
            }
        }
        CHECK(text->GetString() == textModel);
        CHECK(text->GetLength() == textModel.size());
        CHECK(text->IsEmpty() == textModel.empty());
    }
    CHECK(params->Release() == 0);
    CHECK(text->Release() == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ByteStream in(data, size);
    switch (in.Choice(3)) {
        case 0: PlayMap(in); break;
        case 1: PlayList(in); break;
        case 2: PlayParams(in); break;
    }
    return 0;
}
