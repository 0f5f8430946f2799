#include "platform/sim/sim_sound_system.h"

#include "platform/text_codec.h"

namespace platform::sim {

SimSoundSystem::SimSoundSystem()
    : cards_{SimSoundCard::Standard(L"Onboard Audio"), SimSoundCard::Standard(L"USB PHONE")} {
    cards_[0].interfaceName = L"High Definition Audio Device";
}

void SimSoundSystem::SetCards(std::vector<SimSoundCard> cards) {
    std::lock_guard<std::mutex> lock(mutex_);
    cards_ = std::move(cards);
}

std::vector<SimSoundCard> SimSoundSystem::Cards() {
    std::lock_guard<std::mutex> lock(mutex_);
    return cards_;
}

void SimSoundSystem::SetEventListener(EventListener listener) {
    std::lock_guard<std::mutex> lock(mutex_);
    listener_ = std::move(listener);
}

void SimSoundSystem::Emit(const std::string& channel, const std::string& text) {
    if (listener_) listener_(channel, text);
}

SimSoundCard* SimSoundSystem::CardNamed(const std::wstring& name) {
    for (SimSoundCard& card : cards_) {
        if (card.name == name) return &card;
    }
    return nullptr;
}

std::vector<size_t> SimSoundSystem::CardsWith(bool waveOut) {
    std::vector<size_t> out;
    for (size_t i = 0; i < cards_.size(); ++i) {
        if (waveOut ? cards_[i].waveOut : cards_[i].waveIn) out.push_back(i);
    }
    return out;
}

size_t SimSoundSystem::LiveEndpointObjects() {
    std::lock_guard<std::mutex> lock(mutex_);
    return objects_.size();
}

size_t SimSoundSystem::OpenMixerCount() {
    std::lock_guard<std::mutex> lock(mutex_);
    return mixers_.size();
}

size_t SimSoundSystem::OpenWaveOutCount() {
    std::lock_guard<std::mutex> lock(mutex_);
    return waveOuts_.size();
}

std::string QuotedName(const std::wstring& name) { return "\"" + WideToUtf8(name) + "\""; }

}  // namespace platform::sim
