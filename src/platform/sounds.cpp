#include "platform/sounds.h"

#include <canberra.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace quantora {

namespace {

constexpr auto kLongestPing = std::chrono::seconds(5);

struct Finished {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
};

void OnFinished(ca_context*, std::uint32_t, int, void* userdata) {
    auto* state = static_cast<Finished*>(userdata);
    std::lock_guard lock(state->mutex);
    state->finished = true;
    state->done.notify_all();
}

}  // namespace

struct DesktopSounds::Context {
    ca_context* ca = nullptr;
};

DesktopSounds::DesktopSounds(std::string programFolder)
    : pingPath_(std::move(programFolder) + "ping.wav"), context_(new Context) {
    if (ca_context_create(&context_->ca) != CA_SUCCESS) context_->ca = nullptr;
    if (context_->ca)
        ca_context_change_props(context_->ca, CA_PROP_APPLICATION_NAME, "Quantora", nullptr);
}

DesktopSounds::~DesktopSounds() {
    if (context_->ca) ca_context_destroy(context_->ca);
    delete context_;
}

void DesktopSounds::PlayPing() {
    if (!context_->ca) return;
    // The finished callback may come after we stop waiting, so its state outlives this call.
    static Finished* state = new Finished;
    {
        std::lock_guard lock(state->mutex);
        state->finished = false;
    }
    ca_proplist* props = nullptr;
    if (ca_proplist_create(&props) != CA_SUCCESS) return;
    ca_proplist_sets(props, CA_PROP_MEDIA_FILENAME, pingPath_.c_str());
    ca_proplist_sets(props, CA_PROP_MEDIA_ROLE, "event");
    int started = ca_context_play_full(context_->ca, 1, props, OnFinished, state);
    ca_proplist_destroy(props);
    if (started != CA_SUCCESS) return;
    std::unique_lock lock(state->mutex);
    state->done.wait_for(lock, kLongestPing, [] { return state->finished; });
}

void DesktopSounds::PlayAsterisk() {
    if (!context_->ca) return;
    ca_context_play(context_->ca, 2, CA_PROP_EVENT_ID, "dialog-warning", CA_PROP_EVENT_DESCRIPTION,
                    "Input refused", nullptr);
}

}  // namespace quantora
