// The endpoints of the simulated sound cards: a render endpoint for each
// card with a wave-out device, a capture endpoint for each with a wave-in
// device, named by the card's device interface.

#include <cstdio>

#include "platform/sim/sim_sound_system.h"
#include "platform/text_codec.h"

namespace platform::sim {

std::string QuotedName(const std::wstring& name);

EndpointObject SimSoundSystem::NewObject(Object object) {
    const EndpointObject handle{nextObject_++};
    objects_[handle.value] = std::move(object);
    return handle;
}

SimSoundSystem::Object* SimSoundSystem::ObjectOf(EndpointObject object, ObjectKind kind) {
    auto it = objects_.find(object.value);
    return it != objects_.end() && it->second.kind == kind ? &it->second : nullptr;
}

int32_t SimSoundSystem::CreateEnumerator(EndpointObject& enumerator) {
    std::lock_guard<std::mutex> lock(mutex_);
    enumerator = NewObject(Object{ObjectKind::Enumerator, 0, L""});
    return kEndpointOk;
}

int32_t SimSoundSystem::EnumActiveEndpoints(EndpointObject enumerator, uint32_t dataFlow,
                                            EndpointObject& collection) {
    std::lock_guard<std::mutex> lock(mutex_);
    collection = EndpointObject{};
    if (!ObjectOf(enumerator, ObjectKind::Enumerator) || dataFlow > kEndpointCapture) return kEndpointInvalidArg;
    collection = NewObject(Object{ObjectKind::Collection, dataFlow, L""});
    return kEndpointOk;
}

int32_t SimSoundSystem::GetCount(EndpointObject collection, uint32_t& count) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Object* c = ObjectOf(collection, ObjectKind::Collection);
    if (!c) return kEndpointInvalidArg;
    count = static_cast<uint32_t>(CardsWith(c->dataFlow == kEndpointRender).size());
    return kEndpointOk;
}

int32_t SimSoundSystem::Item(EndpointObject collection, uint32_t index, EndpointObject& endpoint) {
    std::lock_guard<std::mutex> lock(mutex_);
    endpoint = EndpointObject{};
    const Object* c = ObjectOf(collection, ObjectKind::Collection);
    if (!c) return kEndpointInvalidArg;
    const std::vector<size_t> cards = CardsWith(c->dataFlow == kEndpointRender);
    if (index >= cards.size()) return kEndpointInvalidArg;
    endpoint = NewObject(Object{ObjectKind::Endpoint, c->dataFlow, cards_[cards[index]].name});
    return kEndpointOk;
}

int32_t SimSoundSystem::OpenPropertyStore(EndpointObject endpoint, EndpointObject& store) {
    std::lock_guard<std::mutex> lock(mutex_);
    store = EndpointObject{};
    const Object* e = ObjectOf(endpoint, ObjectKind::Endpoint);
    if (!e) return kEndpointInvalidArg;
    store = NewObject(Object{ObjectKind::Store, e->dataFlow, e->card});
    return kEndpointOk;
}

int32_t SimSoundSystem::GetInterfaceFriendlyName(EndpointObject store, std::wstring& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Object* s = ObjectOf(store, ObjectKind::Store);
    const SimSoundCard* card = s ? CardNamed(s->card) : nullptr;
    if (!card) return kEndpointFail;
    name = card->interfaceName;
    return kEndpointOk;
}

int32_t SimSoundSystem::ActivateVolume(EndpointObject endpoint, EndpointObject& volume) {
    std::lock_guard<std::mutex> lock(mutex_);
    volume = EndpointObject{};
    const Object* e = ObjectOf(endpoint, ObjectKind::Endpoint);
    if (!e) return kEndpointInvalidArg;
    volume = NewObject(Object{ObjectKind::Volume, e->dataFlow, e->card});
    return kEndpointOk;
}

// Levels outside 0.0 ... 1.0 are refused and leave the level as it was.
int32_t SimSoundSystem::SetMasterVolumeLevelScalar(EndpointObject volume, float level) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Object* v = ObjectOf(volume, ObjectKind::Volume);
    SimSoundCard* card = v ? CardNamed(v->card) : nullptr;
    if (!card) return kEndpointFail;  // the device is gone
    if (!(level >= 0.0f && level <= 1.0f)) return kEndpointInvalidArg;
    (v->dataFlow == kEndpointRender ? card->renderLevel : card->captureLevel) = level;
    char text[32];
    std::snprintf(text, sizeof(text), "%.6f", static_cast<double>(level));
    Emit("endpoint", QuotedName(card->name) + (v->dataFlow == kEndpointRender ? " render " : " capture ") + text);
    return kEndpointOk;
}

int32_t SimSoundSystem::GetMasterVolumeLevelScalar(EndpointObject volume, float& level) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Object* v = ObjectOf(volume, ObjectKind::Volume);
    const SimSoundCard* card = v ? CardNamed(v->card) : nullptr;
    if (!card) return kEndpointFail;
    level = v->dataFlow == kEndpointRender ? card->renderLevel : card->captureLevel;
    return kEndpointOk;
}

void SimSoundSystem::Release(EndpointObject object) {
    std::lock_guard<std::mutex> lock(mutex_);
    objects_.erase(object.value);
}

float SimSoundSystem::EndpointLevel(const std::wstring& name, uint32_t dataFlow) {
    std::lock_guard<std::mutex> lock(mutex_);
    const SimSoundCard* card = CardNamed(name);
    if (!card) return 0.0f;
    return dataFlow == kEndpointRender ? card->renderLevel : card->captureLevel;
}

void SimSoundSystem::SetEndpointLevel(const std::wstring& name, uint32_t dataFlow, float level) {
    std::lock_guard<std::mutex> lock(mutex_);
    SimSoundCard* card = CardNamed(name);
    if (card) (dataFlow == kEndpointRender ? card->renderLevel : card->captureLevel) = level;
}

}  // namespace platform::sim
